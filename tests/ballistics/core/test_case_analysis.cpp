// SPDX-License-Identifier: GPL-3.0-or-later

// The questions of a case, answered over figures functions whose answers are
// known: the vacuum and the exact linear-drag motion (closed forms written
// here, not taken from the program), and a stepped run with its ripples.
#include "SeparatorGuard.h"

#include "ballistics/core/CaseAnalysis.h"
#include "ballistics/core/TrajectoryFigures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <thread>

namespace korvo {
namespace {

constexpr Real kG = 9.81L;
constexpr Real kPiHere = 3.1415926535897932384626L;

Real Rad(Real degrees) {
    return degrees * kPiHere / 180;
}
Real Deg(Real radians) {
    return radians * 180 / kPiHere;
}

// No drag, from height H above the ground: y(t) = vy t - g t^2 / 2 = -H.
CaseFigures Vacuum(const CaseInputs& in) {
    const Real vx = in.Vo * std::cos(Rad(in.Angulo)), vy = in.Vo * std::sin(Rad(in.Angulo));
    const Real t = (vy + std::sqrt(vy * vy + 2 * kG * in.H)) / kG;
    return {t, vy > 0 ? vy * vy / (2 * kG) : 0, vx * t, std::sqrt(in.Vo * in.Vo + 2 * kG * in.H),
            Deg(std::atan2(kG * t - vy, vx))};
}

// dv/dt = -k v - g ey with k = (D / M) Vo, solved exactly:
//   x = vx0 E / k, y = (vy0 + g/k) E / k - g t / k, E = 1 - e^-kt;
// the landing time found by bisection beyond the apex.
CaseFigures ExactLinear(const CaseInputs& in) {
    const Real k = in.D / in.M * in.Vo;
    const Real vx0 = in.Vo * std::cos(Rad(in.Angulo)), vy0 = in.Vo * std::sin(Rad(in.Angulo));
    const auto e = [k](Real t) { return -std::expm1(-k * t); };
    const auto y = [&](Real t) { return (vy0 + kG / k) * e(t) / k - kG * t / k; };
    const Real apex = vy0 > 0 ? std::log1p(k * vy0 / kG) / k : 0;
    Real lo = apex, hi = apex + 1;
    while (y(hi) > -in.H)
        hi *= 2;
    for (int i = 0; i < 200; ++i)
        (y((lo + hi) / 2) > -in.H ? lo : hi) = (lo + hi) / 2;
    const Real t = (lo + hi) / 2;
    const Real vx = vx0 * std::exp(-k * t), vy = (vy0 + kG / k) * std::exp(-k * t) - kG / k;
    return {t, y(apex), vx0 * e(t) / k, std::sqrt(vx * vx + vy * vy), Deg(std::atan2(-vy, vx))};
}

CaseInputs Inputs(Real d, Real m, Real vo, Real angle, Real h = 0) {
    return {d, m, vo, angle, 0.01L, h, DragLaw::Linear};
}

// The default case of the real-trajectory window.
const CaseInputs kDefaults = Inputs(0.000016788592601L, 0.00745L, 340, 78);
const CaseTolerances kMeasured{0.0000017L, 0.0001L, 5, 1};

CaseInputs At(Real angle) {
    CaseInputs in = kDefaults;
    in.Angulo = angle;
    return in;
}

void ExpectNear(Real value, Real expected, Real relative) {
    EXPECT_NEAR(static_cast<double>(value), static_cast<double>(expected),
                static_cast<double>(relative * std::fabs(expected)));
}

TEST(CaseAnalysis, VacuumBandFarthestAndAnglesMatchTheClosedForms) {
    CaseQuestion q;
    q.Nominal = Inputs(0.00001L, 0.01L, 300, 44.6L);
    q.Tolerancias = {0.000001L, 0, 5, 1};
    q.Distancia = 8000;
    const CaseAnswer a = AnalyzeCase(q, Vacuum, {});

    // The range turns inside the box, at 45 degrees, which no edge sample hits.
    const FigureBand& range = a.Banda->Figuras[Alcance];
    ExpectNear(range.Maximo.Valor, 305.0L * 305 / kG, 1e-12L);
    EXPECT_NEAR(static_cast<double>(range.Maximo.Entradas.Angulo), 45, 1e-3);
    EXPECT_EQ(range.Maximo.Entradas.Vo, 305);
    ExpectNear(range.Minimo.Valor, 295.0L * 295 * std::sin(Rad(2 * 43.6L)) / kG, 1e-15L);
    ExpectNear(range.Nominal, 300.0L * 300 * std::sin(Rad(2 * 44.6L)) / kG, 1e-15L);
    ExpectNear(a.Banda->Figuras[TiempoVuelo].Maximo.Valor, 2 * 305 * std::sin(Rad(45.6L)) / kG, 1e-15L);
    ExpectNear(a.Banda->Figuras[AlturaMaxima].Minimo.Valor,
               std::pow(295 * std::sin(Rad(43.6L)), 2) / (2 * kG), 1e-15L);
    ExpectNear(a.Banda->Figuras[AnguloImpacto].Minimo.Valor, 43.6L, 1e-15L);
    ExpectNear(a.Banda->Figuras[AnguloImpacto].Maximo.Valor, 45.6L, 1e-15L);

    EXPECT_NEAR(static_cast<double>(a.Lejano->Angulo), 45, 1e-9);
    ExpectNear(a.Lejano->AlcanceCaja, 305.0L * 305 / kG, 1e-12L);

    const Real low = Deg(std::asin(kG * 8000 / (300.0L * 300))) / 2;
    const AnglesForDistance& d = *a.Angulos;
    ASSERT_TRUE(d.Baja.Alcanza && d.Alta.Alcanza);
    EXPECT_NEAR(static_cast<double>(d.Baja.Angulo), static_cast<double>(low), 1e-6);
    EXPECT_NEAR(static_cast<double>(d.Alta.Angulo), static_cast<double>(90 - low), 1e-6);
    ExpectNear(d.Alta.TiempoVuelo, 2 * 300 * std::sin(Rad(90 - low)) / kG, 1e-7L);
    ExpectNear(d.Baja.VelocidadImpacto, 300, 1e-15L);
    // More speed needs a lower low angle and a higher high one.
    const Real lowFast = Deg(std::asin(kG * 8000 / (305.0L * 305))) / 2;
    const Real lowSlow = Deg(std::asin(kG * 8000 / (295.0L * 295))) / 2;
    EXPECT_NEAR(static_cast<double>(d.Baja.AnguloMin), static_cast<double>(lowFast), 1e-6);
    EXPECT_NEAR(static_cast<double>(d.Baja.AnguloMax), static_cast<double>(lowSlow), 1e-6);
    EXPECT_NEAR(static_cast<double>(d.Alta.AnguloMax), static_cast<double>(90 - lowFast), 1e-6);
    EXPECT_EQ(d.Alta.EntradasMax.Vo, 305);
    EXPECT_TRUE(d.Baja.EnTodaLaCaja);
}

TEST(CaseAnalysis, FromAHeightTheFarthestAngleIsBelow45) {
    // In vacuum from height H the best angle is atan(v / sqrt(v^2 + 2 g H)).
    CaseQuestion q;
    q.Nominal = Inputs(0, 1, 50, 30, 100);
    q.Banda = false;
    const CaseAnswer a = AnalyzeCase(q, Vacuum, {});
    const Real root = std::sqrt(50.0L * 50 + 2 * kG * 100);
    EXPECT_NEAR(static_cast<double>(a.Lejano->Angulo), static_cast<double>(Deg(std::atan(50 / root))), 1e-3);
    // The angle is found on a thousandth-of-a-degree grid, which costs the range
    // a few parts in 1e11 at the flat top of its curve.
    ExpectNear(a.Lejano->Alcance, 50 * root / kG, 1e-10L);
    EXPECT_EQ(a.Lejano->AlcanceCaja, a.Lejano->Alcance);
    EXPECT_EQ(a.Lejano->AnguloCaja, a.Lejano->Angulo);
}

// Every figure of 1,000 random input sets in the box lies within the band, and
// each extreme is what its listed inputs give. Half the coordinates are put at
// an end of their tolerance, so that the faces and edges, where most extremes
// lie, are sampled as well as the inside.
void ExpectBandHolds(const CaseBand& band, const CaseInputs& nominal, const CaseTolerances& t) {
    std::mt19937_64 random(25);
    std::uniform_real_distribution<double> unit(-1, 1);
    const auto offset = [&] {
        const Real u = unit(random);
        return unit(random) < 0 ? u : (u < 0 ? -1 : 1);
    };
    for (int i = 0; i < 1000; ++i) {
        CaseInputs in = nominal;
        in.D += t.D * offset();
        in.M += t.M * offset();
        in.Vo += t.Vo * offset();
        in.Angulo += t.Angulo * offset();
        const CaseFigures f = ExactLinear(in);
        for (std::size_t k = 0; k < kCaseFigureCount; ++k) {
            const FigureBand& b = band.Figuras[k];
            const Real value = FigureOf(f, static_cast<CaseFigure>(k));
            const Real slack = 1e-12L * std::fabs(value);
            EXPECT_GE(value, b.Minimo.Valor - slack)
                << CaseFigureName(static_cast<CaseFigure>(k)) << " at " << i;
            EXPECT_LE(value, b.Maximo.Valor + slack)
                << CaseFigureName(static_cast<CaseFigure>(k)) << " at " << i;
        }
    }
    for (std::size_t k = 0; k < kCaseFigureCount; ++k) {
        const FigureBand& b = band.Figuras[k];
        EXPECT_EQ(FigureOf(ExactLinear(b.Minimo.Entradas), static_cast<CaseFigure>(k)), b.Minimo.Valor);
        EXPECT_EQ(FigureOf(ExactLinear(b.Maximo.Entradas), static_cast<CaseFigure>(k)), b.Maximo.Valor);
        EXPECT_EQ(FigureOf(ExactLinear(nominal), static_cast<CaseFigure>(k)), b.Nominal);
    }
}

TEST(CaseAnalysis, LinearDragBandHoldsEveryRandomInputSet) {
    CaseQuestion q;
    q.Nominal = kDefaults;
    q.Tolerancias = kMeasured;
    q.Lejano = false;
    ExpectBandHolds(*AnalyzeCase(q, ExactLinear, {}).Banda, q.Nominal, q.Tolerancias);

    // Around the farthest-reaching angle, from a balcony, with wide tolerances:
    // the range turns inside the box in the angle.
    q.Nominal = Inputs(0.000016788592601L, 0.00745L, 340, 12, 12);
    q.Tolerancias = {0.000005L, 0.001L, 40, 10};
    const CaseBand band = *AnalyzeCase(q, ExactLinear, {}).Banda;
    ExpectBandHolds(band, q.Nominal, q.Tolerancias);
    const Real turn = band.Figuras[Alcance].Maximo.Entradas.Angulo;
    EXPECT_GT(turn, 2);
    EXPECT_LT(turn, 22);
}

// Everything an answer holds, in order, to compare answers bit for bit.
std::vector<Real> Flat(const CaseAnswer& a) {
    std::vector<Real> out;
    const auto inputs = [&](const CaseInputs& in) { out.insert(out.end(), {in.D, in.M, in.Vo, in.Angulo}); };
    for (const FigureBand& b : a.Banda->Figuras) {
        out.insert(out.end(), {b.Minimo.Valor, b.Maximo.Valor, b.Nominal});
        inputs(b.Minimo.Entradas);
        inputs(b.Maximo.Entradas);
    }
    out.insert(out.end(), {a.Lejano->Angulo, a.Lejano->Alcance, a.Lejano->AnguloCaja, a.Lejano->AlcanceCaja});
    for (const DistanceBranch* b : {&a.Angulos->Baja, &a.Angulos->Alta}) {
        out.insert(out.end(), {b->Angulo, b->AnguloMin, b->AnguloMax, b->TiempoVuelo, b->VelocidadImpacto});
        inputs(b->EntradasMin);
        inputs(b->EntradasMax);
    }
    out.push_back(static_cast<Real>(a.Trayectorias));
    return out;
}

TEST(CaseAnalysis, SteppedRunFarthestBeatsAHundredthScanAndAnglesAreTheSameOnAnyThreads) {
    CaseQuestion q;
    q.Nominal = kDefaults;
    q.Tolerancias = kMeasured;
    // The range of a 45 degree shot: the high angle that reaches it is 45.
    q.Distancia = TrajectoryFigures(At(45)).Alcance;
    const CaseAnswer one = AnalyzeCase(q, TrajectoryFigures, {1, nullptr, {}});
    const CaseAnswer three = AnalyzeCase(q, TrajectoryFigures, {3, nullptr, {}});
    EXPECT_EQ(Flat(one), Flat(three));

    // (A level shot starts on the ground and has no crossing: its NaN beats nothing.)
    for (int n = 0; n <= 9000; ++n)
        ASSERT_FALSE(TrajectoryFigures(At(n / 100.0L)).Alcance > one.Lejano->Alcance) << n / 100.0;
    EXPECT_LT(one.Lejano->Angulo, 45);
    EXPECT_GE(one.Lejano->AlcanceCaja, one.Lejano->Alcance);
    EXPECT_NEAR(static_cast<double>(one.Angulos->Alta.Angulo), 45, 1e-3);
    EXPECT_LE(one.Angulos->Alta.AnguloMin, one.Angulos->Alta.Angulo);
    EXPECT_GE(one.Angulos->Alta.AnguloMax, one.Angulos->Alta.Angulo);
}

TEST(CaseAnalysis, CancelStopsBeforeTheNextTrajectoryAndProgressRises) {
    std::atomic<bool> cancel{false};
    std::atomic<int> calls{0}, afterCancel{0};
    const FiguresFunction figures = [&](const CaseInputs& in) {
        if (cancel)
            ++afterCancel;
        if (++calls == 200)
            cancel = true;
        return ExactLinear(in);
    };
    CaseQuestion q;
    q.Nominal = kDefaults;
    q.Tolerancias = kMeasured;
    q.Distancia = 300;
    std::vector<double> shares;
    AnalysisOptions options{2, &cancel, [&](double share) { shares.push_back(share); }};
    EXPECT_THROW(AnalyzeCase(q, figures, options), AnalysisCancelled);
    // Only a trajectory that had already passed the check when the flag rose.
    EXPECT_LE(afterCancel.load(), 1);

    cancel = false;
    calls = -1000000;
    shares.clear();
    AnalyzeCase(q, figures, options);
    ASSERT_FALSE(shares.empty());
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.back(), 1);
    EXPECT_GT(shares.size(), 20u);
}

TEST(CaseAnalysis, RefusalsAndUnreachableDistanceUnderBothSeparators) {
    CaseQuestion q;
    q.Nominal = Inputs(0.00001L, 0.01L, 300, 45);
    const auto refused = [&](CaseTolerances t, std::optional<Real> distance, const char* message) {
        CaseQuestion bad = q;
        bad.Tolerancias = t;
        bad.Distancia = distance;
        try {
            AnalyzeCase(bad, Vacuum, {});
            ADD_FAILURE() << message;
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), message);
        }
    };
    refused({-1, 0, 0, 0}, {}, "La tolerancia de D debe ser un número no negativo");
    refused({0, 0, 0, std::nan("")}, {}, "La tolerancia de ángulo debe ser un número no negativo");
    refused({0.00002L, 0, 0, 0}, {}, "La tolerancia de D no puede ser mayor que D");
    refused({0, 0.01L, 0, 0}, {}, "La tolerancia de M debe ser menor que M");
    refused({0, 0, 301, 0}, {}, "La tolerancia de Vo no puede ser mayor que Vo");
    refused({}, 0, "La distancia debe ser un número positivo");

    q.Banda = false;
    q.Distancia = 10000;
    for (char separator : {'.', ','}) {
        test::SeparatorGuard guard(separator);
        const CaseAnswer a = AnalyzeCase(q, Vacuum, {});
        EXPECT_FALSE(a.Angulos->Baja.Alcanza || a.Angulos->Alta.Alcanza);
        const std::string s(1, separator);
        EXPECT_EQ(a.Angulos->Alta.Mensaje, "Ningún ángulo de 0 a 90 grados alcanza 10000" + s +
                                               "000 m: el mayor alcance es 9174" + s + "312 m, a 45" + s +
                                               "00 grados.");
    }
    // From a height, a short distance is passed by every low angle.
    q.Nominal.H = 50;
    q.Distancia = 900;
    const CaseAnswer a = AnalyzeCase(q, Vacuum, {});
    EXPECT_FALSE(a.Angulos->Baja.Alcanza);
    EXPECT_EQ(
        a.Angulos->Baja.Mensaje.rfind("Ningún ángulo bajo alcanza 900.000 m: a 0 grados el alcance es ", 0),
        0u);
    EXPECT_TRUE(a.Angulos->Alta.Alcanza);
}

} // namespace
} // namespace korvo

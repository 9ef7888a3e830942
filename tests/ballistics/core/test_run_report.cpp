// SPDX-License-Identifier: GPL-3.0-or-later

// The report's arithmetic: the exact solution against an independent fine
// integration and against vacuum as the drag vanishes, the stepped run
// converging on it as the step halves, the default run's figures and the
// ground crossing.
#include "MemoryTrajectoryView.h"

#include "ballistics/core/Angles.h"
#include "ballistics/core/Calculators.h"
#include "ballistics/core/RunReport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvo {
namespace {

using F = TrajectoryField;
using test::MemoryTrajectoryView;

constexpr Real kG = 9.81L;

// dv/dt = -k v - g ey integrated by classical fourth-order Runge-Kutta with a
// fine step; the apex and the return to height 0 are found where vy and y
// change sign, linearly between the two steps around it (an error of the
// order of the step squared, far below the tolerances used).
TrajectoryFigures FineIntegration(Real k, Real vo, int angle) {
    const Real a = (angle * 3.1415926535897932384626L) / 180;
    struct S {
        Real x, y, vx, vy;
    };
    const auto rate = [k](const S& s) { return S{s.vx, s.vy, -k * s.vx, -kG - k * s.vy}; };
    const auto plus = [](const S& s, const S& d, Real h) {
        return S{s.x + h * d.x, s.y + h * d.y, s.vx + h * d.vx, s.vy + h * d.vy};
    };
    const Real h = 1e-4L;
    S s{0, 0, vo * std::cos(a), vo * std::sin(a)};
    TrajectoryFigures f;
    for (Real t = 0;; t += h) {
        const S k1 = rate(s), k2 = rate(plus(s, k1, h / 2)), k3 = rate(plus(s, k2, h / 2)),
                k4 = rate(plus(s, k3, h));
        const S n{s.x + h / 6 * (k1.x + 2 * k2.x + 2 * k3.x + k4.x),
                  s.y + h / 6 * (k1.y + 2 * k2.y + 2 * k3.y + k4.y),
                  s.vx + h / 6 * (k1.vx + 2 * k2.vx + 2 * k3.vx + k4.vx),
                  s.vy + h / 6 * (k1.vy + 2 * k2.vy + 2 * k3.vy + k4.vy)};
        if (s.vy > 0 && n.vy <= 0) {
            const Real w = s.vy / (s.vy - n.vy);
            f.TiempoApice = t + w * h;
            // The height is flat at the apex: the larger of the two is within h^2.
            f.AlturaApice = std::max(s.y, n.y);
        }
        if (t > 0 && s.y > 0 && n.y <= 0) {
            const Real w = s.y / (s.y - n.y);
            f.TiempoVuelo = t + w * h;
            f.Alcance = s.x + w * (n.x - s.x);
            return f;
        }
        s = n;
    }
}

void ExpectNear(const TrajectoryFigures& got, const TrajectoryFigures& want, Real relative,
                const std::string& what) {
    const std::pair<Real, Real> pairs[] = {{got.TiempoApice, want.TiempoApice},
                                           {got.AlturaApice, want.AlturaApice},
                                           {got.TiempoVuelo, want.TiempoVuelo},
                                           {got.Alcance, want.Alcance}};
    for (const auto& [g, w] : pairs)
        EXPECT_NEAR(static_cast<double>(g), static_cast<double>(w),
                    static_cast<double>(std::fabs(w) * relative))
            << what;
}

TEST(ExactLinearDrag, AgreesWithAFineIndependentIntegration) {
    struct Case {
        Real k, vo;
        int angle;
    };
    // The default run's k, a light drag and a heavy one, at steep and flat angles.
    for (const Case c : {Case{DragRate(0.000016788592601L, 0.00745L, 340), 340, 78}, Case{0.05L, 200, 45},
                         Case{3, 120, 30}, Case{0.4L, 900, 5}})
        ExpectNear(ExactLinearDrag(c.k, c.vo, c.angle), FineIntegration(c.k, c.vo, c.angle), 2e-6L,
                   "k " + std::to_string(static_cast<double>(c.k)));
}

TEST(ExactLinearDrag, TendsToTheIdealClosedFormsAsTheDragVanishes) {
    for (int angle : {10, 45, 78}) {
        const TrajectoryFigures vacuum = VacuumFigures(340, angle);
        // Differences of the order of k x T, relative.
        ExpectNear(ExactLinearDrag(1e-9L, 340, angle), vacuum, 1e-7L, "k 1e-9");
        ExpectNear(ExactLinearDrag(1e-5L, 340, angle), vacuum, 1e-3L, "k 1e-5");
        const TrajectoryFigures none = ExactLinearDrag(0, 340, angle);
        EXPECT_EQ(none.TiempoVuelo, vacuum.TiempoVuelo);
        EXPECT_EQ(none.Alcance, vacuum.Alcance);
    }
    // The ideal window's worked values for 340 m/s at 78 degrees.
    const TrajectoryFigures vacuum = VacuumFigures(340, 78);
    EXPECT_EQ(NumberToPatternText("0.00", vacuum.TiempoApice), "33.90");
    EXPECT_EQ(NumberToPatternText("0.00", vacuum.AlturaApice), "5637.25");
    EXPECT_EQ(NumberToPatternText("0.00", vacuum.TiempoVuelo), "67.80");
    EXPECT_EQ(NumberToPatternText("0.00", vacuum.Alcance), "4792.94");
}

TEST(ExactLinearDrag, LaunchesWithoutASolutionOrWithoutRise) {
    // Level and downward shots are back at the launch height at once.
    for (int angle : {0, -10}) {
        const TrajectoryFigures f = ExactLinearDrag(0.5L, 340, angle);
        EXPECT_EQ(f.TiempoVuelo, 0);
        EXPECT_EQ(f.AlturaApice, 0);
        EXPECT_EQ(f.Alcance, 0);
    }
    // A zero mass (k infinite), 0 / 0 and a pushing constant have none.
    for (Real k : {std::numeric_limits<Real>::infinity(), std::numeric_limits<Real>::quiet_NaN(), -0.1L})
        EXPECT_TRUE(std::isnan(ExactLinearDrag(k, 340, 78).TiempoVuelo));
}

TEST(ExactLinearDrag, HoldsFromTheSmallestDragToTheLargest) {
    // For a tiny u the root is s = 2u - (2/3)u^2 + ..., so the flight time is
    // the vacuum's times (1 - u/3) and the range, with 1 - e^-s = 2u - (8/3)u^2,
    // the vacuum's times (1 - 4u/3); otherwise the root of (1 + u)(1 - e^-s) = s is bisected
    // here directly, whose rounding costs about eps / u of relative accuracy.
    const Real radians = DegreesToRadians(78);
    const Real vx0 = 340 * std::cos(radians), vy0 = 340 * std::sin(radians);
    for (int decade = -300; decade <= 5; ++decade) {
        const Real k = DragRate(std::pow(10.0L, decade), 0.00745L, 340);
        const Real u = k * vy0 / kG;
        const TrajectoryFigures f = ExactLinearDrag(k, 340, 78);
        if (u < 1e-6L) {
            const Real vacuumTime = 2 * vy0 / kG, vacuumRange = 2 * vx0 * vy0 / kG;
            EXPECT_NEAR(static_cast<double>(f.TiempoVuelo / vacuumTime - 1 + u / 3), 0,
                        static_cast<double>(4 * u * u + 1e-17L))
                << decade;
            EXPECT_NEAR(static_cast<double>(f.Alcance / vacuumRange - 1 + 4 * u / 3), 0,
                        static_cast<double>(4 * u * u + 1e-17L))
                << decade;
            continue;
        }
        Real lo = std::log1p(u), hi = 1 + u;
        for (int i = 0; i < 200; ++i) {
            const Real mid = (lo + hi) / 2;
            ((1 + u) * -std::expm1(-mid) - mid > 0 ? lo : hi) = mid;
        }
        const Real tolerance = 1e-16L + 1e-18L / u;
        EXPECT_NEAR(static_cast<double>(f.TiempoVuelo / (lo / k) - 1), 0, static_cast<double>(tolerance))
            << decade;
        EXPECT_NEAR(static_cast<double>(f.Alcance / (vx0 * -std::expm1(-lo) / k) - 1), 0,
                    static_cast<double>(tolerance))
            << decade;
    }
}

// The run of the default inputs with the step `t`, stepped to its end.
struct SteppedRun {
    Real tiempo, alcance;
    std::optional<GroundCrossing> cruce;
};
SteppedRun StepWith(const char* t) {
    MemoryTrajectoryView view;
    view.SetText(F::T, t);
    RealTrajectory run;
    run.RunToEnd(view);
    const EstadoTrayectoria& e = run.State();
    const std::size_t n = view.rows.size();
    return {ParseReal(view.rows[n - 1][1]), e.X,
            InterpolateGroundCrossing(ParseReal(view.rows[n - 2][1]), e.XAnterior, e.YAnterior,
                                      ParseReal(view.rows[n - 1][1]), e.X, e.Y)};
}

TEST(RunReport, SteppedRunConvergesOnTheExactSolutionAsTheStepHalves) {
    const TrajectoryFigures exact = ExactLinearDrag(DragRate(0.000016788592601L, 0.00745L, 340), 340, 78);
    Real previousTime = 0, previousRange = 0;
    for (const char* step : {"0.01", "0.005", "0.0025"}) {
        const SteppedRun run = StepWith(step);
        ASSERT_TRUE(run.cruce) << step;
        // The interpolated crossing removes the error of stopping on a whole
        // step, so what is left is the scheme's own first-order error.
        const Real time = run.cruce->Tiempo - exact.TiempoVuelo;
        const Real range = run.cruce->X - exact.Alcance;
        if (previousTime != 0) {
            EXPECT_NEAR(static_cast<double>(previousTime / time), 2.0, 0.1) << step;
            EXPECT_NEAR(static_cast<double>(previousRange / range), 2.0, 0.1) << step;
        }
        // The raw last step overshoots the crossing by less than one step.
        EXPECT_LT(std::fabs(run.tiempo - exact.TiempoVuelo), std::fabs(time) + ParseReal(step)) << step;
        previousTime = time;
        previousRange = range;
    }
}

TEST(RunReport, DefaultRunFigures) {
    MemoryTrajectoryView view;
    RealTrajectory run;
    run.RunToEnd(view);
    const RunInputTexts inputs{"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340"};
    FinishedRun finished{run.State(), view.texts[F::X], view.texts[F::TiempoTotal], view.rows[3479][1],
                         view.rows[static_cast<std::size_t>(run.State().IteracionHmax) - 1][1]};
    const RunReportFigures f = ComputeRunReportFigures(inputs, finished);

    // The results window's worked captions.
    EXPECT_EQ(f.Resultados.TotalIteraciones, "3481");
    EXPECT_EQ(f.Resultados.TTotalVuelo, "34.81 seg.");
    EXPECT_EQ(f.Resultados.DistanciaMax, "91.201 m.");
    EXPECT_EQ(f.Resultados.HMax, "374.220 m.");
    EXPECT_FALSE(f.DatosCambiados);

    // Hand-checked in double precision from the closed form: k = D / M x Vo =
    // 0.000016788592601 / 0.00745 x 340 = 0.766190803267; u = k vy0 / g =
    // 25.9747417546; apex at ln(1 + u) / k = 4.30036607532 s, height
    // (g / k^2)(u - ln(1 + u)) = 378.996448159 m; the root of
    // (1 + u)(1 - e^-s) = s by Newton gives T = 35.2062980129 s and
    // vx0 (1 - e^-s) / k = 92.2615810272 m.
    EXPECT_NEAR(static_cast<double>(f.K), 0.766190803267114, 1e-12);
    EXPECT_NEAR(static_cast<double>(f.Exacto.TiempoApice), 4.30036607531764, 1e-9);
    EXPECT_NEAR(static_cast<double>(f.Exacto.AlturaApice), 378.996448159392, 1e-9);
    EXPECT_NEAR(static_cast<double>(f.Exacto.TiempoVuelo), 35.2062980129022, 1e-9);
    EXPECT_NEAR(static_cast<double>(f.Exacto.Alcance), 92.2615810271709, 1e-9);

    // The stepped apex is the row that raised Hmax; flight time and range those
    // of the last step.
    EXPECT_EQ(NumberToPatternText("0.000", f.Integrado.AlturaApice), "374.220");
    EXPECT_EQ(f.Integrado.TiempoVuelo, ParseReal("34.81"));
    EXPECT_EQ(f.Integrado.Alcance, run.State().X);
    EXPECT_NEAR(static_cast<double>(f.Integrado.TiempoApice), 4.3, 0.05);

    // The crossing lies inside the last step, before its raw values.
    ASSERT_TRUE(f.Cruce);
    EXPECT_GT(f.Cruce->Tiempo, ParseReal("34.80"));
    EXPECT_LT(f.Cruce->Tiempo, ParseReal("34.81"));
    EXPECT_LT(f.Cruce->X, run.State().X);
    EXPECT_GT(f.Cruce->X, run.State().XAnterior);

    // Against vacuum the air takes nearly half the time and 98 % of the range.
    EXPECT_EQ(NumberToPatternText("0.00", PercentChange(f.Integrado.TiempoVuelo, f.Vacio.TiempoVuelo)),
              "-48.66");
    EXPECT_EQ(NumberToPatternText("0.00", PercentChange(f.Integrado.Alcance, f.Vacio.Alcance)), "-98.10");

    // An edit of M during the run is noticed.
    finished.Estado.M = 0.008L;
    EXPECT_TRUE(ComputeRunReportFigures(inputs, finished).DatosCambiados);
}

// A quadratic run is measured against the reference solution of its own
// equations, never the linear law's closed form; its impact lies between the
// last two steps' speeds; both laws' figures come with it.
TEST(RunReport, QuadraticRunFigures) {
    MemoryTrajectoryView view;
    RealTrajectory run;
    run.RunToEnd(view, DragLaw::Quadratic);
    const RunInputTexts inputs{"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340",
                               DragLaw::Quadratic};
    const std::size_t last = static_cast<std::size_t>(run.State().Iteraciones) - 1;
    const FinishedRun finished{run.State(), view.texts[F::X], view.texts[F::TiempoTotal],
                               view.rows[last - 1][1],
                               view.rows[static_cast<std::size_t>(run.State().IteracionHmax) - 1][1]};
    const RunReportFigures f = ComputeRunReportFigures(inputs, finished);
    EXPECT_EQ(f.Ley, DragLaw::Quadratic);
    EXPECT_EQ(f.Resultados.TotalIteraciones, "2440");
    EXPECT_EQ(NumberToPatternText("0.000", f.Exacto.AlturaApice), "711.372");
    EXPECT_EQ(NumberToPatternText("0.000", f.Exacto.Alcance), "324.042");
    EXPECT_EQ(NumberToPatternText("0.000", f.Exacto.TiempoVuelo), "24.515");
    // The stepped run falls short of it by about one per cent at T = 0.01.
    EXPECT_NEAR(static_cast<double>(f.Integrado.Alcance / f.Exacto.Alcance), 0.995, 0.005);

    ASSERT_TRUE(f.Impacto);
    const EstadoTrayectoria& e = run.State();
    const Real before = std::hypot(e.VxAnterior, e.VyAnterior), after = std::hypot(e.Vx, e.Vy);
    EXPECT_GE(f.Impacto->Velocidad, std::min(before, after));
    EXPECT_LE(f.Impacto->Velocidad, std::max(before, after));
    EXPECT_EQ(NumberToPatternText("0.0", f.Impacto->Velocidad), "64.6");
    EXPECT_EQ(NumberToPatternText("0.00", f.Leyes[1].VelocidadImpacto), "64.60");
    EXPECT_EQ(NumberToPatternText("0.00", f.Leyes[0].VelocidadImpacto), "12.80");
    EXPECT_EQ(f.VacioVelocidadImpacto, 340);
    EXPECT_EQ(f.VacioAnguloImpacto, 78);

    // The linear run of the same inputs keeps its closed form.
    MemoryTrajectoryView linearView;
    RealTrajectory linear;
    linear.RunToEnd(linearView);
    const FinishedRun linearRun{linear.State(), linearView.texts[F::X], linearView.texts[F::TiempoTotal],
                                linearView.rows[3479][1], ""};
    EXPECT_EQ(
        ComputeRunReportFigures({"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340"}, linearRun)
            .Exacto.Alcance,
        ExactLinearDrag(DragRate(0.000016788592601L, 0.00745L, 340), 340, 78).Alcance);
}

TEST(RunReport, GroundCrossingOnlyBetweenAStepAboveAndOneAtOrBelow) {
    const auto c = InterpolateGroundCrossing(1, 0, 2, 2, 10, -2);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Tiempo, 1.5L);
    EXPECT_EQ(c->X, 5);
    EXPECT_EQ(InterpolateGroundCrossing(1, 0, 2, 2, 10, 0)->X, 10);
    EXPECT_FALSE(InterpolateGroundCrossing(1, 0, 0, 2, 10, -2));    // starts on the ground (angle 0)
    EXPECT_FALSE(InterpolateGroundCrossing(1, 0, -1, 2, 10, -2));   // both below
    EXPECT_FALSE(InterpolateGroundCrossing(1, 0, NAN, 2, 10, NAN)); // a run gone undefined
}

TEST(RunReport, ARunStoppedInTheAirIsNotAFlight) {
    MemoryTrajectoryView view;
    RealTrajectory run(100);
    run.RunToEnd(view);
    const RunInputTexts inputs{"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340"};
    const FinishedRun finished{run.State(), view.texts[F::X], view.texts[F::TiempoTotal], view.rows[98][1],
                               view.rows[99][1]};
    const RunReportFigures f = ComputeRunReportFigures(inputs, finished);
    EXPECT_FALSE(f.Aterrizo);
    EXPECT_FALSE(f.Cruce);
    EXPECT_EQ(NotLandedText(run.State().Iteraciones), "no aterrizó en 100 pasos");
}

TEST(RunReport, TheReproduceCommandQuotesEveryTextAsItWas) {
    EXPECT_EQ(ReproduceCommand({"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340"}),
              "KORVO real --d \"0.000016788592601\" --t \"0.01\" --m \"0.00745\" --xo \"0\" --yo \"0\" "
              "--angle \"78\" --vo \"340\"");
    // Blanks are kept; what a shell reads between double quotes goes between single ones.
    EXPECT_EQ(ReproduceCommand({" 1,5e-5", "0,01", "a\"b", "$x", "it's", "78", "340 "}),
              "KORVO real --d \" 1,5e-5\" --t \"0,01\" --m 'a\"b' --xo '$x' --yo \"it's\" --angle \"78\" "
              "--vo \"340 \"");
    EXPECT_EQ(ReproduceCommand({"'$", "", "", "", "", "", ""}).substr(0, 20), "KORVO real --d ''\\''");
    // The quadratic law is named after the inputs; the linear law, the default, is not.
    EXPECT_EQ(ReproduceCommand({"1", "2", "3", "4", "5", "6", "7", DragLaw::Quadratic}),
              "KORVO real --d \"1\" --t \"2\" --m \"3\" --xo \"4\" --yo \"5\" --angle \"6\" --vo \"7\" "
              "--drag quadratic");
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "MemoryTrajectoryView.h"

#include "SeparatorGuard.h"
#include "ballistics/core/Angles.h"
#include "ballistics/core/NumericRun.h"
#include "ballistics/core/StepKernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <utility>

namespace korvo {
namespace {

using F = TrajectoryField;
using test::LatestRowView;

// The same value to the bit (a NaN matches a NaN, a zero its own sign only).
::testing::AssertionResult Same(const char* aText, const char* bText, Real a, Real b) {
    if ((a == b && std::signbit(a) == std::signbit(b)) || (std::isnan(a) && std::isnan(b)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << aText << " = " << NumberToGeneralText(a) << " but " << bText << " = " << NumberToGeneralText(b);
}
#define EXPECT_SAME(a, b) EXPECT_PRED_FORMAT2(Same, a, b)

struct InputTexts {
    std::string D, T, M, Vo, Angulo;
};

// The window's run from these texts, beside the run from the values the
// texts read as.
void ExpectSameRun(const InputTexts& texts, DragLaw ley, std::int32_t mostSteps, const std::string& what) {
    LatestRowView view;
    view.SetText(F::D, texts.D);
    view.SetText(F::T, texts.T);
    view.SetText(F::M, texts.M);
    view.SetText(F::Vo, texts.Vo);
    view.SetText(F::Angulo, texts.Angulo);
    NumericRunInputs in;
    in.D = ParseReal(texts.D);
    in.T = ParseReal(texts.T);
    in.M = ParseReal(texts.M);
    in.Vo = ParseReal(texts.Vo);
    in.AnguloGrados = ParseWhole(texts.Angulo);
    in.Ley = ley;
    SCOPED_TRACE(what);

    // Inputs the window refuses at the start are refused alike.
    RealTrajectory window(mostSteps);
    try {
        window.RunToEnd(view, ley);
    } catch (const std::runtime_error& refusal) {
        try {
            RunNumeric(in, mostSteps);
            ADD_FAILURE() << "the run from numbers did not refuse: " << refusal.what();
        } catch (const std::runtime_error& numeric) {
            EXPECT_STREQ(numeric.what(), refusal.what());
        }
        return;
    }
    const EstadoTrayectoria& w = window.State();
    const NumericRunResult r = RunNumeric(in, mostSteps);

    ASSERT_EQ(r.Iteraciones, w.Iteraciones);
    EXPECT_SAME(r.Hmax, w.Hmax);
    EXPECT_SAME(r.Ultimo.X, w.X);
    EXPECT_SAME(r.Ultimo.Y, w.Y);
    EXPECT_SAME(r.Ultimo.Vx, w.Vx);
    EXPECT_SAME(r.Ultimo.Vy, w.Vy);
    EXPECT_SAME(r.Anterior.X, w.XAnterior);
    EXPECT_SAME(r.Anterior.Y, w.YAnterior);
    // The times as the display read them before the last step and reads now.
    EXPECT_SAME(r.Anterior.Tiempo, w.TiempoAnterior);
    EXPECT_SAME(r.Ultimo.Tiempo, ParseReal(view.texts[F::TiempoTotal]));
    EXPECT_EQ(r.Landed, window.Landed());
    const std::optional<Impact> impact = ImpactOfRun(w);
    ASSERT_EQ(r.Cruce.has_value(), impact.has_value());
    if (impact) {
        EXPECT_SAME(r.Cruce->Tiempo, impact->Tiempo);
        EXPECT_SAME(r.Cruce->Alcance, impact->Alcance);
        EXPECT_SAME(r.Cruce->Velocidad, impact->Velocidad);
        EXPECT_SAME(r.Cruce->Angulo, impact->Angulo);
    }
}

TEST(NumericRun, DefaultCaseIsTheWindowsRunUnderBothLaws) {
    for (DragLaw ley : {DragLaw::Linear, DragLaw::Quadratic})
        ExpectSameRun({"0.000016788592601", "0.01", "0.00745", "340", "78"}, ley, kMostTrajectorySteps,
                      DragLawOptionName(ley));
}

TEST(NumericRun, RandomInputsAreTheWindowsRunUnderBothLawsAndSeparators) {
    std::mt19937_64 random(24);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const auto text = [](Real value) { return NumberToGeneralText(value); };
    for (int i = 0; i < 300; ++i) {
        test::SeparatorGuard separator(i % 3 == 0 ? ',' : '.');
        InputTexts texts;
        texts.D = text(uniform(0, 6e-5));
        // Steps of few digits (the display then counts them exactly) and of
        // fifteen (it cuts every sum).
        texts.T = i % 2 == 0 ? text(std::round(uniform(5, 30)) / 100) : text(uniform(0.05, 0.3));
        texts.M = text(uniform(1e-3, 3e-2));
        texts.Vo = text(uniform(1, 700));
        texts.Angulo = std::to_string(static_cast<int>(uniform(-5, 91)));
        for (DragLaw ley : {DragLaw::Linear, DragLaw::Quadratic})
            ExpectSameRun(texts, ley, 600,
                          std::to_string(i) + ": D " + texts.D + " T " + texts.T + " M " + texts.M + " Vo " +
                              texts.Vo + " angle " + texts.Angulo + " " + DragLawOptionName(ley));
    }
}

TEST(NumericRun, EdgeInputsAreTheWindowsRun) {
    // Level, straight up, a speed that barely leaves the ground, a zero mass
    // (refused by both), no drag, a long step, a step limit reached.
    const InputTexts cases[] = {
        {"0.000016788592601", "0.01", "0.00745", "340", "0"},
        {"0.000016788592601", "0.01", "0.00745", "340", "90"},
        {"0.000016788592601", "0.01", "0.00745", "1E-6", "45"},
        {"0.000016788592601", "0.01", "0", "340", "78"},
        {"0", "0.01", "0.00745", "340", "78"},
        {"0.000016788592601", "1.5", "0.00745", "340", "78"},
        {"0.000016788592601", "0.001", "0.00745", "340", "78"},
    };
    for (const InputTexts& c : cases)
        for (DragLaw ley : {DragLaw::Linear, DragLaw::Quadratic})
            ExpectSameRun(c, ley, 2000, c.Vo + " " + c.Angulo + " M " + c.M + " T " + c.T);
}

TEST(NumericRun, TheDisplayedTimeIsCutAsTheTextIs) {
    // Steps that the display counts exactly and steps whose sums it cuts, each
    // checked at a few lengths against the texts written and read back.
    for (const Real t : {0.01L, 0.005L, 0.001L, 0.3L, 0.007L, 123.456L, 1e-9L, 1.0L / 3, 0.0123456789012345L,
                         0.07000000000000001L}) {
        for (const std::int32_t steps : {2, 37, 1000, 4321}) {
            NumericRunInputs in;
            in.T = t;
            in.D = 0;
            in.AnguloGrados = 90;
            in.Vo = 1e9L; // never lands within these steps
            const NumericRunResult r = RunNumeric(in, steps);
            ASSERT_EQ(r.Iteraciones, steps);
            EXPECT_FALSE(r.Landed);
            Real before = 0, after = 0;
            for (std::int32_t i = 0; i < steps; ++i) {
                before = after;
                after = ParseReal(NumberToGeneralText(after + t));
            }
            EXPECT_SAME(r.Anterior.Tiempo, before) << NumberToGeneralText(t) << " x " << steps;
            EXPECT_SAME(r.Ultimo.Tiempo, after) << NumberToGeneralText(t) << " x " << steps;
        }
    }
}

// The step written out plainly in double precision, the quadratic law's rule
// as its table was first computed, to the landing.
struct PlainRun {
    int steps = 0;
    double hmax = 0, x = 0, speed = 0;
};
PlainRun PlainQuadraticRun() {
    const double d = 0.000016788592601, m = 0.00745, g = 9.81, t = 0.01;
    const double radians = 78 * 3.14159265358979323846 / 180;
    double vx = 340 * std::cos(radians), vy = 340 * std::sin(radians), y = 0;
    PlainRun run;
    do {
        const double speed = std::sqrt(vx * vx + vy * vy);
        const double ax = -(d / m) * speed * vx, ay = -g - (d / m) * speed * vy;
        vx += ax * t;
        vy += ay * t;
        run.x += t * t * 0.5 * ax + vx * t;
        y += t * t * 0.5 * ay + vy * t;
        run.hmax = std::max(run.hmax, y);
        ++run.steps;
    } while (run.steps < 2 || y > 0);
    run.speed = std::sqrt(vx * vx + vy * vy);
    return run;
}

TEST(NumericRun, QuadraticDefaultCaseGivesTheTableOfTheLaw) {
    NumericRunInputs in;
    in.Ley = DragLaw::Quadratic;
    const NumericRunResult r = RunNumeric(in);
    const PlainRun plain = PlainQuadraticRun();
    const auto fixed = [](const char* pattern, Real value) { return NumberToPatternText(pattern, value); };
    EXPECT_EQ(r.Iteraciones, 2440);
    EXPECT_EQ(plain.steps, 2440);
    EXPECT_EQ(NumberToGeneralText(r.Ultimo.Tiempo), "24.4");
    EXPECT_EQ(fixed("0.000", r.Hmax), "705.630");
    EXPECT_EQ(fixed("0.000", plain.hmax), "705.630");
    EXPECT_EQ(fixed("0.000", r.Ultimo.X), "322.377");
    EXPECT_EQ(fixed("0.000", plain.x), "322.377");
    const Real speed = std::hypot(r.Ultimo.Vx, r.Ultimo.Vy);
    EXPECT_EQ(fixed("0.00", speed), "64.57");
    EXPECT_EQ(fixed("0.00", plain.speed), "64.57");
    // At the crossing, a little before the last step.
    ASSERT_TRUE(r.Cruce);
    EXPECT_NEAR(static_cast<double>(r.Cruce->Velocidad), 64.57, 0.01);
    EXPECT_NEAR(static_cast<double>(r.Cruce->Angulo), 87.77, 0.01);
    EXPECT_LT(r.Cruce->Tiempo, r.Ultimo.Tiempo);
    EXPECT_GT(r.Cruce->Tiempo, r.Anterior.Tiempo);
}

TEST(NumericRun, LinearDefaultCaseKeepsTheWorkedValues) {
    const NumericRunResult r = RunNumeric(NumericRunInputs{});
    EXPECT_EQ(r.Iteraciones, 3481);
    EXPECT_EQ(NumberToGeneralText(r.Ultimo.Tiempo), "34.81");
    EXPECT_EQ(NumberToPatternText("0.000", r.Hmax), "374.220");
    EXPECT_EQ(NumberToPatternText("0.000", r.Ultimo.X), "91.201");
    // The falling speed has reached G / ((D / M) x Vo), straight down.
    ASSERT_TRUE(r.Cruce);
    EXPECT_EQ(NumberToPatternText("0.000", r.Cruce->Velocidad), "12.804");
    EXPECT_EQ(NumberToPatternText("0.00", r.Cruce->Angulo), "90.00");
}

// The designed step written out plainly in the extended format, with a launch
// height and a real angle, to where the height falls to -H from above.
struct PlainLaunch {
    int steps = 0;
    Real hmax = 0, x = 0, y = 0;
};
PlainLaunch PlainRunFrom(Real h, Real degrees, DragLaw ley) {
    const Real d = 0.000016788592601L, m = 0.00745L, t = 0.01L, vo = 340;
    const Real radians = (degrees * kPi) / 180;
    Real vx = vo * std::cos(radians), vy = vo * std::sin(radians);
    PlainLaunch run;
    bool above = h >= 0;
    while (true) {
        const Real s = ley == DragLaw::Quadratic ? std::sqrt((vx * vx) + (vy * vy)) : vo;
        const Real ax = ((-(d / m)) * s) * vx, ay = -kGravity - (((d / m) * s) * vy);
        vx = (ax * t) + vx;
        vy = (ay * t) + vy;
        run.x = run.x + (((t * t) * (0.5L * ax)) + (vx * t));
        run.y = run.y + (((t * t) * (0.5L * ay)) + (vy * t));
        run.hmax = std::max(run.hmax, run.y);
        ++run.steps;
        if (run.y > -h)
            above = true;
        else if (run.steps >= 2 && (above || vy <= 0))
            return run;
    }
}

TEST(NumericRun, LaunchHeightAndRealAnglesAgainstThePlainStep) {
    const struct {
        Real h, degrees;
    } cases[] = {{25, 78}, {300, 78}, {1500, -10}, {-100, 78}, {-150, 60.5L}, {0, 12.25L}, {10, 0}};
    for (const auto& c : cases)
        for (DragLaw ley : {DragLaw::Linear, DragLaw::Quadratic}) {
            NumericRunInputs in;
            in.AlturaLanzamiento = c.h;
            in.AnguloGrados = c.degrees;
            in.Ley = ley;
            const NumericRunResult r = RunNumeric(in);
            const PlainLaunch plain = PlainRunFrom(c.h, c.degrees, ley);
            SCOPED_TRACE(NumberToGeneralText(c.h) + " m, " + NumberToGeneralText(c.degrees) + " degrees, " +
                         DragLawOptionName(ley));
            EXPECT_EQ(r.Iteraciones, plain.steps);
            EXPECT_SAME(r.Hmax, plain.hmax);
            EXPECT_SAME(r.Ultimo.X, plain.x);
            ASSERT_TRUE(r.Cruce);
            EXPECT_GT(r.Anterior.Y, -c.h);
            EXPECT_LE(r.Ultimo.Y, -c.h);
            // A landing lower down lies farther away.
            if (c.h > 0 && c.degrees == 78) {
                EXPECT_GT(r.Cruce->Alcance, RunNumeric(NumericRunInputs{.Ley = ley}).Cruce->Alcance);
            }
        }
}

TEST(NumericRun, AShotUphillThatNeverClimbsThatHighHasNoCrossing) {
    // The default shot rises to 374 m; a landing 400 m above the launch is
    // never reached: the run ends once the projectile starts to fall.
    NumericRunInputs in;
    in.AlturaLanzamiento = -400;
    const NumericRunResult r = RunNumeric(in);
    EXPECT_TRUE(r.Landed);
    EXPECT_FALSE(r.Cruce);
    EXPECT_LE(r.Ultimo.Vy, 0);
    EXPECT_GT(r.Anterior.Vy, 0);
}

TEST(NumericRun, NegativeDragOrMassIsRefusedAsTheWindowRefusesIt) {
    NumericRunInputs negativeD, negativeM;
    negativeD.D = -1e-5L;
    negativeM.M = -0.001L;
    for (const auto& [in, message] : {std::pair{negativeD, kDNegativo}, std::pair{negativeM, kMNegativo}}) {
        try {
            RunNumeric(in);
            ADD_FAILURE() << message;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

TEST(GroundImpact, SpeedAndAngleBelowTheHorizontalAtTheCrossing) {
    const struct {
        StepEnd prev, last;
        Real tiempo, alcance, velocidad, angulo;
    } rows[] = {
        // Halfway: the velocity (3, -4) gives 5 m/s at 53.13 degrees below.
        {{1, 10, 1, 3, -2}, {2, 12, -1, 3, -6}, 1.5L, 11, 5, 53.130102354155978703L},
        // A vertical fall, and a projectile flying backwards (|Vx| counts).
        {{0, 0, 4, 0, -7}, {1, 0, -4, 0, -9}, 0.5L, 0, 8, 90},
        {{0, 0, 1, -3, -3}, {1, -3, 0, -3, -3}, 1, -3, std::sqrt(18.0L), 45},
    };
    for (const auto& row : rows) {
        const std::optional<Impact> impact = InterpolateImpact(row.prev, row.last);
        ASSERT_TRUE(impact);
        EXPECT_NEAR(static_cast<double>(impact->Tiempo), static_cast<double>(row.tiempo), 1e-15);
        EXPECT_NEAR(static_cast<double>(impact->Alcance), static_cast<double>(row.alcance), 1e-14);
        EXPECT_NEAR(static_cast<double>(impact->Velocidad), static_cast<double>(row.velocidad), 1e-14);
        EXPECT_NEAR(static_cast<double>(impact->Angulo), static_cast<double>(row.angulo), 1e-13);
    }
    // No crossing unless the step before is above the level and the last at or below it.
    EXPECT_FALSE(InterpolateImpact({0, 0, 0, 1, -1}, {1, 1, -1, 1, -1}));
    EXPECT_FALSE(InterpolateImpact({0, 0, 2, 1, -1}, {1, 1, 1, 1, -1}));
    EXPECT_TRUE(InterpolateImpact({0, 0, 2, 1, -1}, {1, 1, 1, 1, -1}, 1));
}

TEST(DragLaw, NamesForTheWindowsAndTheCommandLine) {
    EXPECT_STREQ(DragLawCaption(DragLaw::Linear), "Lineal (Vo)");
    EXPECT_STREQ(DragLawCaption(DragLaw::Quadratic), "Cuadrática (|V|)");
    EXPECT_EQ(DragLawNamed("quadratic"), DragLaw::Quadratic);
    EXPECT_EQ(DragLawNamed(DragLawOptionName(DragLaw::Linear)), DragLaw::Linear);
    EXPECT_FALSE(DragLawNamed("Linear")); // names are lower case
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// What a run refuses before its first step, checked against what the stepping
// rule itself does at the bound, and the self-check's verdict on this build.
#include "MemoryTrajectoryView.h"

#include "SeparatorGuard.h"
#include "ballistics/core/RunChecks.h"
#include "ballistics/core/SelfCheck.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace korvo {
namespace {

using F = TrajectoryField;
using test::MemoryTrajectoryView;

// D that gives the default run (M 0.00745 kg, Vo 340 m/s, T 0.01 s) this k x T.
std::string DragFor(Real kt) {
    return NumberToGeneralText(kt * 0.00745L / (340 * 0.01L));
}

std::string Unstable(const char* kt) {
    return "El paso T es inestable para este arrastre: (D ÷ M) × Vo × T = " + BuiltInNumberText(kt) +
           " llega a " + BuiltInNumberText("0.667") + ", donde el cálculo retrocede; reduzca T";
}

TEST(RunChecks, ImpossibleInputsAreRefusedBeforeAnyFieldChanges) {
    for (char separator : {'.', ','}) {
        test::SeparatorGuard guard(separator);
        const struct {
            F field;
            std::string text;
            std::string message;
        } cases[] = {
            {F::T, "0", kTNoPositivo},
            {F::T, BuiltInNumberText("-0.01"), kTNoPositivo},
            {F::Vo, "-1", kVoNegativo},
            {F::M, "0", kMCero},
            {F::M, "-0", kMCero},
            // 120 times the default drag, and the default drag with T = 5 s:
            // both used to "land" at a negative range.
            {F::D, BuiltInNumberText("0.002"), Unstable("0.913")},
            {F::T, "5", Unstable("3.831")},
            // A vanishing mass: the product is written with its exponent, not
            // as thousands of digits.
            {F::M, BuiltInNumberText("1E-4000"), Unstable("5.70812148434E3995")},
        };
        for (const auto& c : cases) {
            MemoryTrajectoryView view;
            view.SetText(c.field, c.text);
            const auto before = view.texts;
            RealTrajectory run;
            try {
                run.Start(view);
                ADD_FAILURE() << c.text << " was not refused";
            } catch (const std::runtime_error& error) {
                EXPECT_EQ(error.what(), c.message) << c.text;
            }
            EXPECT_TRUE(view.rows.empty()) << c.text;
            EXPECT_EQ(view.texts, before) << c.text;
        }
    }
}

TEST(RunChecks, TheBoundIsWhereAStepStopsMovingForward) {
    // Just inside the bound every step still moves the projectile forward and
    // the run lands; at the bound and past it the run is refused.
    for (Real kt : {0.05L, 0.3L, 0.6L, 0.66L}) {
        MemoryTrajectoryView view;
        view.SetText(F::D, DragFor(kt));
        RealTrajectory run;
        run.RunToEnd(view);
        EXPECT_TRUE(run.Landed());
        Real previous = 0;
        for (const auto& row : view.rows) {
            EXPECT_GE(ParseReal(row[2]), previous) << static_cast<double>(kt) << " step " << row[0];
            previous = ParseReal(row[2]);
        }
        EXPECT_GT(previous, 0);
    }
    // Independently of the checks: one step from (0, 0) of the stepping rule
    // as written, Vx' = Vx + Ax T and X' = T^2 Ax / 2 + Vx' T with Ax = -k Vx,
    // moves backward once k T passes 2/3.
    for (Real kt : {0.6L, 0.7L}) {
        const Real vx = 1, t = 0.01L, ax = -(kt / t) * vx;
        const Real x = (t * t) * (0.5L * ax) + (ax * t + vx) * t;
        EXPECT_EQ(x<0, kt> kUnstableStepProduct) << static_cast<double>(kt);
    }
    for (const char* kt : {"0.667", "0.7", "1e6"}) {
        MemoryTrajectoryView view;
        view.SetText(F::D, DragFor(ParseReal(BuiltInNumberText(kt))));
        RealTrajectory run;
        EXPECT_THROW(run.Start(view), std::runtime_error) << kt;
    }
}

TEST(RunChecks, ALongStepIsWarnedAboutWhenTheRunEnds) {
    MemoryTrajectoryView view;
    RealTrajectory run;
    run.RunToEnd(view);
    EXPECT_EQ(LargeStepNote(run), "");
    MemoryTrajectoryView longer;
    longer.SetText(F::T, BuiltInNumberText("0.2")); // k T = 0.153
    RealTrajectory large;
    large.RunToEnd(longer);
    EXPECT_EQ(LargeStepNote(large), "\nAviso: el paso T es grande para este arrastre: reduzca T.");
}

TEST(SelfCheck, EveryCaseHoldsOnThisBuildAndAFailureIsNamed) {
    std::vector<SelfCheckCase> cases = RunSelfCheck();
    EXPECT_TRUE(SelfCheckPassed(cases)) << SelfCheckText(cases);
    EXPECT_EQ(SelfCheckVerdict(cases), "correcto (" + std::to_string(cases.size()) + " casos)");
    cases[7].Obtenido *= 1.000001L;
    EXPECT_FALSE(SelfCheckPassed(cases));
    EXPECT_EQ(SelfCheckVerdict(cases), "falla: " + cases[7].Nombre);
    EXPECT_NE(SelfCheckText(cases).find("FALLA"), std::string::npos);
}

} // namespace
} // namespace korvo

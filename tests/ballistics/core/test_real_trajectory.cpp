// SPDX-License-Identifier: GPL-3.0-or-later

#include "MemoryTrajectoryView.h"

#include "SeparatorGuard.h"
#include "ballistics/core/Angles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace korvo {
namespace {

using F = TrajectoryField;
using test::MemoryTrajectoryView;
using Row = std::array<std::string, 10>;

TEST(Angles, PiIsTheProgramsExtendedConstant) {
    // Significand C90FDAA22168C234, exponent 1: one unit below the nearest pi.
    // Its first 10 bytes are the 80-bit value, which Real.h holds Real to be.
    static_assert(sizeof(Real) >= 10 && std::numeric_limits<Real>::digits == 64);
    unsigned char bytes[sizeof(Real)] = {};
    std::memcpy(bytes, &kPi, 10);
    const unsigned char expected[10] = {0x34, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40};
    EXPECT_EQ(0, std::memcmp(bytes, expected, 10));
}

TEST(RealTrajectory, DefaultRunMatchesTheWorkedValues) {
    MemoryTrajectoryView view;
    RealTrajectory run;
    run.Start(view);
    EXPECT_EQ(view.texts[F::Vx], "70.6899748780382");
    EXPECT_EQ(view.texts[F::Vy], "332.570184249494");
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0], (Row{"1", "0.01", "0.699", "3.286", "-54.162", "-264.622", "70.148", "329.924",
                                 "423.796", "43.244"}));
    while (run.GoesOn())
        run.Calcular(view);
    EXPECT_EQ(view.rows.size(), 3481u);
    EXPECT_EQ(run.State().Iteraciones, 3481);
    EXPECT_EQ(view.texts[F::TiempoTotal], "34.81");
    EXPECT_EQ(view.rows.back()[1], "34.81");
    EXPECT_EQ(NumberToPatternText("0.000", run.State().Hmax), "374.220");
    EXPECT_EQ(NumberToPatternText("0.000", run.State().X), "91.201");
    EXPECT_EQ(view.points.size(), 3481u);
    // The vertical speed tends to -G / ((D / M) x Vo) = -12.804 m/s.
    EXPECT_EQ(NumberToPatternText("0.000", run.State().Vy), "-12.804");
}

TEST(RealTrajectory, TimeFieldCountsHundredths) {
    MemoryTrajectoryView view;
    RealTrajectory run;
    run.RunToEnd(view);
    for (std::size_t i : {0u, 1u, 9u, 99u, 2999u})
        EXPECT_EQ(ParseReal(view.rows[i][1]), ParseReal(NumberToGeneralText((i + 1) / 100.0L))) << i;
}

TEST(RealTrajectory, LevelShotEndsAfterTwoRows) {
    MemoryTrajectoryView view;
    view.SetText(F::Angulo, "0");
    RealTrajectory run;
    run.RunToEnd(view);
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0][2], "3.361");
    EXPECT_EQ(view.rows[0][3], "-0.001");
    EXPECT_EQ(run.State().Hmax, 0);
}

TEST(RealTrajectory, AMassEditedToZeroGivesInfinitiesThenNaNsAndEnds) {
    // A start refuses M = 0; an edit during the run reaches the next step.
    MemoryTrajectoryView view;
    RealTrajectory run;
    run.Start(view);
    view.SetText(F::M, "0");
    do
        run.Calcular(view);
    while (run.GoesOn());
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[1][4], "-INF"); // Ax
    EXPECT_EQ(view.rows[1][3], "-INF"); // Y, which ends the run
    EXPECT_TRUE(run.Landed());
}

TEST(RealTrajectory, StartAfterResetIsRefusedForItsZeroMass) {
    MemoryTrajectoryView view;
    for (F field : {F::D, F::M, F::Angulo, F::Vo, F::TiempoTotal})
        view.SetText(field, "0");
    RealTrajectory run;
    try {
        run.Start(view);
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "El valor de M no puede ser 0");
    }
    EXPECT_TRUE(view.rows.empty());
}

TEST(RealTrajectory, FractionalAngleRefusedBeforeAnyStep) {
    MemoryTrajectoryView view;
    view.SetText(F::Angulo, "78.5");
    RealTrajectory run;
    try {
        run.Start(view);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'78.5' is not a valid integer value");
    }
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.texts[F::Vx], "0");
}

TEST(RealTrajectory, FailedReadStopsTheStepWhereItIs) {
    MemoryTrajectoryView view;
    RealTrajectory run;
    run.Start(view);
    view.SetText(F::Vo, "abc");
    const std::string x = view.texts[F::X];
    EXPECT_THROW(run.Calcular(view), EConvertError);
    EXPECT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.texts[F::X], x);
    EXPECT_EQ(run.State().Iteraciones, 1);
}

TEST(RealTrajectory, NegativeDragOrMassIsRefusedBeforeTheStepComputes) {
    // Either would make the drag push the projectile on: the height would grow
    // without bound and the run would never end.
    const struct {
        F field;
        const char* message;
    } cases[] = {{F::D, kDNegativo}, {F::M, kMNegativo}};
    for (const auto& c : cases) {
        MemoryTrajectoryView view;
        view.SetText(c.field, "-0.001");
        RealTrajectory run;
        try {
            run.Start(view);
            ADD_FAILURE() << c.message;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_TRUE(view.rows.empty()) << c.message;
        EXPECT_EQ(run.State().Iteraciones, 0) << c.message;
        EXPECT_EQ(view.texts[F::X], "0") << c.message;

        // Edited to a negative value during a run: that step stops before it computes.
        MemoryTrajectoryView running;
        RealTrajectory later;
        later.Start(running);
        running.SetText(c.field, "-1E-5");
        EXPECT_THROW(later.Calcular(running), std::runtime_error) << c.message;
        EXPECT_EQ(running.rows.size(), 1u) << c.message;
        running.SetText(c.field, "-0"); // a zero, whatever its sign
        EXPECT_NO_THROW(later.Calcular(running)) << c.message;
    }
}

TEST(RealTrajectory, AnInfiniteHeightEndsTheRun) {
    // No drag, straight up, a speed near the top of the extended range and a
    // long step: the height overflows to INF, which is above 0 but no height a
    // projectile ever comes down from.
    MemoryTrajectoryView view;
    view.SetText(F::D, "0");
    view.SetText(F::Angulo, "90");
    view.SetText(F::Vo, "1E4931");
    view.SetText(F::T, "1000");
    RealTrajectory run;
    run.RunToEnd(view);
    EXPECT_TRUE(run.Landed());
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0][3], "INF");
}

TEST(RealTrajectory, ARunThatCannotLandStopsAtItsMostSteps) {
    // T 1E-9 would need about 3.5E10 steps to land.
    MemoryTrajectoryView view;
    view.SetText(F::T, "1E-9");
    RealTrajectory run(100);
    run.RunToEnd(view);
    EXPECT_EQ(view.rows.size(), 100u);
    EXPECT_EQ(run.State().Iteraciones, 100);
    EXPECT_FALSE(run.Landed());
    // The window's message names the limit a run really has.
    EXPECT_NE(std::string(kTrayectoriaSinFin).find(" " + std::to_string(kMostTrajectorySteps) + " "),
              std::string::npos);
}

TEST(RealTrajectory, MassEditedDuringTheRunActsFromTheNextStep) {
    MemoryTrajectoryView a, b;
    RealTrajectory runA, runB;
    runA.Start(a);
    runB.Start(b);
    runA.Calcular(a);
    b.SetText(F::M, "0.01");
    runB.Calcular(b);
    EXPECT_EQ(a.rows[0], b.rows[0]);
    EXPECT_NE(a.rows[1][4], b.rows[1][4]); // Ax
}

TEST(RealTrajectory, RunsUnderACommaSeparator) {
    test::SeparatorGuard comma(',');
    MemoryTrajectoryView view;
    for (auto& [field, text] : view.texts)
        text = BuiltInNumberText(text);
    RealTrajectory run;
    run.RunToEnd(view);
    EXPECT_EQ(view.rows.size(), 3481u);
    EXPECT_EQ(view.texts[F::TiempoTotal], "34,81");
    EXPECT_EQ(view.rows[0][2], "0,699");
}

TEST(RealTrajectory, ResetTextsUnderBothSeparators) {
    for (char decimal : {'.', ','}) {
        test::SeparatorGuard separator(decimal);
        for (const auto& [field, text] : ResetTrajectoryTexts()) {
            EXPECT_EQ(text, field == F::T ? BuiltInNumberText("0.01") : "0");
            EXPECT_NO_THROW(ParseReal(text)); // the next start reads them back
        }
        for (const auto& [field, text] : DefaultTrajectoryTexts())
            if (field != F::Angulo) {
                EXPECT_NO_THROW(ParseReal(text));
            }
    }
}

TEST(RealTrajectory, ResetKeepsHmaxUntilTheNextStart) {
    MemoryTrajectoryView view;
    RealTrajectory run;
    run.RunToEnd(view);
    run.ResetCounters();
    EXPECT_EQ(run.State().Iteraciones, 0);
    EXPECT_GT(run.State().Hmax, 374);
    MemoryTrajectoryView level;
    level.SetText(F::Angulo, "0");
    run.RunToEnd(level);
    EXPECT_EQ(run.State().Hmax, 0);
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ExpectClose.h"
#include "ballistics/core/Angles.h"
#include "ballistics/core/NumericRun.h"
#include "ballistics/core/ReferenceTrajectory.h"
#include "ballistics/core/RunReport.h"
#include "ballistics/core/StepKernel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvo {
namespace {

constexpr Real kD = 0.000016788592601L, kM = 0.00745L, kG = 9.81L;

// The promise is 1e-9; the method does about a hundred times better, and a
// regression of the error control shows long before the promise breaks.
constexpr Real kAgreement = 1e-11L;

TEST(ReferenceTrajectory, NoDragGivesTheVacuumValuesUnderBothLaws) {
    for (DragLaw ley : {DragLaw::Linear, DragLaw::Quadratic})
        for (Real degrees : {5.0L, 30.0L, 45.0L, 78.0L, 89.5L}) {
            const Real vo = 340, radians = DegreesToRadians(degrees);
            const Real vx = vo * std::cos(radians), vy = vo * std::sin(radians);
            const ReferenceFigures f = ReferenceSolution({0, kM, vo, degrees, ley});
            SCOPED_TRACE(NumberToGeneralText(degrees));
            EXPECT_CLOSE(f.TiempoApice, vy / kG, kAgreement);
            EXPECT_CLOSE(f.AlturaMaxima, vy * vy / (2 * kG), kAgreement);
            EXPECT_CLOSE(f.TiempoVuelo, 2 * vy / kG, kAgreement);
            EXPECT_CLOSE(f.Alcance, 2 * vx * vy / kG, kAgreement);
            EXPECT_CLOSE(f.VelocidadImpacto, vo, kAgreement);
            EXPECT_CLOSE(f.AnguloImpacto, degrees, kAgreement);
        }
}

TEST(ReferenceTrajectory, LinearLawGivesItsExactSolution) {
    for (std::int32_t degrees : {10, 45, 78, 89}) {
        const ReferenceFigures f =
            ReferenceSolution({kD, kM, 340, static_cast<Real>(degrees), DragLaw::Linear});
        const TrajectoryFigures exact = ExactLinearDrag(DragRate(kD, kM, 340), 340, degrees);
        SCOPED_TRACE(degrees);
        EXPECT_CLOSE(f.TiempoApice, exact.TiempoApice, kAgreement);
        EXPECT_CLOSE(f.AlturaMaxima, exact.AlturaApice, kAgreement);
        EXPECT_CLOSE(f.TiempoVuelo, exact.TiempoVuelo, kAgreement);
        EXPECT_CLOSE(f.Alcance, exact.Alcance, kAgreement);
    }
}

// A vertical shot under the quadratic law: with vt = sqrt(G M / D), the rise
// lasts (vt / G) atan(Vo / vt) and reaches (vt^2 / 2G) ln(1 + Vo^2 / vt^2);
// a fall from rest through h lasts (vt / G) acosh(e^(G h / vt^2)) and arrives
// at vt sqrt(1 - e^(-2 G h / vt^2)).
struct VerticalShot {
    Real vt, apexTime, apexHeight;
    explicit VerticalShot(Real vo) : vt(std::sqrt(kG * kM / kD)) {
        apexTime = std::sqrt(kM / (kD * kG)) * std::atan(vo * std::sqrt(kD / (kM * kG)));
        apexHeight = (kM / (2 * kD)) * std::log1p(kD * vo * vo / (kM * kG));
    }
    Real FallTime(Real h) const { return (vt / kG) * std::acosh(std::exp(kG * h / (vt * vt))); }
    Real FallSpeed(Real h) const { return vt * std::sqrt(-std::expm1(-2 * kG * h / (vt * vt))); }
};

TEST(ReferenceTrajectory, VerticalShotUnderTheQuadraticLaw) {
    const VerticalShot shot(340);
    EXPECT_EQ(NumberToPatternText("0.000", shot.apexHeight), "735.785");
    EXPECT_EQ(NumberToPatternText("0.0000", shot.apexTime), "9.2755");
    for (Real h : {0.0L, 120.0L, 2000.0L}) {
        // The launch angle is 90 degrees as the program turns it into radians:
        // cos is 2.5e-20, so the shot drifts some 1e-17 m sideways.
        const ReferenceFigures f = ReferenceSolution({kD, kM, 340, 90, DragLaw::Quadratic, h});
        SCOPED_TRACE(NumberToGeneralText(h));
        EXPECT_CLOSE(f.TiempoApice, shot.apexTime, kAgreement);
        EXPECT_CLOSE(f.AlturaMaxima, shot.apexHeight, kAgreement);
        EXPECT_CLOSE(f.TiempoVuelo, shot.apexTime + shot.FallTime(shot.apexHeight + h), kAgreement);
        EXPECT_CLOSE(f.VelocidadImpacto, shot.FallSpeed(shot.apexHeight + h), kAgreement);
        EXPECT_CLOSE(f.AnguloImpacto, 90.0L, kAgreement);
        EXPECT_LT(std::fabs(f.Alcance), 1e-12L);
    }
}

TEST(ReferenceTrajectory, ALongFallTendsToTheTerminalSpeed) {
    // Dropped from rest (straight down at 0 m/s) from 20 km: within 1e-9 of
    // sqrt(G M / D) = 65.98 m/s, as the closed form of the fall says.
    const VerticalShot shot(0);
    EXPECT_EQ(NumberToPatternText("0.00", shot.vt), "65.98");
    const ReferenceFigures f = ReferenceSolution({kD, kM, 0, -90, DragLaw::Quadratic, 20000});
    EXPECT_CLOSE(f.VelocidadImpacto, shot.FallSpeed(20000), kAgreement);
    EXPECT_CLOSE(f.VelocidadImpacto, shot.vt, 1e-9L);
    EXPECT_CLOSE(f.TiempoVuelo, shot.FallTime(20000), kAgreement);
    EXPECT_EQ(f.AlturaMaxima, 0);
}

TEST(ReferenceTrajectory, TheSteppedRunConvergesToItAtFirstOrder) {
    // Halving T halves the stepped run's error in every figure at the crossing.
    const ReferenceFigures ref = ReferenceSolution({kD, kM, 340, 78, DragLaw::Quadratic});
    Real previous[3] = {};
    for (int halvings = 0; halvings < 4; ++halvings) {
        NumericRunInputs in;
        in.Ley = DragLaw::Quadratic;
        in.T = 0.01L / (1 << halvings);
        const NumericRunResult r = RunNumeric(in);
        ASSERT_TRUE(r.Cruce);
        const Real errors[3] = {std::fabs(r.Cruce->Alcance - ref.Alcance),
                                std::fabs(r.Hmax - ref.AlturaMaxima),
                                std::fabs(r.Cruce->Velocidad - ref.VelocidadImpacto)};
        for (int i = 0; i < 3; ++i) {
            if (halvings > 0) {
                const Real ratio = previous[i] / errors[i];
                EXPECT_GT(ratio, 1.8L) << i << " at T / " << (1 << halvings);
                EXPECT_LT(ratio, 2.2L) << i << " at T / " << (1 << halvings);
            }
            previous[i] = errors[i];
        }
    }
}

TEST(ReferenceTrajectory, DefaultCaseUnderTheQuadraticLaw) {
    const ReferenceFigures f = ReferenceSolution({kD, kM, 340, 78, DragLaw::Quadratic});
    // Beside the stepped run's 705.630 m and 322.377 m at T = 0.01.
    EXPECT_EQ(NumberToPatternText("0.000", f.AlturaMaxima), "711.372");
    EXPECT_EQ(NumberToPatternText("0.000", f.Alcance), "324.042");
    EXPECT_EQ(NumberToPatternText("0.000", f.TiempoVuelo), "24.515");
    EXPECT_EQ(NumberToPatternText("0.00", f.VelocidadImpacto), "64.60");
    // A tighter run of the same method agrees far within the promise.
    EXPECT_GT(f.Pasos, 0);
    EXPECT_LT(f.Pasos, kMostReferenceSteps / 10);
}

TEST(ReferenceTrajectory, WhatItCannotSolveIsNaN) {
    const ReferenceInputs refused[] = {
        {-1e-5L, kM, 340, 78, DragLaw::Quadratic},
        {kD, 0, 340, 78, DragLaw::Quadratic},
        {kD, kM, 340, NAN, DragLaw::Linear},
        {kD, kM, INFINITY, 78, DragLaw::Linear},
    };
    for (const ReferenceInputs& in : refused)
        EXPECT_TRUE(std::isnan(ReferenceSolution(in).Alcance));
    // Uphill above the apex: the apex is there, the crossing is not.
    const ReferenceFigures uphill = ReferenceSolution({kD, kM, 340, 78, DragLaw::Quadratic, -800});
    EXPECT_CLOSE(uphill.AlturaMaxima, 711.372L, 1e-6L);
    EXPECT_TRUE(std::isnan(uphill.TiempoVuelo));
    // A launch from the ground that does not rise lands at once.
    const ReferenceFigures level = ReferenceSolution({kD, kM, 340, -5, DragLaw::Quadratic});
    EXPECT_EQ(level.TiempoVuelo, 0);
    EXPECT_EQ(level.VelocidadImpacto, 340);
    EXPECT_CLOSE(level.AnguloImpacto, 5.0L, 1e-15L);
}

} // namespace
} // namespace korvo

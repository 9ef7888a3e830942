// SPDX-License-Identifier: GPL-3.0-or-later

// The figures of a shot under both laws: the linear law's closed-form impact
// against the reference integration of the same equations, the vacuum and the
// launches that do not rise, and the quadratic law's figures as its reference.
#include "ExpectClose.h"
#include "ballistics/core/Angles.h"
#include "ballistics/core/LawComparison.h"
#include "ballistics/core/NumberText.h"
#include "ballistics/core/ReferenceTrajectory.h"
#include "ballistics/core/RunReport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvo {
namespace {

constexpr Real kD = 0.000016788592601L, kM = 0.00745L;

TEST(LawComparison, LinearImpactAgreesWithTheReferenceIntegration) {
    // From a drag a million times weaker than the default's, where the closed
    // form's terms would cancel if written naively, to a hundred times stronger.
    for (Real d : {kD * 1e-6L, kD, kD * 100})
        for (std::int32_t degrees : {10, 45, 78, 89}) {
            SCOPED_TRACE(NumberToGeneralText(d) + " at " + std::to_string(degrees));
            const LawFigures exact = ExactLinearLawFigures(d, kM, 340, degrees);
            const ReferenceFigures ref =
                ReferenceSolution({d, kM, 340, static_cast<Real>(degrees), DragLaw::Linear});
            EXPECT_CLOSE(exact.VelocidadImpacto, ref.VelocidadImpacto, 1e-11L);
            EXPECT_CLOSE(exact.AnguloImpacto, ref.AnguloImpacto, 1e-11L);
            const TrajectoryFigures closed = ExactLinearDrag(DragRate(d, kM, 340), 340, degrees);
            EXPECT_EQ(exact.TiempoVuelo, closed.TiempoVuelo);
            EXPECT_EQ(exact.AlturaMaxima, closed.AlturaApice);
            EXPECT_EQ(exact.Alcance, closed.Alcance);
        }
    // The default shot falls at its terminal speed, G / k, nearly straight down.
    const LawFigures defaults = ExactLinearLawFigures(kD, kM, 340, 78);
    EXPECT_EQ(NumberToPatternText("0.00", defaults.VelocidadImpacto), "12.80");
    EXPECT_GT(defaults.AnguloImpacto, 89.99L);
}

TEST(LawComparison, BothLawsSideBySide) {
    const auto both = BothLawsFigures(kD, kM, 340, 78);
    EXPECT_EQ(both[0].Ley, DragLaw::Linear);
    EXPECT_EQ(both[1].Ley, DragLaw::Quadratic);
    const ReferenceFigures ref = ReferenceSolution({kD, kM, 340, 78, DragLaw::Quadratic});
    EXPECT_EQ(both[1].TiempoVuelo, ref.TiempoVuelo);
    EXPECT_EQ(both[1].AlturaMaxima, ref.AlturaMaxima);
    EXPECT_EQ(both[1].Alcance, ref.Alcance);
    EXPECT_EQ(both[1].VelocidadImpacto, ref.VelocidadImpacto);
    EXPECT_EQ(both[1].AnguloImpacto, ref.AnguloImpacto);
    EXPECT_EQ(SolutionName(DragLaw::Linear), std::string("Exacto"));
    EXPECT_EQ(SolutionName(DragLaw::Quadratic), std::string("Referencia"));
}

TEST(LawComparison, VacuumLevelShotsAndImpossibleInputs) {
    // No drag: both laws land at the launch speed, at the launch angle below
    // the horizontal, after the vacuum's flight.
    for (const LawFigures& f : BothLawsFigures(0, kM, 340, 30)) {
        EXPECT_CLOSE(f.VelocidadImpacto, 340.0L, 1e-12L);
        EXPECT_CLOSE(f.AnguloImpacto, 30.0L, 1e-12L);
        EXPECT_CLOSE(f.TiempoVuelo, 2 * 340 * std::sin(DegreesToRadians(30)) / 9.81L, 1e-11L);
    }
    // A level shot lands at once, as it left.
    for (const LawFigures& f : BothLawsFigures(kD, kM, 340, 0)) {
        EXPECT_EQ(f.TiempoVuelo, 0);
        EXPECT_EQ(f.Alcance, 0);
        EXPECT_EQ(f.VelocidadImpacto, 340);
        EXPECT_EQ(f.AnguloImpacto, 0);
    }
    for (const LawFigures& f : BothLawsFigures(kD, 0, 340, 78)) {
        EXPECT_TRUE(std::isnan(f.TiempoVuelo));
        EXPECT_TRUE(std::isnan(f.VelocidadImpacto));
    }
}

} // namespace
} // namespace korvo

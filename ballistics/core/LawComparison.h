// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The key figures of one shot under both drag laws, side by side, each from
// the most accurate solution of that law's equations: the closed form of the
// linear law (RunReport.h) and the reference integration of the quadratic one
// (ReferenceTrajectory.h), good to 1e-9 relative. The report puts them in one
// table, so that a reader sees how far the choice of law moves the answer.
//
// Symbols and units:
//   k   = (D / M) x Vo, the linear law's drag rate, 1/s     g = 9.81 m/s^2
//   s   = k x tf, the flight time tf in units of 1/k
//   E(s) = 1 - e^-s
// The linear law's velocity at the landing time tf, from its exact solution:
//   vx = vx0 e^-s        vy = vy0 e^-s - g tf E(s) / s
// (the second written so that no two large terms cancel when k is small; it
// is (vy0 + g / k) e^-s - g / k). The impact speed is sqrt(vx^2 + vy^2), its
// angle below the horizontal atan2(-vy, |vx|) in degrees, as GroundImpact.h.
//
//   BothLawsFigures(0.000016788592601, 0.00745, 340, 78):
//     linear     flight 35.206 s, Hmax 378.996 m, range 92.262 m, impact 12.80 m/s at 90.000 degrees
//     quadratic  flight 24.515 s, Hmax 711.372 m, range 324.042 m, impact 64.60 m/s at 87.797 degrees
//
// Edge cases, as the solutions they come from: D = 0 gives the vacuum values
// under both laws (the impact at the launch speed and angle); a launch that
// does not rise (angle 0 or below) lands at once, at its launch speed and
// angle; a mass not above 0, a negative D or a non-finite input gives NaN.
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/Real.h"

#include <array>
#include <cstdint>

namespace korvo {

struct LawFigures {
    DragLaw Ley = DragLaw::Linear;
    Real TiempoVuelo = 0;      // s, back at the launch height
    Real AlturaMaxima = 0;     // m
    Real Alcance = 0;          // m
    Real VelocidadImpacto = 0; // m/s
    Real AnguloImpacto = 0;    // degrees below the horizontal
};

// The linear law's figures from its exact solution, the whole-degree angle
// taken as the integrator takes it.
LawFigures ExactLinearLawFigures(Real d, Real m, Real vo, std::int32_t anguloGrados);

// Both laws, the designed linear one first.
std::array<LawFigures, 2> BothLawsFigures(Real d, Real m, Real vo, std::int32_t anguloGrados);

// Whether a law's figures come from a closed form ("exacta") or from the
// reference integration ("referencia"), as the report names its column.
inline const char* SolutionName(DragLaw law) {
    return law == DragLaw::Linear ? "Exacto" : "Referencia";
}

} // namespace korvo

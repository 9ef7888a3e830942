// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A real trajectory stepped straight from its input values, with no window
// and no texts: for the analyses that run thousands of trajectories.
//
// It is the window's run to the bit: the same step (StepKernel.h), the same
// whole-degree sine and cosine when the angle is whole, the elapsed time cut
// to 15 significant digits at every step as the time display cuts it, and the
// window's run: the start computes step 1, then every tick one step followed
// by the stop test, so a run has at least two steps unless it is stopped.
// Given the values ParseReal reads from the window's texts, it gives the same
// step count, Hmax, last position, velocity and time, and the same crossing,
// at some 50 times the speed.
//
// Beyond the window's run:
//   - the angle is any real number of degrees;
//   - the launch height H above the ground where the projectile lands
//     (default 0; negative for a shot uphill). The run ends where Y falls to
//     -H, the crossing interpolated there. A shot uphill starts below that
//     height: it goes on while it rises, and one that never climbs above it
//     ends when it starts to fall, without a crossing.
//
//   NumericRunInputs in;           // the window's defaults: 3481 steps
//   in.Ley = DragLaw::Quadratic;   // 2440 steps, Hmax 705.630 m, range 322.377 m
//   const NumericRunResult r = RunNumeric(in);
//
// A negative D or M is refused (std::runtime_error kDNegativo or kMNegativo),
// as the window refuses it; a zero mass gives NaN values and a run of two
// steps without a crossing, as the window's.
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/GroundImpact.h"
#include "ballistics/core/RealTrajectory.h"

#include <cstdint>
#include <optional>

namespace korvo {

struct NumericRunInputs {
    Real D = 0.000016788592601L; // kg/m
    Real T = 0.01L;              // s
    Real M = 0.00745L;           // kg
    Real Vo = 340;               // m/s
    Real AnguloGrados = 78;      // degrees above the horizontal
    DragLaw Ley = DragLaw::Linear;
    Real AlturaLanzamiento = 0; // m, H above the landing ground
};

struct NumericRunResult {
    std::int32_t Iteraciones = 0;
    Real Hmax = 0; // the greatest height reached at a step's end, from the launch point
    // The last two steps' ends: the step before the last and the last.
    StepEnd Anterior, Ultimo;
    // False for a run stopped at its most steps.
    bool Landed = true;
    // The crossing of -H between the last two steps.
    std::optional<Impact> Cruce;
};

NumericRunResult RunNumeric(const NumericRunInputs& in, std::int32_t mostSteps = kMostTrajectorySteps);

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Where a stepped trajectory comes down: the crossing of a height between the
// last two steps, interpolated linearly in time, and the speed and the angle
// of the impact there.
//
// Symbols and units:
//   t  elapsed time, s     X, Y  position, m      Vx, Vy  velocity, m/s
//   f  = (Yprev - level) / (Yprev - Ylast), the fraction of the last step
//      at which the line through the two points meets the level
// Every quantity q at the crossing is qprev + (qlast - qprev) x f: the time,
// X (the range) and both velocity components. The impact speed is
// sqrt(Vx^2 + Vy^2) of the interpolated velocity; the impact angle is its
// angle below the horizontal, atan2(-Vy, |Vx|) in degrees (90 for a vertical
// fall, negative for a projectile still rising as it crosses).
//
//   prev {t 24.39, Y 0.2, ...}, last {t 24.4, Y -0.4, ...} at level 0:
//   f = 1/3, the crossing at 24.3933... s
//
// There is no crossing unless the step before the last is above the level and
// the last at or below it: a run whose first step is already below, or whose
// values went NaN, has none.
#include "ballistics/core/Real.h"
#include "ballistics/core/RealTrajectory.h"

#include <optional>

namespace korvo {

// A step's end: its elapsed time, position and end-of-step velocity.
struct StepEnd {
    Real Tiempo = 0, X = 0, Y = 0, Vx = 0, Vy = 0;
};

// The figures at the crossing, s, m, m/s and degrees.
struct Impact {
    Real Tiempo = 0;    // flight time
    Real Alcance = 0;   // X at the crossing: the range
    Real Velocidad = 0; // impact speed
    Real Angulo = 0;    // impact angle below the horizontal
};

std::optional<Impact> InterpolateImpact(const StepEnd& prev, const StepEnd& last, Real level = 0);

// The crossing of height 0 by a text-driven run, between its last two steps.
std::optional<Impact> ImpactOfRun(const EstadoTrayectoria& run);

} // namespace korvo

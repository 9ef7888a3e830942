// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One step of the real trajectory's equations of motion: the arithmetic that
// the window's text-driven run and the run from numbers both step, so that
// the two give the same bits.
//
// Symbols and units:
//   D   drag proportionality constant, kg/m      M   projectile mass, kg
//   G   gravitational acceleration, m/s^2        Vo  launch speed, m/s
//   DeltaT  time step, s
//   Vx, Vy  velocity at the start of the step, m/s; X, Y  position, m
//   S   the drag's speed factor, m/s: Vo under the linear law, the current
//       speed sqrt(Vx^2 + Vy^2) under the quadratic one
//
// In this order, each grouping as written, in the extended format:
//   Ax  := ((-(D / M)) x S) x Vx        Ay  := -G - (((D / M) x S) x Vy)
//   VFx := (Ax x DeltaT) + Vx           VFy := (Ay x DeltaT) + Vy
//   X   += ((DeltaT x DeltaT) x (0.5 x Ax)) + (VFx x DeltaT)
//   Y   += ((DeltaT x DeltaT) x (0.5 x Ay)) + (VFy x DeltaT)
// The displacement uses the end-of-step velocity: the rule is of first order
// in DeltaT (with no drag its height gains -G x DeltaT^2 per step over the
// exact parabola), and every worked value of the program is made of it.
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/Gravity.h"
#include "ballistics/core/Real.h"

#include <cmath>

namespace korvo {

struct StepInputs {
    Real D = 0, M = 0, G = kGravity, Vo = 0, DeltaT = 0;
    DragLaw Ley = DragLaw::Linear;
};

// Velocity and position: at the start of a step, and once stepped at its end.
struct Motion {
    Real Vx = 0, Vy = 0, X = 0, Y = 0;
};

struct StepAcceleration {
    Real Ax = 0, Ay = 0;
};

// Steps `motion` over one DeltaT and returns the step's acceleration. Nothing
// is checked: a zero mass gives infinities and NaNs, as the window shows them.
inline StepAcceleration AdvanceStep(const StepInputs& in, Motion& motion) {
    const Real s =
        in.Ley == DragLaw::Quadratic ? std::sqrt((motion.Vx * motion.Vx) + (motion.Vy * motion.Vy)) : in.Vo;
    const StepAcceleration a{((-(in.D / in.M)) * s) * motion.Vx, -in.G - (((in.D / in.M) * s) * motion.Vy)};
    motion.Vx = (a.Ax * in.DeltaT) + motion.Vx;
    motion.Vy = (a.Ay * in.DeltaT) + motion.Vy;
    const Real half = 0.5L;
    motion.X = motion.X + (((in.DeltaT * in.DeltaT) * (half * a.Ax)) + (motion.Vx * in.DeltaT));
    motion.Y = motion.Y + (((in.DeltaT * in.DeltaT) * (half * a.Ay)) + (motion.Vy * in.DeltaT));
    return a;
}

} // namespace korvo

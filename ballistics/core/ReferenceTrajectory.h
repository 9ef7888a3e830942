// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The reference solution of the real trajectory's equations of motion, under
// either drag law, against which the stepped run's error is measured. The
// quadratic law has no closed form in two dimensions; the linear law has one
// (RunReport.h), which this solution reproduces.
//
// Symbols and units:
//   D  drag constant, kg/m    M  mass, kg     G  9.81 m/s^2    q = D / M, 1/m
//   Vo launch speed, m/s      angle above the horizontal, degrees
//   H  launch height above the landing ground, m (the crossing is at y = -H)
//   S  the drag's speed factor: Vo (linear law) or sqrt(vx^2 + vy^2) (quadratic)
// The equations, from (0, 0) with (Vo cos, Vo sin) of the angle:
//   x' = vx    y' = vy    vx' = -q S vx    vy' = -G - q S vy
//
// Method: the Dormand-Prince 5(4) pair in the extended format, with local
// extrapolation (the fifth-order solution is kept), the error of each step
// estimated by the embedded fourth-order one and held below
// kReferenceTolerance x (1 + |component|) m or m/s (the unit floor keeps y
// near the crossing and vy near the apex, which pass through 0, from asking
// for a relative accuracy no step can give), and the step size adapted by
// 0.9 x err^(-1/5) within 0.2 and 5 times the last one. The apex (vy = 0) and
// the crossing (y falls to -H) are found by bisection, to the last bit of the
// step's fraction, on the method's continuous extension of order 4.
//
// Accuracy as measured by the tests, against the closed forms: D = 0 gives
// the vacuum values; a vertical shot gives the apex height
// (M / 2D) ln(1 + D Vo^2 / (M G)) (735.785 m with the defaults) and time
// sqrt(M / (D G)) atan(Vo sqrt(D / (M G))) (9.2755 s), and from the apex the
// closed forms of a fall under drag; a long vertical fall arrives at
// sqrt(G M / D) (65.98 m/s); the linear law gives the closed forms of its
// exact solution. The worst relative error of any figure there is 7e-14;
// the tests hold it below 1e-11, well inside the 1e-9 the report relies on.
//
// Stopping rules: the crossing ends the integration. A shot that never
// comes down to -H (uphill, never rising above it) ends when it starts to
// fall, and gets NaN crossing figures. kMostReferenceSteps accepted steps
// bound the work: the default case takes some 600 steps (quadratic law) or
// 900 (linear), and a case needing a hundred times more lies far outside the
// model's use; its figures are then NaN, as they are when the step size falls
// below 1e-15 of the elapsed time (the equations went singular). A negative or
// NaN D, a mass not above 0 or a non-finite input gives NaN figures.
//
//   ReferenceInputs in{0.000016788592601L, 0.00745L, 340, 78, DragLaw::Quadratic};
//   ReferenceSolution(in).Alcance   -> the range the stepped run tends to as T -> 0
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/Real.h"

#include <cstdint>

namespace korvo {

// The error allowed per step. Over the few hundred steps of a flight the
// figures come out near 1e-13 relative: four orders inside the 1e-9
// promised, six above the extended format's rounding, in under a millisecond.
inline constexpr Real kReferenceTolerance = 1e-13L;
inline constexpr std::int32_t kMostReferenceSteps = 100000;

struct ReferenceInputs {
    Real D = 0, M = 0, Vo = 0, AnguloGrados = 0;
    DragLaw Ley = DragLaw::Linear;
    Real AlturaLanzamiento = 0;
};

struct ReferenceFigures {
    Real TiempoApice = 0;      // s; 0 for a launch that does not rise
    Real AlturaMaxima = 0;     // m above the launch point
    Real TiempoVuelo = 0;      // s, at the crossing of -H
    Real Alcance = 0;          // m, x at the crossing
    Real VelocidadImpacto = 0; // m/s
    Real AnguloImpacto = 0;    // degrees below the horizontal
    std::int32_t Pasos = 0;    // accepted steps
};

ReferenceFigures ReferenceSolution(const ReferenceInputs& in);

} // namespace korvo

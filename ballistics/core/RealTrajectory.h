// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real trajectory: a projectile with air drag, stepped in fixed time steps
// from the firing point until it is back at the firing height.
//
// Symbols and units:
//   D   drag proportionality constant, kg/m      M   projectile mass, kg
//   G   gravitational acceleration, 9.81 m/s^2   Vo  initial speed, m/s
//   Vx, Vy    velocity at the start of a step, m/s
//   Ax, Ay    acceleration of the step, m/s^2
//   VFx, VFy  velocity at the end of the step, m/s
//   DeltaT    time step, s       X, Y  horizontal distance and height, m
//   Ec        kinetic energy, J  Ec2   Ec / 9.8
//
// A run steps the drag law it was started with (DragLaw.h). The designed one,
// the default, is linear in the velocity: the drag acceleration on each axis is
// -(D / M) x Vo x (that axis's velocity), with Vo the speed in the "Vo:" field,
// not the current speed. So the vertical speed tends to -G / ((D / M) x Vo).
// The quadratic law puts the current speed in place of Vo (StepKernel.h).
//
// The integrator reads and writes the window's field texts through
// TrajectoryView, in the order the user sees them change: a step that fails to
// read a field stops there, and what it already showed stays shown. Inputs are
// read afresh at every step, so an edit during a run takes effect at the next.
//
// A run ends when the height is no longer a finite number above 0, or after
// kMostTrajectorySteps steps: a step so small that the projectile would need
// billions of steps to land (T 1e-9 gives about 3.5e10) must not take the
// machine's memory with it. Negative D or M are refused: the drag would then
// push the projectile on and the height would grow without bound.
//
// A run has the window's meaning: the start computes the first step, then
// every tick computes one step and only then tests whether the run goes on.
// So a run has at least two steps, even one whose first step lands (an angle
// of 0, a Vo near 0, a zero mass), unless a step is refused.
//
//   RealTrajectory run;
//   run.RunToEnd(view, DragLaw::Linear);  // what the window's ticks do, unpaced
//   if (!run.Landed()) ...        // stopped at the step limit
//
// The window paces the same run: Start, then Calcular and GoesOn at each tick.
#include "ballistics/core/Angles.h"
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/NumberText.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace korvo {

// The most steps a run takes before it is stopped, and the texts of the
// refusals and of the stop (shown by the window).
inline constexpr std::int32_t kMostTrajectorySteps = 2000000;
inline constexpr const char* kDNegativo = "El valor de D no puede ser negativo";
inline constexpr const char* kMNegativo = "El valor de M no puede ser negativo";
inline constexpr const char* kTrayectoriaSinFin =
    "La trayectoria no terminó en 2000000 iteraciones; el proceso se detuvo.";

enum class TrajectoryField { D, T, M, Vo, Angulo, X, Y, Vx, Vy, Ax, Ay, VFx, VFy, TiempoTotal };

// The real-trajectory window's fields, table and chart as the integrator sees them.
class TrajectoryView {
public:
    virtual ~TrajectoryView() = default;
    virtual std::string Text(TrajectoryField field) const = 0;
    virtual void SetText(TrajectoryField field, const std::string& text) = 0;
    // One table row: iteration, time, X, Y, Ax, Ay, VFx, VFy, Ec, Ec2.
    virtual void AppendRow(const std::array<std::string, 10>& row) = 0;
    virtual void AddChartPoint(double x, double y) = 0;
};

struct EstadoTrayectoria {
    Real Seno = 0, Coseno = 0;
    Real D = 0, M = 0, G = 0, Vo = 0;
    Real Vx = 0, Vy = 0, Ax = 0, Ay = 0, VFx = 0, VFy = 0;
    Real DeltaT = 0, X = 0, Y = 0, Hmax = 0, Ec = 0, Ec2 = 0;
    std::int32_t Iteraciones = 0;
    // The position before the last step, so that the ground crossing can be
    // interpolated between the last two steps, and the step (counted from 1)
    // that raised Hmax last (0 while it has never been raised).
    Real XAnterior = 0, YAnterior = 0;
    std::int32_t IteracionHmax = 0;
    // The law the run steps, fixed at its start.
    DragLaw Ley = DragLaw::Linear;
    // The velocity at the end of the step before the last, and the elapsed
    // time before and after the last step as the time display read and now
    // reads it, so that the impact can be interpolated as the crossing is.
    Real VxAnterior = 0, VyAnterior = 0;
    Real TiempoAnterior = 0, Tiempo = 0;
};

class RealTrajectory {
public:
    // `mostSteps`: the steps after which a run that has not landed is stopped.
    explicit RealTrajectory(std::int32_t mostSteps = kMostTrajectorySteps) : mostSteps_(mostSteps) {}

    // Starts a run of the drag law `ley`: first refuses inputs that cannot
    // make a trajectory (T not above 0, Vo below 0, M equal to 0, an unstable
    // step; see RunChecks.h), std::runtime_error before any field is written;
    // then Hmax := 0, the sine and cosine of the whole-degree angle, the
    // initial velocities (shown), the start position read from the X and Y
    // displays, then the first step. An angle with a fraction is refused
    // before any step runs.
    void Start(TrajectoryView& view, DragLaw ley = DragLaw::Linear);

    // One step, its table row and chart point included. A negative D or M is
    // refused (std::runtime_error kDNegativo or kMNegativo) right after it is
    // read, before the step computes anything; zero is allowed (D = 0 is the
    // vacuum; an M edited to 0 during a run gives INF and NAN values, and the
    // run ends at once).
    void Calcular(TrajectoryView& view);

    // Whether the height is no longer a finite number above 0: the projectile
    // is back at the firing height, or the values went infinite or undefined.
    bool Landed() const { return !(std::isfinite(state_.Y) && state_.Y > 0); }

    // Whether the run goes on after a timer-driven step: until it has landed
    // or has taken its most steps.
    bool GoesOn() const { return !Landed() && state_.Iteraciones < mostSteps_; }

    // Starts a run and steps it to its end as the window's ticks do: one step
    // after the start whatever its height, then steps while the run goes on.
    // Raises what Start and Calcular raise, with the steps before kept shown.
    void RunToEnd(TrajectoryView& view, DragLaw ley = DragLaw::Linear);

    // The run counter back to 0 (the window empties its table and chart).
    // Hmax is left alone; the next start zeroes it.
    void ResetCounters() { state_.Iteraciones = 0; }

    const EstadoTrayectoria& State() const { return state_; }

private:
    void SenoGrados4Radianes(const TrajectoryView& view);
    void CosenoGrados4Radianes(const TrajectoryView& view);
    void CrearListado(TrajectoryView& view) const;

    EstadoTrayectoria state_;
    std::int32_t mostSteps_;
};

// The texts of every field of the enumeration at the window's first showing
// (D "0.000016788592601", T "0.01", M "0.00745", angle "78", Vo "340", the
// displays "0" and the time "0.0"), in the separator in force. The "Xo:" and
// "Yo:" inputs, which the integrator never reads, read "0".
std::vector<std::pair<TrajectoryField, std::string>> DefaultTrajectoryTexts();

// The same fields after "Reiniciar &Valores": every one "0" except T, which
// reads "0.01" (in the separator in force). "Xo:" and "Yo:" read "0" as well.
std::vector<std::pair<TrajectoryField, std::string>> ResetTrajectoryTexts();

} // namespace korvo

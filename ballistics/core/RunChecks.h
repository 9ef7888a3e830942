// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a real-trajectory run must satisfy before its first step, and when its
// step is too long for the drag to be followed faithfully.
//
// Each step multiplies the velocity by 1 - kT (k = D x Vo / M, the drag rate,
// 1/s; T the step, s) and moves the projectile by T x V x (1 - 1.5 kT): the
// displacement shrinks as kT grows, vanishes at kT = 2/3 and turns backward
// beyond it, so a run there draws a path the equations do not have (a negative
// range). Such a step is refused. Below it the step's relative error is of the
// order of kT; above 0.1 it is no longer small, and the run is warned about.
// For a drag growing with the square of the speed, D x |V| / M is largest at
// the launch speed Vo, so the same k bounds that law's step as well.
//
//   CheckRunStart(view);                   // throws kTNoPositivo for T "0"
//   StepIsLarge(StepDragProduct(d, m, vo, t))
//
// Edge cases: when a field does not read as a number, or D or M is negative,
// nothing is checked here: the run's own reading refuses them with its usual
// messages.
#include "ballistics/core/RealTrajectory.h"

#include <string>

namespace korvo {

inline constexpr const char* kTNoPositivo = "El valor de T debe ser un número mayor que 0";
inline constexpr const char* kVoNegativo = "El valor de Vo no puede ser negativo";
inline constexpr const char* kMCero = "El valor de M no puede ser 0";
// The warning, shown after the run's results.
inline constexpr const char* kPasoGrande = "el paso T es grande para este arrastre: reduzca T";

// k x T at and beyond which a step moves backward, and above which its error is
// no longer small.
inline constexpr Real kUnstableStepProduct = 2.0L / 3.0L;
inline constexpr Real kLargeStepProduct = 0.1L;

// k x T = (D / M) x Vo x T, grouped as the integrator groups its drag term.
Real StepDragProduct(Real d, Real m, Real vo, Real t);

// Whether a step of this k x T is past the warning threshold (and still stable).
inline bool StepIsLarge(Real kt) {
    return kt > kLargeStepProduct;
}

// The refusal of an unstable step, quoting its k x T in the separator in force.
std::string UnstableStepMessage(Real kt);

// Reads D, T, M and Vo from the view and throws std::runtime_error with the
// refusal's text for T not above 0 or not finite, Vo below 0, M equal to 0, or
// a step whose k x T reaches kUnstableStepProduct. Writes nothing.
// The same refusals for a run given as numbers (D and M not negative):
// std::runtime_error with the window's messages.
void CheckRunInputs(Real d, Real t, Real m, Real vo);

void CheckRunStart(const TrajectoryView& view);

// The warning as a line of its own: "Aviso: " and kPasoGrande.
std::string LargeStepWarning();

// What the window adds to its message when a run ends: the warning on a line
// of its own when the last step's k x T is large, and nothing otherwise.
std::string LargeStepNote(const RealTrajectory& run);

} // namespace korvo

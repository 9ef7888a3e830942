// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/RunChecks.h"

#include <cmath>
#include <optional>
#include <stdexcept>

namespace korvo {
namespace {

std::optional<Real> ReadIfNumber(const TrajectoryView& view, TrajectoryField field) {
    try {
        return ParseReal(view.Text(field));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

} // namespace

Real StepDragProduct(Real d, Real m, Real vo, Real t) {
    return ((d / m) * vo) * t;
}

std::string UnstableStepMessage(Real kt) {
    std::string message = "El paso T es inestable para este arrastre: (D ÷ M) × Vo × T = ";
    // Three decimals read best for a product near the limit; a tiny mass can
    // make it astronomically large (thousands of digits in fixed notation),
    // which the general text keeps to 15 digits and an exponent.
    constexpr Real kFixedNotationBelow = 1e6L;
    message.append(kt < kFixedNotationBelow ? NumberToPatternText("0.000", kt) : NumberToGeneralText(kt));
    message.append(" llega a ");
    message.append(NumberToPatternText("0.000", kUnstableStepProduct));
    return message.append(", donde el cálculo retrocede; reduzca T");
}

void CheckRunInputs(Real d, Real t, Real m, Real vo) {
    if (!(t > 0 && std::isfinite(t)))
        throw std::runtime_error(kTNoPositivo);
    if (vo < 0)
        throw std::runtime_error(kVoNegativo);
    if (m == 0)
        throw std::runtime_error(kMCero);
    const Real kt = StepDragProduct(d, m, vo, t);
    if (!(kt < kUnstableStepProduct))
        throw std::runtime_error(UnstableStepMessage(kt));
}

void CheckRunStart(const TrajectoryView& view) {
    using F = TrajectoryField;
    const std::optional<Real> t = ReadIfNumber(view, F::T);
    const std::optional<Real> vo = ReadIfNumber(view, F::Vo);
    const std::optional<Real> m = ReadIfNumber(view, F::M);
    const std::optional<Real> d = ReadIfNumber(view, F::D);
    // Texts that are not numbers, and a negative D or M, get the step's own
    // messages, as they always have.
    if (!(t && vo && m && d) || *m < 0 || *d < 0)
        return;
    CheckRunInputs(*d, *t, *m, *vo);
}

std::string LargeStepWarning() {
    std::string warning = "Aviso: ";
    warning.append(kPasoGrande).append(".");
    return warning;
}

std::string LargeStepNote(const RealTrajectory& run) {
    const EstadoTrayectoria& e = run.State();
    std::string note;
    if (StepIsLarge(StepDragProduct(e.D, e.M, e.Vo, e.DeltaT)))
        note.append("\n").append(LargeStepWarning());
    return note;
}

} // namespace korvo

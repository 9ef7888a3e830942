// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/RealTrajectory.h"

#include "ballistics/core/RunInputs.h"

#include "ballistics/core/RunChecks.h"
#include "ballistics/core/StepKernel.h"

#include <cmath>
#include <stdexcept>

namespace korvo {
namespace {

using F = TrajectoryField;

// 9.8 divides the energy into Ec2.
constexpr Real kEnergyDivisor = 9.8L;

Real Read(const TrajectoryView& view, F field) {
    return ParseReal(view.Text(field));
}

Real ReadNotNegative(const TrajectoryView& view, F field, const char* refusal) {
    const Real value = Read(view, field);
    if (value < 0)
        throw std::runtime_error(refusal);
    return value;
}

void Show(TrajectoryView& view, F field, Real value) {
    view.SetText(field, NumberToGeneralText(value));
}

} // namespace

void RealTrajectory::SenoGrados4Radianes(const TrajectoryView& view) {
    state_.Seno = std::sin(DegreesToRadians(ParseWhole(view.Text(F::Angulo))));
}

void RealTrajectory::CosenoGrados4Radianes(const TrajectoryView& view) {
    state_.Coseno = std::cos(DegreesToRadians(ParseWhole(view.Text(F::Angulo))));
}

void RealTrajectory::Start(TrajectoryView& view, DragLaw ley) {
    EstadoTrayectoria& s = state_;
    s.Ley = ley;
    s.Hmax = 0;
    s.IteracionHmax = 0;
    SenoGrados4Radianes(view);
    CosenoGrados4Radianes(view);
    CheckRunStart(view);
    s.Vo = Read(view, F::Vo);
    s.Vx = s.Vo * s.Coseno;
    s.Vy = s.Vo * s.Seno;
    Show(view, F::Vx, s.Vx);
    Show(view, F::Vy, s.Vy);
    s.X = Read(view, F::X);
    s.Y = Read(view, F::Y);
    Calcular(view);
}

void RealTrajectory::Calcular(TrajectoryView& view) {
    EstadoTrayectoria& s = state_;
    s.D = ReadNotNegative(view, F::D, kDNegativo);
    s.M = ReadNotNegative(view, F::M, kMNegativo);
    s.G = kGravity;
    s.Vo = Read(view, F::Vo);
    s.DeltaT = Read(view, F::T);

    const Motion start{s.Vx, s.Vy, s.X, s.Y};
    Motion end = start;
    const StepAcceleration a = AdvanceStep({s.D, s.M, s.G, s.Vo, s.DeltaT, s.Ley}, end);
    s.Ax = a.Ax;
    s.Ay = a.Ay;
    Show(view, F::Ax, s.Ax);
    Show(view, F::Ay, s.Ay);
    Show(view, F::Vx, start.Vx);
    Show(view, F::Vy, start.Vy);
    s.VFx = end.Vx;
    s.VFy = end.Vy;
    Show(view, F::VFx, s.VFx);
    Show(view, F::VFy, s.VFy);
    Show(view, F::X, end.X);
    Show(view, F::Y, end.Y);
    s.VxAnterior = start.Vx;
    s.VyAnterior = start.Vy;
    s.XAnterior = start.X;
    s.YAnterior = start.Y;
    s.Vx = end.Vx;
    s.Vy = end.Vy;
    s.X = end.X;
    s.Y = end.Y;

    const Real half = 0.5L;
    const Real vy2 = s.Vy * s.Vy;
    s.Ec = ((s.Vx * s.Vx) + vy2) * (half * s.M);
    s.Ec2 = s.Ec / kEnergyDivisor;

    if (s.Y > s.Hmax) {
        s.Hmax = s.Y;
        s.IteracionHmax = s.Iteraciones + 1;
    }
    view.AddChartPoint(static_cast<double>(s.X), static_cast<double>(s.Y));
    ++s.Iteraciones;

    // The elapsed time lives in the field's text: it is cut to 15 significant
    // digits at every step, so n steps of 0.01 read n hundredths. The state
    // keeps the value the text reads back as.
    s.TiempoAnterior = Read(view, F::TiempoTotal);
    s.Tiempo = GeneralTextValue(s.TiempoAnterior + s.DeltaT);
    Show(view, F::TiempoTotal, s.TiempoAnterior + s.DeltaT);
    CrearListado(view);
}

void RealTrajectory::RunToEnd(TrajectoryView& view, DragLaw ley) {
    Start(view, ley);
    do
        Calcular(view);
    while (GoesOn());
}

void RealTrajectory::CrearListado(TrajectoryView& view) const {
    const EstadoTrayectoria& s = state_;
    const auto fixed = [](Real value) { return NumberToPatternText("0.000", value); };
    view.AppendRow({NumberToGeneralText(s.Iteraciones), view.Text(F::TiempoTotal), fixed(s.X), fixed(s.Y),
                    fixed(s.Ax), fixed(s.Ay), fixed(s.VFx), fixed(s.VFy), fixed(s.Ec), fixed(s.Ec2)});
}

} // namespace korvo

namespace korvo {

std::vector<std::pair<TrajectoryField, std::string>> DefaultTrajectoryTexts() {
    // The inputs' defaults are the table's (RunInputs.h).
    const RunInputTexts inputs = DefaultRunInputTexts();
    return {{F::D, inputs.D},   {F::T, inputs.T},
            {F::M, inputs.M},   {F::Angulo, inputs.Angulo},
            {F::Vo, inputs.Vo}, {F::X, "0"},
            {F::Y, "0"},        {F::Vx, "0"},
            {F::Vy, "0"},       {F::Ax, "0"},
            {F::Ay, "0"},       {F::VFx, "0"},
            {F::VFy, "0"},      {F::TiempoTotal, BuiltInNumberText("0.0")}};
}

std::vector<std::pair<TrajectoryField, std::string>> ResetTrajectoryTexts() {
    std::vector<std::pair<TrajectoryField, std::string>> texts = DefaultTrajectoryTexts();
    for (auto& [field, text] : texts)
        text = field == F::T ? BuiltInNumberText("0.01") : "0";
    return texts;
}

} // namespace korvo

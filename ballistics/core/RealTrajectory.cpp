#include "ballistics/core/RealTrajectory.h"

#include <cmath>

namespace korvo {
namespace {

using F = TrajectoryField;

// The constants as the program has always written them, "9.81" and "0.5" read
// as the nearest extended values; 9.8 divides the energy into Ec2.
constexpr Real kGravity = 9.81L;
constexpr Real kHalf = 0.5L;
constexpr Real kEnergyDivisor = 9.8L;

Real Read(const TrajectoryView& view, F field) {
    return ParseReal(view.Text(field));
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

void RealTrajectory::Start(TrajectoryView& view) {
    EstadoTrayectoria& s = state_;
    s.Hmax = 0;
    SenoGrados4Radianes(view);
    CosenoGrados4Radianes(view);
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
    s.D = Read(view, F::D);
    s.M = Read(view, F::M);
    s.G = kGravity;
    s.Vo = Read(view, F::Vo);
    s.DeltaT = Read(view, F::T);

    s.Ax = ((-(s.D / s.M)) * s.Vo) * s.Vx;
    s.Ay = -s.G - (((s.D / s.M) * s.Vo) * s.Vy);
    Show(view, F::Ax, s.Ax);
    Show(view, F::Ay, s.Ay);
    Show(view, F::Vx, s.Vx);
    Show(view, F::Vy, s.Vy);

    s.VFx = (s.Ax * s.DeltaT) + s.Vx;
    s.VFy = (s.Ay * s.DeltaT) + s.Vy;
    Show(view, F::VFx, s.VFx);
    Show(view, F::VFy, s.VFy);
    s.Vx = s.VFx;
    s.Vy = s.VFy;

    // The displacement uses the end-of-step velocities just stored.
    const Real dX = ((s.DeltaT * s.DeltaT) * (kHalf * s.Ax)) + (s.Vx * s.DeltaT);
    const Real dY = ((s.DeltaT * s.DeltaT) * (kHalf * s.Ay)) + (s.Vy * s.DeltaT);
    const Real x = s.X + dX;
    const Real y = s.Y + dY;
    Show(view, F::X, x);
    Show(view, F::Y, y);
    s.X = x;
    s.Y = y;

    const Real vy2 = s.Vy * s.Vy;
    s.Ec = ((s.Vx * s.Vx) + vy2) * (kHalf * s.M);
    s.Ec2 = s.Ec / kEnergyDivisor;

    if (s.Y > s.Hmax)
        s.Hmax = s.Y;
    view.AddChartPoint(static_cast<double>(s.X), static_cast<double>(s.Y));
    ++s.Iteraciones;

    // The elapsed time lives only as the field's text: it is cut to 15
    // significant digits at every step, so n steps of 0.01 read n hundredths.
    Show(view, F::TiempoTotal, Read(view, F::TiempoTotal) + s.DeltaT);
    CrearListado(view);
}

void RealTrajectory::CrearListado(TrajectoryView& view) const {
    const EstadoTrayectoria& s = state_;
    const auto fixed = [](Real value) { return NumberToPatternText("0.000", value); };
    view.AppendRow({NumberToGeneralText(s.Iteraciones), view.Text(F::TiempoTotal), fixed(s.X), fixed(s.Y),
                    fixed(s.Ax), fixed(s.Ay), fixed(s.VFx), fixed(s.VFy), fixed(s.Ec), fixed(s.Ec2)});
}

} // namespace korvo

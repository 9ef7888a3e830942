// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/GroundImpact.h"

#include "ballistics/core/Angles.h"

#include <cmath>

namespace korvo {

std::optional<Impact> InterpolateImpact(const StepEnd& prev, const StepEnd& last, Real level) {
    if (!(prev.Y > level && last.Y <= level))
        return std::nullopt;
    const Real f = (prev.Y - level) / (prev.Y - last.Y);
    const auto at = [f](Real before, Real after) { return before + (after - before) * f; };
    const Real vx = at(prev.Vx, last.Vx);
    const Real vy = at(prev.Vy, last.Vy);
    return Impact{at(prev.Tiempo, last.Tiempo), at(prev.X, last.X), std::sqrt((vx * vx) + (vy * vy)),
                  (std::atan2(-vy, std::fabs(vx)) * 180) / kPi};
}

std::optional<Impact> ImpactOfRun(const EstadoTrayectoria& run) {
    return InterpolateImpact(
        {run.TiempoAnterior, run.XAnterior, run.YAnterior, run.VxAnterior, run.VyAnterior},
        {run.Tiempo, run.X, run.Y, run.Vx, run.Vy});
}

} // namespace korvo

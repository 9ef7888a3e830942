// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/LawComparison.h"

#include "ballistics/core/Angles.h"
#include "ballistics/core/Gravity.h"
#include "ballistics/core/ReferenceTrajectory.h"
#include "ballistics/core/RunReport.h"

#include <cmath>
#include <limits>

namespace korvo {

LawFigures ExactLinearLawFigures(Real d, Real m, Real vo, std::int32_t anguloGrados) {
    const Real k = DragRate(d, m, vo);
    const TrajectoryFigures exact = ExactLinearDrag(k, vo, anguloGrados);
    const Real radianes = DegreesToRadians(anguloGrados);
    const Real vx0 = vo * std::cos(radianes);
    const Real vy0 = vo * std::sin(radianes);
    LawFigures f{DragLaw::Linear, exact.TiempoVuelo, exact.AlturaApice, exact.Alcance, 0, 0};
    if (std::isnan(exact.TiempoVuelo)) {
        f.VelocidadImpacto = f.AnguloImpacto = std::numeric_limits<Real>::quiet_NaN();
        return f;
    }
    Real vx = vx0, vy = vy0;
    if (vy0 > 0) {
        const Real s = k * exact.TiempoVuelo;
        // E(s) / s tends to 1 as s does (no drag: the vacuum's vy0 - g tf).
        const Real share = s > 0 ? -std::expm1(-s) / s : 1;
        vx = vx0 * std::exp(-s);
        vy = vy0 * std::exp(-s) - kGravity * exact.TiempoVuelo * share;
    }
    f.VelocidadImpacto = std::sqrt((vx * vx) + (vy * vy));
    f.AnguloImpacto = (std::atan2(-vy, std::fabs(vx)) * 180) / kPi;
    return f;
}

std::array<LawFigures, 2> BothLawsFigures(Real d, Real m, Real vo, std::int32_t anguloGrados) {
    const ReferenceFigures q =
        ReferenceSolution({d, m, vo, static_cast<Real>(anguloGrados), DragLaw::Quadratic});
    return {ExactLinearLawFigures(d, m, vo, anguloGrados),
            LawFigures{DragLaw::Quadratic, q.TiempoVuelo, q.AlturaMaxima, q.Alcance, q.VelocidadImpacto,
                       q.AnguloImpacto}};
}

} // namespace korvo

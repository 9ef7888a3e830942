// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/TrajectoryFigures.h"

#include "ballistics/core/NumericRun.h"

#include <limits>

namespace korvo {

CaseFigures TrajectoryFigures(const CaseInputs& in) {
    const NumericRunResult run = RunNumeric({.D = in.D,
                                             .T = in.T,
                                             .M = in.M,
                                             .Vo = in.Vo,
                                             .AnguloGrados = in.Angulo,
                                             .Ley = in.Ley,
                                             .AlturaLanzamiento = in.H});
    // A shot level or downward from the landing ground itself never rises above
    // it: it comes down where it starts, at no range and no time.
    if (!run.Cruce && run.Landed && in.H == 0 && !(in.Angulo > 0))
        return {0, run.Hmax, 0, in.Vo, -in.Angulo};
    if (!run.Cruce) {
        const Real none = std::numeric_limits<Real>::quiet_NaN();
        return {none, run.Hmax, none, none, none};
    }
    return {run.Cruce->Tiempo, run.Hmax, run.Cruce->Alcance, run.Cruce->Velocidad, run.Cruce->Angulo};
}

} // namespace korvo

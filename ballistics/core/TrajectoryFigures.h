// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The figures function of the case analysis: the real trajectory stepped
// straight from numbers under the inputs' drag law (the run from numbers, the
// same steps as the window's run), ending where the height falls to minus the
// launch height H; flight time, range, impact speed and angle at the crossing
// interpolated between the last two steps. A shot level or downward from the
// landing ground comes down where it starts: no time, no range, the launch
// speed and angle. A run that does not come down
// within the step limit has no crossing: its figures are NaN, which the
// analysis never takes for an extreme.
#include "ballistics/core/CaseAnalysis.h"

namespace korvo {

CaseFigures TrajectoryFigures(const CaseInputs& inputs);

} // namespace korvo

#pragma once
// A stand-in figures function for the case analysis, until the trajectory run
// from numbers takes its place: the linear-drag step of the real trajectory
// (the launch speed as the drag's factor, velocities first, then displacements
// with the end-of-step velocities, the first step always taken), straight from
// numbers, ending where the height falls to minus the launch height H, the
// crossing interpolated between the last two steps. The impact speed and angle
// are those of the last step's velocity. The drag law is not read: it is the
// linear one whatever the inputs say.
#include "ballistics/core/CaseAnalysis.h"

namespace korvo {

CaseFigures LinearStandInFigures(const CaseInputs& inputs);

} // namespace korvo

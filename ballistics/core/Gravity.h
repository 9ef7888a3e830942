// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The gravitational acceleration of every calculation, m/s^2: the standard
// 9.81 that the program has always used, as the nearest extended value of that
// decimal text (the integrator reads the same text back at every step).
#include "ballistics/core/Real.h"

namespace korvo {

inline constexpr Real kGravity = 9.81L;

} // namespace korvo

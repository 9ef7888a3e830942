// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Degrees to radians for the firing angle, as both trajectories compute it.
#include "ballistics/core/NumberText.h"

namespace korvo {

// pi as the program has always used it: the extended value with significand
// 0xC90FDAA22168C234, one unit in the last place below the correctly rounded
// pi. Kept so that the worked values (the start velocities, the 3481 steps of
// the default run) come out to the last digit.
inline constexpr Real kPi = 3.1415926535897932383L;

// (degrees x pi) / 180, in that order; 180 is exact.
inline Real DegreesToRadians(Real degrees) {
    return (degrees * kPi) / 180;
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one precision type of the physics: the 80-bit extended format, with a
// 64-bit significand and a 15-bit exponent, rounding to nearest. Every worked
// value of the calculators is reproduced to the last digit in this format, so
// a platform whose long double is another format (a plain double, or a
// 128-bit quad) must not build: it would give other numbers, not an error.
#include <cfloat>
#include <limits>

namespace korvo {

using Real = long double;

static_assert(std::numeric_limits<Real>::digits == 64 && LDBL_MANT_DIG == 64,
              "KORVO computes in the 80-bit extended format: long double must have a 64-bit significand");
static_assert(std::numeric_limits<Real>::max_exponent == 16384 && std::numeric_limits<Real>::radix == 2,
              "KORVO computes in the 80-bit extended format: long double must have a 15-bit binary exponent");

} // namespace korvo

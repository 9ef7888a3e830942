// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The leading decimal digits of an extended value, on which every number text
// is built: the value reduced to its 18 leading significant digits, rounded to
// nearest with a tie away from zero.
//
//   LeadingDigits(0.5L)   -> {false, "500000000000000000", 0}   (0.5 x 10^0)
//   LeadingDigits(-3481)  -> {true,  "348100000000000000", 4}
//   LeadingDigits(0)      -> {false, "", 0}
//
// Two ways give the same digits. The exact one expands m x 2^k (m the 64-bit
// significand) to all its decimal digits: simple and plainly right, but near
// 1E-4000 it multiplies out 5^13000, a number of 9,000 digits, which takes a
// millisecond or two. The fast one scales the value by a 128-bit approximation
// of the power of ten that brings its first 18 digits before the point, and
// uses the exact one only when the approximation lies too close to a rounding
// boundary to decide it (a tie, or a value whose digits end right there).
#include "ballistics/core/NumberText.h"

#include <string>

namespace korvo {

// A finite value's decimal digits: the value is 0.Digits x 10^Exponent, with
// Digits free of leading zeros. A zero has no digits.
struct Decimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// The 18 leading digits of a finite value, fast at every magnitude. Digits has
// 18 characters for any value but zero.
Decimal LeadingDigits(Real x);

// The same digits by the exact expansion; Digits stops where the expansion
// does (0.5 gives "5"). The reference the fast way is checked against.
Decimal LeadingDigitsExact(Real x);

} // namespace korvo

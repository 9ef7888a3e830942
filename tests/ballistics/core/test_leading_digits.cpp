// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/LeadingDigits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace korvo {
namespace {

// The exact expansion stops where the value's digits do; the fast way fills 18.
std::string Padded(std::string digits) {
    digits.resize(18, '0');
    return digits;
}

void ExpectSameAsExact(Real x) {
    const Decimal fast = LeadingDigits(x);
    const Decimal exact = LeadingDigitsExact(x);
    EXPECT_EQ(fast.Negative, exact.Negative) << static_cast<double>(x);
    EXPECT_EQ(fast.Digits, Padded(exact.Digits)) << static_cast<double>(x);
    EXPECT_EQ(fast.Exponent, exact.Exponent) << static_cast<double>(x);
}

// Random significands at binary exponents drawn from [low, high].
void ExpectSameAsExactAt(int low, int high, int count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int> exponent(low, high);
    for (int i = 0; i < count; ++i) {
        const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        const Real x = std::ldexp(static_cast<Real>(significand), exponent(random) - 64);
        ExpectSameAsExact(random() & 1 ? -x : x);
    }
}

TEST(LeadingDigits, SameDigitsAsTheExactExpansionAtEveryMagnitude) {
    ExpectSameAsExactAt(-13300, -13270, 80, 1); // near 1E-4000
    ExpectSameAsExactAt(13270, 13300, 80, 2);   // near 1E+4000
    ExpectSameAsExactAt(-16444, -16382, 40, 3); // the denormals
    ExpectSameAsExactAt(-200, 200, 5000, 4);    // ordinary values
    for (const Real x : {std::numeric_limits<Real>::max(), std::numeric_limits<Real>::min(),
                         std::numeric_limits<Real>::denorm_min(), 1e-4000L, 1e4000L, 0.5L})
        ExpectSameAsExact(x);
}

// Where the value's digits end at the rounding place or just past it, the
// scaled approximation cannot tell; these go the exact way.
TEST(LeadingDigits, TiesAndShortExpansionsRoundAsTheExactWay) {
    // 19 digits ending in 5, exactly representable: a tie, away from zero.
    EXPECT_EQ(LeadingDigits(1234567890123456785.0L).Digits, "123456789012345679");
    EXPECT_EQ(LeadingDigits(-1234567890123456785.0L).Digits, "123456789012345679");
    EXPECT_EQ(LeadingDigits(1234567890123456784.0L).Digits, "123456789012345678");
    for (const Real x : {1.0L, 0.5L, 3481.0L, 1e18L, 1e17L, 999999999999999999.0L, 0.125L, 1e-20L, 1e20L})
        ExpectSameAsExact(x);
    const Decimal zero = LeadingDigits(-0.0L);
    EXPECT_TRUE(zero.Negative);
    EXPECT_TRUE(zero.Digits.empty());
}

} // namespace
} // namespace korvo

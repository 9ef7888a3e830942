// SPDX-License-Identifier: GPL-3.0-or-later

// The shorter writings of a number text: each must be the same number to fewer
// digits, checked here against the value read back by the C++ library (an
// independent reader), and texts that are not numbers have none.
#include "chrome/ShortNumberText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvo {
namespace {

using Texts = std::vector<std::string>;

TEST(ShortNumberText, KeepsTheExponentAndRoundsTheDigits) {
    EXPECT_EQ(ShorterNumberTexts("1,6787400284E-10"),
              (Texts{"1,678740028E-10", "1,67874003E-10", "1,67874E-10", "1,6787E-10", "1,679E-10",
                     "1,68E-10", "1,7E-10", "2E-10"}));
    // The digits carry into the next power of ten; trailing zeros go, and a
    // repeated writing is left out.
    EXPECT_EQ(ShorterNumberTexts("-9,996E20"), (Texts{"-1E21"}));
    EXPECT_EQ(ShorterNumberTexts("9.9996e-5"), (Texts{"9.9996E-5", "1E-4"}));
}

TEST(ShortNumberText, FixedTextsLoseDecimalsBeforeTheyTurnScientific) {
    EXPECT_EQ(ShorterNumberTexts("374,220 m."), (Texts{"374,22 m.", "374,2 m.", "374 m.", "3,7422E2 m.",
                                                       "3,742E2 m.", "3,74E2 m.", "3,7E2 m.", "4E2 m."}));
    // A small number keeps three significant digits before it turns scientific:
    // it never becomes "0".
    EXPECT_EQ(ShorterNumberTexts("0.000016788"),
              (Texts{"0.00001679", "0.0000168", "1.6788E-5", "1.679E-5", "1.68E-5", "1.7E-5", "2E-5"}));
    EXPECT_EQ(ShorterNumberTexts("0,000"), (Texts{"0,00", "0,0", "0"}));
}

TEST(ShortNumberText, AFourThousandDigitNumberReadsAsItsScientificWriting) {
    const std::string huge = "-1" + std::string(4000, '0') + ",000 m.";
    const Texts shorter = ShorterNumberTexts(huge);
    ASSERT_FALSE(shorter.empty());
    EXPECT_EQ(shorter.back(), "-1E4000 m.");
    EXPECT_EQ(ShorterNumberTexts("1E-4000").size(), 0u);
}

TEST(ShortNumberText, EveryWritingIsTheSameNumberToFewerDigits) {
    for (const std::string text : {"70.6899748780382", "-1.2345678901234567E-300", "0.207911690817759",
                                   "123456789012345678", "3481"}) {
        const long double value = std::stold(text);
        for (const std::string& shorter : ShorterNumberTexts(text)) {
            // Within half a unit of the last digit written.
            const std::size_t e = shorter.find('E');
            const std::size_t point = shorter.find('.');
            const std::size_t end = e == std::string::npos ? shorter.size() : e;
            const int decimals =
                point == std::string::npos || point > end ? 0 : static_cast<int>(end - point - 1);
            const int exponent = e == std::string::npos ? 0 : std::stoi(shorter.substr(e + 1));
            const long double unit = std::pow(10.0L, exponent - decimals);
            EXPECT_LE(std::fabs(std::stold(shorter) - value), unit / 2 + std::fabs(value) * 1E-17L)
                << text << " -> " << shorter;
        }
    }
}

TEST(ShortNumberText, TextsThatAreNoNumberHaveNoShorterWriting) {
    for (const char* text : {"INF", "-INF", "NAN", "—", "", "-", "1,5x", "1E", "12x", "1E1234567"})
        EXPECT_EQ(ShorterNumberTexts(text), Texts{}) << text;
}

} // namespace
} // namespace korvo

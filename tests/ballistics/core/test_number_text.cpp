// SPDX-License-Identifier: GPL-3.0-or-later

#include "SeparatorGuard.h"
#include "ballistics/core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace korvo {
namespace {

// Runs a test body under a given decimal separator.
class SeparatorTest : public ::testing::TestWithParam<char> {
protected:
    test::SeparatorGuard separator{GetParam()};
    // An expected text written with "." in the test, in the separator in force.
    static std::string T(std::string text) { return BuiltInNumberText(text); }
};

INSTANTIATE_TEST_SUITE_P(BothSeparators, SeparatorTest, ::testing::Values('.', ','));

TEST_P(SeparatorTest, GeneralTextPlainAndScientific) {
    const struct {
        long double value;
        const char* text;
    } rows[] = {
        {0, "0"},
        {-0.0L, "0"},
        {3481, "3481"},
        {0.01L, "0.01"},
        {0.0001L, "0.0001"}, // decimal exponent -3: still plain
        {0.00001L, "1E-5"},  // -4: scientific
        {0.00005L, "5E-5"},
        {1.67885926009675e-5L, "1.67885926009675E-5"},
        {999999999999999.0L, "999999999999999"},
        {1e15L, "1E15"}, // sixteen digits before the point
        {1e16L, "1E16"},
        {1e20L, "1E20"},
        {123456789012345678.0L, "1.23456789012346E17"},
        {-70.5L, "-70.5"},
        {2.5e-20L, "2.5E-20"},
        {0.1L + 0.2L, "0.3"},
        {0.99999999999999995L, "1"}, // rounds up across every digit
        {-0.000123L, "-0.000123"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NumberToGeneralText(row.value), T(row.text)) << row.text;
}

TEST_P(SeparatorTest, GeneralTextRoundsHalfUpAfterTheEighteenDigitReduction) {
    // A 5 in the 16th significant digit rounds up, a 4 down.
    EXPECT_EQ(NumberToGeneralText(1.0000000000000050L), T("1.00000000000001"));
    EXPECT_EQ(NumberToGeneralText(1.0000000000000049L), T("1"));
    // Digits 16 to 20 are 49996: the reduction to 18 digits makes them 500,
    // which then rounds up at the 15th.
    EXPECT_EQ(NumberToGeneralText(0.12345678901234549996L), T("0.123456789012346"));
    EXPECT_EQ(NumberToGeneralText(0.123456789012345494L), T("0.123456789012345"));
}

TEST_P(SeparatorTest, GeneralTextAtTheEndsOfTheExtendedRange) {
    // The exact expansion runs to thousands of digits here; only its first 18 count.
    EXPECT_EQ(NumberToGeneralText(std::numeric_limits<long double>::max()), T("1.18973149535723E4932"));
    EXPECT_EQ(NumberToGeneralText(std::numeric_limits<long double>::min()), T("3.36210314311209E-4932"));
    EXPECT_EQ(NumberToGeneralText(-std::numeric_limits<long double>::denorm_min()),
              T("-3.64519953188247E-4951"));
    EXPECT_EQ(NumberToGeneralText(18446744073709551616.0L), T("1.84467440737096E19")); // 2^64
    EXPECT_EQ(NumberToPatternText("0", 18446744073709551616.0L), "18446744073709551600");
}

TEST_P(SeparatorTest, NonFiniteTexts) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    EXPECT_EQ(NumberToGeneralText(inf), "INF");
    EXPECT_EQ(NumberToGeneralText(-inf), "-INF");
    EXPECT_EQ(NumberToGeneralText(nan), "NAN");
    EXPECT_EQ(NumberToPatternText("0.000", -inf), "-INF");
    EXPECT_EQ(NumberToPatternText("0.00", nan), "NAN");
}

TEST_P(SeparatorTest, PatternTexts) {
    const struct {
        const char* pattern;
        long double value;
        const char* text;
    } rows[] = {
        {"0.000", 374.21952L, "374.220"},
        {"00.00", 0.05L, "00.05"},
        {"00.00", 123.456L, "123.46"},
        {"0.000", 0.0005L, "0.001"}, // half away from zero
        {"0.000", -0.0005L, "-0.001"},
        {"0.000", -0.0004L, "0.000"}, // rounds to zero: no minus sign
        {"0.00", -0.001L, "0.00"},
        {"0", 2.5L, "3"},
        {"0", -2.5L, "-3"},
        {"0", 0.4L, "0"},
        {"0.000", 0, "0.000"},
        {"0.000000000000000", 1.67885926009675e-5L, "0.000016788592601"},
        {"0.00", 5637.2499999999999999L, "5637.25"},
        {"0.000", 91.2009L, "91.201"},
        {"0.00", 999.995L, "1000.00"}, // a carry into a new integer digit
    };
    for (const auto& row : rows)
        EXPECT_EQ(NumberToPatternText(row.pattern, row.value), T(row.text)) << row.pattern << " " << row.text;
}

TEST_P(SeparatorTest, ParseRealAcceptsTheGrammar) {
    EXPECT_EQ(ParseReal(T("0.01")), 0.01L);
    EXPECT_EQ(ParseReal(T("  -12.5e2  ")), -1250.0L);
    EXPECT_EQ(ParseReal("1E-5"), 1e-5L);
    EXPECT_EQ(ParseReal("+7"), 7.0L);
    EXPECT_EQ(ParseReal(T("5.")), 5.0L);
    EXPECT_EQ(ParseReal(T(".5")), 0.5L);
    EXPECT_EQ(ParseReal("1e-5000"), 0.0L); // below the smallest denormal
    EXPECT_EQ(ParseReal(T("0.000016788592601")), 0.000016788592601L);
    // The nearest extended value, not a double's.
    EXPECT_NE(ParseReal(T("0.1")), static_cast<long double>(0.1));
    // What the writers produce reads back, under either separator.
    EXPECT_EQ(ParseReal(NumberToGeneralText(1.67885926009675e-5L)), 1.67885926009675e-5L);
}

// Below the smallest normal value (about 3.4E-4932) a text still names its
// nearest value, down to half the smallest denormal; the texts the writers
// make of such values read back to the same texts.
TEST_P(SeparatorTest, ParseRealReadsDenormalTextsToTheirNearestValue) {
    const Real smallest = std::numeric_limits<Real>::denorm_min();
    for (const char* text : {"3.36210314311209E-4935", "3.36210314311209E-4932", "3.64519953188247E-4951"}) {
        const Real value = ParseReal(T(text));
        EXPECT_NE(value, 0) << text;
        EXPECT_EQ(NumberToGeneralText(value), T(text));
    }
    // The compiler reads a literal to its nearest value too.
    EXPECT_EQ(ParseReal(T("3.36210314311209E-4935")), 3.36210314311209E-4935L);
    EXPECT_EQ(ParseReal(T("-1.5E-4940")), -1.5E-4940L);
    EXPECT_EQ(ParseReal(T("3.6451995318824746E-4951")), smallest);
    EXPECT_EQ(ParseReal(T("1.83E-4951")), smallest); // just above half of it
    EXPECT_EQ(ParseReal(T("1.82E-4951")), 0);        // just below
    EXPECT_TRUE(std::signbit(ParseReal("-1e-5000")));
}

TEST_P(SeparatorTest, ParseRealRefusesEverythingElse) {
    const char* refused[] = {"",   " ", "abc", "NAN", "INF", "-INF", "0x1p3",   "1e",
                             "e5", ".", "-",   "1 2", "1e+", "12a",  "1e99999", "--1"};
    for (const char* text : refused) {
        try {
            ParseReal(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
    // The other separator is refused.
    const std::string other = GetParam() == '.' ? "1,0556" : "1.0556";
    EXPECT_THROW(ParseReal(other), EConvertError);
}

// The value a 15-digit text reads back as, from the texts themselves.
Real ByText(Real x) {
    return ParseReal(NumberToGeneralText(x));
}

bool SameBits(Real a, Real b) {
    return (a == b && std::signbit(a) == std::signbit(b)) || (std::isnan(a) && std::isnan(b));
}

TEST_P(SeparatorTest, GeneralTextValueIsWhatTheTextReadsBackAs) {
    std::vector<Real> values;
    // Digits 16 to 20 on both sides of where the rounding turns (0.4995 of
    // the 15th digit after the 18-digit reduction), in every decade of the
    // fast way and beyond it, with both signs.
    for (const char* tail :
         {"4994999", "4995", "49949", "49950001", "5", "4999", "50001", "0000001", "9999999"})
        for (int exponent = -14; exponent <= 17; exponent += 3)
            for (const char* sign : {"", "-"})
                values.push_back(ParseReal(
                    T(std::string(sign) + "1.23456789012345" + tail + "E" + std::to_string(exponent))));
    // Next to powers of ten, whose nearest extended values lie above or below.
    for (int exponent = -13; exponent <= 16; ++exponent) {
        const Real power = ParseReal(T("1E" + std::to_string(exponent)));
        for (Real v : {power, std::nextafter(power, 0.0L), std::nextafter(power, 2 * power)})
            values.push_back(v);
    }
    std::mt19937_64 random(15);
    for (int i = 0; i < 3000; ++i)
        values.push_back(std::ldexp(static_cast<Real>(random()), static_cast<int>(random() % 120) - 120));
    for (Real v : {0.0L, -0.0L})
        values.push_back(v);

    GeneralTextCutter cut; // one cutter through them all: its decade changes often
    for (Real v : values) {
        EXPECT_PRED2(SameBits, cut(v), ByText(v)) << NumberToGeneralText(v);
        EXPECT_PRED2(SameBits, GeneralTextValue(v), ByText(v)) << NumberToGeneralText(v);
    }
    // An elapsed time as a run sums it, across decades.
    Real t = 0, byText = 0;
    for (int i = 0; i < 20000; ++i) {
        t = cut(t + 0.0123L);
        byText = ByText(byText + 0.0123L);
        ASSERT_PRED2(SameBits, t, byText) << i;
    }
    // No text reads back as these: they stay as they are.
    EXPECT_EQ(GeneralTextValue(std::numeric_limits<Real>::infinity()), std::numeric_limits<Real>::infinity());
    EXPECT_TRUE(std::isnan(cut(std::numeric_limits<Real>::quiet_NaN())));
}

TEST(GeneralTextCutter, ShortDecimals) {
    GeneralTextCutter cut;
    const struct {
        Real x;
        std::uint64_t units;
        int places;
    } rows[] = {{0.01L, 1, 2}, {0.005L, 5, 3}, {1e-9L, 1, 9}, {100, 100, 0}, {123.456L, 123456, 3}};
    for (const auto& row : rows) {
        const auto d = cut.ShortDecimalOf(row.x);
        ASSERT_TRUE(d) << NumberToGeneralText(row.x);
        EXPECT_EQ(d->Units, row.units);
        EXPECT_EQ(d->Places, row.places);
        EXPECT_EQ(static_cast<Real>(d->Units) / d->Scale, row.x);
    }
    // More than 15 digits, not positive, or beyond the fast way's range.
    for (Real x : {1.0L / 3, 0.07000000000000001L, -0.01L, 0.0L, 1e20L, 1e-14L})
        EXPECT_FALSE(cut.ShortDecimalOf(x)) << NumberToGeneralText(x);
}

TEST_P(SeparatorTest, ParseWhole) {
    EXPECT_EQ(ParseWhole("78"), 78);
    EXPECT_EQ(ParseWhole("  -5"), -5);
    EXPECT_EQ(ParseWhole("+2147483647"), 2147483647);
    EXPECT_EQ(ParseWhole("-2147483648"), -2147483647 - 1);
    for (const char* text :
         {"", "78.5", "78,5", "2147483648", "-2147483649", "7 ", "x", "-", "99999999999999999999"}) {
        try {
            ParseWhole(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& error) {
            EXPECT_EQ(std::string(error.what()), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

} // namespace
} // namespace korvo

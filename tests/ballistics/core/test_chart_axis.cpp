// SPDX-License-Identifier: GPL-3.0-or-later

#include "SeparatorGuard.h"
#include "ballistics/core/ChartAxis.h"
#include "ballistics/core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace korvo {
namespace {

std::vector<std::string> Labels(const AxisFit& fit) {
    std::vector<std::string> labels;
    for (const AxisTick& tick : fit.Ticks)
        labels.push_back(tick.Label);
    return labels;
}

TEST(ChartAxis, TicksSitAtRoundValues) {
    const struct {
        double low, high;
        std::vector<std::string> labels;
    } rows[] = {
        {0, 91.2, {"0", "20", "40", "60", "80"}},
        {-25909.1, 750, {"-25000", "-20000", "-15000", "-10000", "-5000", "0"}},
        {-1e80, 1e80, {"-1E80", "-5E79", "0", "5E79", "1E80"}},
        {2.1e-7,
         2.9e-7,
         {"2.1E-7", "2.2E-7", "2.3E-7", "2.4E-7", "2.5E-7", "2.6E-7", "2.7E-7", "2.8E-7", "2.9E-7"}},
        {0, 3.5e6, {"0", "500000", "1E6", "1.5E6", "2E6", "2.5E6", "3E6", "3.5E6"}},
    };
    for (const auto& row : rows) {
        const AxisFit fit = FitAxis(row.low, row.high);
        EXPECT_EQ(fit.Low, row.low);
        EXPECT_EQ(fit.High, row.high);
        EXPECT_EQ(Labels(fit), row.labels) << row.low << " .. " << row.high;
    }
}

TEST(ChartAxis, EmptyAndNarrowRangesAreWidened) {
    const AxisFit single = FitAxis(7, 7);
    EXPECT_EQ(single.Low, 6);
    EXPECT_EQ(single.High, 8);
    // Narrower than a ten-thousandth of its magnitude, a range would need more
    // than six digits to tell its ticks apart.
    const AxisFit narrow = FitAxis(1e6, 1e6 + 0.001);
    EXPECT_NEAR(narrow.High - narrow.Low, 100, 1e-6);
    EXPECT_GE(FitAxis(1e80, 1e80).Ticks.size(), 2u);
}

// Over ranges of every magnitude: at most nine ticks, ascending, inside the
// range, distinct, short, and each label reads back as its value.
TEST(ChartAxis, LabelsStayShortAndTrueAtAnyMagnitude) {
    std::mt19937_64 random(14);
    std::uniform_real_distribution<double> exponent(-300, 300), unit(-1, 1);
    const double most = std::numeric_limits<double>::max();
    std::vector<std::pair<double, double>> ranges = {
        {-most, most}, {0, most}, {1e-310, 3e-310}, {-1e-5, 1e-5}};
    for (int i = 0; i < 2000; ++i) {
        const double a = unit(random) * std::pow(10.0, exponent(random));
        const double b = a + std::fabs(unit(random)) * std::pow(10.0, exponent(random));
        if (std::isfinite(b))
            ranges.emplace_back(std::min(a, b), std::max(a, b));
    }
    for (const auto& [low, high] : ranges) {
        const AxisFit fit = FitAxis(low, high);
        ASSERT_GE(fit.Ticks.size(), 1u) << low << " .. " << high;
        ASSERT_LE(fit.Ticks.size(), 9u) << low << " .. " << high;
        for (std::size_t t = 0; t < fit.Ticks.size(); ++t) {
            const AxisTick& tick = fit.Ticks[t];
            EXPECT_GE(tick.Value, fit.Low);
            EXPECT_LE(tick.Value, fit.High);
            if (t > 0) {
                EXPECT_LT(fit.Ticks[t - 1].Value, tick.Value);
                EXPECT_NE(fit.Ticks[t - 1].Label, tick.Label);
            }
            int digits = 0;
            for (char c : tick.Label.substr(0, tick.Label.find('E')))
                digits += c >= '1' && c <= '9' ? 1 : 0;
            EXPECT_LE(tick.Label.size(), 13u) << tick.Label; // "-1.23456E-300"
            EXPECT_LE(digits, 6) << tick.Label;
            const double read = static_cast<double>(ParseReal(tick.Label));
            // A tick within rounding of an end sits at that end.
            const double nearEnough = std::fabs(tick.Value) * 1e-12 + (fit.High / 2 - fit.Low / 2) * 1e-8;
            EXPECT_LE(std::fabs(read - tick.Value), nearEnough) << tick.Label;
        }
    }
}

TEST(ChartAxis, LabelsFollowTheGeneralTextsNotation) {
    EXPECT_EQ(AxisLabel(1500, -3), "1.5");
    EXPECT_EQ(AxisLabel(999999, 0), "999999");
    EXPECT_EQ(AxisLabel(12, 5), "1.2E6");
    EXPECT_EQ(AxisLabel(1, -4), "0.0001");
    EXPECT_EQ(AxisLabel(-25, -8), "-2.5E-7");
    const test::SeparatorGuard comma(',');
    EXPECT_EQ(AxisLabel(-25, -8), "-2,5E-7");
    EXPECT_EQ(Labels(FitAxis(1, 2))[1], "1,2");
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/PixelColumns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvo {
namespace {

// Whether `drawn` is `all` with some points left out, in the same order.
bool KeepsOrder(const std::vector<ChartPoint>& drawn, const std::vector<ChartPoint>& all) {
    std::size_t at = 0;
    for (const ChartPoint& point : drawn) {
        while (at < all.size() && !(all[at] == point))
            ++at;
        if (at == all.size())
            return false;
        ++at;
    }
    return true;
}

TEST(PixelColumns, AMillionPointsDrawAsAFewPerColumn) {
    // A trajectory of a million steps on a chart 480 pixels wide, with one
    // spike in the middle that the line must still show.
    const int columns = 480;
    TPixelColumns reduced(columns);
    std::vector<ChartPoint> all;
    for (int i = 0; i < 1000000; ++i) {
        const double t = i * 1e-4;
        const ChartPoint point{70 * t, i == 500000 ? 5000.0 : 330 * t - 4.9 * t * t};
        all.push_back(point);
        reduced.Add(point.X, point.Y);
    }
    const std::vector<ChartPoint> drawn = reduced.Points();
    EXPECT_LE(reduced.BucketCount(), 2 * columns + 2);
    EXPECT_GE(reduced.BucketCount(), columns);
    EXPECT_LE(drawn.size(), 4u * static_cast<std::size_t>(reduced.BucketCount()));
    EXPECT_EQ(drawn.front(), all.front());
    EXPECT_EQ(drawn.back(), all.back());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), all[500000]), drawn.end());
    EXPECT_TRUE(KeepsOrder(drawn, all));
}

TEST(PixelColumns, KeepsTheLineOrderOfAColumn) {
    TPixelColumns reduced(480);
    // Four points of one X kept in arrival order (first, lowest, highest,
    // last); a fifth inside their span is not needed; then points on both sides.
    for (const ChartPoint& point :
         std::vector<ChartPoint>{{5, 3}, {5, 1}, {5, 9}, {5, 4}, {5, 2}, {9, 0}, {-4, 7}})
        reduced.Add(point.X, point.Y);
    EXPECT_EQ(reduced.Points(), (std::vector<ChartPoint>{{-4, 7}, {5, 3}, {5, 1}, {5, 9}, {5, 2}, {9, 0}}));
}

TEST(PixelColumns, ExtremeRangesStayBounded) {
    // Ranges whose widths overflow or underflow a double.
    for (const std::vector<double>& xs : std::vector<std::vector<double>>{
             {-1.7e308, 1.7e308, 0, 1}, {1e300, 1e300 + 1e285, 1e300 + 5e284}, {0, 5e-324, 1e-323, 1e-300}}) {
        TPixelColumns reduced(480);
        for (double x : xs)
            reduced.Add(x, x);
        EXPECT_LE(reduced.BucketCount(), 2 * 480 + 2);
        EXPECT_EQ(reduced.Points().front().X, *std::min_element(xs.begin(), xs.end()));
        EXPECT_EQ(reduced.Points().back().X, *std::max_element(xs.begin(), xs.end()));
    }
}

} // namespace
} // namespace korvo

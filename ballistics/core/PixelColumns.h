// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The points of a chart line that drawing needs, whatever the number of points.
//
// A line of a million points drawn on a chart a few hundred pixels wide puts
// thousands of points into each pixel column; stroking them all costs time
// that grows with the run. Within one column the line is seen only as the
// vertical stroke from its lowest to its highest point, joined to the
// neighbouring columns at its first and last point. So the points are gathered
// into buckets no wider than a pixel column, each keeping its first, lowest,
// highest and last point, and only those are drawn: the line looks the same,
// and drawing costs what the chart's width costs.
//
// Buckets are aligned on multiples of a power of two in X. As the X range
// grows, the bucket width doubles and neighbouring buckets merge, so a point is
// placed in constant time and the buckets stay between `columns` and about
// twice that many across the range.
//
//   TPixelColumns columns(480);
//   for (...) columns.Add(x, y);
//   std::vector<ChartPoint> drawn = columns.Points(); // at most 4 per bucket
#include <cstdint>
#include <vector>

namespace korvo {

struct ChartPoint {
    double X;
    double Y;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

class TPixelColumns {
public:
    // `columns`: the pixel width the line is drawn on (at least 1).
    explicit TPixelColumns(int columns);

    // A point with finite coordinates. Points are ordered by X, and points of
    // the same X in the order they were added, as the chart joins them.
    void Add(double x, double y);
    void Clear();

    // The points to draw in the line's order: of each bucket its first,
    // lowest, highest and last point, each once.
    std::vector<ChartPoint> Points() const;
    int BucketCount() const { return static_cast<int>(buckets_.size()); }

private:
    struct Kept {
        double x;
        double y;
        std::uint64_t order; // the order of arrival, for points of the same X
    };
    // Whether a comes before b along the line.
    static bool Before(const Kept& a, const Kept& b);
    struct Bucket {
        bool used = false;
        Kept first{}, last{}, lowest{}, highest{};
        void Take(const Kept& point);
        void Merge(const Bucket& later);
    };

    void Widen(double width);

    int columns_;
    // The bucket width, a power of two; 0 while every point has the same X and
    // the one bucket holds them all.
    double width_ = 0;
    // The index of buckets_[0]: buckets_[i] holds X in [(key + i) w, (key + i + 1) w).
    double firstKey_ = 0;
    std::vector<Bucket> buckets_;
    double minX_ = 0;
    double maxX_ = 0;
    std::uint64_t arrivals_ = 0;
};

} // namespace korvo

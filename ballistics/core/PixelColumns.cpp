// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/PixelColumns.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvo {
namespace {

// The widest bucket width worth using, so that width and keys stay finite.
constexpr int kWidestExponent = 1023;

// The largest power of two not above (high - low) / columns: buckets no wider
// than a pixel column; 0 when that is below the smallest double.
double BucketWidth(double low, double high, int columns) {
    const double halfPerColumn = (high / 2 - low / 2) / columns; // halves: no overflow
    if (!(halfPerColumn > 0))
        return 0;
    int exponent = 0;
    std::frexp(halfPerColumn, &exponent); // halfPerColumn is in [2^(exponent-1), 2^exponent)
    return std::ldexp(1.0, std::min(exponent, kWidestExponent));
}

} // namespace

bool TPixelColumns::Before(const Kept& a, const Kept& b) {
    return a.x < b.x || (a.x == b.x && a.order < b.order);
}

void TPixelColumns::Bucket::Take(const Kept& point) {
    if (!used) {
        used = true;
        first = last = lowest = highest = point;
        return;
    }
    if (Before(point, first))
        first = point;
    if (Before(last, point))
        last = point;
    if (point.y < lowest.y)
        lowest = point;
    if (point.y > highest.y)
        highest = point;
}

void TPixelColumns::Bucket::Merge(const Bucket& later) {
    if (!later.used)
        return;
    if (!used) {
        *this = later;
        return;
    }
    for (const Kept& point : {later.first, later.lowest, later.highest, later.last})
        Take(point);
}

TPixelColumns::TPixelColumns(int columns) : columns_(std::max(columns, 1)) {}

void TPixelColumns::Clear() {
    buckets_.clear();
    width_ = 0;
    firstKey_ = 0;
    arrivals_ = 0;
}

void TPixelColumns::Add(double x, double y) {
    const Kept point{x, y, arrivals_++};
    if (buckets_.empty()) {
        minX_ = maxX_ = x;
        buckets_.resize(1);
        buckets_[0].Take(point);
        return;
    }
    minX_ = std::min(minX_, x);
    maxX_ = std::max(maxX_, x);
    const double width = BucketWidth(minX_, maxX_, columns_);
    if (width > width_)
        Widen(width);
    if (width_ == 0) {
        buckets_[0].Take(point);
        return;
    }
    const double key = std::floor(x / width_);
    if (key < firstKey_) {
        buckets_.insert(buckets_.begin(), static_cast<std::size_t>(firstKey_ - key), Bucket{});
        firstKey_ = key;
    }
    const auto index = static_cast<std::size_t>(key - firstKey_);
    if (index >= buckets_.size())
        buckets_.resize(index + 1);
    buckets_[index].Take(point);
}

void TPixelColumns::Widen(double width) {
    if (width_ == 0) {
        // Until now every point had (nearly) one X: the one bucket moves to its key.
        width_ = width;
        firstKey_ = std::floor(buckets_[0].first.x / width_);
        return;
    }
    // Both widths are powers of two, so every old bucket lies inside one new one.
    const double factor = width / width_;
    const double firstKey = std::floor(firstKey_ / factor);
    std::vector<Bucket> merged;
    merged.reserve(buckets_.size() / 2 + 2);
    for (std::size_t i = 0; i < buckets_.size(); ++i) {
        const auto index = static_cast<std::size_t>(std::floor((firstKey_ + i) / factor) - firstKey);
        if (index >= merged.size())
            merged.resize(index + 1);
        merged[index].Merge(buckets_[i]);
    }
    buckets_ = std::move(merged);
    firstKey_ = firstKey;
    width_ = width;
}

std::vector<ChartPoint> TPixelColumns::Points() const {
    std::vector<ChartPoint> points;
    points.reserve(buckets_.size() * 4);
    for (const Bucket& bucket : buckets_) {
        if (!bucket.used)
            continue;
        std::array<Kept, 4> kept{bucket.first, bucket.lowest, bucket.highest, bucket.last};
        std::sort(kept.begin(), kept.end(), Before);
        for (std::size_t i = 0; i < kept.size(); ++i)
            if (i == 0 || kept[i].order != kept[i - 1].order)
                points.push_back({kept[i].x, kept[i].y});
    }
    return points;
}

} // namespace korvo

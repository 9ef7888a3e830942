// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/ChartAxis.h"

#include "ballistics/core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvo {
namespace {

// At most this many tick intervals on an axis: labels of up to about seven
// characters stay apart on the narrower axis of a 519 x 512 chart.
constexpr long double kMostIntervals = 8;

// The narrowest range, as a part of the values' magnitude, whose ticks a step
// apart still differ within six significant digits (the step is at least a
// twentieth of the range).
constexpr double kNarrowestPart = 1e-4;

// How far, in steps, a tick may lie outside the range and still count as its
// end. An end divided by the step is off by a rounding error of some 1e-16 of
// itself, while ticks lie a whole step apart: a slack far above the one and
// far below the other keeps the ticks that rounding pushed out, and no other.
constexpr long double kTickSlack = 1e-9L;

long double PowerOfTen(int exponent) {
    return std::pow(10.0L, static_cast<long double>(exponent));
}

// The value mantissa x 10^exponent, as near as a double gets; dividing by an
// exact power of ten keeps the fractions of the common steps correctly rounded.
double TickValue(std::int64_t mantissa, int exponent) {
    const long double m = static_cast<long double>(mantissa);
    return static_cast<double>(exponent < 0 ? m / PowerOfTen(-exponent) : m * PowerOfTen(exponent));
}

} // namespace

AxisFit EmptyAxis() {
    return FitAxis(0, 1);
}

AxisFit FitAxis(double low, double high) {
    AxisFit fit;
    // Halves, so that a range from -DBL_MAX to DBL_MAX does not overflow.
    const double magnitude = std::max(std::fabs(low), std::fabs(high));
    const double narrowestHalf = magnitude * (kNarrowestPart / 2);
    double half = high / 2 - low / 2;
    if (!(half > 0) || half < narrowestHalf) {
        const double centre = low / 2 + high / 2;
        half = std::max(half > 0 ? 0.0 : 1.0, narrowestHalf);
        const double most = std::numeric_limits<double>::max();
        low = std::max(centre - half, -most);
        high = std::min(centre + half, most);
        half = high / 2 - low / 2;
    }
    fit.Low = low;
    fit.High = high;

    // The step: the smallest of 1, 2 and 5 x 10^n that gives at most
    // kMostIntervals intervals over the range.
    const long double span = 2.0L * half;
    // The logarithm may land one below a power of ten, hence the next decade.
    int exponent = static_cast<int>(std::floor(std::log10(span / kMostIntervals)));
    std::int64_t unit = 0;
    for (int decade = 0; decade < 2 && unit == 0; ++decade) {
        for (std::int64_t candidate : {1, 2, 5})
            if (span / (candidate * PowerOfTen(exponent)) <= kMostIntervals) {
                unit = candidate;
                break;
            }
        if (unit == 0)
            ++exponent;
    }
    if (unit == 0)
        return fit;

    // A tick within a rounding error of an end is kept at that end.
    const long double step = unit * PowerOfTen(exponent);
    const long double slack = kTickSlack;
    const long double first = std::ceil(low / step - slack);
    const long double last = std::floor(high / step + slack);
    const long double tolerance = step * slack * 2;
    for (long double k = first; k <= last && fit.Ticks.size() <= kMostIntervals + 1; ++k) {
        const std::int64_t mantissa = static_cast<std::int64_t>(k) * unit;
        double value = TickValue(mantissa, exponent);
        if (value < low || value > high) {
            if (value < low - tolerance || value > high + tolerance)
                continue;
            value = std::clamp(value, low, high);
        }
        fit.Ticks.push_back({value, AxisLabel(mantissa, exponent)});
    }
    return fit;
}

std::string AxisLabel(std::int64_t mantissa, int exponent) {
    if (mantissa == 0)
        return "0";
    const bool negative = mantissa < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(mantissa) : mantissa;
    while (magnitude % 10 == 0) {
        magnitude /= 10;
        ++exponent;
    }
    const std::string digits = std::to_string(magnitude);
    const int length = static_cast<int>(digits.size());
    const int decimalExponent = length - 1 + exponent; // the value is d.ddd x 10^decimalExponent

    std::string text;
    if (negative)
        text.push_back('-');
    if (decimalExponent > -5 && decimalExponent < 6) {
        if (exponent >= 0) {
            text.append(digits).append(static_cast<std::size_t>(exponent), '0');
        } else if (length > -exponent) {
            const auto point = static_cast<std::size_t>(length + exponent);
            text.append(digits, 0, point).push_back('.');
            text.append(digits, point);
        } else {
            text.append("0.").append(static_cast<std::size_t>(-exponent - length), '0').append(digits);
        }
    } else {
        text.push_back(digits[0]);
        if (length > 1)
            text.append(".").append(digits, 1);
        text.append("E").append(std::to_string(decimalExponent));
    }
    return BuiltInNumberText(text);
}

} // namespace korvo

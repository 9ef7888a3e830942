// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The numbers along a chart axis: a range that can be drawn, ticks at round
// values (1, 2 or 5 x 10^n) so that a reader can read coordinates off them,
// and short labels for them.
//
//   FitAxis(0, 91.2)      -> range 0 .. 91.2, ticks 0, 20, 40, 60, 80
//   FitAxis(-1e80, 1e80)  -> ticks -1E80, -5E79, 0, 5E79, 1E80
//   FitAxis(7, 7)         -> range 6 .. 8 (a single value still gets a span)
//
// A label has at most about 6 significant digits: a range narrower than a
// ten-thousandth of its magnitude is widened around its middle, so that ticks
// a step apart never need more digits to tell them apart. Labels are plain
// while the value lies between 1E-4 and 1E6 and scientific otherwise, in the
// manner of the general number texts ("0.5", "1200", "2.5E-7", "1E80"), with
// the decimal separator in force.
#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

struct AxisTick {
    double Value;
    std::string Label;
};

struct AxisFit {
    double Low = 0;
    double High = 1;
    std::vector<AxisTick> Ticks; // ascending, all within Low .. High
};

// The axis of a chart with no points: 0 .. 1.
AxisFit EmptyAxis();

// The axis over the finite values low <= high.
AxisFit FitAxis(double low, double high);

// The label of the value mantissa x 10^exponent, a tick whose step is a unit of
// 10^exponent: trailing zeros go, and the notation follows the rule above.
std::string AxisLabel(std::int64_t mantissa, int exponent);

} // namespace korvo

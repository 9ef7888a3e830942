// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The number texts of the calculator windows: every number a window shows or
// reads is the text of a single-line field, converted by these four functions.
// All of them use the decimal separator of the regional settings in force
// (korvo::CurrentRegionalSettings()), never the C library's LC_NUMERIC.
//
//   ParseReal("0.01")                      -> 0.01 (the nearest extended value)
//   NumberToGeneralText(70.68997487803824L) -> "70.6899748780382"
//   NumberToGeneralText(0.00001L)          -> "1E-5"
//   NumberToPatternText("0.000", 374.21952L) -> "374.220"
//   NumberToPatternText("00.00", 0.05L)    -> "00.05"
//
// Edge cases: an infinity is written "INF" or "-INF" and a NaN "NAN" by both
// writers; ParseReal does not accept those texts back. A value that rounds to
// zero is written without a minus sign.
#include "ballistics/core/Real.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korvo {

// A text that is not a number of the expected kind.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Blanks around an optional sign, digits with an optional decimal separator and
// fraction, an optional exponent ("E" or "e", optional sign, digits). Anything
// else, the empty text included, raises EConvertError
// "'<text>' is not a valid floating point value". The result is the extended
// value nearest to the decimal text; a text beyond the extended range is refused.
Real ParseReal(std::string_view text);

// Leading blanks, an optional sign and decimal digits within the 32-bit range,
// nothing after them; otherwise EConvertError "'<text>' is not a valid integer value".
std::int32_t ParseWhole(std::string_view text);

// The general format with 15 significant digits: the value is reduced to its 18
// leading significant digits (nearest), rounded half up to 15, and trailing
// zeros are removed. Plain notation while the decimal exponent e
// (value = 0.d1d2... x 10^e) lies in -3..15, scientific otherwise ("1.5E-5", "1E20").
std::string NumberToGeneralText(Real x);

// The value ParseReal reads back from NumberToGeneralText(x): x cut to 15
// significant digits, as a field that is written and read again holds it.
// An infinity or a NaN, which no text reads back as, is returned unchanged.
//   GeneralTextValue(0.01L + 0.01L) -> 0.02L (the nearest extended value)
Real GeneralTextValue(Real x);

// GeneralTextValue without building the text, for a sequence of values that
// stay mostly within one decade, such as the elapsed time of a run: it keeps
// the scale of the last value's decade.
//
// Within 1E-12 <= |x| < 1E15, with e the decimal exponent (10^(e-1) <= |x| <
// 10^e), y = |x| x 10^(15 - e) has its 15 significant digits before the
// point and errs by at most half a unit in its last place (2^-15). Rounding
// the 18-digit reduction half up at the 15th digit rounds y up exactly when
// its fraction is at least 0.4995; away from that boundary (by 1E-3, far
// beyond the error) y's nearest whole number n is those 15 digits, and
// n / 10^(15 - e), both exact in the extended format, is one correctly
// rounded division: the value nearest to the text's, as ParseReal reads it.
// Elsewhere, and near the boundary, the texts decide.
class GeneralTextCutter {
public:
    Real operator()(Real x) {
        Real digits = 0;
        if (!Cut(x, digits))
            return GeneralTextValueOfText(x);
        const Real value = digits / scale_;
        return x < 0 ? -value : value;
    }

    // A positive x that reads back as its own 15-digit text, as that text's
    // decimal: Units / Scale with Scale = 10^Places, Units free of trailing
    // zeros. nullopt for any other x, and where only the texts could tell.
    //   ShortDecimalOf(0.01L) -> {1, 2, 100}
    struct ShortDecimal {
        std::uint64_t Units;
        int Places;
        Real Scale;
    };
    std::optional<ShortDecimal> ShortDecimalOf(Real x);

private:
    static constexpr Real kWhole = 9223372036854775808.0L; // 2^63: y + 2^63 keeps no fraction
    static constexpr Real kNearBoundary = 0.4985L;

    // |x|'s 15 digits as a whole number, or false where the texts must decide.
    bool Cut(Real x, Real& digits) {
        const Real a = x < 0 ? -x : x;
        if (!(a >= low_ && a < high_) && !Rescale(a))
            return false;
        const Real y = a * scale_;
        digits = (y + kWhole) - kWhole;
        const Real fraction = y - digits;
        return fraction < kNearBoundary && fraction > -kNearBoundary;
    }
    // Takes the decade of a, or false outside 1E-12 .. 1E15.
    bool Rescale(Real a);
    static Real GeneralTextValueOfText(Real x);

    Real low_ = 1, high_ = 0, scale_ = 1;
    int places_ = 0;
};

// Fixed notation: as many decimals as the pattern has zeros after its point and
// at least as many integer digits as it has zeros before it ("0.000", "00.00",
// "0"). The value is reduced to 18 significant digits, then rounded half away
// from zero at the last decimal shown.
std::string NumberToPatternText(std::string_view pattern, Real x);

// A number text built into the program (written with "." in the source, such as
// the default "0.01" or the constant "9.81"), returned with the decimal
// separator in force, so that the program reads its own texts back whatever
// the user's regional settings are.
std::string BuiltInNumberText(std::string_view dotText);

// A number text of the windows with "." as its decimal point, for machine
// readers (CSV): the separator in force becomes ".".
std::string DotText(std::string text);

} // namespace korvo

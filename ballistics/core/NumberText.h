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

} // namespace korvo

#pragma once
// Text scanning, number reading, 64-bit rounding and script walking/linking
// for the evaluator.

#include "parser/ParseTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvo {

// The decimal separator of number texts, process-wide. The program sets it
// once at start-up from the user's regional settings; the default is '.'.
void SetDecimalSeparator(char Separator);
char DecimalSeparator();

// The nearest 64-bit integer, a half going to the even neighbour. A NaN or a
// value outside the 64-bit range gives INT64_MIN (-9223372036854775808).
// Round64(2.5) == 2, Round64(3.5) == 4, Round64(-0.5) == 0.
std::int64_t Round64(double X);

} // namespace korvo

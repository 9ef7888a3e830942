// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Shorter writings of a number text, for a display narrower than the text: a
// text cut at the display's edge reads as another number ("1,6787400284E-10"
// cut after "1,67874" reads as about 1.7), while a text with fewer digits and
// its exponent kept reads as the same number, only less precisely.
//
//   ShorterNumberTexts("1,6787400284E-10")  -> {"1,678740028E-10", ..., "1,7E-10", "2E-10"}
//   ShorterNumberTexts("374,21952 m.")      -> {"374,2195 m.", "374,220 m.", ..., "3,7421952E2 m.", ...}
//   ShorterNumberTexts("NAN")               -> {}
//
// The text is an optional sign, digits with an optional decimal separator ("."
// or ",", whichever the text uses) and fraction, an optional exponent ("E",
// optional sign, digits) and an optional tail that starts with a blank (a
// unit such as " m."). Anything else (INF, NAN, a dash) has no shorter writing.
// Digits are rounded half up on the decimal digits themselves, never through a
// binary value, so a text of any length (a 4000-digit fixed number) is exact.
//
// The list holds first the same fixed text with fewer decimals, as long as at
// least three significant digits stay (a small number never becomes "0"), then
// the scientific writings from 18 significant digits down to one, each exponent
// written as the program writes it ("E20", "E-5"). No entry repeats.
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

std::vector<std::string> ShorterNumberTexts(std::string_view text);

} // namespace korvo

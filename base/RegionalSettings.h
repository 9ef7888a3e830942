// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The user's regional number and date settings, read once at start-up by the
// program (from the desktop's locale). They are the one owner of the decimal
// separator: the evaluator's number reading, the calculator windows'
// conversions, the formula texts and the export engine's conversions of
// non-text cells all take it from here, so no two of them can disagree.
// Standard library only, so that every layer may use it.
//
// The object is process-wide on purpose: the export engine swaps the separators
// for the duration of one cell's conversion and puts them back right after, and
// everything runs on the GUI thread, so nothing else reads them meanwhile.
// Tests set fixed values so that their results never depend on the machine.
#include <string>

namespace korvo {

struct RegionalSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    // Date and time patterns in the export engine's format language
    // ("d", "m", "yyyy", "h", "nn", "ss", "ampm").
    std::string ShortDateFormat = "m/d/yyyy";
    std::string ShortTimeFormat = "h:nn ampm";
    std::string CurrencyString = "$";
    // Where the currency symbol goes: 0 before, 1 after, 2 before with a blank,
    // 3 after with a blank.
    int CurrencyFormat = 0;
};

// The settings in force. Starts with the values above (a "." locale) until the
// program stores the desktop's own at start-up.
RegionalSettings& CurrentRegionalSettings();

// The decimal separator of every number text the program reads or writes (the
// evaluator, the windows' fields, the report, the command line): the one of the
// settings in force. SetDecimalSeparator writes that setting.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

} // namespace korvo

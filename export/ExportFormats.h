// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The number, date, Boolean and null formats of an export, with defaults from the regional settings in
// force when the object is made, and the conversions of non-text cells that use them.
//
//     korvo::TExportFormats f;                   // separators and date formats from the settings now
//     f.SetIntegerFormat("");                    // back to "#,###,##0"
//     korvo::FormatNumber("#,###,##0.00", 1234.5, settings);   // "1,234.50"
//
// Texts are UTF-8. Format language: "#" optional digit, "0" required digit, "," thousands grouping,
// "." the decimal point; text before the first and after the last of these is kept as it is. Date-time
// patterns: d dd m mm yy yyyy h hh n nn s ss ampm, "/" the date and ":" the time separator.
#include "base/RegionalSettings.h"

#include <optional>
#include <string>

namespace korvo {

class TExportFormats {
public:
    TExportFormats(); // defaults from CurrentRegionalSettings()
    TExportFormats(const TExportFormats& other);
    TExportFormats&
    operator=(const TExportFormats& other); // the nine texts through their setters, the separators

    char DecimalSeparator, ThousandSeparator, DateSeparator, TimeSeparator;

    const std::string& IntegerFormat() const { return integerFormat_; }
    const std::string& FloatFormat() const { return floatFormat_; }
    const std::string& DateFormat() const { return dateFormat_; }
    const std::string& TimeFormat() const { return timeFormat_; }
    const std::string& DateTimeFormat() const { return dateTimeFormat_; }
    const std::string& CurrencyFormat() const { return currencyFormat_; }
    const std::string& BooleanTrue() const { return booleanTrue_; }
    const std::string& BooleanFalse() const { return booleanFalse_; }
    const std::string& NullString() const { return nullString_; }

    // An empty text gives the defaults of the table: "#,###,##0" for integers, the empty text for
    // floats, the regional defaults for dates, times and currency, "true"/"false" for Booleans.
    void SetIntegerFormat(const std::string& v);
    void SetFloatFormat(const std::string& v) { floatFormat_ = v; }
    void SetDateFormat(const std::string& v);
    void SetTimeFormat(const std::string& v);
    void SetDateTimeFormat(const std::string& v);
    void SetCurrencyFormat(const std::string& v);
    void SetBooleanTrue(const std::string& v) { booleanTrue_ = v.empty() ? "true" : v; }
    void SetBooleanFalse(const std::string& v) { booleanFalse_ = v.empty() ? "false" : v; }
    // Stored without surrounding blanks.
    void SetNullString(const std::string& v);

    // Sets the process-wide separators to this object's four, and back to those saved at creation.
    void ApplySeparators() const;
    void RestoreSeparators() const;

private:
    std::string integerFormat_, floatFormat_, dateFormat_, timeFormat_, dateTimeFormat_, currencyFormat_;
    std::string booleanTrue_, booleanFalse_, nullString_;
    RegionalSettings defaults_; // the regional settings at creation: saved separators and date defaults
};

// The default currency format for a placement of the symbol (0 before, 1 after, 2 before with a blank,
// 3 after with a blank); empty for any other placement.
std::string DefaultCurrencyFormat(const RegionalSettings& settings);

// Conversions in the given settings (separators of the text).
std::string FormatNumber(const std::string& pattern, double value, const RegionalSettings& settings);
// Date-time as days since 30 December 1899, the fraction being the time of day.
std::string FormatDateTime(const std::string& pattern, double value, const RegionalSettings& settings);
std::optional<std::int32_t> ReadInt32(const std::string& text);
std::optional<std::int64_t> ReadInt64(const std::string& text);
std::optional<double> ReadReal(const std::string& text, char decimalSeparator);
// A date, a time, or a date and a time, in the order of the settings' short date format.
std::optional<double> ReadDateTime(const std::string& text, const RegionalSettings& settings);

std::string TrimBlanks(const std::string& text);

} // namespace korvo

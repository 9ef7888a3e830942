// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/ExportFormats.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

namespace korvo {

namespace {
constexpr const char* kIntegerDefault = "#,###,##0";
constexpr const char* kNumberDefault = "#,###,##0.00";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string DefaultDateTime(const RegionalSettings& s) {
    return s.ShortDateFormat + " " + s.ShortTimeFormat;
}

// Days from 1 January 0001 of a civil date (proleptic Gregorian), and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

const std::int64_t kDayZero = DaysFromCivil(1899, 12, 30);

std::string Padded(std::int64_t v, int width) {
    std::string s = std::to_string(v < 0 ? -v : v);
    while (static_cast<int>(s.size()) < width)
        s.insert(s.begin(), '0');
    return v < 0 ? "-" + s : s;
}

bool StartsWithNoCase(const std::string& s, std::size_t at, const char* word) {
    for (std::size_t i = 0; word[i] != '\0'; ++i) {
        if (at + i >= s.size())
            return false;
        char c = s[at + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c != word[i])
            return false;
    }
    return true;
}
} // namespace

std::string TrimBlanks(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

std::string DefaultCurrencyFormat(const RegionalSettings& s) {
    switch (s.CurrencyFormat) {
    case 0:
        return s.CurrencyString + kNumberDefault;
    case 1:
        return kNumberDefault + s.CurrencyString;
    case 2:
        return s.CurrencyString + " " + kNumberDefault;
    case 3:
        return std::string(kNumberDefault) + " " + s.CurrencyString;
    default:
        return {};
    }
}

TExportFormats::TExportFormats() : defaults_(CurrentRegionalSettings()) {
    DecimalSeparator = defaults_.DecimalSeparator;
    ThousandSeparator = defaults_.ThousandSeparator;
    DateSeparator = defaults_.DateSeparator;
    TimeSeparator = defaults_.TimeSeparator;
    integerFormat_ = kIntegerDefault;
    floatFormat_ = kNumberDefault;
    dateFormat_ = defaults_.ShortDateFormat;
    timeFormat_ = defaults_.ShortTimeFormat;
    dateTimeFormat_ = DefaultDateTime(defaults_);
    currencyFormat_ = DefaultCurrencyFormat(defaults_);
    booleanTrue_ = "true";
    booleanFalse_ = "false";
}

TExportFormats::TExportFormats(const TExportFormats& other) : TExportFormats() {
    *this = other;
}

TExportFormats& TExportFormats::operator=(const TExportFormats& other) {
    if (this == &other)
        return *this;
    SetIntegerFormat(other.integerFormat_);
    SetFloatFormat(other.floatFormat_);
    SetDateFormat(other.dateFormat_);
    SetTimeFormat(other.timeFormat_);
    SetDateTimeFormat(other.dateTimeFormat_);
    SetCurrencyFormat(other.currencyFormat_);
    SetBooleanTrue(other.booleanTrue_);
    SetBooleanFalse(other.booleanFalse_);
    SetNullString(other.nullString_);
    DecimalSeparator = other.DecimalSeparator;
    ThousandSeparator = other.ThousandSeparator;
    DateSeparator = other.DateSeparator;
    TimeSeparator = other.TimeSeparator;
    return *this;
}

void TExportFormats::SetIntegerFormat(const std::string& v) {
    integerFormat_ = v.empty() ? kIntegerDefault : v;
}
void TExportFormats::SetDateFormat(const std::string& v) {
    dateFormat_ = v.empty() ? defaults_.ShortDateFormat : v;
}
void TExportFormats::SetTimeFormat(const std::string& v) {
    timeFormat_ = v.empty() ? defaults_.ShortTimeFormat : v;
}
void TExportFormats::SetDateTimeFormat(const std::string& v) {
    dateTimeFormat_ = v.empty() ? DefaultDateTime(defaults_) : v;
}
void TExportFormats::SetCurrencyFormat(const std::string& v) {
    currencyFormat_ = v.empty() ? DefaultCurrencyFormat(defaults_) : v;
}
void TExportFormats::SetNullString(const std::string& v) {
    nullString_ = TrimBlanks(v);
}

void TExportFormats::ApplySeparators() const {
    RegionalSettings& s = CurrentRegionalSettings();
    s.DecimalSeparator = DecimalSeparator;
    s.ThousandSeparator = ThousandSeparator;
    s.DateSeparator = DateSeparator;
    s.TimeSeparator = TimeSeparator;
}

void TExportFormats::RestoreSeparators() const {
    RegionalSettings& s = CurrentRegionalSettings();
    s.DecimalSeparator = defaults_.DecimalSeparator;
    s.ThousandSeparator = defaults_.ThousandSeparator;
    s.DateSeparator = defaults_.DateSeparator;
    s.TimeSeparator = defaults_.TimeSeparator;
}

std::string FormatNumber(const std::string& pattern, double value, const RegionalSettings& settings) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    const std::size_t first = pattern.find_first_of("#0,.");
    if (first == std::string::npos)
        return pattern;
    const std::size_t last = pattern.find_last_of("#0,.");
    const std::string prefix = pattern.substr(0, first), suffix = pattern.substr(last + 1);
    const std::string body = pattern.substr(first, last - first + 1);
    const std::size_t point = body.find('.');
    const std::string intPart = body.substr(0, point);
    int decimals = 0, minInt = 0;
    if (point != std::string::npos)
        for (char c : body.substr(point + 1))
            decimals += (c == '0' || c == '#');
    for (char c : intPart)
        minInt += (c == '0');
    const bool grouping = intPart.find(',') != std::string::npos;

    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, decimals);
    std::string digits(buf, r.ptr);
    std::string whole = digits.substr(0, digits.find('.'));
    std::string fraction = decimals > 0 ? digits.substr(digits.find('.') + 1) : std::string();
    if (minInt == 0 && whole == "0")
        whole.clear();
    while (static_cast<int>(whole.size()) < minInt)
        whole.insert(whole.begin(), '0');
    if (grouping)
        for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(whole.begin() + i, settings.ThousandSeparator);
    std::string out = whole;
    if (decimals > 0)
        out += settings.DecimalSeparator + fraction;
    const bool zero = (whole.find_first_not_of("0,") == std::string::npos || whole.empty()) &&
                      fraction.find_first_not_of('0') == std::string::npos;
    return (value < 0 && !zero ? "-" : "") + prefix + out + suffix;
}

std::string FormatDateTime(const std::string& pattern, double value, const RegionalSettings& settings) {
    const double dayPart = std::floor(value);
    std::int64_t ms = static_cast<std::int64_t>(std::llround((value - dayPart) * 86400000.0));
    std::int64_t day = static_cast<std::int64_t>(dayPart);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++day;
    }
    std::int64_t year;
    unsigned month, mday;
    CivilFromDays(day + kDayZero, year, month, mday);
    const int hour = static_cast<int>(ms / 3600000), minute = static_cast<int>(ms / 60000 % 60),
              second = static_cast<int>(ms / 1000 % 60);
    const bool hasAmPm = StartsWithNoCase(pattern, 0, "ampm") || pattern.find("ampm") != std::string::npos ||
                         pattern.find("AMPM") != std::string::npos;
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = static_cast<char>(pattern[i] | 0x20);
        std::size_t run = 1;
        while (i + run < pattern.size() && (pattern[i + run] | 0x20) == c)
            ++run;
        if (StartsWithNoCase(pattern, i, "ampm")) {
            out += hour < 12 ? "AM" : "PM";
            i += 4;
            continue;
        }
        switch (c) {
        case 'd':
            out += Padded(mday, run >= 2 ? 2 : 1);
            break;
        case 'm':
            out += Padded(month, run >= 2 ? 2 : 1);
            break;
        case 'y':
            out += run >= 3 ? Padded(year, 4) : Padded(year % 100, 2);
            break;
        case 'h': {
            int h = hour;
            if (hasAmPm)
                h = h % 12 == 0 ? 12 : h % 12;
            out += Padded(h, run >= 2 ? 2 : 1);
            break;
        }
        case 'n':
            out += Padded(minute, run >= 2 ? 2 : 1);
            break;
        case 's':
            out += Padded(second, run >= 2 ? 2 : 1);
            break;
        default:
            for (std::size_t k = 0; k < run; ++k)
                out += pattern[i] == '/'   ? settings.DateSeparator
                       : pattern[i] == ':' ? settings.TimeSeparator
                                           : pattern[i];
        }
        i += run;
    }
    return out;
}

template <class T> static std::optional<T> ReadWhole(const std::string& text) {
    std::size_t b = 0;
    while (b < text.size() && IsBlank(text[b]))
        ++b;
    if (b < text.size() && text[b] == '+')
        ++b;
    T v{};
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data() + b, end, v);
    if (r.ec != std::errc() || r.ptr != end || b == text.size())
        return std::nullopt;
    return v;
}

std::optional<std::int32_t> ReadInt32(const std::string& text) {
    return ReadWhole<std::int32_t>(text);
}
std::optional<std::int64_t> ReadInt64(const std::string& text) {
    return ReadWhole<std::int64_t>(text);
}

std::optional<double> ReadReal(const std::string& raw, char decimalSeparator) {
    std::string text = TrimBlanks(raw);
    if (text.empty())
        return std::nullopt;
    for (char& c : text) {
        if (c == '.' && decimalSeparator != '.')
            return std::nullopt;
        if (c == decimalSeparator)
            c = '.';
    }
    std::size_t b = text[0] == '+' ? 1 : 0;
    if (b == 1 && text.size() > 1 && text[1] == '-')
        return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(text.data() + b, text.data() + text.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return v;
}

std::optional<double> ReadDateTime(const std::string& raw, const RegionalSettings& settings) {
    const std::string text = TrimBlanks(raw);
    if (text.empty())
        return std::nullopt;
    // Split into numbers and an optional AM/PM marker.
    std::vector<int> dateParts, timeParts;
    bool inTime = false, pm = false, am = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            int v = 0;
            std::size_t digits = 0;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 6) {
                v = v * 10 + (text[i] - '0');
                ++i;
                ++digits;
            }
            const bool nextIsTime = i < text.size() && text[i] == settings.TimeSeparator;
            if (nextIsTime)
                inTime = true;
            (inTime ? timeParts : dateParts).push_back(v);
        } else if (c == settings.DateSeparator && !inTime) {
            ++i;
        } else if (c == settings.TimeSeparator && inTime) {
            ++i;
        } else if (c == ' ') {
            ++i;
        } else if (StartsWithNoCase(text, i, "am") || StartsWithNoCase(text, i, "pm")) {
            (StartsWithNoCase(text, i, "pm") ? pm : am) = true;
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    if (dateParts.size() == 1 && timeParts.empty())
        return std::nullopt; // a bare number is no date
    double result = 0;
    if (!dateParts.empty()) {
        if (dateParts.size() != 3)
            return std::nullopt;
        // Order of day, month and year as in the short date format.
        int d = 0, m = 0, y = 0, slot = 0;
        char prev = 0;
        for (char c : settings.ShortDateFormat) {
            const char l = static_cast<char>(c | 0x20);
            if ((l == 'd' || l == 'm' || l == 'y') && l != prev && slot < 3)
                (l == 'd' ? d : l == 'm' ? m : y) = dateParts[slot++];
            prev = l;
        }
        if (y < 100)
            y += 2000;
        if (m < 1 || m > 12 || d < 1 || d > 31)
            return std::nullopt;
        static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        if (d > kDays[m - 1] + (m == 2 && leap ? 1 : 0))
            return std::nullopt;
        result = static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) -
                                     kDayZero);
    }
    if (!timeParts.empty()) {
        if (timeParts.size() < 2 || timeParts.size() > 3)
            return std::nullopt;
        int h = timeParts[0];
        const int n = timeParts[1], s = timeParts.size() == 3 ? timeParts[2] : 0;
        if (am || pm) {
            if (h < 1 || h > 12)
                return std::nullopt;
            h = h % 12 + (pm ? 12 : 0);
        }
        if (h > 23 || n > 59 || s > 59)
            return std::nullopt;
        const double t = (h * 3600.0 + n * 60.0 + s) / 86400.0;
        result = result < 0 ? result - t : result + t;
    } else if (am || pm) {
        return std::nullopt;
    }
    return result;
}

} // namespace korvo

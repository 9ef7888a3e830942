// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/NumberText.h"

#include "ballistics/core/LeadingDigits.h"

#include "base/RegionalSettings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <stdlib.h>
#include <string>

namespace korvo {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void RefuseReal(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

[[noreturn]] void RefuseWhole(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

// Keeps the first `keep` digits, rounding half up on the digit after them
// (which, on magnitudes, is half away from zero). keep may be 0 or negative:
// the value then rounds to zero or to one unit of the last kept place.
void RoundDigits(Decimal& d, int keep) {
    const int size = static_cast<int>(d.Digits.size());
    if (keep >= size)
        return;
    const bool up = keep >= 0 && d.Digits[static_cast<std::size_t>(keep)] >= '5';
    if (keep <= 0) {
        // Only a first digit exactly at the rounding place can round up.
        if (up) {
            d.Digits = "1";
            d.Exponent += 1;
        } else {
            d.Digits.clear();
        }
        return;
    }
    d.Digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9') {
            d.Digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.Digits.insert(d.Digits.begin(), '1');
            d.Digits.pop_back();
            d.Exponent += 1;
        } else {
            ++d.Digits[static_cast<std::size_t>(i)];
        }
    }
}

void StripTrailingZeros(Decimal& d) {
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
}

// The power of ten of the first significant digit of a normalised number
// text ("-ddd.ddde[+-]ddd"): 1 for "5", 0 for "0.5", 3 for "5e2".
long long LeadingDigitExponent(std::string_view normal) {
    const std::size_t e = normal.find('e');
    const std::string_view mantissa = normal.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = normal.substr(e + 1);
        const bool negative = !digits.empty() && digits[0] == '-';
        if (!digits.empty() && (digits[0] == '+' || digits[0] == '-'))
            digits.remove_prefix(1);
        // An exponent too long for 64 bits is as far out of range as it gets.
        if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec != std::errc())
            exponent = 1000000;
        if (negative)
            exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (!IsDigit(mantissa[i]) || mantissa[i] == '0')
            continue;
        const long long place =
            i < point ? static_cast<long long>(point - i) : -static_cast<long long>(i - point - 1);
        return exponent + place;
    }
    return exponent;
}

// A text below the normal range read to its nearest value: a denormal, or a
// zero of the text's sign below half the smallest denormal. The C library's
// conversion rounds correctly there; it is called with the "C" locale object,
// so that the process's LC_NUMERIC never matters (the text already has ".").
Real NearestDenormal(const std::string& normal) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const Real value = strtold_l(normal.c_str(), nullptr, cLocale);
    if (value == 0 && normal[0] == '-')
        return -0.0L;
    return value;
}

// 10^k for k = 0..27: exact in the extended format, since 5^27 < 2^64.
constexpr std::array<Real, 28> kTens = [] {
    std::array<Real, 28> tens{};
    Real ten = 1;
    for (Real& t : tens) {
        t = ten;
        ten *= 10;
    }
    return tens;
}();

// 10^k for k = -12..15, the nearest extended values. Where one is inexact, a
// value between it and the power itself is within a unit in the last place of
// the power: taken for the decade above or below, its 15 digits round to that
// power either way.
Real PowerOfTen(int k) {
    return k >= 0 ? kTens[static_cast<std::size_t>(k)] : 1 / kTens[static_cast<std::size_t>(-k)];
}

std::string NonFiniteText(Real x) {
    if (std::isnan(x))
        return "NAN";
    return x < 0 ? "-INF" : "INF";
}

} // namespace

Real ParseReal(std::string_view text) {
    const char separator = DecimalSeparator();
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    std::string normal;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            normal.push_back('-');
        ++i;
    }
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        normal.push_back(text[i++]);
        ++digits;
    }
    if (i < n && text[i] == separator) {
        normal.push_back('.');
        ++i;
        while (i < n && IsDigit(text[i])) {
            normal.push_back(text[i++]);
            ++digits;
        }
    }
    if (digits == 0)
        RefuseReal(text);
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            normal.push_back(text[i++]);
        std::size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            normal.push_back(text[i++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            RefuseReal(text);
    }
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i != n)
        RefuseReal(text);

    Real value = 0;
    const char* first = normal.data();
    const char* last = first + normal.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond the largest extended value the text is refused.
        if (LeadingDigitExponent(normal) > 0)
            RefuseReal(text);
        // Below the smallest normal value the converter reports an underflow
        // and gives nothing back, yet the text may name a denormal, as the
        // writers produce for such values ("3.36210314311209E-4935").
        return NearestDenormal(normal);
    }
    if (result.ec != std::errc() || result.ptr != last)
        RefuseReal(text);
    return value;
}

std::int32_t ParseWhole(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        RefuseWhole(text);
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            RefuseWhole(text);
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL)
            RefuseWhole(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        RefuseWhole(text);
    return static_cast<std::int32_t>(value);
}

std::string NumberToGeneralText(Real x) {
    if (!std::isfinite(x))
        return NonFiniteText(x);
    Decimal d = LeadingDigits(x);
    RoundDigits(d, 15);
    StripTrailingZeros(d);
    if (d.Digits.empty())
        return "0";
    std::string text = d.Negative ? "-" : "";
    const int e = d.Exponent;
    const int size = static_cast<int>(d.Digits.size());
    if (e >= -3 && e <= 15) {
        if (e <= 0) {
            text += '0';
            text += DecimalSeparator();
            text.append(static_cast<std::size_t>(-e), '0');
            text += d.Digits;
        } else if (size <= e) {
            text += d.Digits;
            text.append(static_cast<std::size_t>(e - size), '0');
        } else {
            text.append(d.Digits, 0, static_cast<std::size_t>(e));
            text += DecimalSeparator();
            text.append(d.Digits, static_cast<std::size_t>(e));
        }
        return text;
    }
    text += d.Digits[0];
    if (size > 1) {
        text += DecimalSeparator();
        text.append(d.Digits, 1);
    }
    text += 'E';
    text += std::to_string(e - 1);
    return text;
}

Real GeneralTextValue(Real x) {
    return GeneralTextCutter()(x);
}

bool GeneralTextCutter::Rescale(Real a) {
    if (!(a >= 1e-12L && a < 1e15L))
        return false;
    int e = -11;
    while (a >= PowerOfTen(e))
        ++e;
    low_ = PowerOfTen(e - 1);
    high_ = PowerOfTen(e);
    places_ = 15 - e;
    scale_ = kTens[static_cast<std::size_t>(places_)];
    return true;
}

std::optional<GeneralTextCutter::ShortDecimal> GeneralTextCutter::ShortDecimalOf(Real x) {
    Real digits = 0;
    if (!(x > 0) || !Cut(x, digits) || digits / scale_ != x)
        return std::nullopt;
    ShortDecimal d{static_cast<std::uint64_t>(digits), places_, scale_};
    while (d.Places > 0 && d.Units % 10 == 0) {
        d.Units /= 10;
        d.Scale = kTens[static_cast<std::size_t>(--d.Places)];
    }
    return d;
}

Real GeneralTextCutter::GeneralTextValueOfText(Real x) {
    return std::isfinite(x) ? ParseReal(NumberToGeneralText(x)) : x;
}

std::string NumberToPatternText(std::string_view pattern, Real x) {
    if (!std::isfinite(x))
        return NonFiniteText(x);
    const std::size_t point = pattern.find('.');
    const std::string_view integerPart = pattern.substr(0, point);
    int minimumIntegerDigits = 0;
    for (char c : integerPart)
        minimumIntegerDigits += c == '0';
    int decimals = 0;
    if (point != std::string_view::npos)
        for (char c : pattern.substr(point + 1))
            decimals += c == '0';

    Decimal d = LeadingDigits(x);
    if (!d.Digits.empty())
        RoundDigits(d, d.Exponent + decimals);
    StripTrailingZeros(d);

    const auto digitAt = [&](int index) {
        return index >= 0 && index < static_cast<int>(d.Digits.size())
                   ? d.Digits[static_cast<std::size_t>(index)]
                   : '0';
    };
    std::string integer;
    for (int i = 0; i < d.Exponent; ++i)
        integer += digitAt(i);
    if (static_cast<int>(integer.size()) < minimumIntegerDigits)
        integer.insert(0, static_cast<std::size_t>(minimumIntegerDigits) - integer.size(), '0');

    std::string text = d.Negative && !d.Digits.empty() ? "-" : "";
    text += integer;
    if (decimals > 0) {
        text += DecimalSeparator();
        for (int i = 0; i < decimals; ++i)
            text += digitAt(d.Exponent + i);
    }
    return text;
}

std::string BuiltInNumberText(std::string_view dotText) {
    std::string text(dotText);
    for (char& c : text)
        if (c == '.')
            c = DecimalSeparator();
    return text;
}

std::string DotText(std::string text) {
    const char separator = CurrentRegionalSettings().DecimalSeparator;
    for (char& c : text)
        if (c == separator)
            c = '.';
    return text;
}

} // namespace korvo

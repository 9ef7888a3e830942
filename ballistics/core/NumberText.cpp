#include "ballistics/core/NumberText.h"

#include "parser/RegionalSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace korvo {
namespace {

char Separator() {
    return CurrentRegionalSettings().DecimalSeparator;
}

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

// A finite value's decimal digits: Digits holds significant digits without
// leading zeros (at most 18, possibly fewer after rounding), and the value is
// 0.Digits x 10^Exponent. A zero has no digits.
struct Decimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// A non-negative whole number of any size, in base-10^9 limbs, least
// significant first: enough to expand an extended value exactly.
class BigWhole {
public:
    explicit BigWhole(std::uint64_t value) {
        do {
            limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    // Multiplies by factor^count, factor at most 5^13 so that a limb times the
    // factor plus a carry fits 64 bits.
    void MultiplyByPower(std::uint32_t factor, int count) {
        for (int i = 0; i < count; ++i)
            MultiplyBy(factor);
    }

    void MultiplyBy(std::uint64_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t product = limb * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    std::string DecimalDigits() const {
        std::string digits = std::to_string(limbs_.back());
        char block[10];
        for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
            std::uint32_t limb = limbs_[i];
            for (int j = 8; j >= 0; --j) {
                block[j] = static_cast<char>('0' + limb % 10);
                limb /= 10;
            }
            digits.append(block, 9);
        }
        return digits;
    }

private:
    static constexpr std::uint64_t kBase = 1000000000;
    std::vector<std::uint32_t> limbs_;
};

// Multiplies by 2^count or 5^count in the largest steps that keep a limb
// product within 64 bits.
void MultiplyByPowerOf(BigWhole& n, std::uint32_t prime, int count) {
    const int step = prime == 2 ? 29 : 13;
    std::uint32_t big = 1;
    for (int i = 0; i < step; ++i)
        big *= prime;
    n.MultiplyByPower(big, count / step);
    std::uint32_t rest = 1;
    for (int i = 0; i < count % step; ++i)
        rest *= prime;
    n.MultiplyBy(rest);
}

// Reduces a finite value to its 18 leading significant digits, rounded to
// nearest (a tie rounds away from zero). The value is m x 2^k with m the 64-bit
// significand, so its exact decimal expansion is m x 2^k when k >= 0 and
// (m x 5^-k) x 10^k when k < 0; both are whole numbers of at most a few
// thousand digits.
Decimal EighteenDigits(Real x) {
    Decimal d;
    d.Negative = std::signbit(x);
    if (x == 0)
        return d;
    int binaryExponent = 0;
    const Real fraction = std::frexp(std::fabs(x), &binaryExponent); // in [0.5, 1)
    const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    const int k = binaryExponent - 64;
    BigWhole n(significand);
    MultiplyByPowerOf(n, k >= 0 ? 2 : 5, k >= 0 ? k : -k);
    std::string digits = n.DecimalDigits();
    d.Exponent = static_cast<int>(digits.size()) + (k < 0 ? k : 0);
    constexpr std::size_t kKept = 18;
    if (digits.size() > kKept) {
        const bool up = digits[kKept] >= '5';
        digits.resize(kKept);
        if (up) {
            std::size_t i = kKept;
            while (i > 0 && digits[i - 1] == '9')
                digits[--i] = '0';
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                digits.pop_back();
                d.Exponent += 1;
            } else {
                ++digits[i - 1];
            }
        }
    }
    d.Digits = std::move(digits);
    return d;
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

std::string NonFiniteText(Real x) {
    if (std::isnan(x))
        return "NAN";
    return x < 0 ? "-INF" : "INF";
}

} // namespace

Real ParseReal(std::string_view text) {
    const char separator = Separator();
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
        // Beyond the largest extended value the text is refused; below the
        // smallest denormal it reads as zero.
        if (LeadingDigitExponent(normal) > 0)
            RefuseReal(text);
        return normal[0] == '-' ? -0.0L : 0.0L;
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
    Decimal d = EighteenDigits(x);
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
            text += Separator();
            text.append(static_cast<std::size_t>(-e), '0');
            text += d.Digits;
        } else if (size <= e) {
            text += d.Digits;
            text.append(static_cast<std::size_t>(e - size), '0');
        } else {
            text.append(d.Digits, 0, static_cast<std::size_t>(e));
            text += Separator();
            text.append(d.Digits, static_cast<std::size_t>(e));
        }
        return text;
    }
    text += d.Digits[0];
    if (size > 1) {
        text += Separator();
        text.append(d.Digits, 1);
    }
    text += 'E';
    text += std::to_string(e - 1);
    return text;
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

    Decimal d = EighteenDigits(x);
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
        text += Separator();
        for (int i = 0; i < decimals; ++i)
            text += digitAt(d.Exponent + i);
    }
    return text;
}

std::string BuiltInNumberText(std::string_view dotText) {
    std::string text(dotText);
    for (char& c : text)
        if (c == '.')
            c = Separator();
    return text;
}

} // namespace korvo

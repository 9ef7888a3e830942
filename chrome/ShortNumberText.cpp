// SPDX-License-Identifier: GPL-3.0-or-later

#include "chrome/ShortNumberText.h"

#include <algorithm>
#include <cstddef>

namespace korvo {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t DigitsFrom(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return end;
}

// Rounds a digit string half up to its first `count` digits. Returns whether a
// carry ran out of the front (999 -> 1000), in which case the digits are "1"
// followed by zeros and the number has one more integer digit.
bool RoundDigits(std::string& digits, std::size_t count) {
    const bool up = count < digits.size() && digits[count] >= '5';
    digits.resize(count);
    if (!up)
        return false;
    for (std::size_t i = count; i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

std::size_t SignificantDigits(const std::string& digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? 0 : digits.size() - first;
}

} // namespace

std::vector<std::string> ShorterNumberTexts(std::string_view text) {
    std::size_t at = 0;
    std::string sign;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        sign = text[at++];
    const std::size_t intEnd = DigitsFrom(text, at);
    const std::string integer(text.substr(at, intEnd - at));
    at = intEnd;
    char separator = 0;
    std::string fraction;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        separator = text[at];
        const std::size_t fracEnd = DigitsFrom(text, at + 1);
        fraction = text.substr(at + 1, fracEnd - at - 1);
        at = fracEnd;
    }
    if (integer.empty() && fraction.empty())
        return {};
    bool scientific = false;
    long exponent = 0;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        std::size_t digitsAt = at + 1;
        const bool negative = digitsAt < text.size() && text[digitsAt] == '-';
        if (digitsAt < text.size() && (text[digitsAt] == '-' || text[digitsAt] == '+'))
            ++digitsAt;
        const std::size_t expEnd = DigitsFrom(text, digitsAt);
        // Past six digits the exponent is no number a run makes; such a text
        // keeps its own writing.
        if (expEnd == digitsAt || expEnd - digitsAt > 6)
            return {};
        exponent = std::stol(std::string(text.substr(digitsAt, expEnd - digitsAt)));
        if (negative)
            exponent = -exponent;
        scientific = true;
        at = expEnd;
    }
    if (at < text.size() && text[at] != ' ')
        return {};
    const std::string tail(text.substr(at));
    if (!separator)
        separator = '.';

    std::vector<std::string> shorter;
    const auto add = [&](const std::string& body) {
        const std::string written = sign + body + tail;
        if (written != text && std::find(shorter.begin(), shorter.end(), written) == shorter.end())
            shorter.push_back(written);
    };

    const std::string all = integer + fraction;
    const std::size_t significant = SignificantDigits(all);
    if (!scientific) {
        for (std::size_t decimals = fraction.size(); decimals-- > 0;) {
            std::string digits = all;
            const bool carried = RoundDigits(digits, integer.size() + decimals);
            const std::size_t integerDigits = integer.size() + (carried ? 1 : 0);
            if (SignificantDigits(digits) < std::min<std::size_t>(3, significant))
                break;
            std::string body = digits.substr(0, integerDigits);
            if (decimals > 0)
                body += separator + digits.substr(integerDigits);
            add(body);
        }
    }
    if (significant == 0)
        return shorter;

    // The value is 0.S x 10^point, S the significant digits.
    const std::size_t lead = all.size() - significant;
    std::string mantissa = all.substr(lead);
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    const long point = static_cast<long>(integer.size()) - static_cast<long>(lead) + exponent;
    for (std::size_t count = std::min<std::size_t>(mantissa.size(), 18); count > 0; --count) {
        std::string digits = mantissa;
        const long shown = point - 1 + (RoundDigits(digits, count) ? 1 : 0);
        digits.erase(std::max<std::size_t>(1, digits.find_last_not_of('0') + 1));
        std::string body = digits.substr(0, 1);
        if (digits.size() > 1)
            body += separator + digits.substr(1);
        body += 'E' + std::to_string(shown);
        add(body);
    }
    return shorter;
}

} // namespace korvo

#include "parser/ParseUtils.h"

#include <atomic>
#include <cmath>
#include <limits>

namespace korvo {

namespace {
std::atomic<char> GDecimalSeparator{'.'};
} // namespace

void SetDecimalSeparator(char Separator) {
    GDecimalSeparator.store(Separator);
}

char DecimalSeparator() {
    return GDecimalSeparator.load();
}

std::int64_t Round64(double X) {
    constexpr std::int64_t invalid = std::numeric_limits<std::int64_t>::min();
    // 2^63 is exact in double; every double below it in magnitude is either
    // whole or has a fraction, so rounding cannot reach 2^63 from below.
    constexpr double limit = 9223372036854775808.0;
    if (!(X >= -limit && X < limit))
        return invalid;
    const double whole = std::trunc(X);
    const double fraction = X - whole; // exact for doubles
    double r = whole;
    if (std::fabs(fraction) > 0.5 || (std::fabs(fraction) == 0.5 && std::fmod(whole, 2.0) != 0.0))
        r = whole + (X < 0 ? -1.0 : 1.0);
    if (!(r >= -limit && r < limit))
        return invalid;
    return static_cast<std::int64_t>(r);
}

} // namespace korvo

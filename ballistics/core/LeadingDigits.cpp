// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/LeadingDigits.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace korvo {
namespace {

constexpr std::size_t kKept = 18;

// ---- The exact expansion ----

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

// The value is m x 2^k with m the 64-bit significand (top bit set, also for a
// denormal: frexp normalises it).
std::pair<std::uint64_t, int> SignificandAndExponent(Real x) {
    int binaryExponent = 0;
    const Real fraction = std::frexp(std::fabs(x), &binaryExponent); // in [0.5, 1)
    return {static_cast<std::uint64_t>(std::ldexp(fraction, 64)), binaryExponent - 64};
}

// ---- The fast scaling ----

__extension__ typedef unsigned __int128 U128;

// A positive number M x 2^E with M normalised to 128 bits (top bit set). Every
// product below is truncated, so an approximation never exceeds the true value.
struct Wide {
    U128 m;
    int e;
};

constexpr U128 kTopBit = U128{1} << 127;

Wide Multiply(const Wide& a, const Wide& b) {
    const auto a0 = static_cast<std::uint64_t>(a.m), a1 = static_cast<std::uint64_t>(a.m >> 64);
    const auto b0 = static_cast<std::uint64_t>(b.m), b1 = static_cast<std::uint64_t>(b.m >> 64);
    const U128 p00 = U128{a0} * b0, p01 = U128{a0} * b1, p10 = U128{a1} * b0, p11 = U128{a1} * b1;
    const U128 mid = (p00 >> 64) + static_cast<std::uint64_t>(p01) + static_cast<std::uint64_t>(p10);
    U128 high = p11 + (p01 >> 64) + (p10 >> 64) + (mid >> 64);
    int e = a.e + b.e + 128;
    if ((high & kTopBit) == 0) { // the product of two normalised numbers lost at most one bit
        high = (high << 1) | (static_cast<std::uint64_t>(mid) >> 63);
        --e;
    }
    return {high, e};
}

// 5^(2^j) and 5^-(2^j) for j = 0..12, enough for any power up to 5^8191: the
// values of the extended range need at most 10^4970 to bring their digits
// before the point. Built by squaring from 5 (exact) and from 1/5 truncated to
// 128 bits; the relative error of 5^-4096 stays below 2^-114.
struct FivePowers {
    static constexpr int kCount = 13;
    std::array<Wide, kCount> up{};
    std::array<Wide, kCount> down{};
    FivePowers() {
        up[0] = {U128{5} << 125, -125};
        down[0] = {~U128{0} / 5 * 4, -130}; // 0xCCCC...CC, 2^130 / 5 truncated
        for (int j = 1; j < kCount; ++j) {
            up[j] = Multiply(up[j - 1], up[j - 1]);
            down[j] = Multiply(down[j - 1], down[j - 1]);
        }
    }
};

// 10^p as 5^p x 2^p; nullopt beyond the table.
std::optional<Wide> PowerOfTen(int p) {
    static const FivePowers powers;
    const unsigned magnitude = static_cast<unsigned>(p < 0 ? -p : p);
    if (magnitude >= (1u << FivePowers::kCount))
        return std::nullopt;
    Wide result{kTopBit, -127};
    for (int j = 0; j < FivePowers::kCount; ++j)
        if (magnitude & (1u << j))
            result = Multiply(result, p < 0 ? powers.down[j] : powers.up[j]);
    result.e += p;
    return result;
}

// The whole part and the first 64 bits of the fraction of m x 2^k x 10^p.
struct Scaled {
    std::uint64_t whole;
    std::uint64_t fraction;
};

std::optional<Scaled> Scale(std::uint64_t m, int k, int p) {
    const std::optional<Wide> ten = PowerOfTen(p);
    if (!ten)
        return std::nullopt;
    // m x M: 192 bits in three words w2 w1 w0 (w0 is below every bit used).
    const U128 t0 = U128{m} * static_cast<std::uint64_t>(ten->m);
    const U128 t1 = U128{m} * static_cast<std::uint64_t>(ten->m >> 64);
    const U128 mid = (t0 >> 64) + static_cast<std::uint64_t>(t1);
    const auto w1 = static_cast<std::uint64_t>(mid);
    const auto w2 = static_cast<std::uint64_t>((t1 >> 64) + (mid >> 64));
    // The product times 2^(k + E): the lowest `point` bits are the fraction.
    const int point = -(k + ten->e);
    if (point < 128 || point > 191)
        return std::nullopt;
    const int shift = point - 128;
    if (shift == 0)
        return Scaled{w2, w1};
    return Scaled{w2 >> shift, (w2 << (64 - shift)) | (w1 >> shift)};
}

constexpr std::uint64_t kTenTo17 = 100000000000000000ULL;
constexpr std::uint64_t kTenTo18 = 1000000000000000000ULL;

// The fast way, or nullopt where it cannot decide. The scaled value y has 18
// digits before the point; its error (below 2^-50 absolute) is far inside the
// margin of 2^-32 kept around the places where the rounding could turn: a
// fraction near 0 or 1 (the value's digits may end there, or the count of
// digits be one off) and near one half (a tie).
std::optional<Decimal> FastDigits(Real x) {
    const auto [m, k] = SignificandAndExponent(x);
    // The value lies in [2^(k+63), 2^(k+64)), so its decimal exponent is
    // floor((k + 64) log10 2) + 1 or one less.
    int exponent = static_cast<int>(std::floor(static_cast<Real>(k + 64) * 0.30102999566398119521L)) + 1;
    std::optional<Scaled> y = Scale(m, k, static_cast<int>(kKept) - exponent);
    if (y && y->whole < kTenTo17) {
        --exponent;
        y = Scale(m, k, static_cast<int>(kKept) - exponent);
    }
    if (!y || y->whole < kTenTo17 || y->whole >= kTenTo18)
        return std::nullopt;
    constexpr std::uint64_t kMargin = std::uint64_t{1} << 32;
    constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
    const std::uint64_t f = y->fraction;
    if (f < kMargin || f > ~std::uint64_t{0} - kMargin || (f > kHalf - kMargin && f < kHalf + kMargin))
        return std::nullopt;
    std::uint64_t digits = y->whole + (f >= kHalf ? 1 : 0);
    if (digits == kTenTo18) {
        digits = kTenTo17;
        ++exponent;
    }
    return Decimal{std::signbit(x), std::to_string(digits), exponent};
}

} // namespace

Decimal LeadingDigitsExact(Real x) {
    Decimal d;
    d.Negative = std::signbit(x);
    if (x == 0)
        return d;
    // m x 2^k is a whole number when k >= 0, and (m x 5^-k) x 10^k when k < 0;
    // both have at most a few thousand digits.
    const auto [significand, k] = SignificandAndExponent(x);
    BigWhole n(significand);
    MultiplyByPowerOf(n, k >= 0 ? 2 : 5, k >= 0 ? k : -k);
    std::string digits = n.DecimalDigits();
    d.Exponent = static_cast<int>(digits.size()) + (k < 0 ? k : 0);
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

Decimal LeadingDigits(Real x) {
    if (x == 0)
        return Decimal{std::signbit(x), {}, 0};
    if (std::optional<Decimal> fast = FastDigits(x))
        return std::move(*fast);
    Decimal exact = LeadingDigitsExact(x);
    exact.Digits.resize(kKept, '0');
    return exact;
}

} // namespace korvo

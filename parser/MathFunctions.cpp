// SPDX-License-Identifier: GPL-3.0-or-later

#include "parser/MathFunctions.h"

#include "parser/ParseErrors.h"
#include "parser/ParseUtils.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

namespace korvo {

namespace {

using Real = long double;

constexpr bool L = true, R = true, F = true, N = false;

// Comparisons with 0 that the library treats as zero: below them the
// functions' formulas lose all precision or divide by almost nothing.
constexpr Real Tiny16 = 1e-16L;
constexpr Real Tiny12 = 1e-12L;
// Beyond 2^63 the extended-precision sine and cosine have no meaningful
// argument reduction; the library gives 0 there.
constexpr Real TrigLimit = 9223372036854775808.0L;
// The double nearest pi, the value of "pi" and the base of the angle factors.
constexpr double PiDouble = 3.141592653589793;
constexpr Real Pi = 3.14159265358979323846264338327950288L;

} // namespace

// Every function folds except the random draws: a folded draw would freeze
// one random value into the optimized script.
const std::array<TMathFunctionInfo, MathFunctionCount> MathFunctionTable{{
    {"div", L, R, F, 0, pcExactly},
    {"mod", L, R, F, 0, pcExactly},
    {"^", L, R, F, 0, pcExactly},
    {"!", L, N, F, 0, pcExactly},
    {"sqrt", L, R, F, 0, pcExactly},
    {"int", N, R, F, 0, pcExactly},
    {"round", N, R, F, 0, pcExactly},
    {"trunc", N, R, F, 0, pcExactly},
    {"abs", N, R, F, 0, pcExactly},
    {"frac", N, R, F, 0, pcExactly},
    {"ln", N, R, F, 0, pcExactly},
    {"lg", N, R, F, 0, pcExactly},
    {"log", L, R, F, 0, pcExactly},
    {"exp", N, R, F, 0, pcExactly},
    {"pi", N, N, F, 0, pcExactly},
    {"random", N, R, N, 0, pcExactly},
    {"sin", N, R, F, 0, pcExactly},
    {"arcsin", N, R, F, 0, pcExactly},
    {"sinh", N, R, F, 0, pcExactly},
    {"arcsinh", N, R, F, 0, pcExactly},
    {"cos", N, R, F, 0, pcExactly},
    {"arccos", N, R, F, 0, pcExactly},
    {"cosh", N, R, F, 0, pcExactly},
    {"arccosh", N, R, F, 0, pcExactly},
    {"tan", N, R, F, 0, pcExactly},
    {"arctan", N, R, F, 0, pcExactly},
    {"tanh", N, R, F, 0, pcExactly},
    {"arctanh", N, R, F, 0, pcExactly},
    {"cotan", N, R, F, 0, pcExactly},
    {"arccotan", N, R, F, 0, pcExactly},
    {"cotanh", N, R, F, 0, pcExactly},
    {"arccotanh", N, R, F, 0, pcExactly},
    {"sec", N, R, F, 0, pcExactly},
    {"arcsec", N, R, F, 0, pcExactly},
    {"sech", N, R, F, 0, pcExactly},
    {"arcsech", N, R, F, 0, pcExactly},
    {"csc", N, R, F, 0, pcExactly},
    {"arccsc", N, R, F, 0, pcExactly},
    {"csch", N, R, F, 0, pcExactly},
    {"arccsch", N, R, F, 0, pcExactly},
    {"arctan2", N, N, F, 2, pcExactly},
    {"hypot", N, N, F, 2, pcExactly},
    {"radtodeg", N, R, F, 0, pcExactly},
    {"radtograd", N, R, F, 0, pcExactly},
    {"radtocycle", N, R, F, 0, pcExactly},
    {"degtorad", N, R, F, 0, pcExactly},
    {"degtograd", N, R, F, 0, pcExactly},
    {"degtocycle", N, R, F, 0, pcExactly},
    {"gradtorad", N, R, F, 0, pcExactly},
    {"gradtodeg", N, R, F, 0, pcExactly},
    {"gradtocycle", N, R, F, 0, pcExactly},
    {"cycletorad", N, R, F, 0, pcExactly},
    {"cycletodeg", N, R, F, 0, pcExactly},
    {"cycletograd", N, R, F, 0, pcExactly},
    {"lnxp1", N, R, F, 0, pcExactly},
    {"log10", N, R, F, 0, pcExactly},
    {"log2", N, R, F, 0, pcExactly},
    {"intpower", N, N, F, 2, pcExactly},
    {"power", N, N, F, 2, pcExactly},
    {"ceil", N, R, F, 0, pcExactly},
    {"floor", N, R, F, 0, pcExactly},
    {"poly", N, N, F, 2, pcAtLeast},
    {"mean", N, N, F, 1, pcAtLeast},
    {"sum", N, N, F, 1, pcAtLeast},
    {"sumint", N, N, F, 1, pcAtLeast},
    {"sumofsquares", N, N, F, 1, pcAtLeast},
    {"minvalue", N, N, F, 1, pcAtLeast},
    {"minintvalue", N, N, F, 1, pcAtLeast},
    {"min", N, N, F, 2, pcExactly},
    {"maxvalue", N, N, F, 1, pcAtLeast},
    {"maxintvalue", N, N, F, 1, pcAtLeast},
    {"max", N, N, F, 2, pcExactly},
    {"stddev", N, N, F, 1, pcAtLeast},
    {"popnstddev", N, N, F, 1, pcAtLeast},
    {"variance", N, N, F, 1, pcAtLeast},
    {"popnvariance", N, N, F, 1, pcAtLeast},
    {"totalvariance", N, N, F, 1, pcAtLeast},
    {"norm", N, N, F, 1, pcAtLeast},
    {"randg", N, N, N, 2, pcExactly},
    {"randomrange", N, N, N, 2, pcExactly},
    {"randomfrom", N, N, N, 1, pcAtLeast},
    {"ensurerange", N, N, F, 3, pcExactly},
}};

void CheckParameterCount(const TParameters& Parameters, int Count, TParameterCountMode Mode) {
    const auto n = static_cast<long long>(Parameters.size());
    if (Mode != pcAtMost && n < Count)
        throw std::runtime_error(SNotEnoughParameters);
    if (Mode != pcAtLeast && n > Count)
        throw std::runtime_error(STooManyParameters);
}

namespace {

// The low 32 bits of Round(x), read as a signed number.
std::int32_t Whole32(double X) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(Round64(X))));
}

// x truncated toward zero to 64 bits; NaN and values outside the range give
// INT64_MIN, the value the processor's conversion gives for them.
std::int64_t Trunc64(Real X) {
    if (!(X > -9223372036854775809.0L && X < 9223372036854775808.0L))
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(X);
}

// b^e by repeated squaring, e taken as a 64-bit magnitude so that the
// 32-bit minimum has a magnitude too.
Real IntPower(Real Base, std::int64_t Exponent) {
    if (Exponent == 0)
        return 1;
    std::uint64_t e =
        Exponent < 0 ? 0 - static_cast<std::uint64_t>(Exponent) : static_cast<std::uint64_t>(Exponent);
    Real result = 1, b = Base;
    while (e != 0) {
        if (e & 1)
            result *= b;
        e >>= 1;
        if (e != 0)
            b *= b;
    }
    return Exponent < 0 ? 1 / result : result;
}

Real Power(Real Base, Real Exponent) {
    if (Exponent == 0)
        return 1;
    if (Base == 0 && Exponent > 0)
        return 0;
    if (std::trunc(Exponent) == Exponent && std::fabs(Exponent) <= 2147483647.0L)
        return IntPower(Base, static_cast<std::int64_t>(Exponent));
    return std::exp(Exponent * std::log(Base));
}

// Equality within a relative 1e-16, the test that sends "arctanh" and
// "arccotanh" to an infinity at the ends of their domain.
bool SameValue(Real A, Real B) {
    const Real scale = std::fmax(std::fabs(A), std::fabs(B));
    return std::fabs(A - B) <= scale * Tiny16;
}

// One generator for every draw of the library, seeded once from a clock.
std::mt19937_64& Generator() {
    static std::mt19937_64 generator(
        static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    return generator;
}

// A uniform draw in [0, 1) with the 53 bits of a double.
double UniformDraw() {
    return static_cast<double>(Generator()() >> 11) * 0x1.0p-53;
}

// A whole number from 0 to Count - 1; 0 for a count of 0 or less.
std::int64_t RandomBelow(std::int64_t Count) {
    if (Count <= 0)
        return 0;
    return static_cast<std::int64_t>(Generator()() % static_cast<std::uint64_t>(Count));
}

Real RandG(Real Mean, Real Deviation) {
    Real u, v, s;
    do {
        u = 2 * static_cast<Real>(UniformDraw()) - 1;
        v = 2 * static_cast<Real>(UniformDraw()) - 1;
        s = u * u + v * v;
    } while (s >= 1 || s == 0); // s = 0 would put ln 0 into the deviate
    return Mean + Deviation * u * std::sqrt(-2 * std::log(s) / s);
}

// The values of the parameters from First on, or their 32-bit whole
// numbers with AsWhole.
std::vector<Real> Values(const TParameters& Parameters, std::size_t First, bool AsWhole) {
    std::vector<Real> values;
    values.reserve(Parameters.size());
    for (std::size_t i = First; i < Parameters.size(); ++i)
        values.push_back(AsWhole ? static_cast<Real>(Whole32(Parameters[i].Value)) : Parameters[i].Value);
    return values;
}

struct TSums {
    Real Sum = 0, SumOfSquares = 0;
};

TSums Sums(const std::vector<Real>& Values) {
    TSums s;
    for (Real v : Values) {
        s.Sum += v;
        s.SumOfSquares += v * v;
    }
    return s;
}

Real TotalVariance(const std::vector<Real>& Values) {
    const TSums s = Sums(Values);
    return s.SumOfSquares - s.Sum * s.Sum / static_cast<Real>(Values.size());
}

// The statistical functions give the refused NaN for a list they cannot
// take: an empty list, a variance of one value, a 32-bit overflow.
Real Statistic(TMathFunction F, const TParameters& Parameters) {
    const bool whole = F == mfSumInt || F == mfMinIntValue || F == mfMaxIntValue;
    const std::vector<Real> v = Values(Parameters, F == mfPoly ? 1 : 0, whole);
    const Real n = static_cast<Real>(v.size());
    if (v.empty())
        return F == mfPoly ? 0 : ZeroDivideNaN;
    switch (F) {
    case mfPoly: {
        const Real x = Parameters[0].Value;
        Real result = 0;
        for (auto it = v.rbegin(); it != v.rend(); ++it)
            result = result * x + *it;
        return result;
    }
    case mfMean:
        return Sums(v).Sum / n;
    case mfSum:
        return Sums(v).Sum;
    case mfSumInt: {
        std::int64_t sum = 0;
        for (Real x : v) {
            sum += static_cast<std::int64_t>(x);
            if (sum > std::numeric_limits<std::int32_t>::max() ||
                sum < std::numeric_limits<std::int32_t>::min())
                return ZeroDivideNaN;
        }
        return static_cast<Real>(sum);
    }
    case mfSumOfSquares:
        return Sums(v).SumOfSquares;
    case mfNorm:
        return std::sqrt(Sums(v).SumOfSquares);
    case mfMinValue:
    case mfMinIntValue: {
        Real m = v[0];
        for (Real x : v)
            if (x < m)
                m = x;
        return m;
    }
    case mfMaxValue:
    case mfMaxIntValue: {
        Real m = v[0];
        for (Real x : v)
            if (x > m)
                m = x;
        return m;
    }
    case mfTotalVariance:
        return TotalVariance(v);
    case mfPopnVariance:
        return TotalVariance(v) / n;
    case mfPopnStdDev:
        return std::sqrt(TotalVariance(v) / n);
    case mfVariance:
        return v.size() < 2 ? ZeroDivideNaN : TotalVariance(v) / (n - 1);
    case mfStdDev:
        return v.size() < 2 ? ZeroDivideNaN : std::sqrt(TotalVariance(v) / (n - 1));
    default:
        return ZeroDivideNaN;
    }
}

// Angle units as multiples of the radian: radians, degrees, grads, cycles.
constexpr Real RadiansPer[4] = {1, Pi / 180, Pi / 200, 2 * Pi};

Real ConvertAngle(Real X, int From, int To) {
    const Real radians = From == 0 ? X : X * RadiansPer[From];
    return To == 0 ? radians : radians / RadiansPer[To];
}

} // namespace

double CallMathFunction(TMathFunction F, double LValue, double RValue, const TParameters& Parameters,
                        TExceptionTypes ExceptionTypes) {
    const bool refuse = ExceptionTypes.Contains(etZeroDivide);
    const Real l = LValue, r = RValue;
    const auto p = [&](std::size_t i) -> Real { return i < Parameters.size() ? Parameters[i].Value : 0.0; };
    const auto outsideUnit = [](Real x) { return std::isnan(x) || x < -1 || x > 1; };
    Real v = 0;
    switch (F) {
    case mfDiv:
    case mfMod: {
        const std::int64_t a = Round64(LValue), b = Round64(RValue);
        if (b == 0) {
            if (refuse)
                return ZeroDivideNaN;
            throw std::runtime_error("Division by zero");
        }
        // The one quotient outside the 64-bit range wraps to itself, as the
        // two's-complement negation of the minimum does.
        if (b == -1)
            return F == mfDiv
                       ? static_cast<double>(static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(a)))
                       : 0.0;
        return static_cast<double>(F == mfDiv ? a / b : a % b);
    }
    case mfPower:
        v = Power(l, r);
        break;
    case mfFactorial: {
        const auto k = static_cast<std::int16_t>(
            static_cast<std::uint16_t>(static_cast<std::uint64_t>(Round64(LValue))));
        std::uint64_t product = 1; // wraps silently from 21! on
        for (std::uint64_t i = 2; i <= static_cast<std::uint64_t>(k > 0 ? k : 0); ++i)
            product *= i;
        return static_cast<double>(static_cast<std::int64_t>(product));
    }
    case mfSqrt:
        if (refuse && std::fabs(l) <= Tiny12)
            return ZeroDivideNaN;
        v = Power(r, 1 / l);
        break;
    case mfInt:
        v = std::trunc(r);
        break;
    case mfRound:
        return static_cast<double>(Round64(RValue));
    case mfTrunc:
        return static_cast<double>(Trunc64(r));
    case mfAbs:
        v = std::fabs(r);
        break;
    case mfFrac:
        v = r - std::trunc(r);
        break;
    case mfLn:
        v = std::log(r);
        break;
    case mfLg:
    case mfLog10:
        v = std::log10(r);
        break;
    case mfLog:
        v = std::log(r) / std::log(l);
        break;
    case mfExp:
        v = std::exp(r);
        break;
    case mfPi:
        return PiDouble;
    case mfRandom:
        return static_cast<double>(RandomBelow(Whole32(RValue)));
    case mfSin:
        v = std::fabs(r) >= TrigLimit ? 0 : std::sin(r);
        break;
    case mfCos:
        v = std::fabs(r) >= TrigLimit ? 0 : std::cos(r);
        break;
    case mfArcSin:
    case mfArcCos:
        if (refuse && outsideUnit(r))
            return ZeroDivideNaN;
        v = F == mfArcSin ? std::asin(r) : std::acos(r);
        break;
    case mfSinh:
        v = std::fabs(r) <= Tiny16 ? 0 : std::sinh(r);
        break;
    case mfArcSinh:
        v = std::log(r + std::sqrt(r * r + 1));
        break;
    case mfCosh:
        v = std::fabs(r) <= Tiny16 ? 1 : std::cosh(r);
        break;
    case mfArcCosh:
        if (refuse && (std::isnan(r) || r < 1))
            return ZeroDivideNaN;
        v = std::log(r + (r + 1) * std::sqrt((r - 1) / (r + 1)));
        break;
    case mfTan:
        if (refuse && std::fabs(std::cos(r)) <= Tiny16)
            return ZeroDivideNaN;
        v = std::tan(r);
        break;
    case mfArcTan:
        v = std::atan(r);
        break;
    case mfTanh:
    case mfCotanh:
        // tanhl is sinh ÷ cosh without their overflow for large arguments.
        v = std::fabs(r) <= Tiny16 ? 0 : std::tanh(r);
        if (F == mfCotanh)
            v = 1 / v;
        break;
    case mfArcTanh:
    case mfArcCotanh:
        if (SameValue(r, 1))
            return std::numeric_limits<double>::infinity();
        if (SameValue(r, -1))
            return -std::numeric_limits<double>::infinity();
        if (F == mfArcTanh) {
            if (refuse && outsideUnit(r))
                return ZeroDivideNaN;
            v = std::log((1 + r) / (1 - r)) / 2;
        } else {
            v = std::log((r + 1) / (r - 1)) / 2;
        }
        break;
    case mfCotan:
        if (refuse && std::fabs(std::sin(r)) <= Tiny16)
            return ZeroDivideNaN;
        v = 1 / std::tan(r);
        break;
    case mfArcCotan:
        v = std::fabs(r) <= Tiny16 ? Pi / 2 : std::atan(1 / r);
        break;
    case mfSec:
        if (refuse && std::fabs(std::cos(r)) <= Tiny16)
            return ZeroDivideNaN;
        v = 1 / std::cos(r);
        break;
    case mfArcSec:
        v = std::fabs(r) <= Tiny16 ? std::numeric_limits<Real>::infinity() : std::acos(1 / r);
        break;
    case mfSech:
        v = 1 / std::cosh(r);
        break;
    case mfArcSech:
        if (std::fabs(r) <= Tiny16)
            v = std::numeric_limits<Real>::infinity();
        else if (r == 1)
            v = 0;
        else
            v = std::log((std::sqrt(1 - r * r) + 1) / r);
        break;
    case mfCsc:
        if (refuse && std::fabs(std::sin(r)) <= Tiny16)
            return ZeroDivideNaN;
        v = 1 / std::sin(r);
        break;
    case mfArcCsc:
        v = std::fabs(r) <= Tiny16 ? std::numeric_limits<Real>::infinity() : std::asin(1 / r);
        break;
    case mfCsch:
        if (refuse && std::fabs(r) <= Tiny12)
            return ZeroDivideNaN;
        v = 1 / (std::fabs(r) <= Tiny16 ? 0 : std::sinh(r));
        break;
    case mfArcCsch:
        v = std::log(std::sqrt(1 / (r * r) + 1) + 1 / r);
        break;
    case mfArcTan2:
        v = std::atan2(p(0), p(1));
        break;
    case mfHypot:
        v = std::sqrt(p(0) * p(0) + p(1) * p(1));
        break;
    case mfRadToDeg:
    case mfRadToGrad:
    case mfRadToCycle:
    case mfDegToRad:
    case mfDegToGrad:
    case mfDegToCycle:
    case mfGradToRad:
    case mfGradToDeg:
    case mfGradToCycle:
    case mfCycleToRad:
    case mfCycleToDeg:
    case mfCycleToGrad: {
        // Rows of three per source unit, in the order radians, degrees,
        // grads, cycles, each listing the other three units in that order.
        const int k = F - mfRadToDeg, from = k / 3, slot = k % 3;
        v = ConvertAngle(r, from, slot < from ? slot : slot + 1);
        break;
    }
    case mfLnXP1:
        v = std::log1p(r);
        break;
    case mfLog2:
        v = std::log2(r);
        break;
    case mfIntPower:
        v = IntPower(static_cast<Real>(Round64(p(0))), Whole32(p(1)));
        break;
    case mfPowerList:
        v = Power(p(0), p(1));
        break;
    case mfCeil:
    case mfFloor: {
        auto whole = static_cast<std::uint32_t>(static_cast<std::uint64_t>(Trunc64(r)));
        const Real fraction = r - std::trunc(r);
        if (F == mfCeil && fraction > 0)
            ++whole;
        if (F == mfFloor && fraction < 0)
            --whole;
        return static_cast<double>(static_cast<std::int32_t>(whole));
    }
    case mfMin:
        v = p(0) < p(1) ? p(0) : p(1);
        break;
    case mfMax:
        v = p(0) > p(1) ? p(0) : p(1);
        break;
    case mfRandG:
        v = RandG(p(0), p(1));
        break;
    case mfRandomRange: {
        const std::int64_t a = Whole32(p(0)), b = Whole32(p(1));
        if (a == b)
            return static_cast<double>(a);
        const std::int64_t low = a < b ? a : b;
        return static_cast<double>(low + RandomBelow(a < b ? b - a : a - b));
    }
    case mfRandomFrom:
        if (Parameters.empty())
            return ZeroDivideNaN;
        return Parameters[static_cast<std::size_t>(RandomBelow(static_cast<std::int64_t>(Parameters.size())))]
            .Value;
    case mfEnsureRange: {
        const Real lo = static_cast<Real>(Round64(p(1))), hi = static_cast<Real>(Round64(p(2)));
        v = p(0) < lo ? lo : (p(0) > hi ? hi : p(0));
        break;
    }
    default:
        v = Statistic(F, Parameters);
        break;
    }
    return static_cast<double>(v);
}

void SeedMathRandom(std::uint64_t Seed) {
    Generator().seed(Seed);
}

} // namespace korvo

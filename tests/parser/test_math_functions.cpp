// SPDX-License-Identifier: GPL-3.0-or-later

// The function library called directly, without the executor.
#include "parser/MathFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>

namespace korvo {
namespace {

const double Inf = std::numeric_limits<double>::infinity();
const TExceptionTypes Refuse{etZeroDivide};
const TExceptionTypes Compute{};

TParameters Params(std::initializer_list<double> Values) {
    TParameters p;
    for (double v : Values)
        AddParameter(p, 0, v);
    return p;
}

bool IsRefusedNaN(double X) {
    std::uint64_t bits;
    std::memcpy(&bits, &X, sizeof bits);
    return bits == 0xFFF8000000000000u;
}

double Call(TMathFunction F, double L, double R, TExceptionTypes E = Refuse) {
    return CallMathFunction(F, L, R, {}, E);
}
double List(TMathFunction F, std::initializer_list<double> Values) {
    return CallMathFunction(F, 0, 0, Params(Values), Refuse);
}

TEST(MathFunctionTable, NamesShapesAndCountsInRegistrationOrder) {
    ASSERT_EQ(MathFunctionTable.size(), 82u);
    EXPECT_STREQ(MathFunctionTable[mfDiv].Name, "div");
    EXPECT_STREQ(MathFunctionTable[mfEnsureRange].Name, "ensurerange");
    EXPECT_STREQ(MathFunctionTable[mfCycleToGrad].Name, "cycletograd");
    std::set<std::string> names;
    for (const TMathFunctionInfo& f : MathFunctionTable)
        EXPECT_TRUE(names.insert(f.Name).second) << f.Name;

    struct Row {
        TMathFunction F;
        bool Left, Right;
        int Count;
        TParameterCountMode Mode;
    };
    const Row rows[] = {
        {mfDiv, true, true, 0, pcExactly},          {mfFactorial, true, false, 0, pcExactly},
        {mfSqrt, true, true, 0, pcExactly},         {mfLog, true, true, 0, pcExactly},
        {mfPi, false, false, 0, pcExactly},         {mfSin, false, true, 0, pcExactly},
        {mfArcTan2, false, false, 2, pcExactly},    {mfPoly, false, false, 2, pcAtLeast},
        {mfMean, false, false, 1, pcAtLeast},       {mfMin, false, false, 2, pcExactly},
        {mfRandomFrom, false, false, 1, pcAtLeast}, {mfEnsureRange, false, false, 3, pcExactly},
    };
    for (const Row& r : rows) {
        const TMathFunctionInfo& f = MathFunctionTable[r.F];
        EXPECT_EQ(f.LeftOperand, r.Left) << f.Name;
        EXPECT_EQ(f.RightOperand, r.Right) << f.Name;
        EXPECT_EQ(f.ParamCount, r.Count) << f.Name;
        if (r.Count > 0) {
            EXPECT_EQ(f.CountMode, r.Mode) << f.Name;
        }
    }
    // Only the draws stay out of the optimizer's folding.
    for (int i = 0; i < MathFunctionCount; ++i) {
        const bool draw = i == mfRandom || i == mfRandG || i == mfRandomRange || i == mfRandomFrom;
        EXPECT_EQ(MathFunctionTable[static_cast<std::size_t>(i)].Foldable, !draw)
            << MathFunctionTable[i].Name;
    }
}

TEST(MathFunctions, WholeNumberOperators) {
    struct Row {
        TMathFunction F;
        double L, R, Expected;
    } const rows[] = {
        {mfDiv, 7, 2, 3},
        {mfDiv, -7, 2, -3},
        {mfMod, -7, 3, -1},
        {mfMod, 7, -3, 1},
        {mfDiv, 7.5, 2, 4}, // 7.5 rounds to 8
        {mfDiv, 6.5, 2, 3}, // 6.5 rounds to 6
        // NaN rounds to the 64-bit minimum; its quotient by -1 wraps to
        // itself instead of trapping.
        {mfDiv, std::nan(""), -1, -9223372036854775808.0},
        {mfMod, std::nan(""), -1, 0},
        {mfFactorial, 5, 0, 120},
        {mfFactorial, 0, 0, 1},
        {mfFactorial, -3, 0, 1},
        {mfFactorial, 20, 0, 2432902008176640000.0},
        {mfFactorial, 21, 0, static_cast<double>(static_cast<std::int64_t>(2432902008176640000ull * 21))},
        {mfFactorial, 65536, 0, 1},   // the count is the low 16 bits
        {mfFactorial, 65541, 0, 120}, // 65536 + 5
        {mfFactorial, 32768, 0, 1},   // a negative 16-bit count
        {mfRound, 0, 2.5, 2},
        {mfRound, 0, 3.5, 4},
        {mfRound, 0, std::nan(""), -9223372036854775808.0},
        {mfRound, 0, 1e300, -9223372036854775808.0},
        {mfTrunc, 0, -2.7, -2},
        {mfTrunc, 0, 1e300, -9223372036854775808.0},
        {mfInt, 0, -1e300, -1e300},
        {mfInt, 0, 2.9, 2},
        {mfFrac, 0, -2.5, -0.5},
        {mfCeil, 0, 1.2, 2},
        {mfCeil, 0, -1.2, -1},
        {mfFloor, 0, -1.2, -2},
        {mfFloor, 0, 1.2, 1},
        {mfCeil, 0, 4294967296.5, 1}, // the low 32 bits, plus 1
        {mfAbs, 0, -3, 3},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Call(r.F, r.L, r.R), r.Expected) << MathFunctionTable[r.F].Name << " " << r.L << " " << r.R;
}

TEST(MathFunctions, ZeroDivisorOfDivAndModIsRefusedOrRaised) {
    for (TMathFunction f : {mfDiv, mfMod}) {
        EXPECT_TRUE(IsRefusedNaN(Call(f, 7, 0))) << MathFunctionTable[f].Name;
        EXPECT_TRUE(IsRefusedNaN(Call(f, 7, 0.4))) << "0.4 rounds to 0";
        try {
            Call(f, 7, 0, Compute);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Division by zero");
        }
    }
}

TEST(MathFunctions, PowersAndRoots) {
    struct Row {
        TMathFunction F;
        double L, R, Expected;
    } const rows[] = {
        {mfPower, 2, 0, 1},     {mfPower, 0, 0, 1},    {mfPower, 0, 3, 0},
        {mfPower, 0, -1, Inf},  {mfPower, 2, -1, 0.5}, {mfPower, -2, 3, -8},
        {mfPower, 2, 10, 1024}, {mfPower, 4, 0.5, 2},  {mfSqrt, 3, 8, 2},
        {mfSqrt, 2, 9, 3},      {mfLog, 2, 8, 3},      {mfLg, 0, 1000, 3},
        {mfLog10, 0, 1000, 3},  {mfLog2, 0, 1024, 10}, {mfLn, 0, 0, -Inf},
        {mfExp, 0, 0, 1},       {mfLnXP1, 0, 0, 0},    {mfPi, 0, 0, 3.141592653589793},
    };
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(Call(r.F, r.L, r.R), r.Expected)
            << MathFunctionTable[r.F].Name << " " << r.L << " " << r.R;
    EXPECT_TRUE(std::isnan(Call(mfPower, -8, 1.0 / 3)));
    EXPECT_TRUE(IsRefusedNaN(Call(mfSqrt, 0, 8)));
    EXPECT_TRUE(IsRefusedNaN(Call(mfSqrt, 1e-13, 8)));
    EXPECT_EQ(Call(mfSqrt, 0, 8, Compute), Inf);

    EXPECT_EQ(List(mfPowerList, {-2, 3}), -8);
    EXPECT_EQ(List(mfIntPower, {2.5, 3}), 8); // the base rounds to 2
    EXPECT_EQ(List(mfIntPower, {2, -2}), 0.25);
    EXPECT_EQ(List(mfIntPower, {7, 0}), 1);
    EXPECT_EQ(List(mfIntPower, {2, 4294967299.0}), 8); // the exponent's low 32 bits
    EXPECT_EQ(List(mfIntPower, {1, -2147483648.0}), 1);
}

TEST(MathFunctions, TrigonometryAndItsRefusedCases) {
    const double halfPi = 1.5707963267948966;
    EXPECT_TRUE(IsRefusedNaN(Call(mfTan, 0, halfPi)));
    EXPECT_NEAR(Call(mfTan, 0, halfPi, Compute), 1.633123935319537e16, 1e2);
    EXPECT_TRUE(IsRefusedNaN(Call(mfSec, 0, halfPi)));
    EXPECT_TRUE(IsRefusedNaN(Call(mfCotan, 0, 0)));
    EXPECT_EQ(Call(mfCotan, 0, 0, Compute), Inf);
    EXPECT_TRUE(IsRefusedNaN(Call(mfCsc, 0, 0)));
    EXPECT_TRUE(IsRefusedNaN(Call(mfCsch, 0, 1e-13)));
    EXPECT_EQ(Call(mfCsch, 0, 0, Compute), Inf);
    for (TMathFunction f : {mfArcSin, mfArcCos, mfArcTanh}) {
        EXPECT_TRUE(IsRefusedNaN(Call(f, 0, 2))) << MathFunctionTable[f].Name;
        EXPECT_TRUE(IsRefusedNaN(Call(f, 0, std::nan("")))) << MathFunctionTable[f].Name;
        EXPECT_TRUE(std::isnan(Call(f, 0, 2, Compute))) << MathFunctionTable[f].Name;
    }
    EXPECT_TRUE(IsRefusedNaN(Call(mfArcCosh, 0, 0.5)));

    struct Row {
        TMathFunction F;
        double R, Expected;
    } const rows[] = {
        {mfSin, 0.5, std::sin(0.5)},
        {mfSin, 1e19, 0}, // beyond 2^63
        {mfCos, -1e19, 0},
        {mfSinh, 1e-17, 0},
        {mfCosh, 1e-17, 1},
        {mfTanh, 1e-17, 0},
        {mfTanh, 20000, 1}, // no overflow of sinh ÷ cosh
        {mfArcTanh, 1, Inf},
        {mfArcTanh, -1, -Inf},
        {mfArcTanh, 0.5, std::atanh(0.5)},
        {mfArcCotanh, 1, Inf},
        {mfArcCotanh, 2, std::atanh(0.5)},
        {mfArcCotan, 0, halfPi},
        {mfArcCotan, 1, std::atan(1.0)},
        {mfArcSec, 0, Inf},
        {mfArcSec, 2, std::acos(0.5)},
        {mfArcSech, 0, Inf},
        {mfArcSech, 1, 0},
        {mfArcSech, 0.5, std::acosh(2.0)},
        {mfArcCsc, 0, Inf},
        {mfArcCsc, 2, std::asin(0.5)},
        {mfArcSinh, 1, std::asinh(1.0)},
        {mfArcCosh, 2, std::acosh(2.0)},
        {mfArcCsch, 1, std::asinh(1.0)},
        {mfSech, 0, 1},
        {mfCotanh, 1, 1 / std::tanh(1.0)},
        {mfArcTan, 1, std::atan(1.0)},
    };
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(Call(r.F, 0, r.R), r.Expected) << MathFunctionTable[r.F].Name << " " << r.R;
    EXPECT_DOUBLE_EQ(List(mfArcTan2, {1, 0}), halfPi);
    EXPECT_DOUBLE_EQ(List(mfHypot, {3, 4}), 5);
    EXPECT_DOUBLE_EQ(List(mfHypot, {1e300, 1e300}), 1e300 * std::sqrt(2.0));
}

TEST(MathFunctions, AngleConversions) {
    const double pi = 3.141592653589793;
    struct Row {
        TMathFunction F;
        double R, Expected;
    } const rows[] = {
        {mfRadToDeg, pi, 180},   {mfRadToGrad, pi, 200},   {mfRadToCycle, pi, 0.5},
        {mfDegToRad, 180, pi},   {mfDegToGrad, 90, 100},   {mfDegToCycle, 90, 0.25},
        {mfGradToRad, 200, pi},  {mfGradToDeg, 100, 90},   {mfGradToCycle, 100, 0.25},
        {mfCycleToRad, 0.5, pi}, {mfCycleToDeg, 0.25, 90}, {mfCycleToGrad, 0.25, 100},
    };
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(Call(r.F, 0, r.R), r.Expected) << MathFunctionTable[r.F].Name;
}

TEST(MathFunctions, ListsAndStatistics) {
    struct Row {
        TMathFunction F;
        std::initializer_list<double> P;
        double Expected;
    } const rows[] = {
        {mfMean, {4}, 4},
        {mfMean, {1, 2, 3}, 2},
        {mfSum, {1}, 1},
        {mfSum, {1, 2.5}, 3.5},
        {mfSumInt, {1.4, 2.6}, 4},
        {mfSumInt, {-2147483647, -1}, -2147483648.0},
        {mfSumOfSquares, {3, 4}, 25},
        {mfNorm, {3, 4}, 5},
        {mfPoly, {2, 1, 0, 1}, 5},
        {mfPoly, {2, 7}, 7},
        {mfMinValue, {7}, 7},
        {mfMinValue, {3, -1, 2}, -1},
        {mfMaxValue, {3, -1, 2}, 3},
        {mfMinIntValue, {2.4, 1.6}, 2},
        {mfMaxIntValue, {2.4, 4294967297.0}, 2}, // the low 32 bits of the second are 1
        {mfMin, {3, 1}, 1},
        {mfMax, {3, 1}, 3},
        {mfTotalVariance, {1, 2, 3}, 2},
        {mfVariance, {1, 2, 3}, 1},
        {mfPopnVariance, {1, 2, 3}, 2.0 / 3},
        {mfStdDev, {1, 2, 3}, 1},
        {mfPopnStdDev, {1, 3}, 1},
        {mfEnsureRange, {7.9, 0, 5}, 5},
        {mfEnsureRange, {2.7, 0.4, 2.5}, 2},
        {mfEnsureRange, {-1, 0.4, 2.5}, 0},
        {mfEnsureRange, {1.5, 0, 5}, 1.5},
    };
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(List(r.F, r.P), r.Expected) << MathFunctionTable[r.F].Name;
    EXPECT_TRUE(IsRefusedNaN(List(mfVariance, {5})));
    EXPECT_TRUE(IsRefusedNaN(List(mfStdDev, {5})));
    EXPECT_TRUE(IsRefusedNaN(List(mfSumInt, {2147483647, 1})));
    EXPECT_TRUE(IsRefusedNaN(List(mfMean, {})));
    // Refused whatever the zero-divide policy says.
    EXPECT_TRUE(IsRefusedNaN(CallMathFunction(mfSumInt, 0, 0, Params({2147483647, 1}), Compute)));
}

TEST(MathFunctions, ParameterCountModes) {
    const auto message = [](int Given, int Count, TParameterCountMode Mode) -> std::string {
        TParameters p(static_cast<std::size_t>(Given));
        try {
            CheckParameterCount(p, Count, Mode);
            return "";
        } catch (const std::runtime_error& e) {
            return e.what();
        }
    };
    const std::string few = "Not enough actual parameters", many = "Too many actual parameters";
    EXPECT_EQ(message(1, 2, pcExactly), few);
    EXPECT_EQ(message(3, 2, pcExactly), many);
    EXPECT_EQ(message(2, 2, pcExactly), "");
    EXPECT_EQ(message(0, 1, pcAtLeast), few);
    EXPECT_EQ(message(9, 1, pcAtLeast), "");
    EXPECT_EQ(message(3, 2, pcAtMost), many);
    EXPECT_EQ(message(0, 2, pcAtMost), "");
}

TEST(MathFunctions, RandomDraws) {
    SeedMathRandom(12345);
    EXPECT_EQ(Call(mfRandom, 0, 1), 0);
    EXPECT_EQ(Call(mfRandom, 0, 0), 0);
    EXPECT_EQ(Call(mfRandom, 0, -5), 0);
    EXPECT_EQ(Call(mfRandom, 0, 4294967295.0), 0); // -1 as a 32-bit whole number
    EXPECT_EQ(List(mfRandomRange, {5, 5}), 5);
    std::set<double> seen;
    for (int i = 0; i < 2000; ++i) {
        const double r = Call(mfRandom, 0, 10);
        EXPECT_TRUE(r >= 0 && r < 10 && r == std::floor(r)) << r;
        seen.insert(r);
        const double range = List(mfRandomRange, {7, -3});
        EXPECT_TRUE(range >= -3 && range < 7 && range == std::floor(range)) << range;
        const double from = List(mfRandomFrom, {1.5, 2.5});
        EXPECT_TRUE(from == 1.5 || from == 2.5);
    }
    EXPECT_EQ(seen.size(), 10u);
    const double wide = List(mfRandomRange, {-2147483648.0, 2147483647.0});
    EXPECT_TRUE(wide >= -2147483648.0 && wide < 2147483647.0);

    // The polar method's deviates have the asked mean and deviation.
    double sum = 0, squares = 0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const double g = List(mfRandG, {10, 2});
        sum += g;
        squares += (g - 10) * (g - 10);
    }
    EXPECT_NEAR(sum / n, 10, 0.1);
    EXPECT_NEAR(std::sqrt(squares / n), 2, 0.1);

    // Reseeding repeats the draws.
    SeedMathRandom(7);
    const double a = Call(mfRandom, 0, 1000000);
    SeedMathRandom(7);
    EXPECT_EQ(Call(mfRandom, 0, 1000000), a);
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The evaluator's function library: 82 mathematical and statistical
// functions, computed in long double and rounded to double, independent of
// the executor. TMathParser registers them in table order and calls
// CallMathFunction from its CallFunction.
//
//   CallMathFunction(mfDiv, 7, 2, {}, {etZeroDivide})      // 3
//   CallMathFunction(mfDiv, 7, 0, {}, {etZeroDivide})      // ZeroDivideNaN
//   CallMathFunction(mfDiv, 7, 0, {}, {})                  // throws "Division by zero"
//
// Whole-number views of a double: Round(x) is Round64 (halves to even; NaN
// and values outside the 64-bit range give -9223372036854775808); "as a
// 32-bit whole number" is the low 32 bits of Round(x) read as signed.
//
// Edge cases: with etZeroDivide, a zero divisor or an argument outside a
// function's domain gives ZeroDivideNaN; without it "div" and "mod" by a
// divisor that rounds to 0 throw and the others give what the floating-point
// operation gives (an infinity or a NaN). The statistical functions turn
// their errors, "sumint"'s 32-bit overflow included, into ZeroDivideNaN.

#include "parser/ParseTypes.h"

#include <array>
#include <bit>
#include <cstdint>

namespace korvo {

// The NaN stored for a refused case: sign set, quiet, empty payload.
inline const double ZeroDivideNaN = std::bit_cast<double>(std::uint64_t{0xFFF8000000000000});

// The functions in registration order; the value is the row of MathFunctionTable.
enum TMathFunction : int {
    mfDiv,
    mfMod,
    mfPower,
    mfFactorial,
    mfSqrt,
    mfInt,
    mfRound,
    mfTrunc,
    mfAbs,
    mfFrac,
    mfLn,
    mfLg,
    mfLog,
    mfExp,
    mfPi,
    mfRandom,
    mfSin,
    mfArcSin,
    mfSinh,
    mfArcSinh,
    mfCos,
    mfArcCos,
    mfCosh,
    mfArcCosh,
    mfTan,
    mfArcTan,
    mfTanh,
    mfArcTanh,
    mfCotan,
    mfArcCotan,
    mfCotanh,
    mfArcCotanh,
    mfSec,
    mfArcSec,
    mfSech,
    mfArcSech,
    mfCsc,
    mfArcCsc,
    mfCsch,
    mfArcCsch,
    mfArcTan2,
    mfHypot,
    mfRadToDeg,
    mfRadToGrad,
    mfRadToCycle,
    mfDegToRad,
    mfDegToGrad,
    mfDegToCycle,
    mfGradToRad,
    mfGradToDeg,
    mfGradToCycle,
    mfCycleToRad,
    mfCycleToDeg,
    mfCycleToGrad,
    mfLnXP1,
    mfLog10,
    mfLog2,
    mfIntPower,
    mfPowerList,
    mfCeil,
    mfFloor,
    mfPoly,
    mfMean,
    mfSum,
    mfSumInt,
    mfSumOfSquares,
    mfMinValue,
    mfMinIntValue,
    mfMin,
    mfMaxValue,
    mfMaxIntValue,
    mfMax,
    mfStdDev,
    mfPopnStdDev,
    mfVariance,
    mfPopnVariance,
    mfTotalVariance,
    mfNorm,
    mfRandG,
    mfRandomRange,
    mfRandomFrom,
    mfEnsureRange,
};
inline constexpr int MathFunctionCount = 82;

// How a function is registered and how its parameter count is checked.
struct TMathFunctionInfo {
    const char* Name;
    bool LeftOperand;
    bool RightOperand;
    bool Foldable;
    int ParamCount;                // 0: no parameter list
    TParameterCountMode CountMode; // used only when ParamCount > 0
};
extern const std::array<TMathFunctionInfo, MathFunctionCount> MathFunctionTable;

// Raises std::runtime_error "Not enough actual parameters" or "Too many
// actual parameters" when the number of Parameters does not meet Count in
// Mode (pcAtLeast: at least Count; pcExactly: Count; pcAtMost: at most Count).
void CheckParameterCount(const TParameters& Parameters, int Count, TParameterCountMode Mode);

// The value of F for the left operand L, the right operand R and the
// parameter values, the count already checked (a missing parameter reads as
// 0, a list function with none gives ZeroDivideNaN). A string parameter
// counts by its Value, which is 0.
double CallMathFunction(TMathFunction F, double LValue, double RValue, const TParameters& Parameters,
                        TExceptionTypes ExceptionTypes);

// The library's one pseudo-random generator, seeded from a clock at its
// first use. Reseeding makes the draws repeatable (tests only).
void SeedMathRandom(std::uint64_t Seed);

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The evaluator component: TParser with the 82-function library, a
// zero-divide policy and one held script.
//
//   korvo::TMathParser p;
//   p.Parse("(0)+(340)*(0.866)*(2)-(0.5)*(9.80)*((2)*(2))");
//   double v = p.Evaluate();              // 569.28
//
// Parse compiles afresh at every call and never optimizes. Evaluate runs the
// whole held script each time (so "random 1000" draws anew); before any
// Parse, and after a Parse that failed, it returns 0. With etZeroDivide in
// ExceptionTypes (the default) a zero divisor of "div" and "mod" and an
// argument outside a function's domain give ZeroDivideNaN; without it "div"
// and "mod" by 0 raise "Division by zero". "1/0" is +infinity and "0/0" a
// NaN either way: creating a component masks every floating-point exception
// of the thread, and destroying it restores the mask it found.

#include "parser/MathFunctions.h"
#include "parser/Parser.h"

#include <array>
#include <string>

namespace korvo {

class TMathParser : public TParser {
public:
    TMathParser();

    // Compiles Expression into Script; raises EParseError for a text that
    // does not compile, leaving a fragment whose value is 0.
    void Parse(const std::string& Expression);
    // The value of Script; errors of the functions come out unchanged.
    double Evaluate();

    const TByteDynArray& Script() const { return FScript; }
    // The registry position of a library function (-1 when its name was
    // refused because a subclass registered it first).
    int FunctionIndexOf(TMathFunction F) const { return FIndex[static_cast<std::size_t>(F)]; }

    // Stored for the caller; nothing in the evaluator reads it.
    std::string Text;
    TExceptionTypes ExceptionTypes{etZeroDivide};

protected:
    // The operators first, then the library's functions.
    void CallFunction(TFunctionCall& Call) override;
    // Raises std::runtime_error "Not enough actual parameters" or "Too many
    // actual parameters" for a count that does not meet Count in Mode.
    virtual void CheckParameterCount(const TParameters& Parameters, int Count, TParameterCountMode Mode);

private:
    std::array<int, MathFunctionCount> FIndex{};
    TByteDynArray FScript;
};

} // namespace korvo

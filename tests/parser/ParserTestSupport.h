// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Helpers shared by the evaluator's tests: a parser with a few library-like
// functions, and a byte comparison that names the first difference.

#include "SeparatorGuard.h"
#include "parser/Parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace korvo::test {

// TParser plus the shapes the compiler must handle: prefix ("sin", "cos",
// "tan"), infix with the degree on the left ("sqrt"), postfix ("!"), a
// constant ("pi") and a function with a parameter list ("max").
class TTestParser : public TParser {
public:
    TTestParser() {
        AddFunction(Sin, "sin", false, true, true, 0);
        AddFunction(Cos, "cos", false, true, true, 0);
        AddFunction(Tan, "tan", false, true, true, 0);
        AddFunction(Sqrt, "sqrt", true, true, true, 0);
        AddFunction(Fact, "!", true, false, true, 0);
        AddFunction(Pi, "pi", false, false, true, 0);
        AddFunction(Max, "max", false, false, true, 2);
        AddFunction(Pow, "^", true, true, true, 0);
        AddFunction(Random, "random", false, true, false, 0);
    }
    double Eval(const std::string& Text) {
        TByteDynArray script;
        CompileScript(Text, script);
        return ExecuteScript(script);
    }
    TByteDynArray Compile(const std::string& Text) {
        TByteDynArray script;
        CompileScript(Text, script);
        return script;
    }
    using TParser::BuildParameters;
    using TParser::CheckSyntax;
    using TParser::ClassifyToken;
    using TParser::ParseTypePrefix;

    int Sin = -1, Cos = -1, Tan = -1, Sqrt = -1, Fact = -1, Pi = -1, Max = -1, Pow = -1, Random = -1;
    int Draws = 0; // calls of "random" so far

protected:
    void CallFunction(TFunctionCall& Call) override {
        TParser::CallFunction(Call);
        if (Call.Done)
            return;
        const int i = Call.FunctionIndex;
        const double l = Call.LValue, r = Call.RValue;
        if (i == Sin)
            Call.Value = std::sin(r);
        else if (i == Cos)
            Call.Value = std::cos(r);
        else if (i == Tan)
            Call.Value = std::tan(r);
        else if (i == Sqrt)
            Call.Value = std::pow(r, 1.0 / l);
        else if (i == Pow)
            Call.Value = std::pow(l, r);
        else if (i == Fact) {
            double f = 1;
            for (int k = 2; k <= static_cast<int>(l); ++k)
                f *= k;
            Call.Value = f;
        } else if (i == Random) {
            // A whole number from 0 to R - 1 that changes from call to call.
            ++Draws;
            Call.Value = std::fmod(Draws * 7.0, r);
        } else if (i == Pi)
            Call.Value = 3.141592653589793;
        else if (i == Max) {
            if (Call.ParameterCount() < 2)
                throw std::runtime_error("Not enough actual parameters");
            if (Call.ParameterCount() > 2)
                throw std::runtime_error("Too many actual parameters");
            Call.Value = std::max(Call.ParameterValue(0), Call.ParameterValue(1));
        } else
            return;
        Call.Done = true;
    }
};

// Equal byte arrays, or a message with the first differing offset and the
// bytes around it on both sides.
inline ::testing::AssertionResult SameBytes(const TByteDynArray& Expected, const TByteDynArray& Actual) {
    const std::size_t n = std::min(Expected.size(), Actual.size());
    std::size_t at = 0;
    while (at < n && Expected[at] == Actual[at])
        ++at;
    if (at == n && Expected.size() == Actual.size())
        return ::testing::AssertionSuccess();
    auto window = [at](const TByteDynArray& b) {
        std::string s;
        char hex[4];
        const std::size_t from = at >= 8 ? at - 8 : 0;
        for (std::size_t i = from; i < std::min(b.size(), at + 8); ++i) {
            std::snprintf(hex, sizeof hex, i == at ? "[%02X" : " %02X", b[i]);
            s += hex;
            if (i == at)
                s += "]";
        }
        return s;
    };
    return ::testing::AssertionFailure()
           << "first difference at byte " << at << " (sizes " << Expected.size() << " and " << Actual.size()
           << ")\n  expected:" << window(Expected) << "\n  actual:  " << window(Actual);
}

// Little-endian byte builder for expected layouts.
class Bytes {
public:
    Bytes& I32(std::int32_t v) {
        AppendInt32(FData, v);
        return *this;
    }
    Bytes& F64(double v) {
        AppendDouble(FData, v);
        return *this;
    }
    Bytes& Raw(const TByteDynArray& b) {
        FData.insert(FData.end(), b.begin(), b.end());
        return *this;
    }
    operator TByteDynArray() const { return FData; }
    TByteDynArray Get() const { return FData; }

private:
    TByteDynArray FData;
};

// A message check for EParseError.
#define EXPECT_PARSE_ERROR(statement, message)                                                               \
    do {                                                                                                     \
        try {                                                                                                \
            statement;                                                                                       \
            ADD_FAILURE() << "no EParseError, expected: " << (message);                                      \
        } catch (const ::korvo::EParseError& e) {                                                            \
            EXPECT_EQ(std::string(message), e.what());                                                       \
        }                                                                                                    \
    } while (0)

} // namespace korvo::test

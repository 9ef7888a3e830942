// SPDX-License-Identifier: GPL-3.0-or-later

// The evaluator component: formulas through Parse and Evaluate, each value
// also checked after GetOptimized and on a copy of the compiled script.
#include "parser/MathParser.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace korvo {
namespace {

const double Inf = std::numeric_limits<double>::infinity();
const double RefusedNaN = ZeroDivideNaN;

bool SameBits(double A, double B) {
    return std::memcmp(&A, &B, sizeof A) == 0;
}

// Parse + Evaluate, after checking that the optimized script and a copy of
// the script agree with it.
double Eval(TMathParser& P, const std::string& Text) {
    P.Parse(Text);
    const double value = P.Evaluate();
    TByteDynArray copy = P.Script();
    TByteDynArray optimized;
    P.GetOptimized(P.Script(), optimized);
    const double copied = P.ExecuteScript(copy), folded = P.ExecuteScript(optimized);
    EXPECT_TRUE(SameBits(copied, value) || (std::isnan(copied) && std::isnan(value))) << Text;
    EXPECT_TRUE(folded == value || (std::isnan(folded) && std::isnan(value)) ||
                std::fabs(folded - value) <= 1e-15 * std::fabs(value))
        << Text << ": optimized " << folded << ", direct " << value;
    return value;
}

std::string ErrorOf(TMathParser& P, const std::string& Text) {
    try {
        P.Parse(Text);
        P.Evaluate();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(MathParser, FormulaValues) {
    TMathParser p;
    struct Row {
        const char* Text;
        double Expected;
    } const rows[] = {
        {"(0)+(340)*(0.5)*(2)", 340},
        {"(0)+(340)*(0.866)*(2)-(0.5)*(9.80)*((2)*(2))", 569.28},
        {"2*3^2", 36},
        {"2^3*2", 16},
        {"8/2*4", 16},
        {"2*3!", 720},
        {"3!*2", 12},
        {"7 div 2", 3},
        {"-7 div 2", -3},
        {"(-7) div 2", -3},
        {"(-7) mod 3", -1},
        {"7.5 div 2", 4},
        {"5!", 120},
        {"0!", 1},
        {"(-3)!", 1},
        {"20!", 2432902008176640000.0},
        {"65536!", 1},
        {"3 sqrt 8", 2},
        {"2 log 8", 3},
        {"lg 1000", 3},
        {"log10 1000", 3},
        {"ln 0", -Inf},
        {"arctan2[1,0]", 1.5707963267948966},
        {"mean[4]", 4},
        {"mean[1,2,3]", 2},
        {"poly[2,1,0,1]", 5},
        {"min[3,1]", 1},
        {"ensurerange[7.9,0,5]", 5},
        {"ensurerange[2.7,0.4,2.5]", 2},
        {"sum[1]", 1},
        {"minvalue[7]", 7},
        {"intpower[2.5,3]", 8},
        {"2^(-1)", 0.5},
        {"randomrange[5,5]", 5},
        {"random 1", 0},
        {"SIN 0 + Cos 0", 1},
        {"pi", 3.141592653589793},
        {"hypot[3;4]", 5},
        {"1/0", Inf},
        {"radtodeg pi", 180},
        {"(6.1e-17)", 6.1 - 17},
    };
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(Eval(p, r.Text), r.Expected) << r.Text;
}

TEST(MathParser, ZeroDividePolicy) {
    TMathParser p;
    ASSERT_TRUE(p.ExceptionTypes.Contains(etZeroDivide));
    const char* refused[] = {
        "7 div 0", "7 mod 0", "arcsin 2", "tan(pi/2)", "0 sqrt 8", "variance[5]", "sumint[2147483647,1]"};
    for (const char* text : refused)
        EXPECT_TRUE(SameBits(Eval(p, text), RefusedNaN)) << text;
    EXPECT_TRUE(std::isnan(Eval(p, "(-8)^(1/3)")));
    EXPECT_TRUE(std::isnan(Eval(p, "0/0")));
    EXPECT_EQ(Eval(p, "1/0"), Inf);

    p.ExceptionTypes = {};
    EXPECT_EQ(ErrorOf(p, "7 div 0"), "Division by zero");
    EXPECT_EQ(ErrorOf(p, "7 mod 0.3"), "Division by zero");
    EXPECT_NEAR(Eval(p, "tan(pi/2)"), 1.633123935319537e16, 1e2);
    EXPECT_TRUE(std::isnan(Eval(p, "0/0")));
    EXPECT_EQ(Eval(p, "1/0"), Inf);
    // Statistics refuse whatever the policy.
    EXPECT_TRUE(SameBits(Eval(p, "sumint[2147483647,1]"), RefusedNaN));
}

TEST(MathParser, ParameterCountErrorsAreRuntimeErrors) {
    TMathParser p;
    struct Row {
        const char* Text;
        const char* Message;
    } const rows[] = {
        {"hypot[3]", "Not enough actual parameters"},
        {"hypot[3,4,5]", "Too many actual parameters"},
        {"mean[]", "Not enough actual parameters"},
        {"poly[1]", "Not enough actual parameters"},
        {"ensurerange[1,2,3,4]", "Too many actual parameters"},
    };
    for (const Row& r : rows) {
        p.Parse(r.Text);
        try {
            p.Evaluate();
            ADD_FAILURE() << r.Text << ": no error";
        } catch (const EParseError& e) {
            ADD_FAILURE() << r.Text << ": raised as a parse error: " << e.what();
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), r.Message) << r.Text;
        }
    }
}

TEST(MathParser, EvaluateWithoutAScriptAndAfterAFailedParse) {
    TMathParser p;
    EXPECT_TRUE(p.Script().empty());
    EXPECT_EQ(p.Evaluate(), 0);
    EXPECT_EQ(ErrorOf(p, "   "), "Expression contains no data");
    EXPECT_EQ(ErrorOf(p, "2+{3}"), "\"2+{3}\" contains invalid characters");
    p.Parse("5");
    EXPECT_EQ(ErrorOf(p, "2+"), "Function or expression expected");
    EXPECT_EQ(p.Evaluate(), 0);
    EXPECT_EQ(ErrorOf(p, "(2*3)+"), "Function or expression expected");
    EXPECT_EQ(p.Evaluate(), 0);
}

TEST(MathParser, ParseCompilesAfreshAndTextChangesNothing) {
    TMathParser p;
    p.Parse("SIN 1");
    const TByteDynArray upper = p.Script();
    p.Text = "cos 2";
    p.Parse("sin 1");
    EXPECT_EQ(p.Script(), upper);
    p.Parse("2+3");
    EXPECT_EQ(p.Evaluate(), 5);
    EXPECT_EQ(p.Evaluate(), 5);
}

TEST(MathParser, EachEvaluateDrawsAnew) {
    TMathParser p;
    p.Parse("random 1000000");
    double previous = p.Evaluate();
    int changes = 0;
    for (int i = 0; i < 10; ++i) {
        const double v = p.Evaluate();
        EXPECT_TRUE(v >= 0 && v < 1000000 && v == std::floor(v));
        changes += v != previous;
        previous = v;
    }
    EXPECT_GE(changes, 8);
    // The optimizer keeps draws as calls.
    TByteDynArray optimized;
    p.Parse("randg[0,1] + randomrange[0,1000000] + randomfrom[1,2,3,4,5,6,7,8,9]");
    p.GetOptimized(p.Script(), optimized);
    EXPECT_FALSE(p.IsConstantScript(optimized));
}

TEST(MathParser, OnFunctionComesBeforeTheLibrary) {
    TMathParser p;
    p.OnFunction = [&](int FunctionIndex, int, double& Value, double, double RValue, const TParameters&,
                       bool& Done) {
        if (FunctionIndex == p.FunctionIndexOf(mfSqrt)) {
            Value = RValue * 100;
            Done = true;
        }
    };
    EXPECT_EQ(Eval(p, "3 sqrt 8"), 800);
    EXPECT_EQ(Eval(p, "abs(-2)"), 2);
}

TEST(MathParser, FloatingPointExceptionsMaskedWhileAComponentLives) {
    feenableexcept(FE_DIVBYZERO | FE_INVALID);
    const int before = fegetexcept();
    {
        TMathParser outer;
        EXPECT_EQ(fegetexcept(), 0);
        {
            TMathParser inner;
            EXPECT_EQ(fegetexcept(), 0);
            EXPECT_EQ(Eval(inner, "1/0"), Inf);
        }
        EXPECT_EQ(fegetexcept(), 0) << "the inner component restores the mask it found";
        EXPECT_TRUE(std::isnan(Eval(outer, "0/0")));
    }
    EXPECT_EQ(fegetexcept(), before);
    fedisableexcept(FE_ALL_EXCEPT);
}

} // namespace
} // namespace korvo

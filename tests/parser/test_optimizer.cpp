// SPDX-License-Identifier: GPL-3.0-or-later

// The optimizer: what folds, what stays, and that optimized scripts keep
// their value.

#include "ParserTestSupport.h"

#include <cmath>

using namespace korvo;
using namespace korvo::test;

namespace {

TByteDynArray Optimized(TTestParser& p, const std::string& text) {
    TByteDynArray out;
    p.GetOptimized(p.Compile(text), out);
    return out;
}

// The items of every term, as their codes.
std::vector<std::vector<std::int32_t>> Shape(const TByteDynArray& script) {
    std::vector<std::vector<std::int32_t>> terms;
    WalkScript(script, [&](std::size_t& pos, std::size_t term, std::size_t termEnd) {
        if (pos == term + TermHeaderSize)
            terms.emplace_back();
        terms.back().push_back(GetInt32(script, pos));
        pos += ItemLength(script, pos, termEnd);
    });
    return terms;
}

} // namespace

TEST(Optimizer, ConstantTextsBecomeOneNumber) {
    struct Row {
        const char* text;
        double value;
    };
    const Row rows[] = {{"2*3+4", 10},     {"sin(pi/2)", 1}, {"max[1, 2+3]", 5}, {"-(2*3)", -6},
                        {"1/0", INFINITY}, {"3!*2-1", 11},   {"not not 4", 4},   {"max[-(1), -2]", -1}};
    for (const Row& r : rows) {
        TTestParser p;
        TByteDynArray s = Optimized(p, r.text);
        EXPECT_TRUE(p.IsConstantScript(s)) << r.text;
        EXPECT_EQ(s.size(), 40u) << r.text;
        EXPECT_EQ(GetInt32(s, 16 + TermTypeIndexOffset), p.DoubleTypeIndex()) << r.text;
        EXPECT_EQ(p.ExecuteScript(s), r.value) << r.text;
    }
}

TEST(Optimizer, NonFoldableCallsStay) {
    TTestParser p;
    // "random 10 + 2*3": the draw stays, the constant 6 comes last.
    TByteDynArray s = Optimized(p, "random 10 + 2*3");
    EXPECT_EQ(Shape(s), (std::vector<std::vector<std::int32_t>>{{icCall, icNumber}, {icNumber}}));
    EXPECT_EQ(GetDouble(s, s.size() - 8), 6);
    // "random 10 * 2": both calls stay with their operands.
    s = Optimized(p, "random 10 * 2");
    EXPECT_EQ(Shape(s), (std::vector<std::vector<std::int32_t>>{{icCall, icNumber, icCall, icNumber}}));
    // "sin(pi/2) * random 3": the left part folds to 1.
    s = Optimized(p, "sin(pi/2) * random 3");
    EXPECT_EQ(Shape(s), (std::vector<std::vector<std::int32_t>>{{icNumber, icCall, icCall, icNumber}}));
    EXPECT_EQ(GetDouble(s, 16 + 12 + 4), 1);
    // "max[1, random 9]": the call keeps a list of 1 and the draw.
    s = Optimized(p, "max[1, random 9]");
    EXPECT_EQ(Shape(s), (std::vector<std::vector<std::int32_t>>{{icCall, icParameterList}}));
    const std::size_t list = 16 + 12 + 8 + 4;
    TByteDynArray listBytes(s.begin() + static_cast<long>(list), s.end());
    EXPECT_EQ(Shape(listBytes), (std::vector<std::vector<std::int32_t>>{{icNumber}, {icSubExpression}}));
    // A group that is not constant is kept and listed in Offsets by the linker.
    s = Optimized(p, "2*(random 5 + 1)");
    EXPECT_EQ(GetInt32(s, ScriptCountOffset), 1);
    EXPECT_EQ(Shape(s), (std::vector<std::vector<std::int32_t>>{{icNumber, icCall, icSubExpression}}));
}

TEST(Optimizer, OptimizedScriptsKeepTheirValue) {
    // Foldable only: every optimized value equals the unoptimized one.
    const char* texts[] = {"2*(3+4)-sin 0", "(1)+(2)*(3)", "max[max[1,2],(3)]*2", "-16 shr 2", "'abc'",
                           "2 sqrt 9",      "(2)^(3)!",    "cos cos (1/2)"};
    for (const char* text : texts) {
        TTestParser p;
        TByteDynArray source = p.Compile(text);
        const TByteDynArray untouched = source;
        const double expected = p.ExecuteScript(source);
        TByteDynArray s = untouched;
        p.Optimize(s);
        EXPECT_DOUBLE_EQ(p.ExecuteScript(s), expected) << text;
        EXPECT_LE(s.size(), untouched.size()) << text;
    }
}

TEST(Optimizer, DrawsStayDrawsAndFoldedCallsRunOnce) {
    TTestParser p;
    TByteDynArray s = Optimized(p, "random 10 * 2");
    const int before = p.Draws;
    const double a = p.ExecuteScript(s), b = p.ExecuteScript(s);
    EXPECT_EQ(p.Draws, before + 2);
    EXPECT_NE(a, b);
    EXPECT_EQ(std::fmod(a, 2.0), 0);

    int sins = 0;
    p.OnFunction = [&](int f, int, double&, double, double, const TParameters&, bool&) {
        sins += f == p.Sin;
    };
    s = Optimized(p, "sin 1 * 2");
    EXPECT_EQ(sins, 1);
    p.ExecuteScript(s);
    EXPECT_EQ(sins, 1);
}

TEST(Optimizer, ErrorsOfFoldedCallsComeOutAndLeaveTheScript) {
    TTestParser p;
    TByteDynArray s = p.Compile("max[1]");
    const TByteDynArray before = s;
    EXPECT_THROW(p.Optimize(s), std::runtime_error);
    EXPECT_EQ(s, before);
    TByteDynArray bad = Bytes().F64(0).I32(20).I32(0).I32(0).Get();
    SetInt32(bad, ScriptSizeOffset, 28);
    AppendInt32(bad, 12 + 4);
    AppendInt32(bad, 0);
    EXPECT_PARSE_ERROR(p.Optimize(bad), "Invalid script");
}

TEST(Optimizer, ChainsOverNestedGroupsStayLinear) {
    // Each level has a chain over a group; without remembering optimized
    // groups the work would double per level.
    std::string text = "1";
    for (int i = 0; i < 60; ++i)
        text = "not not (" + text + " + random 2)";
    TTestParser p;
    TByteDynArray s = Optimized(p, text);
    EXPECT_FALSE(p.IsConstantScript(s));
    TByteDynArray deep = Optimized(p, std::string(MaxNesting, '(') + "2" + std::string(MaxNesting, ')'));
    EXPECT_TRUE(p.IsConstantScript(deep));
    // The deepest texts the compiler takes also optimize.
    std::string lists = "random 2"; // the call counts as one more level
    for (int i = 0; i < MaxNesting - 1; ++i)
        lists = "max[0," + lists + "]";
    deep = Optimized(p, lists);
    EXPECT_FALSE(p.IsConstantScript(deep));
    std::string chain;
    for (int i = 0; i < MaxNesting - 1; ++i)
        chain += "not ";
    deep = Optimized(p, chain + "random 2");
    EXPECT_EQ(Shape(deep).front().size(), static_cast<std::size_t>(MaxNesting + 1));
}

// The evaluator's own errors: what a damaged script may raise, and nothing else.
bool IsOwnError(const std::string& m) {
    return m == "Invalid script" || m == "Expression is nested too deeply" ||
           m.rfind("Unknown function: ", 0) == 0 || m == "Not enough actual parameters" ||
           m == "Too many actual parameters";
}

// Runs a script; whether it ran, or the error's text.
struct RunResult {
    bool ran = false;
    std::string error;
};
RunResult Run(TTestParser& p, TByteDynArray script) {
    RunResult r;
    try {
        p.ExecuteScript(script);
        r.ran = true;
    } catch (const std::exception& e) {
        r.error = e.what();
    }
    return r;
}

// A damaged script is either refused with one of the evaluator's own errors,
// or optimized into a script that is sound: it runs, or stops with one of the
// evaluator's own errors other than "Invalid script", and where the damaged script ran, the optimized one
// runs too. (Its value may differ: a damaged call index can give a term a
// function of another shape, whose missing operand the executor takes from the
// term before while the optimizer folds the term on its own.)
::testing::AssertionResult RefusedOrSound(TTestParser& p, const TByteDynArray& damaged) {
    TByteDynArray out;
    try {
        p.GetOptimized(damaged, out);
    } catch (const std::exception& e) {
        if (IsOwnError(e.what()))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "refused with a foreign error: " << e.what();
    }
    const RunResult before = Run(p, damaged), after = Run(p, out);
    if (!after.ran && (!IsOwnError(after.error) || after.error == "Invalid script"))
        return ::testing::AssertionFailure() << "the optimized script fails with: " << after.error;
    if (before.ran && !after.ran)
        return ::testing::AssertionFailure() << "the optimized script no longer runs: " << after.error;
    return ::testing::AssertionSuccess();
}

TEST(Optimizer, CorruptedScriptsAreRefused) {
    TTestParser p;
    const TByteDynArray good = p.Compile("max[1,(2)] + sin(3*(4)) - random 5");
    for (std::size_t at = 0; at + 4 <= good.size(); at += 4)
        for (std::int32_t v : {-1, 0, 3, 4, 16, 0x7FFFFFFF}) {
            TByteDynArray s = good;
            SetInt32(s, at, v);
            EXPECT_TRUE(RefusedOrSound(p, s)) << "the 32 bits at " << at << " set to " << v;
        }
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        const TByteDynArray s(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_TRUE(RefusedOrSound(p, s)) << "cut to " << cut << " bytes";
    }
}

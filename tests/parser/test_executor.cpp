// SPDX-License-Identifier: GPL-3.0-or-later

// The executor: values, the eight operators, OnFunction, parameters, and
// scripts that cannot be trusted.

#include "ParserTestSupport.h"

#include <cmath>
#include <limits>
#include <random>

using namespace korvo;
using namespace korvo::test;

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
}

TEST(Executor, Values) {
    struct Row {
        const char* text;
        double value;
    };
    const Row rows[] = {
        {"(0)+(340)*(0.5)*(2)", 340},
        {"(0)+(340)*(0.866)*(2)-(0.5)*(9.80)*((2)*(2))", 0 + 340 * 0.866 * 2 - 0.5 * 9.80 * (2.0 * 2.0)},
        {"2*3^2", 36},
        {"2^3*2", 16},
        {"8/2*4", 16},
        {"2*3!", 720},
        {"3!*2", 12},
        {"2*(3+4)", 14},
        {"2*(-3)", -6},
        {"2*sin 0", 0},
        {"2 sqrt 9", 3},
        {"sin(0)+cos 0", 1},
        {"sin cos 0", std::sin(1.0)},
        {"1e5", 100000},
        {"1e-5", -4},
        {"(6.1e-17)", 6.1 - 17},
        {"integer 2.5", 2.5},
        {"-double 3", -3},
        {"'Abc'", 0},
        {"2+3", 5},
        {"-1-2", -3},
        {"max[5,]", 5},
        {"max[-5,-7]", -5},
        {"max[1+1,(3)]", 3},
        {"max[-(4), 1]", 1},
        {"max[sin 0, -2]", 0},
        {"1/0", Inf},
        {"-1/0", -Inf},
        // Current carries across terms: "*" at the start of a term is refused,
        // but a postfix call reads the previous term's value.
        {"3 + 2!", 5},
        {"5 shl 2", 20},
        {"(-1) shr 60", 15},
        {"-16 shr 2", -4},
        {"5 shl 64", 0},
        {"5 shl 127", 0},
        {"5 shl 129", 10},
        {"5 shl 256", 5},
        {"not 0", -1},
        {"not 2.5", -3},
        {"2.5 and 3", 2},
        {"3.5 and 7", 4},
        {"5 or 2", 7},
        {"6 xor 3", 5},
        {"(0/0) and (-1)", -9223372036854775808.0},
    };
    for (const Row& r : rows) {
        TTestParser p;
        TByteDynArray script = p.Compile(r.text);
        const TByteDynArray copy = script;
        EXPECT_DOUBLE_EQ(p.ExecuteScript(script), r.value) << r.text;
        TByteDynArray again = copy; // a copied script runs alike
        EXPECT_DOUBLE_EQ(p.ExecuteScript(again), r.value) << r.text << " (copy)";
        TByteDynArray optimized;
        p.GetOptimized(copy, optimized);
        EXPECT_DOUBLE_EQ(p.ExecuteScript(optimized), r.value) << r.text << " (optimized)";
    }
    TTestParser p;
    EXPECT_TRUE(std::isnan(p.Eval("0/0")));
}

TEST(Executor, OnFunctionSeesGroupsFirstAndCanOverride) {
    TTestParser p;
    std::vector<std::string> order;
    p.OnFunction = [&](int f, int, double&, double, double, const TParameters&, bool&) {
        order.push_back(p.Functions()[static_cast<std::size_t>(f)].Name);
    };
    p.Eval("sin 1+(cos 2)");
    EXPECT_EQ(order, (std::vector<std::string>{"cos", "sin"}));
    order.clear();
    p.Eval("2*sin max[1, tan 0]");
    EXPECT_EQ(order, (std::vector<std::string>{"tan", "max", "sin", "*"}));

    p.OnFunction = [](int, int, double& value, double, double, const TParameters&, bool& done) {
        value = 42;
        done = true;
    };
    EXPECT_EQ(p.Eval("2*3"), 42);
    p.OnFunction = [](int, int, double&, double l, double r, const TParameters&, bool& done) {
        done = l == 2 && r == 3; // sets Done without a Value: the result is RValue
    };
    EXPECT_EQ(p.Eval("2*3"), 3);
}

TEST(Executor, HandlerSeesOperandsTypeAndParameters) {
    TTestParser p;
    int named = -1;
    p.AddFunction(named, "f", false, false, false, 1);
    TParameters seen;
    int seenType = -1;
    p.OnFunction = [&](int f, int type, double& value, double, double, const TParameters& params,
                       bool& done) {
        if (f == named) {
            seen = params;
            seenType = type;
            value = 1;
            done = true;
        }
    };
    EXPECT_EQ(p.Eval("word f['x''y', -integer 2, -'s', (3), sin 0]"), 1);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].Literal, "x'y");
    EXPECT_EQ(seen[1].Value, -2);
    EXPECT_EQ(p.Types()[static_cast<std::size_t>(seen[1].TypeIndex)].Name, "integer");
    EXPECT_EQ(seen[2].Literal, "s");
    EXPECT_EQ(seen[3].Value, 3);
    EXPECT_EQ(seen[4].Value, 0);
    EXPECT_EQ(p.Types()[static_cast<std::size_t>(seenType)].Name, "word");
    EXPECT_EQ(p.Eval("f[]"), 1);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(p.Eval("f[,]"), 1); // one empty parameter: a group of value 0
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Value, 0);
}

TEST(Executor, UnknownFunctionIsReported) {
    TTestParser p;
    int extra = -1;
    p.AddFunction(extra, "zz", false, true, true, 0);
    TByteDynArray script = p.Compile("zz 1");
    EXPECT_PARSE_ERROR(p.ExecuteScript(script), "Unknown function: " + std::to_string(extra));
    SetInt32(script, 16 + 12 + 4, 999); // an index outside the table has no operands
    EXPECT_PARSE_ERROR(p.ExecuteScript(script), "Unknown function: 999");
}

TEST(Executor, EmptyScriptIsZero) {
    TTestParser p;
    TByteDynArray none;
    EXPECT_EQ(p.ExecuteScript(none), 0);
}

TEST(Executor, CachedValuesAreWrittenIntoTheScript) {
    TTestParser p;
    TByteDynArray script = p.Compile("(2)+(3*(4))");
    p.ExecuteScript(script);
    const auto first = static_cast<std::size_t>(GetInt32(script, 16));
    const auto second = static_cast<std::size_t>(GetInt32(script, 20));
    EXPECT_EQ(GetDouble(script, first), 2);
    EXPECT_EQ(GetDouble(script, second), 12);
}

TEST(Executor, FloatingPointFaultsGiveInfinitiesNotTraps) {
    TTestParser p;
    volatile double zero = 0;
    EXPECT_EQ(1 / zero, Inf);
    EXPECT_EQ(p.Eval("1e308*10"), Inf);
}

// Untrusted scripts: every way of pointing outside the bytes must be refused
// with "Invalid script" (or the nesting bound), never read out of bounds.
TEST(Executor, CorruptedScriptsAreRefused) {
    TTestParser p;
    const TByteDynArray good = p.Compile("max[1,'ab',(2)] + sin(3*(4)) - 5");
    const auto expectRefused = [&](TByteDynArray s, const std::string& what) {
        try {
            p.ExecuteScript(s);
        } catch (const EParseError& e) {
            const std::string m = e.what();
            EXPECT_TRUE(m == "Invalid script" || m == "Expression is nested too deeply" ||
                        m.rfind("Unknown function", 0) == 0)
                << what << ": " << m;
        } catch (const std::runtime_error& e) {
            // The test function "max" refuses a wrong parameter count.
            const std::string m = e.what();
            EXPECT_TRUE(m == "Not enough actual parameters" || m == "Too many actual parameters")
                << what << ": " << m;
        }
    };
    struct Field {
        std::size_t at;
        std::int32_t value;
    };
    const Field fields[] = {{8, 1000}, {8, -1},          {8, 17}, {12, 1000},
                            {12, -5},  {12, 0x40000000}, {16, 0}, {16, -100}};
    for (const Field& f : fields) {
        TByteDynArray s = good;
        SetInt32(s, f.at, f.value);
        try {
            p.ExecuteScript(s);
            if (f.at != 16)
                ADD_FAILURE() << "accepted a header changed at " << f.at;
        } catch (const EParseError& e) {
            EXPECT_EQ(std::string(e.what()), "Invalid script") << f.at << "=" << f.value;
        }
    }
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        expectRefused(TByteDynArray(good.begin(), good.begin() + static_cast<long>(cut)), "truncated");
    // Every int32 field position overwritten with hostile values.
    for (std::size_t at = 0; at + 4 <= good.size(); at += 4)
        for (std::int32_t v : {-1, 0, 3, 16, 0x7FFFFFFF, static_cast<std::int32_t>(good.size())}) {
            TByteDynArray s = good;
            SetInt32(s, at, v);
            expectRefused(s, "field " + std::to_string(at));
        }
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        TByteDynArray s = good;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i)
            s[rng() % s.size()] = static_cast<std::uint8_t>(rng());
        expectRefused(s, "flipped");
        TByteDynArray noise(rng() % 96);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(rng() % 8);
        expectRefused(noise, "noise");
    }
}

TEST(Executor, SelfReferencesAndDeepCraftedNestingAreRefused) {
    TTestParser p;
    TByteDynArray s = p.Compile("(1)");
    SetInt32(s, 16, 0); // the group would be the script itself
    EXPECT_PARSE_ERROR(p.ExecuteScript(s), "Invalid script");

    // 5000 nested sub-expressions built by hand: valid sizes, too deep.
    TByteDynArray inner = Bytes().F64(0).I32(40).I32(0).I32(24).I32(0).I32(0).I32(icNumber).F64(1);
    for (int i = 0; i < 5000; ++i) {
        TByteDynArray outer = Bytes()
                                  .F64(0)
                                  .I32(0)
                                  .I32(1)
                                  .I32(36)
                                  .I32(static_cast<std::int32_t>(16 + inner.size()))
                                  .I32(0)
                                  .I32(0)
                                  .I32(icSubExpression)
                                  .Raw(inner);
        SetInt32(outer, ScriptSizeOffset, static_cast<std::int32_t>(outer.size()));
        inner = std::move(outer);
    }
    EXPECT_PARSE_ERROR(p.ExecuteScript(inner), "Expression is nested too deeply");

    // A term of 100000 chained "not" calls, written by hand.
    p.Compile("1");
    int notIndex = p.FindFunction("not");
    TByteDynArray chain = Bytes().F64(0).I32(0).I32(0).I32(0).I32(0).I32(0);
    for (int i = 0; i < 100000; ++i)
        EmitCall(chain, notIndex);
    EmitNumber(chain, 1);
    SetInt32(chain, ScriptSizeOffset, static_cast<std::int32_t>(chain.size()));
    SetInt32(chain, 16, static_cast<std::int32_t>(chain.size() - 16));
    EXPECT_PARSE_ERROR(p.ExecuteScript(chain), "Expression is nested too deeply");
    TByteDynArray out;
    EXPECT_PARSE_ERROR(p.GetOptimized(chain, out), "Expression is nested too deeply");
    EXPECT_PARSE_ERROR(p.GetOptimized(inner, out), "Expression is nested too deeply");
}

TEST(Executor, FormulaTextsUnderACommaSeparator) {
    SeparatorGuard comma(',');
    TTestParser p;
    EXPECT_DOUBLE_EQ(p.Eval("(0)+(340)*(0,5)*(2)-(0,5)*(9,80)*((2)*(2))"), 340 - 19.6);
}

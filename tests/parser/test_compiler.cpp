// SPDX-License-Identifier: GPL-3.0-or-later

// The compiler: every syntax message, texts that must compile alike, and the
// nesting bound.

#include "ParserTestSupport.h"

using namespace korvo;
using namespace korvo::test;

TEST(Compiler, SyntaxErrors) {
    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"", "Expression contains no data"},
        {"   ", "Expression contains no data"},
        {"2+{3}", "\"2+{3}\" contains invalid characters"},
        {" A}b ", "\"a}b\" contains invalid characters"},
        {"(1", "Bracket character expected"},
        {"1)", "Bracket character expected"},
        {"max[1", "Bracket character expected"},
        {"2+", "Function or expression expected"},
        {"5--3", "Function or expression expected"},
        {"-", "Function or expression expected"},
        {"integer", "Function or expression expected"},
        {"sqrt 9", "Function or expression expected"},
        {"*2", "Function or expression expected"},
        {"(1)(2)", "Function or expression expected"},
        {"[1]", "Function or expression expected"},
        {"2[1]", "Function or expression expected"},
        {"sin *", "Function or expression expected"},
        {"2 3", "Unknown identifier: \"2 3\""},
        {"distance", "Unknown identifier: \"dis\""},
        {"x", "Unknown identifier: \"x\""},
        {"#", "Unknown identifier: \"#\""},
        {"max(3)", "Function \"max\" requires parameters"},
        {"max", "Function \"max\" requires parameters"},
        {"max 2", "Function \"max\" requires parameters"},
        {"max*2", "Function \"max\" requires parameters"},
        {"sin", "Function \"sin\" requires expression before or after itself"},
        {"2*-3", "Function \"*\" requires expression before or after itself"},
        {"pi 2", "Function \"pi\" does not require expression before or after itself"},
        {"2 pi", "Function \"pi\" does not require expression before or after itself"},
        {"2 max[1,2]", "Function \"max\" does not require expression before or after itself"},
        {"pi sin 1", "Function \"pi\" does not require expression before or after itself"},
        {"pi (1)", "Function \"pi\" does not require expression before or after itself"},
        {"sin[1]", "Function \"sin\" does not require parameters"},
    };
    for (const Row& r : rows) {
        TTestParser p;
        SCOPED_TRACE(r.text);
        EXPECT_PARSE_ERROR(p.Compile(r.text), r.message);
    }
}

TEST(Compiler, ParameterGroupDependsOnTheSeparator) {
    TTestParser p;
    EXPECT_PARSE_ERROR(p.Compile("max(1,2)"), "Unknown identifier: \"1,2\"");
    SeparatorGuard comma(',');
    EXPECT_PARSE_ERROR(p.Compile("max(1,2)"), "Function \"max\" requires parameters");
}

TEST(Compiler, TextsThatCompileAlike) {
    struct Row {
        const char* a;
        const char* b;
    };
    const Row rows[] = {
        {"sin(0)", "sin (0)"},      {"sin 0", "sin0"},   {"SIN 1", "sin 1"},
        {"max[1,2]", "max [1; 2]"}, {"  2*3 ", "2 * 3"}, {"+2", "2"},
    };
    for (const Row& r : rows) {
        TTestParser p;
        EXPECT_TRUE(SameBytes(p.Compile(r.a), p.Compile(r.b))) << r.a << " vs " << r.b;
    }
}

TEST(Compiler, TermHeadersCarrySignAndType) {
    TTestParser p;
    TByteDynArray s = p.Compile("-double 3");
    p.Compile("1");
    EXPECT_EQ(GetInt32(s, 16 + TermNegativeOffset), -1);
    EXPECT_EQ(GetInt32(s, 16 + TermTypeIndexOffset), p.DoubleTypeIndex());
    EXPECT_EQ(p.ExecuteScript(s), -3);
    s = p.Compile("integer 2.5");
    EXPECT_EQ(p.Types()[static_cast<std::size_t>(GetInt32(s, 16 + TermTypeIndexOffset))].Name, "integer");
    EXPECT_EQ(p.ExecuteScript(s), 2.5);
}

TEST(Compiler, FailedCompileLeavesAFragmentOfSizeZero) {
    TTestParser p;
    TByteDynArray s;
    int calls = 0;
    p.OnFunction = [&](int, int, double&, double, double, const TParameters&, bool&) { ++calls; };
    EXPECT_PARSE_ERROR(p.CompileScript("(sin 1)+2+", s), "Function or expression expected");
    ASSERT_GE(s.size(), 16u);
    EXPECT_EQ(GetInt32(s, ScriptSizeOffset), 0);
    EXPECT_EQ(p.ExecuteScript(s), 0.0);
    EXPECT_EQ(calls, 1); // the attached group still ran
}

TEST(Compiler, NestingBound) {
    TTestParser p;
    const auto nested = [](int n, const std::string& core) {
        return std::string(static_cast<std::size_t>(n), '(') + core +
               std::string(static_cast<std::size_t>(n), ')');
    };
    EXPECT_EQ(p.Eval(nested(MaxNesting, "7")), 7);
    EXPECT_PARSE_ERROR(p.Compile(nested(MaxNesting + 1, "7")), "Expression is nested too deeply");
    EXPECT_PARSE_ERROR(p.Compile(nested(100000, "7")), "Expression is nested too deeply");

    std::string chain;
    for (int i = 0; i < MaxNesting; ++i)
        chain += "not ";
    EXPECT_EQ(p.Eval(chain + "5"), 5);
    EXPECT_PARSE_ERROR(p.Compile(chain + "not 5"), "Expression is nested too deeply");
    // Postfix calls follow one another without nesting.
    EXPECT_EQ(p.Eval("1" + std::string(1000, '!')), 1);
    // Brackets and chained calls add up.
    EXPECT_PARSE_ERROR(p.Compile(nested(MaxNesting / 2, chain.substr(0, chain.size() / 2) + "not 5")),
                       "Expression is nested too deeply");

    std::string lists = "1";
    for (int i = 0; i < MaxNesting; ++i)
        lists = "max[0," + lists + "]";
    EXPECT_EQ(p.Eval(lists), 1);
    EXPECT_PARSE_ERROR(p.Compile("max[0," + lists + "]"), "Expression is nested too deeply");
}

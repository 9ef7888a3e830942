// SPDX-License-Identifier: GPL-3.0-or-later

// Text scanning helpers, number reading under both decimal separators, and
// 64-bit rounding.

#include "ParserTestSupport.h"

#include <limits>

using namespace korvo;
using namespace korvo::test;

using Strings = std::vector<std::string>;

TEST(Scanning, SplitText) {
    struct Row {
        const char* text;
        Strings delimiters;
        Strings parts;
    };
    const Row rows[] = {
        {"2*3-4+5", {"-", "+"}, {"2*3", "-4", "+5"}},
        {"f['a-b']-1", {"-", "+"}, {"f['a-b']", "-1"}},
        {"-5", {"-", "+"}, {"-5"}},
        {"5--3", {"-", "+"}, {"5", "-", "-3"}},
        {"  ", {"-"}, {}},
        {"1 - 2", {}, {}},
        {"'a-b-c", {"-"}, {"'a", "-b", "-c"}}, // an unpaired quote locks nothing
        {"sinh 1", {"sin", "sinh"}, {"sinh 1"}},
        {"xor 1 or 2", {"or", "xor"}, {"xor 1", "or 2"}}, // sorted: "xor" is tried before "or"
    };
    for (const Row& r : rows)
        EXPECT_EQ(SplitText(r.text, r.delimiters, true), r.parts) << r.text;
    // Unsorted, the first delimiter in the given order wins and decides how
    // far the scan skips.
    EXPECT_EQ(SplitText("abc", {"a", "abc", "b"}, false), (Strings{"a", "bc"}));
    EXPECT_EQ(SplitText("abc", {"a", "abc", "b"}, true), (Strings{"abc"}));
}

TEST(Scanning, ProcessBracketsGoesOutermostFirst) {
    std::string s = "(1+(2))*(3)";
    Strings seen;
    ProcessBrackets(s, '(', ')',
                    [&](std::string& t, const std::string& inner, std::size_t first, std::size_t last) {
                        seen.push_back(inner);
                        t = t.substr(0, first) + '#' + t.substr(last + 1);
                    });
    EXPECT_EQ(seen, (Strings{"1+(2)", "3"}));
    EXPECT_EQ(s, "#*#");
}

TEST(Scanning, ProcessBracketsRefusesUnbalancedText) {
    for (const char* text : {"(1", "1)", ")(", "((1)", "(1))"}) {
        std::string s = text;
        EXPECT_PARSE_ERROR(ProcessBrackets(s, '(', ')',
                                           [](std::string& t, const std::string&, std::size_t f,
                                              std::size_t l) { t = t.substr(0, f) + 'x' + t.substr(l + 1); }),
                           "Bracket character expected");
    }
}

TEST(Scanning, SignsPrefixesAndSeparators) {
    struct Row {
        const char* text;
        bool negative;
        const char* rest;
    };
    for (const Row& r : {Row{"--5", false, "5"}, Row{"-+5", true, "5"}, Row{"- - 5", false, "5"},
                         Row{"- 5", true, "5"}, Row{"5-", false, "5-"}, Row{"", false, ""}}) {
        std::string s = r.text;
        EXPECT_EQ(ParseSign(s), r.negative) << r.text;
        EXPECT_EQ(s, r.rest) << r.text;
    }
    std::string s = ", ;,  7,";
    StripSeparators(s);
    EXPECT_EQ(s, "7,");
    s = "sin  1";
    EXPECT_FALSE(StripPrefix("sinh", s, true));
    EXPECT_FALSE(StripPrefix("SIN", s, true));
    EXPECT_TRUE(StripPrefix("sin", s, false));
    EXPECT_EQ(s, "sin  1");
    EXPECT_TRUE(StripPrefix("sin", s, true));
    EXPECT_EQ(s, "1");
}

TEST(Scanning, LocksAndLengthOrder) {
    const TLocks locks = FindLocks("a'b'c'd");
    ASSERT_EQ(locks.size(), 1u);
    EXPECT_EQ(locks[0].First, 1);
    EXPECT_EQ(locks[0].Last, 3);
    EXPECT_TRUE(InLock(2, locks));
    EXPECT_FALSE(InLock(5, locks));
    Strings s{"ab", "c", "def", "gh", "i"};
    SortByLength(s);
    EXPECT_EQ(s, (Strings{"def", "ab", "gh", "c", "i"}));
}

TEST(Scanning, ReadNumberGrammar) {
    struct Row {
        const char* text;
        bool ok;
        long double value;
    };
    const Row rows[] = {
        {".", true, 0},
        {"5.", true, 5},
        {"1e", true, 1},
        {"e5", false, 0},
        {"1e5", true, 1e5L},
        {"1E+2", true, 100},
        {"1e-2", true, 0.01L},
        {" -2.5 ", true, -2.5L},
        {"+.5", true, 0.5L},
        {"1.2.3", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"1 2", false, 0},
        {"1e5000", false, 0},
        {"1e-5000", false, 0},
        {"1e-4999", true, 0},
        {"1e4000", true, 1e4000L},
        {"1e0000000003", true, 1000},
        {"0.000", true, 0},
        {"x", false, 0},
    };
    for (const Row& r : rows) {
        long double v = -1;
        EXPECT_EQ(ReadNumber(r.text, v), r.ok) << r.text;
        if (r.ok) {
            EXPECT_EQ(v, r.value) << r.text;
        }
    }
}

TEST(Scanning, ClassifyTokenUnderBothSeparators) {
    TTestParser p;
    struct Row {
        char separator;
        const char* text;
        TTokenKind kind;
        long double number;
        const char* literal;
    };
    const Row rows[] = {
        {'.', "3.5", tokNumber, 3.5L, ""},      {',', "3.5", tokUnknown, 0, ""},
        {',', "3,5", tokNumber, 3.5L, ""},      {'.', "3,5", tokUnknown, 0, ""},
        {'.', "'it''s'", tokString, 0, "it's"}, {'.', "''", tokString, 0, "''"},
        {'.', "'a'b'", tokString, 0, "a"},      {'.', "sin", tokFunction, 0, ""},
        {'.', "SIN", tokFunction, 0, ""},       {'.', "(x)", tokBracket, 0, ""},
        {'.', "x", tokUnknown, 0, ""},          {'.', ".", tokNumber, 0, ""},
        {'.', "1e", tokNumber, 1, ""},          {'.', "e5", tokUnknown, 0, ""},
        {'.', "(", tokUnknown, 0, ""},
    };
    for (const Row& r : rows) {
        SeparatorGuard scope(r.separator);
        TTokenInfo info;
        p.ClassifyToken(r.text, info);
        EXPECT_EQ(info.Kind, r.kind) << r.text << " with " << r.separator;
        if (r.kind == tokNumber) {
            EXPECT_EQ(info.Number, r.number) << r.text;
        }
        if (r.kind == tokString) {
            EXPECT_EQ(info.Literal, r.literal) << r.text;
        }
    }
}

// The evaluator has no separator of its own: a change of the regional settings
// (start-up, the export's swap around a cell) is what it reads at once, and
// SetDecimalSeparator writes those settings.
TEST(Scanning, DecimalSeparatorIsTheRegionalSetting) {
    TTestParser p;
    for (char decimal : {',', '.', ','}) {
        const SeparatorGuard each(decimal);
        EXPECT_EQ(DecimalSeparator(), decimal);
        const std::string half = decimal == ',' ? "0,5" : "0.5";
        EXPECT_EQ(p.Eval("(" + half + ")*(4)"), 2.0) << half;
    }
    const SeparatorGuard saved;
    SetDecimalSeparator(',');
    EXPECT_EQ(CurrentRegionalSettings().DecimalSeparator, ',');
}

TEST(Scanning, TypePrefix) {
    TTestParser p;
    p.Compile("1"); // sorts the tables
    struct Row {
        const char* text;
        const char* type;
        const char* rest;
    };
    for (const Row& r : {Row{"integer5", "integer", "5"}, Row{"int64 7", "int64", "7"},
                         Row{"double  3", "double", "3"}, Row{"7", "byte", "7"}, Row{"word", "word", ""}}) {
        std::string s = r.text;
        const int t = p.ParseTypePrefix(s);
        ASSERT_GE(t, 0);
        EXPECT_EQ(p.Types()[static_cast<std::size_t>(t)].Name, r.type) << r.text;
        EXPECT_EQ(s, r.rest) << r.text;
    }
}

TEST(Rounding, HalvesToEvenAndOutOfRange) {
    constexpr std::int64_t bad = std::numeric_limits<std::int64_t>::min();
    struct Row {
        double x;
        std::int64_t r;
    };
    const Row rows[] = {{2.5, 2},
                        {3.5, 4},
                        {-2.5, -2},
                        {-3.5, -4},
                        {0.49999999999999994, 0},
                        {-0.5, 0},
                        {1.5, 2},
                        {2.4, 2},
                        {-2.6, -3},
                        {4503599627370497.0, 4503599627370497},
                        {9.2233720368547748e18, 9223372036854774784},
                        {9.2233720368547758e18, bad},
                        {-9.2233720368547758e18, bad},
                        {std::nan(""), bad},
                        {INFINITY, bad},
                        {-INFINITY, bad}};
    for (const Row& r : rows)
        EXPECT_EQ(Round64(r.x), r.r) << r.x;
}

// SPDX-License-Identifier: GPL-3.0-or-later

// Byte layout of compiled scripts, the emit and buffer helpers, and linking.

#include "ParserTestSupport.h"
#include "parser/MemUtils.h"

using namespace korvo;
using namespace korvo::test;

namespace {

TByteDynArray NumberTerm(double v, bool negative, std::int32_t type) {
    return Bytes().I32(24).I32(negative ? -1 : 0).I32(type).I32(icNumber).F64(v);
}

} // namespace

TEST(ScriptFormat, OneNumberIsFortyBytes) {
    TTestParser p;
    const TByteDynArray script = p.Compile("2");
    const TByteDynArray expected =
        Bytes().F64(0).I32(40).I32(0).I32(24).I32(0).I32(p.ByteTypeIndex()).I32(icNumber).F64(2.0);
    EXPECT_TRUE(SameBytes(expected, script));
    EXPECT_TRUE(p.IsConstantScript(script));
    EXPECT_TRUE(p.IsConstantScript(p.Compile("-2")));
    EXPECT_FALSE(p.IsConstantScript(p.Compile("2*3")));
    EXPECT_FALSE(p.IsConstantScript(TByteDynArray{}));
    EXPECT_FALSE(p.IsConstantScript(TByteDynArray(20, 0)));
}

TEST(ScriptFormat, BracketGroupIsListedInOffsets) {
    TTestParser p;
    const TByteDynArray script = p.Compile("(2)");
    const TByteDynArray inner =
        Bytes().F64(0).I32(40).I32(0).I32(24).I32(0).I32(p.ByteTypeIndex()).I32(icNumber).F64(2.0);
    const TByteDynArray expected = Bytes()
                                       .F64(0)
                                       .I32(20 + 16 + 40)
                                       .I32(1)
                                       .I32(36)
                                       .I32(16 + 40)
                                       .I32(0)
                                       .I32(p.ByteTypeIndex())
                                       .I32(icSubExpression)
                                       .Raw(inner);
    EXPECT_TRUE(SameBytes(expected, script));
}

TEST(ScriptFormat, OffsetsFollowTheirItemsWhenMoreGroupsAreRegistered) {
    TTestParser p;
    TByteDynArray script = p.Compile("(1)+2*(3)+max[(4),5]");
    ASSERT_EQ(GetInt32(script, ScriptCountOffset), 2); // the "(4)" belongs to the parameter list
    for (int i = 0; i < 2; ++i) {
        const auto at = static_cast<std::size_t>(GetInt32(script, ScriptHeaderSize + 4 * i));
        EXPECT_EQ(GetInt32(script, at - 4), icSubExpression) << "entry " << i;
    }
    EXPECT_EQ(p.ExecuteScript(script), 1 + 6 + 5);
}

TEST(ScriptFormat, StringsAndParameterListsKeepTheirBytes) {
    TTestParser p;
    const TByteDynArray script = p.Compile("'Abc'");
    const TByteDynArray expected =
        Bytes().F64(0).I32(39).I32(0).I32(23).I32(0).I32(p.ByteTypeIndex()).I32(icString).I32(3).Get();
    TByteDynArray withText = expected;
    AppendText(withText, "abc");
    EXPECT_TRUE(SameBytes(withText, script));
    EXPECT_EQ(p.Compile("max[1,2]"), p.Compile("max [1; 2]"));
}

TEST(ScriptFormat, LinkScriptFoldsConstantTermsLast) {
    TTestParser p;
    const TByteDynArray call = p.Compile("sin 1");
    const TByteDynArray callTerm(call.begin() + 16, call.end());
    TByteDynArray linked;
    LinkScript({NumberTerm(2, false, 1), NumberTerm(5, true, 1), callTerm}, linked, 8, true);
    const TByteDynArray expected = Bytes()
                                       .F64(0)
                                       .I32(static_cast<std::int32_t>(16 + callTerm.size() + 24))
                                       .I32(0)
                                       .Raw(callTerm)
                                       .Raw(NumberTerm(3, true, 8));
    EXPECT_TRUE(SameBytes(expected, linked));

    LinkScript({NumberTerm(2, false, 1), callTerm}, linked, 8, false);
    EXPECT_TRUE(SameBytes(Bytes()
                              .F64(0)
                              .I32(static_cast<std::int32_t>(16 + 24 + callTerm.size()))
                              .I32(0)
                              .Raw(NumberTerm(2, false, 1))
                              .Raw(callTerm),
                          linked));
}

TEST(ScriptFormat, LinkScriptBuildsTheOffsetsTable) {
    TTestParser p;
    const TByteDynArray source = p.Compile("2*(3)+(4)");
    // Cut the linked script's terms back out and link them again.
    TScripts terms;
    WalkScript(source, [&](std::size_t& pos, std::size_t term, std::size_t termEnd) {
        if (pos == term + TermHeaderSize)
            terms.emplace_back(source.begin() + static_cast<long>(term),
                               source.begin() + static_cast<long>(termEnd));
        pos = termEnd;
    });
    ASSERT_EQ(terms.size(), 2u);
    TByteDynArray linked;
    LinkScript(terms, linked, p.DoubleTypeIndex(), false);
    EXPECT_TRUE(SameBytes(source, linked));
}

TEST(ScriptFormat, LinkScriptRefusesUnknownItems) {
    TByteDynArray bad = Bytes().I32(16).I32(0).I32(0).I32(9);
    TByteDynArray out;
    EXPECT_PARSE_ERROR(LinkScript({bad}, out, 0, false), "Invalid script");
}

TEST(ScriptFormat, NaNSumIsFoldedAsNegative) {
    TByteDynArray linked;
    LinkScript({NumberTerm(std::nan(""), false, 1)}, linked, 8, true);
    EXPECT_EQ(GetInt32(linked, 16 + TermNegativeOffset), -1);
}

TEST(MemUtils, DeleteAndInsertStayInRange) {
    struct Row {
        long long offset, count, size;
        bool ok;
        const char* after;
    };
    const Row deletes[] = {
        {1, 2, 6, true, "adefef"},   {0, 6, 6, true, "abcdef"},  {4, 3, 6, false, "abcdef"},
        {-1, 1, 6, false, "abcdef"}, {0, 1, 7, false, "abcdef"}, {2, -1, 6, false, "abcdef"},
    };
    for (const Row& r : deletes) {
        std::string b = "abcdef";
        std::span<std::uint8_t> buf(reinterpret_cast<std::uint8_t*>(b.data()), b.size());
        EXPECT_EQ(DeleteBytes(buf, r.offset, r.count, r.size), r.ok) << r.offset << "," << r.count;
        EXPECT_EQ(b, r.after) << r.offset << "," << r.count;
    }
    const Row inserts[] = {{1, 2, 4, true, "aXYbcd"},
                           {4, 2, 4, true, "abcdXY"},
                           {5, 2, 4, false, "abcd__"},
                           {0, 2, 5, false, "abcd__"}};
    for (const Row& r : inserts) {
        std::string b = "abcd__";
        std::span<std::uint8_t> buf(reinterpret_cast<std::uint8_t*>(b.data()), b.size());
        EXPECT_EQ(InsertBytes(buf, reinterpret_cast<const std::uint8_t*>("XY"), r.offset, r.count, r.size),
                  r.ok);
        EXPECT_EQ(b, r.after) << r.offset;
    }
}

TEST(MemUtils, ZeroAndGrow) {
    TByteDynArray b{1, 2, 3, 4};
    ZeroBytes(b, 1, 3);
    EXPECT_EQ(b, (TByteDynArray{1, 0, 0, 4}));
    ZeroBytes(b, 3, 3);
    ZeroBytes(b, 2, 99);
    EXPECT_EQ(b, (TByteDynArray{1, 0, 0, 0}));
    b = {7};
    SetLengthZeroed(b, 3);
    EXPECT_EQ(b, (TByteDynArray{7, 0, 0}));
    std::vector<int> ints;
    EXPECT_EQ(AppendInteger(ints, 5), 0);
    EXPECT_EQ(AppendInteger(ints, 6), 1);
}

TEST(ScriptFormat, StringParametersAreCutTo255Bytes) {
    TParameters params;
    AddStringParameter(params, 3, std::string(300, 'x'));
    EXPECT_EQ(params[0].Literal.size(), 255u);
    EXPECT_EQ(params[0].TypeIndex, 3);
}

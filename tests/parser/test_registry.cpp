// SPDX-License-Identifier: GPL-3.0-or-later

// The function and type tables: registration, sorting, deletion, lookup.

#include "ParserTestSupport.h"

using namespace korvo;
using namespace korvo::test;

namespace {

std::vector<std::string> FunctionNames(const TCustomParser& p) {
    std::vector<std::string> names;
    for (const TFunctionEntry& f : p.Functions())
        names.push_back(f.Name);
    return names;
}

// Every registered variable must equal its entry's position.
void ExpectIndexVarsInPlace(const TCustomParser& p) {
    for (std::size_t i = 0; i < p.Functions().size(); ++i)
        EXPECT_EQ(*p.Functions()[i].IndexVar, static_cast<int>(i)) << p.Functions()[i].Name;
    for (std::size_t i = 0; i < p.Types().size(); ++i)
        EXPECT_EQ(*p.Types()[i].IndexVar, static_cast<int>(i)) << p.Types()[i].Name;
}

} // namespace

TEST(Registry, SortedOrderAfterTheFirstCompile) {
    TTestParser p;
    EXPECT_FALSE(p.FunctionsSorted());
    EXPECT_FALSE(p.TypesSorted());
    p.Compile("1");
    EXPECT_TRUE(p.FunctionsSorted());
    EXPECT_TRUE(p.TypesSorted());
    EXPECT_EQ(FunctionNames(p),
              (std::vector<std::string>{"random", "sqrt", "not", "and", "xor", "shl", "shr", "sin", "cos",
                                        "tan", "max", "or", "pi", "{", "*", "/", "!", "^"}));
    std::vector<std::string> types;
    for (const TTypeEntry& t : p.Types())
        types.push_back(t.Name);
    EXPECT_EQ(types, (std::vector<std::string>{"shortint", "smallint", "longword", "integer", "single",
                                               "double", "int64", "byte", "word"}));
    ExpectIndexVarsInPlace(p);
    EXPECT_EQ(p.Types()[static_cast<std::size_t>(p.ByteTypeIndex())].Name, "byte");
    EXPECT_EQ(p.Types()[static_cast<std::size_t>(p.DoubleTypeIndex())].Name, "double");
}

TEST(Registry, DuplicatesIgnoringCaseAreRefused) {
    TTestParser p;
    const std::size_t before = p.Functions().size();
    int var = 7;
    p.AddFunction(var, "SIN", false, true, true, 0);
    EXPECT_EQ(var, -1);
    EXPECT_EQ(p.Functions().size(), before);
    p.AddFunction(var, "", false, true, true, 0);
    EXPECT_EQ(var, -1);
    p.AddType(var, "Byte");
    EXPECT_EQ(var, -1);
    p.AddFunction(var, "Hypot2", false, false, true, 2);
    EXPECT_EQ(var, static_cast<int>(before));
    EXPECT_EQ(p.Functions().back().Name, "hypot2");
    EXPECT_EQ(p.FindFunction("HYPOT2"), var);
    EXPECT_EQ(p.FindFunction("hypot"), -1);
}

TEST(Registry, LongNamesAreCut) {
    TTestParser p;
    int var = -1;
    p.AddFunction(var, std::string(300, 'Q'), false, false, true, 0);
    EXPECT_EQ(p.Functions().back().Name, std::string(255, 'q'));
}

TEST(Registry, DeleteMovesLaterEntriesAndTheirVariables) {
    TCustomParser p;
    int a = -1, b = -1, c = -1;
    p.AddFunction(a, "a", false, false, false, 0);
    p.AddFunction(b, "b", false, false, false, 0);
    p.AddFunction(c, "c", false, false, false, 0);
    EXPECT_FALSE(p.DeleteFunction(3));
    EXPECT_FALSE(p.DeleteFunction(-1));
    EXPECT_TRUE(p.DeleteFunction(0));
    EXPECT_EQ(a, 0); // the removed entry's variable is left alone
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(p.Functions().size(), 2u);

    int t1 = -1, t2 = -1;
    p.AddType(t1, "t1");
    p.AddType(t2, "t2");
    EXPECT_TRUE(p.DeleteType(0));
    EXPECT_EQ(t2, 0);
    EXPECT_FALSE(p.DeleteType(1));
}

TEST(Registry, LaterRegistrationResortsAtTheNextCompile) {
    TTestParser p;
    p.Compile("1");
    int longer = -1;
    p.AddFunction(longer, "sinus", false, true, true, 0);
    EXPECT_FALSE(p.FunctionsSorted());
    const TByteDynArray script = p.Compile("sinus 2");
    EXPECT_EQ(p.Functions()[static_cast<std::size_t>(longer)].Name, "sinus");
    EXPECT_EQ(GetInt32(script, 16 + 12 + 4), longer);
    ExpectIndexVarsInPlace(p);
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/TextEncoding.h"

#include <gtest/gtest.h>

using namespace korvo;

TEST(TextEncoding, Utf8ToUtf16) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"Iteración:", u"Iteraci\u00F3n:"},
        {"kg·m2/s2", u"kg\u00B7m2/s2"},
        {"€", u"\u20AC"},
        {"\xF0\x9F\x8E\xAF", u"\U0001F3AF"}, // a surrogate pair
        {"a\xFF"
         "b",
         u"a\uFFFD"
         "b"},                                             // a byte that never starts a character
        {"\xC3", u"\uFFFD"},                               // truncated at the end
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // an overlong form
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"\xE2\x82"
         "x",
         u"\uFFFD\uFFFD"
         "x"}, // a broken sequence before ASCII
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    }
}

TEST(TextEncoding, Utf8ToCp1252) {
    struct Case {
        std::string utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"Page &P of &N", "Page &P of &N"},
        {"Año ñ ü", "A\xF1o \xF1 \xFC"},
        {"€ „ Ÿ ž", "\x80 \x84 \x9F \x9E"},
        {"\xC2\x81", "?"}, // U+0081: no character of the page
        {"Ω", "?"},
        {"🎯", "?"},
        {"\xFF", "?"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
    }
}

// The way back, checked against the code page's own chart: the euro sign, the
// quotes and the letters of 0x80..0x9F, Latin-1 above, and the five bytes the
// page leaves unassigned kept as themselves.
TEST(TextEncoding, Cp1252ToUtf16) {
    EXPECT_EQ(Cp1252ToUtf16("\x80 \x84 \x9F \x9E"), u"\u20AC \u201E \u0178 \u017E");
    EXPECT_EQ(Cp1252ToUtf16("A\xF1o \xA0\xFF"), u"A\u00F1o \u00A0\u00FF");
    EXPECT_EQ(Cp1252ToUtf16("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Cp1252ToUtf16(Utf8ToCp1252("0.00 € Ω")), u"0.00 \u20AC ?");
}

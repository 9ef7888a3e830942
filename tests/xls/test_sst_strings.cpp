// SPDX-License-Identifier: GPL-3.0-or-later

#include "ByteCompare.h"
#include "xls/SstStrings.h"

#include <stdexcept>
#include <string>

using korvo::TByteStream;
using korvo::TsstStrings;
using korvo::test::BytesEqual;
using korvo::test::TBytes;
using korvo::test::TByteVector;

namespace {

TByteVector Saved(const TsstStrings& sst) {
    TByteStream s;
    sst.SaveToStream(s);
    EXPECT_EQ(sst.StreamSize(), s.Size());
    return s.ToVector();
}

std::u16string Letters(std::size_t n, char16_t first = u'a') {
    std::u16string s(n, u' ');
    for (std::size_t i = 0; i < n; ++i) {
        s[i] = static_cast<char16_t>(first + i % 26);
    }
    return s;
}

// Reads an SST record and its CONTINUE records back the way a reader of the format does: every record
// header must announce exactly the bytes up to the next header, a string may only be cut between code
// units, and the piece after a cut opens with the option byte.
struct TDecoded {
    std::uint32_t total = 0;
    std::uint32_t unique = 0;
    std::vector<std::u16string> strings;
    std::vector<std::uint16_t> lengths;
};

TDecoded Decode(const TByteVector& bytes) {
    std::vector<TByteVector> records;
    TDecoded out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::uint16_t id = static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
        const std::uint16_t len = static_cast<std::uint16_t>(bytes.at(at + 2) | bytes.at(at + 3) << 8);
        EXPECT_EQ(id, records.empty() ? 0x00FC : 0x003C);
        EXPECT_LE(len, 8224);
        EXPECT_LE(at + 4 + len, bytes.size()) << "record announces more bytes than follow";
        records.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                             bytes.begin() +
                                 static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + 4 + len)));
        out.lengths.push_back(len);
        at += 4 + len;
    }
    std::size_t r = 0;
    std::size_t pos = 0;
    auto byte = [&]() { return records.at(r).at(pos++); };
    auto u16 = [&]() {
        const std::uint16_t lo = byte();
        return static_cast<std::uint16_t>(lo | byte() << 8);
    };
    auto u32 = [&]() {
        const std::uint32_t lo = u16();
        return lo | static_cast<std::uint32_t>(u16()) << 16;
    };
    out.total = u32();
    out.unique = u32();
    for (std::uint32_t i = 0; i < out.unique; ++i) {
        if (pos == records.at(r).size()) {
            ++r;
            pos = 0;
        }
        const std::uint16_t count = u16();
        EXPECT_EQ(byte(), 0x01);
        std::u16string s;
        while (s.size() < count) {
            if (pos == records.at(r).size()) {
                ++r;
                pos = 0;
                EXPECT_EQ(byte(), 0x01) << "a continued string must go on with its option byte";
            }
            EXPECT_LE(pos + 2, records.at(r).size()) << "a code unit is cut in two";
            s.push_back(static_cast<char16_t>(u16()));
        }
        out.strings.push_back(s);
    }
    EXPECT_EQ(r + 1, records.size());
    EXPECT_EQ(pos, records.at(r).size()) << "bytes left after the last string";
    return out;
}

} // namespace

TEST(SstStrings, IndicesFollowFirstAddition) {
    TsstStrings sst;
    EXPECT_EQ(sst.AddString("a"), 0u);
    EXPECT_EQ(sst.AddString("b"), 1u);
    EXPECT_EQ(sst.AddString("a"), 0u);
    EXPECT_TRUE(BytesEqual(TBytes()
                               .Raw({0xFC, 0x00, 0x12, 0x00})
                               .Raw({0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00})
                               .Raw({0x01, 0x00, 0x01, 0x61, 0x00, 0x01, 0x00, 0x01, 0x62, 0x00}),
                           Saved(sst)));
}

TEST(SstStrings, SameStringOnlyWithIdenticalCodeUnits) {
    struct Case {
        const char* first;
        const char* second;
        bool same;
    };
    const Case cases[] = {
        {"A", "a", false},
        {"ab", "ab ", false},
        {"ab", "ab", true},
        {"", "", true},
        {"", " ", false},
        {"é", "e\xCC\x81", false}, // precomposed and combining forms stay apart
        {"Iteración:", "Iteración:", true},
    };
    for (const Case& c : cases) {
        TsstStrings sst;
        sst.AddString(c.first);
        EXPECT_EQ(sst.AddString(c.second) == 0, c.same) << c.first << " / " << c.second;
        EXPECT_EQ(sst.TotalCount(), 2u);
        EXPECT_EQ(sst.UniqueCount(), c.same ? 1u : 2u);
    }
}

TEST(SstStrings, EmptyTableIsEightBytes) {
    TsstStrings sst;
    EXPECT_TRUE(BytesEqual(TBytes().Raw({0xFC, 0x00, 0x08, 0x00}).Fill(0, 8), Saved(sst)));
}

TEST(SstStrings, AccentedTextIsStoredAsUtf16) {
    TsstStrings sst;
    sst.AddString("Iteración:");
    const TByteVector saved = Saved(sst);
    EXPECT_TRUE(
        BytesEqual(TBytes()
                       .Raw({0x0A, 0x00, 0x01, 0x49, 0x00, 0x74, 0x00, 0x65, 0x00, 0x72, 0x00, 0x61, 0x00})
                       .Raw({0x63, 0x00, 0x69, 0x00, 0xF3, 0x00, 0x6E, 0x00, 0x3A, 0x00}),
                   TByteVector(saved.begin() + 12, saved.end())));
}

// After "x" the record holds 13 bytes; a string of 8211 bytes (4104 characters) still fits. After "x"
// and "" it holds 16; 8209 bytes (4103 characters) would make 8225 and start a CONTINUE record.
TEST(SstStrings, StringThatFillsTheRecordAndOneByteMore) {
    {
        TsstStrings sst;
        sst.AddString("x");
        sst.AddString(Letters(4104));
        EXPECT_EQ(sst.RecordLengths(), (std::vector<std::uint16_t>{8224}));
        EXPECT_EQ(Saved(sst).size(), 4u + 8224);
    }
    {
        TsstStrings sst;
        sst.AddString("x");
        sst.AddString("");
        sst.AddString(Letters(4103));
        EXPECT_EQ(sst.RecordLengths(), (std::vector<std::uint16_t>{16, 8209}));
        const TByteVector saved = Saved(sst);
        EXPECT_TRUE(BytesEqual(TBytes().U16(0x003C).U16(8209).U16(4103).U8(0x01).Utf16(u"abc"),
                               TByteVector(saved.begin() + 20, saved.begin() + 20 + 4 + 3 + 6)));
    }
}

// A string longer than a record holds begins where it stands and goes on in CONTINUE records that each
// open with the option byte; its pieces are whole code units.
TEST(SstStrings, LongStringsAreSplitAtCodeUnits) {
    struct Case {
        const char* name;
        std::vector<std::u16string> strings;
        std::vector<std::uint16_t> lengths;
    };
    const Case cases[] = {
        // first string: 8 + 3 + 2 × 4106 = 8223, the rest 894 characters after the option byte
        {"5000 first", {Letters(5000)}, {8223, 1 + 2 * 894}},
        // after "x" (13 bytes): 4104 characters fill the record, 896 follow
        {"5000 second", {u"x", Letters(5000)}, {8224, 1 + 2 * 896}},
        // three records, then a short string fits beside the last piece
        {"10000 then z", {u"x", Letters(10000), u"z"}, {8224, 8223, 1 + 2 * 1785 + 5}},
        // a string too long for the first record beside the counts, though short enough for a CONTINUE:
        // it is split too, since an SST record of counts alone is not read by common readers
        {"4110 first", {Letters(4110)}, {8223, 1 + 2 * 4}},
        {"4110 second", {u"x", Letters(4110)}, {13, 8223}},
        {"4111 second", {u"x", Letters(4111)}, {8224, 1 + 2 * 7}},
    };
    for (const Case& c : cases) {
        TsstStrings sst;
        for (const auto& s : c.strings) {
            sst.AddString(s);
        }
        EXPECT_EQ(sst.RecordLengths(), c.lengths) << c.name;
        const TDecoded back = Decode(Saved(sst));
        EXPECT_EQ(back.lengths, c.lengths) << c.name;
        EXPECT_EQ(back.strings, c.strings) << c.name;
    }
}

TEST(SstStrings, ManyStringsComeBackInOrderWithAnnouncedLengths) {
    TsstStrings sst;
    std::vector<std::u16string> expected;
    for (int i = 0; i < 20000; ++i) {
        std::u16string s = Letters(static_cast<std::size_t>(i % 37), static_cast<char16_t>(u'A' + i % 7));
        s += static_cast<char16_t>(0x4E00 + i);
        EXPECT_EQ(sst.AddString(s), expected.size());
        expected.push_back(s);
        EXPECT_EQ(sst.AddString(expected[static_cast<std::size_t>(i / 2)]),
                  static_cast<std::uint32_t>(i / 2));
    }
    sst.AddString(Letters(9000));
    expected.push_back(Letters(9000));
    const TDecoded back = Decode(Saved(sst));
    EXPECT_EQ(back.total, 40001u);
    EXPECT_EQ(back.unique, expected.size());
    EXPECT_EQ(back.strings, expected);
    EXPECT_EQ(back.lengths, sst.RecordLengths());
}

TEST(SstStrings, TextOverSixtyFiveThousandUnitsIsRefused) {
    TsstStrings sst;
    EXPECT_EQ(sst.AddString(Letters(65535)), 0u);
    EXPECT_THROW(sst.AddString(Letters(65536)), std::runtime_error);
    EXPECT_EQ(sst.AddString("after"), 1u);
    EXPECT_EQ(sst.UniqueCount(), 2u);
}

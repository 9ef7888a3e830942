// SPDX-License-Identifier: GPL-3.0-or-later

#include "ByteCompare.h"
#include "xls/BiffRecord.h"

#include <stdexcept>

using namespace korvo;
using korvo::test::BytesEqual;
using korvo::test::TBytes;
using korvo::test::TByteVector;

namespace {

TByteVector Saved(const TbiffRecord& r) {
    TByteStream s;
    r.SaveToStream(s);
    EXPECT_EQ(r.TotalSize(), s.Size());
    return s.ToVector();
}

TByteVector Slice(const TByteVector& v, std::size_t from, std::size_t count) {
    return TByteVector(v.begin() + static_cast<std::ptrdiff_t>(from),
                       v.begin() + static_cast<std::ptrdiff_t>(from + count));
}

} // namespace

TEST(RecordHeader, IdThenLength) {
    TByteStream s;
    WriteRecordHeader(s, 0x0809, 16);
    EXPECT_TRUE(BytesEqual({0x09, 0x08, 0x10, 0x00}, s.ToVector()));
}

// Data is cut at 8220 bytes; every further piece follows under a CONTINUE header.
TEST(RecordObject, ContinuesAfter8220Bytes) {
    struct Case {
        std::size_t size;
        std::vector<std::size_t> pieces;
    };
    const Case cases[] = {
        {0, {0}},
        {1, {1}},
        {8220, {8220}},
        {8221, {8220, 1}},
        {16440, {8220, 8220}},
        {16441, {8220, 8220, 1}},
        {65535, {8220, 8220, 8220, 8220, 8220, 8220, 8220, 7995}},
    };
    for (const Case& c : cases) {
        const TByteVector data = test::PatternBytes(c.size);
        TBytes expected;
        std::size_t done = 0;
        for (std::size_t k = 0; k < c.pieces.size(); ++k) {
            expected.Record(k == 0 ? 0x00EB : 0x003C, Slice(data, done, c.pieces[k]));
            done += c.pieces[k];
        }
        EXPECT_TRUE(BytesEqual(expected, Saved(TbiffRecord(data, 0x00EB)))) << c.size << " bytes";
    }
}

TEST(RecordObject, DataOver65535BytesIsRefusedExceptForTheDrawingGroup) {
    EXPECT_THROW(TbiffRecord(0x0031, 65536), std::length_error);
    const TByteVector data = test::PatternBytes(70000);
    const TByteVector saved = Saved(TbiffMSODrawingGroup(data));
    EXPECT_EQ(saved.size(), 70000u + 4 * 9); // 8 pieces of 8220 and one of 4240
    EXPECT_TRUE(BytesEqual(TBytes().U16(0x003C).U16(4240).Append(Slice(data, 8 * 8220, 4240)),
                           Slice(saved, saved.size() - 4244, 4244)));
}

TEST(RecordObject, TrailingRecordFollowsAndClearZeroes) {
    TbiffRecord first(TByteVector{1, 2}, 0x0012);
    first.SetTrailing(std::make_unique<TbiffRecord>(TByteVector{3}, 0x0013));
    EXPECT_TRUE(BytesEqual(TBytes().Record(0x0012, {1, 2}).Record(0x0013, {3}), Saved(first)));
    first.Clear();
    EXPECT_TRUE(BytesEqual(TBytes().Record(0x0012, {0, 0}).Record(0x0013, {3}), Saved(first)));
}

TEST(RecordObject, TypedRecordsOfTheGlobals) {
    struct Case {
        const char* name;
        std::unique_ptr<TbiffRecord> record;
        TByteVector expected;
    };
    auto sheet = std::make_unique<TbiffBoundSheet>(u"Trayectoria");
    sheet->SetStreamPosition(0x00001234);
    EXPECT_EQ(sheet->StreamPosition(), 0x1234u);
    Case cases[] = {
        {"STYLE Comma", std::make_unique<TbiffStyle>(0x8010, 3, 0xFF),
         TBytes().Raw({0x93, 0x02, 0x04, 0x00}).Raw({0x10, 0x80, 0x03, 0xFF})},
        {"COUNTRY", std::make_unique<TbiffCountry>(1, 1),
         TBytes().Raw({0x8C, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 0x00})},
        {"BOUNDSHEET", std::move(sheet),
         TBytes().U16(0x0085).U16(8 + 22).U32(0x1234).U8(0).U8(0).U8(11).U8(1).Utf16(u"Trayectoria")},
        {"SUPBOOK", std::make_unique<TbiffSupbookInternal>(2),
         TBytes().U16(0x01AE).U16(4).U16(2).U16(0x0401)},
        {"EXTERNSHEET", std::make_unique<TbiffExternSheet>(2),
         TBytes().U16(0x0017).U16(14).U16(2).U16(0).U16(0).U16(0).U16(0).U16(1).U16(1)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(BytesEqual(c.expected, Saved(*c.record))) << c.name;
    }
}

TEST(RecordObject, BoundSheetTitleKeepsAtMost255Characters) {
    const std::u16string title(300, u'x');
    const TByteVector saved = Saved(TbiffBoundSheet(title));
    EXPECT_EQ(saved.size(), 4u + 8 + 2 * 255);
    EXPECT_EQ(saved[4 + 6], 255);
}

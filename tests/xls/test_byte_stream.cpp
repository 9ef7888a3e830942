// SPDX-License-Identifier: GPL-3.0-or-later

#include "ByteCompare.h"
#include "xls/ByteStream.h"

#include <numeric>
#include <stdexcept>

using korvo::TByteStream;
using korvo::test::BytesEqual;
using korvo::test::TBytes;
using korvo::test::TByteVector;

namespace {

TByteVector Sequence(std::size_t n, std::uint8_t start) {
    TByteVector v(n);
    for (std::size_t i = 0; i < n; ++i) {
        v[i] = static_cast<std::uint8_t>(start + i * 31 + i / 253);
    }
    return v;
}

} // namespace

TEST(ByteStream, NumbersAreLittleEndian) {
    TByteStream s;
    s.WriteU8(0x01);
    s.WriteU16(0x0809);
    s.WriteU32(0x12345678);
    s.WriteDouble(0.001);
    EXPECT_TRUE(BytesEqual(TBytes()
                               .Raw({0x01, 0x09, 0x08, 0x78, 0x56, 0x34, 0x12})
                               .Raw({0xFC, 0xA9, 0xF1, 0xD2, 0x4D, 0x62, 0x50, 0x3F}),
                           s.ToVector()));
}

TEST(ByteStream, PatchOverwritesInPlaceAndKeepsThePosition) {
    TByteStream s;
    s.WriteU32(0);
    s.WriteU16(0xAAAA);
    s.PatchU16(1, 0x1234);
    s.PatchU32(2, 0xCAFEBABE);
    EXPECT_EQ(s.Position(), 6u);
    EXPECT_TRUE(BytesEqual(TBytes().Raw({0x00, 0x34, 0xBE, 0xBA, 0xFE, 0xCA}), s.ToVector()));
    EXPECT_THROW(s.PatchU32(3, 0), std::out_of_range); // would reach past the end
    EXPECT_THROW(s.Seek(7), std::out_of_range);
}

TEST(ByteStream, WriteAfterSeekOverwritesThenGrows) {
    TByteStream s = korvo::test::StreamOf({1, 2, 3, 4});
    s.Seek(2);
    const std::uint8_t more[4] = {9, 9, 9, 9};
    s.Write(more, 4);
    EXPECT_TRUE(BytesEqual({1, 2, 9, 9, 9, 9}, s.ToVector()));
}

// Chunk boundaries lie at multiples of 64 KiB; sizes and places around them catch off-by-one moves.
TEST(ByteStream, InsertKeepsEveryByteInOrder) {
    struct Case {
        std::size_t size;
        std::size_t at;
        std::size_t block;
    };
    const Case cases[] = {
        {0, 0, 0},         {0, 0, 10},        {10, 0, 5},         {10, 10, 5},          {10, 4, 0},
        {70000, 230, 500}, {65536, 1, 65536}, {200000, 65535, 3}, {200000, 70, 131072},
    };
    for (const Case& c : cases) {
        const TByteVector base = Sequence(c.size, 1);
        const TByteVector block = Sequence(c.block, 7);
        TByteStream s = korvo::test::StreamOf(base);
        TByteStream b = korvo::test::StreamOf(block);
        s.Insert(c.at, b);
        TByteVector expected(base.begin(), base.begin() + static_cast<std::ptrdiff_t>(c.at));
        expected.insert(expected.end(), block.begin(), block.end());
        expected.insert(expected.end(), base.begin() + static_cast<std::ptrdiff_t>(c.at), base.end());
        EXPECT_TRUE(BytesEqual(expected, s.ToVector())) << "size " << c.size << " at " << c.at;
        EXPECT_EQ(s.Position(), s.Size());
    }
}

TEST(ByteStream, ReadAcrossChunks) {
    const TByteVector base = Sequence(140000, 3);
    const TByteStream s = korvo::test::StreamOf(base);
    TByteVector part(70000);
    s.Read(60000, part.data(), part.size());
    EXPECT_TRUE(BytesEqual(TByteVector(base.begin() + 60000, base.begin() + 130000), part));
    EXPECT_THROW(s.Read(139999, part.data(), 2), std::out_of_range);
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ByteCompare.h"
#include "OleReadBack.h"
#include "xls/CompoundFile.h"

#include <fstream>

using namespace korvo;
using korvo::test::BytesEqual;
using korvo::test::TByteVector;

namespace {

std::uint32_t U32At(const TByteVector& file, std::size_t offset) {
    return static_cast<std::uint32_t>(file.at(offset) | file.at(offset + 1) << 8 | file.at(offset + 2) << 16 |
                                      static_cast<std::uint32_t>(file.at(offset + 3)) << 24);
}

std::size_t SectorOffset(std::size_t sector) {
    return 512 * (sector + 1);
}

constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFat = 0xFFFFFFFD;
constexpr std::uint32_t kDif = 0xFFFFFFFC;

} // namespace

// Streams of every kind an export writes: empty, in the mini stream (under 4096 bytes), in regular
// sectors, the largest without DIFAT, and beyond, where the FAT list continues in DIFAT sectors.
TEST(CompoundFile, IndependentReaderGetsTheStreamBack) {
    const std::size_t sizes[] = {0, 1, 2000, 4095, 4096, 300000, 7087104, 7087105, 10000000};
    const test::TScratchFolder folder;
    for (const std::size_t size : sizes) {
        const TByteVector stream = test::PatternBytes(size);
        const TByteVector file = BuildCompoundFile(test::StreamOf(stream));
        EXPECT_EQ(file.size(), CompoundFileSize(size));
        const auto path = folder / (std::to_string(size) + ".xls");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        const test::TOleContents back = test::ReadBackWithOlefile(path);
        ASSERT_TRUE(back.read) << size << " bytes";
        EXPECT_EQ(back.entries, "[['Workbook']]") << size;
        EXPECT_TRUE(BytesEqual(stream, back.workbook)) << size << " bytes";
    }
}

TEST(CompoundFile, HeaderFields) {
    struct Case {
        std::size_t stream;
        std::size_t fileSize;
        std::uint32_t fatSectors;
        std::uint32_t directory;
        std::uint32_t miniFat; // first mini FAT sector
        std::uint32_t miniFatSectors;
        std::uint32_t firstDifat;
        std::uint32_t difatSectors;
    };
    const Case cases[] = {
        {0, 1536, 1, 1, kEnd, 0, kEnd, 0},
        {2000, 4096, 1, 1, 2, 1, kEnd, 0},
        {300000, 303616, 5, 5, kEnd, 0, kEnd, 0},
        {10000000, 512 + 512 * (154 + 1 + 1 + 19532), 154, 155, kEnd, 0, 154, 1},
    };
    for (const Case& c : cases) {
        const TByteVector file = BuildCompoundFile(test::StreamOf(test::PatternBytes(c.stream)));
        ASSERT_EQ(file.size(), c.fileSize) << c.stream;
        EXPECT_TRUE(BytesEqual({0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1},
                               TByteVector(file.begin(), file.begin() + 8)));
        EXPECT_TRUE(BytesEqual(TByteVector(16, 0), TByteVector(file.begin() + 8, file.begin() + 24)));
        EXPECT_TRUE(BytesEqual({0x3E, 0x00, 0x03, 0x00, 0xFE, 0xFF, 0x09, 0x00, 0x06, 0x00},
                               TByteVector(file.begin() + 0x18, file.begin() + 0x22)));
        EXPECT_EQ(U32At(file, 0x28), 0u);
        EXPECT_EQ(U32At(file, 0x2C), c.fatSectors) << c.stream;
        EXPECT_EQ(U32At(file, 0x30), c.directory) << c.stream;
        EXPECT_EQ(U32At(file, 0x38), 4096u);
        EXPECT_EQ(U32At(file, 0x3C), c.miniFat) << c.stream;
        EXPECT_EQ(U32At(file, 0x40), c.miniFatSectors) << c.stream;
        EXPECT_EQ(U32At(file, 0x44), c.firstDifat) << c.stream;
        EXPECT_EQ(U32At(file, 0x48), c.difatSectors) << c.stream;
        for (std::uint32_t i = 0; i < 109; ++i) {
            EXPECT_EQ(U32At(file, 0x4C + 4 * i), i < c.fatSectors ? i : kFree);
        }
    }
}

// The worked layout of a 2,000-byte stream: FAT, directory, mini FAT, then four sectors of mini stream.
TEST(CompoundFile, MiniStreamLayout) {
    const TByteVector stream = test::PatternBytes(2000);
    const TByteVector file = BuildCompoundFile(test::StreamOf(stream));
    const std::size_t fat = SectorOffset(0);
    const std::uint32_t fatExpected[7] = {kFat, kEnd, kEnd, 4, 5, 6, kEnd};
    for (std::size_t n = 0; n < 128; ++n) {
        EXPECT_EQ(U32At(file, fat + 4 * n), n < 7 ? fatExpected[n] : kFree) << "FAT entry " << n;
    }
    const std::size_t dir = SectorOffset(1);
    test::TBytes root;
    root.Utf16(u"Root Entry")
        .Fill(0, 64 - 20)
        .U16(22)
        .U8(5)
        .U8(1)
        .U32(kFree)
        .U32(kFree)
        .U32(1)
        .Fill(0, 16 + 4 + 16)
        .U32(3)
        .U32(2048)
        .U32(0);
    test::TBytes workbook;
    workbook.Utf16(u"Workbook")
        .Fill(0, 64 - 16)
        .U16(18)
        .U8(2)
        .U8(1)
        .U32(kFree)
        .U32(kFree)
        .U32(kFree)
        .Fill(0, 16 + 4 + 16)
        .U32(0)
        .U32(2000)
        .U32(0);
    test::TBytes unused;
    unused.Fill(0, 68).U32(kFree).U32(kFree).U32(kFree).Fill(0, 48);
    EXPECT_TRUE(BytesEqual(test::TBytes().Append(root).Append(workbook).Append(unused).Append(unused),
                           TByteVector(file.begin() + static_cast<std::ptrdiff_t>(dir),
                                       file.begin() + static_cast<std::ptrdiff_t>(dir + 512))));
    const std::size_t miniFat = SectorOffset(2);
    for (std::uint32_t k = 0; k < 128; ++k) {
        EXPECT_EQ(U32At(file, miniFat + 4 * k), k < 31 ? k + 1 : (k == 31 ? kEnd : kFree))
            << "mini FAT " << k;
    }
    TByteVector padded = stream;
    padded.resize(2048, 0);
    EXPECT_TRUE(BytesEqual(padded, TByteVector(file.begin() + 0x800, file.end())));
}

// The worked layout of a 300,000-byte stream: five FAT sectors, the directory, then the stream in order.
TEST(CompoundFile, RegularSectorLayout) {
    const TByteVector stream = test::PatternBytes(300000);
    const TByteVector file = BuildCompoundFile(test::StreamOf(stream));
    for (std::size_t n = 0; n < 640; ++n) {
        std::uint32_t expected = kFree;
        if (n < 5) {
            expected = kFat;
        } else if (n == 5 || n == 591) {
            expected = kEnd;
        } else if (n < 591) {
            expected = static_cast<std::uint32_t>(n + 1);
        }
        ASSERT_EQ(U32At(file, SectorOffset(0) + 4 * n), expected) << "FAT entry " << n;
    }
    const std::size_t dir = SectorOffset(5);
    EXPECT_EQ(U32At(file, dir + 116), kEnd); // root: no mini stream
    EXPECT_EQ(U32At(file, dir + 120), 0u);
    EXPECT_EQ(U32At(file, dir + 128 + 116), 6u);
    EXPECT_EQ(U32At(file, dir + 128 + 120), 300000u);
    EXPECT_EQ(U32At(file, dir + 128 + 124), 0u);
    TByteVector padded = stream;
    padded.resize(586 * 512, 0);
    EXPECT_TRUE(BytesEqual(padded, TByteVector(file.begin() + 0xE00, file.end())));
}

// 154 FAT sectors: 109 listed in the header, 45 in one DIFAT sector that ends the chain.
TEST(CompoundFile, DifatSectorListsTheFatSectorsBeyond109) {
    const TByteVector file = BuildCompoundFile(test::StreamOf(test::PatternBytes(10000000)));
    const std::size_t difat = SectorOffset(154);
    for (std::uint32_t i = 0; i < 127; ++i) {
        EXPECT_EQ(U32At(file, difat + 4 * i), i < 45 ? 109 + i : kFree) << "DIFAT slot " << i;
    }
    EXPECT_EQ(U32At(file, difat + 508), kEnd);
    EXPECT_EQ(U32At(file, SectorOffset(0) + 4 * 153), kFat);
    EXPECT_EQ(U32At(file, SectorOffset(0) + 4 * 154), kDif);
    EXPECT_EQ(U32At(file, SectorOffset(0) + 4 * 155), kEnd); // directory
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ByteCompare.h"
#include "ExpectedRecords.h"
#include "OleReadBack.h"
#include "xls/WorkbookGlobals.h"
#include "xls/WorksheetRecords.h"

#include <limits>
#include <stdexcept>

using namespace korvo;
using korvo::test::BytesEqual;
using korvo::test::TBytes;
using korvo::test::TByteVector;

namespace {

class TSheetTest : public ::testing::Test {
protected:
    void SetUp() override { w.OpenWorkbookFile((folder / "a.xls").string()); }
    // The bytes written since `from`.
    TByteVector Since(std::size_t from) const {
        const TByteVector all = w.Stream().ToVector();
        return TByteVector(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
    }
    test::TScratchFolder folder;
    TWorkbookWriter w;
};

class TNoStyles : public TxlsStyleRecordSource {
    void SaveFontRecords(TByteStream&) const override {}
    void SaveFormatRecords(TByteStream&) const override {}
    void SaveCellFormatRecords(TByteStream&) const override {}
};

} // namespace

// This system's sheet, from the record table: default widths and heights, empty header, the footer,
// one COLINFO per column, a zero DIMENSIONS.
TEST_F(TSheetTest, BeginSheetOpeningRecords) {
    TxlsSheetSetup sheet;
    sheet.Title = "Trayectoria";
    sheet.ColumnWidths = {10, 12};
    BeginSheet(w, sheet);
    TBytes b;
    b.Append(test::SheetSetupRecords());
    const std::size_t colInfo = b.Size();
    b.Append(test::ColInfoRecord(0, 2853));
    b.Append(test::ColInfoRecord(1, 3365)); // (12 + 1 + 1/7) × 256 = 3364.57
    const std::size_t dimensions = b.Size();
    b.Append(test::DimensionsRecord(0, 0));
    EXPECT_TRUE(BytesEqual(b, w.Stream().ToVector()));

    ASSERT_EQ(w.BoundSheets().size(), 1u);
    EXPECT_EQ(w.BoundSheets()[0].Title, u"Trayectoria");
    EXPECT_EQ(w.BoundSheets()[0].BofPosition, 0u);
    EXPECT_EQ(w.BoundSheets()[0].DimensionsPosition, dimensions);
    EXPECT_FALSE(w.BoundSheets()[0].HasUsedRange());
    EXPECT_EQ(w.FirstColInfoPosition(), colInfo);
}

TEST_F(TSheetTest, SheetSettingsReachTheirRecords) {
    TxlsSheetSetup sheet;
    sheet.SheetIndex = 3;
    sheet.DefColWidth = 0x10009; // only the low 16 bits are stored
    sheet.DefRowHeight = 15.999; // twentieths of a point, truncated: 319
    sheet.PageHeader = "Año €";
    sheet.PageFooter = "";
    sheet.StartDataCol = 4;
    sheet.ColumnWidths = {1};
    BeginSheet(w, sheet);
    const TByteVector all = w.Stream().ToVector();
    const auto contains = [&all](const TByteVector& part) {
        return std::search(all.begin(), all.end(), part.begin(), part.end()) != all.end();
    };
    EXPECT_TRUE(contains({0x55, 0x00, 0x02, 0x00, 0x09, 0x00}));
    EXPECT_TRUE(contains({0x25, 0x02, 0x04, 0x00, 0x00, 0x00, 0x3F, 0x01}));
    EXPECT_TRUE(
        contains(TBytes().Raw({0x14, 0x00, 0x08, 0x00, 0x05, 0x00, 0x00}).Raw({'A', 0xF1, 'o', ' ', 0x80})));
    EXPECT_TRUE(contains({0x15, 0x00, 0x00, 0x00, 0x83, 0x00}));
    EXPECT_TRUE(contains(TBytes().U16(0x007D).U16(11).U16(4).U16(4).U16(549))); // (1 + 1 + 1/7) × 256
    EXPECT_EQ(w.BoundSheets()[0].SheetIndex, 3);
}

TEST_F(TSheetTest, HeaderLongerThan255CharactersKeepsTheFirst255) {
    w.SeekToEnd();
    WriteHeaderFooter(w, 0x0014, std::string(300, 'h'));
    EXPECT_TRUE(BytesEqual(TBytes().U16(0x0014).U16(3 + 255).U16(255).U8(0).Fill('h', 255), Since(0)));
}

TEST(ColInfoWidth, FormulaRoundingAndLimits) {
    struct Case {
        std::int32_t width;
        double w0;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {10, 7, 2853}, // (10 + 1 + 1/7) × 256 = 2852.57
        {8, 7, 2341},
        {0, 7, 293},
        {254, 7, 65317},
        {255, 7, 65535}, // 65572.57 is limited
        {std::numeric_limits<std::int32_t>::max(), 7, 65535},
        {-1, 7, 37},
        {-2, 7, 0},
        {std::numeric_limits<std::int32_t>::min(), 7, 0},
        {0, 512, 256},  // 256.5: halves go to the even neighbour
        {1, 512, 512},  // 512.5
        {2, 512, 768},  // 768.5
        {3, 512, 1024}, // 1024.5
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColInfoWidth(c.width, c.w0), c.expected) << c.width << " with w0 " << c.w0;
    }
}

TEST_F(TSheetTest, CellRecords) {
    TxlsSheetSetup sheet;
    BeginSheet(w, sheet);
    const std::size_t start = w.Position();
    WriteTextCell(w, 1, 2, "a", 21);
    WriteTextCell(w, 2, 2, u"b", 21);
    WriteTextCell(w, 3, 2, "a", 21);
    WriteBlankCell(w, 65535, 255, 15);
    WriteNumberCell(w, 4, 0, 0.001, 16);
    WriteBooleanCell(w, 5, 1, true, 15);
    WriteBooleanCell(w, 6, 1, false, 15);
    EXPECT_TRUE(BytesEqual(TBytes()
                               .U16(0x00FD)
                               .U16(10)
                               .U16(1)
                               .U16(2)
                               .U16(21)
                               .U32(0)
                               .U16(0x00FD)
                               .U16(10)
                               .U16(2)
                               .U16(2)
                               .U16(21)
                               .U32(1)
                               .U16(0x00FD)
                               .U16(10)
                               .U16(3)
                               .U16(2)
                               .U16(21)
                               .U32(0)
                               .U16(0x0201)
                               .U16(6)
                               .U16(65535)
                               .U16(255)
                               .U16(15)
                               .U16(0x0203)
                               .U16(14)
                               .U16(4)
                               .U16(0)
                               .U16(16)
                               .Raw({0xFC, 0xA9, 0xF1, 0xD2, 0x4D, 0x62, 0x50, 0x3F})
                               .U16(0x0205)
                               .U16(8)
                               .U16(5)
                               .U16(1)
                               .U16(15)
                               .U8(1)
                               .U8(0)
                               .U16(0x0205)
                               .U16(8)
                               .U16(6)
                               .U16(1)
                               .U16(15)
                               .U8(0)
                               .U8(0),
                           Since(start)));
    EXPECT_EQ(w.Sst().TotalCount(), 3u);
    EXPECT_EQ(w.Sst().UniqueCount(), 2u);
}

// A row past 65535 would wrap onto the first rows in the 16-bit field: refused, and nothing is written.
TEST_F(TSheetTest, CellOutsideTheSheetIsRefused) {
    TxlsSheetSetup sheet;
    BeginSheet(w, sheet);
    const std::size_t size = w.Stream().Size();
    const std::pair<std::int32_t, std::int32_t> cells[] = {{65536, 0}, {-1, 0}, {0, 256}, {0, -1}};
    for (const auto& [row, col] : cells) {
        EXPECT_THROW(WriteTextCell(w, row, col, "x", 15), std::runtime_error) << row << ", " << col;
        EXPECT_THROW(WriteBlankCell(w, row, col, 15), std::runtime_error);
        EXPECT_THROW(WriteNumberCell(w, row, col, 1.0, 15), std::runtime_error);
        EXPECT_THROW(WriteBooleanCell(w, row, col, true, 15), std::runtime_error);
    }
    EXPECT_EQ(w.Stream().Size(), size);
    EXPECT_EQ(w.Sst().TotalCount(), 0u);

    TxlsSheetSetup wide;
    wide.StartDataCol = 250;
    wide.ColumnWidths.assign(7, 8); // columns 250 to 256
    EXPECT_THROW(BeginSheet(w, wide), std::runtime_error);
}

TEST_F(TSheetTest, EndSheetClosingRecords) {
    const std::size_t start = w.Position();
    EndSheet(w);
    EXPECT_TRUE(BytesEqual(test::SheetClosingRecords(), Since(start)));
}

TEST_F(TSheetTest, UsedRangeBecomesTheDimensions) {
    struct Case {
        std::vector<std::pair<int, int>> cells;
        TByteVector dimensions; // data of DIMENSIONS after EndWorkbook
    };
    const Case cases[] = {
        {{}, TBytes().Fill(0, 14)},
        {{{0, 0}}, TBytes().U32(0).U32(1).U16(0).U16(1).U16(0)},
        {{{5, 3}, {2, 7}, {9, 4}}, TBytes().U32(2).U32(10).U16(3).U16(8).U16(0)},
        {{{65535, 255}}, TBytes().U32(65535).U32(65536).U16(255).U16(256).U16(0)},
    };
    for (const Case& c : cases) {
        TWorkbookWriter writer;
        writer.OpenWorkbookFile((folder / "b.xls").string());
        BeginWorkbook(writer);
        BeginSheet(writer, TxlsSheetSetup{});
        for (const auto& [row, col] : c.cells) {
            UpdateUsedRange(writer, row, col);
            WriteBlankCell(writer, row, col, 15);
        }
        EndSheet(writer);
        EndWorkbook(writer, TNoStyles(), kDefaultPalette);
        const TByteVector all = writer.Stream().ToVector();
        // the only DIMENSIONS record of the stream, moved along by the globals block
        const TByteVector header = {0x00, 0x02, 0x0E, 0x00};
        const auto at = std::search(all.begin(), all.end(), header.begin(), header.end());
        ASSERT_NE(at, all.end());
        EXPECT_TRUE(BytesEqual(c.dimensions, TByteVector(at + 4, at + 18))) << c.cells.size() << " cells";
    }
}

TEST_F(TSheetTest, ColumnWidthPassOverwritesTheWidthFields) {
    TxlsSheetSetup sheet;
    sheet.ColumnWidths = {10, 10, 10};
    BeginSheet(w, sheet);
    const std::size_t first = w.FirstColInfoPosition();
    w.ColumnWidths() = {3, 300, -4};
    ApplyColumnWidths(w);
    const TByteVector all = w.Stream().ToVector();
    const std::uint16_t expected[3] = {768, 65535, 0};
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t field = first + 15 * k + 8;
        EXPECT_EQ(all[field] | all[field + 1] << 8, expected[k]) << "column " << k;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ByteCompare.h"
#include "OleReadBack.h"
#include "xls/BiffRecord.h"
#include "xls/WorkbookGlobals.h"
#include "xls/WorksheetRecords.h"

#include <cstdlib>
#include <fstream>

using namespace korvo;
using korvo::test::BytesEqual;
using korvo::test::TBytes;
using korvo::test::TByteVector;

namespace {

// The opening records 1 to 17 of the globals, byte by byte from the record table.
TByteVector OpeningRecords() {
    TBytes b;
    b.U16(0x0809).U16(16).U16(0x0600).U16(0x0005).U16(0x0DBB).U16(0x07CC).U32(0).U32(0x0206);
    b.U16(0x005C).U16(112).U16(26).U8(0).Latin("Orv Quillmoorstack 4.1.0.7").Fill(0x20, 83);
    b.Raw({0x42, 0x00, 0x02, 0x00, 0xE4, 0x04});
    b.Raw({0x61, 0x01, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x9C, 0x00, 0x02, 0x00, 0x0E, 0x00});
    b.Raw({0x19, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x12, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x13, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0xAF, 0x01, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0xBC, 0x01, 0x02, 0x00, 0x00, 0x00});
    b.U16(0x003D).U16(18).U16(120).U16(120).U16(23820).U16(15720).U16(0x0038).U16(0).U16(0).U16(1).U16(600);
    b.Raw({0x40, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x8D, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x22, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x0E, 0x00, 0x02, 0x00, 0x01, 0x00});
    b.Raw({0xB7, 0x01, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0xDA, 0x00, 0x02, 0x00, 0x00, 0x00});
    return b;
}

const TByteVector kEof = {0x0A, 0x00, 0x00, 0x00};

TByteVector StyleRecords() {
    TBytes b;
    for (const auto& s : std::vector<TByteVector>{{0x10, 0x80, 0x03, 0xFF},
                                                  {0x11, 0x80, 0x06, 0xFF},
                                                  {0x12, 0x80, 0x04, 0xFF},
                                                  {0x13, 0x80, 0x07, 0xFF},
                                                  {0x00, 0x80, 0x00, 0xFF},
                                                  {0x14, 0x80, 0x05, 0xFF}}) {
        b.Record(0x0293, s);
    }
    return b;
}

TByteVector ResetFontData(std::uint16_t weight) {
    return TBytes().U16(200).U16(0).U16(8).U16(weight).U16(0).U8(0).U8(0).U8(1).U8(0).U8(5).U8(1).Utf16(
        u"arial");
}

TByteVector FixedXfData(std::uint16_t font, std::uint16_t offset4, std::uint8_t offset9) {
    return TBytes().U16(font).U16(0).U16(offset4).U8(0x20).U8(0).U8(0).U8(offset9).Fill(0, 8).U16(0x20C0);
}

// A stand-in for the style registry, writing the records of this system's export: four reset fonts and
// the bold caption font, no number format, the sixteen fixed cell formats and the caption's.
class TFakeStyles : public TxlsStyleRecordSource {
public:
    void SaveFontRecords(TByteStream& out) const override {
        const TByteVector all = Fonts();
        out.Write(all.data(), all.size());
    }
    void SaveFormatRecords(TByteStream&) const override {}
    void SaveCellFormatRecords(TByteStream& out) const override {
        const TByteVector all = CellFormats();
        out.Write(all.data(), all.size());
    }
    static TByteVector Fonts() {
        TBytes b;
        for (int i = 0; i < 4; ++i) {
            b.Record(0x0031, ResetFontData(400));
        }
        return b.Record(0x0031, ResetFontData(700));
    }
    static TByteVector CellFormats() {
        TBytes b;
        b.Record(0x00E0, FixedXfData(0, 0xFFF5, 0x00));
        for (std::uint16_t font : {1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) {
            b.Record(0x00E0, FixedXfData(font, 0xFFF5, 0xF4));
        }
        b.Record(0x00E0, FixedXfData(1, 0x0001, 0x00));
        // XF 16: the bold caption format with font 5
        return b.Record(0x00E0, {0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x58,
                                 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x04});
    }
};

TByteVector Palette() {
    TBytes b;
    b.U16(0x0092).U16(226).U16(56);
    for (const TxlsRgb& c : kDefaultPalette) {
        b.U8(c.Red).U8(c.Green).U8(c.Blue).U8(0);
    }
    return b;
}

// A workbook file being written, its opening records done, with one sheet "Trayectoria" begun.
class TTrajectoryWorkbook : public ::testing::Test {
protected:
    void BeginTrajectorySheet(std::size_t columns) {
        w.OpenWorkbookFile(target.string());
        BeginWorkbook(w);
        TxlsSheetSetup sheet;
        sheet.Title = "Trayectoria";
        sheet.ColumnWidths.assign(columns, 10);
        BeginSheet(w, sheet);
    }
    const test::TScratchFolder folder;
    const std::filesystem::path target = folder / "Datos.xls";
    TWorkbookWriter w;
};

} // namespace

TEST(WorkbookGlobals, BeginWritesTheOpeningRecordsThenEof) {
    const test::TScratchFolder folder;
    TWorkbookWriter w;
    w.OpenWorkbookFile((folder / "a.xls").string());
    BeginWorkbook(w);
    const TByteVector opening = OpeningRecords();
    EXPECT_TRUE(BytesEqual(TBytes().Append(opening).Append(kEof), w.Stream().ToVector()));
    EXPECT_EQ(w.InsertPoint(), opening.size());
}

TEST(WorkbookGlobals, DefaultPaletteEntries) {
    struct Case {
        int index;
        TxlsRgb colour;
    };
    const Case cases[] = {
        {8, {0, 0, 0}},           {9, {0xFF, 0xFF, 0xFF}},  {10, {0xFF, 0, 0}},
        {12, {0, 0, 0xFF}},       {18, {0, 0, 0x80}},       {22, {0xC0, 0xC0, 0xC0}},
        {24, {0x99, 0x99, 0xFF}}, {27, {0xCC, 0xFF, 0xFF}}, {40, {0x00, 0xCC, 0xFF}},
        {55, {0x96, 0x96, 0x96}}, {60, {0x99, 0x33, 0x00}}, {63, {0x33, 0x33, 0x33}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kDefaultPalette[static_cast<std::size_t>(c.index - 8)], c.colour)
            << "palette index " << c.index;
    }
}

// A whole stream: globals, then one sheet "Trayectoria" with a caption cell and one data cell; the
// globals block lands between BOOKBOOL and the globals' EOF, and BOUNDSHEET points at the sheet's BOF.
TEST_F(TTrajectoryWorkbook, EndInsertsTheBlockInFrontOfTheSheets) {
    BeginTrajectorySheet(1);
    const std::size_t sheetStart = w.BoundSheets().back().BofPosition;
    UpdateUsedRange(w, 0, 0);
    WriteTextCell(w, 0, 0, "Iteración:", 16);
    UpdateUsedRange(w, 1, 0);
    WriteTextCell(w, 1, 0, "1", 15);
    EndSheet(w);
    const TByteVector sheetBytes = [&] {
        TByteVector all = w.Stream().ToVector();
        return TByteVector(all.begin() + static_cast<std::ptrdiff_t>(sheetStart), all.end());
    }();
    const TFakeStyles styles;
    EndWorkbook(w, styles, kDefaultPalette);
    EXPECT_TRUE(w.IsComplete());

    const TByteVector fonts = TFakeStyles::Fonts();
    const TByteVector xfs = TFakeStyles::CellFormats();
    const TByteVector opening = OpeningRecords();
    const std::size_t boundSheetAt = opening.size() + fonts.size() + xfs.size() + 6 * 8 + 230;
    const std::size_t globalsSize = boundSheetAt + (4 + 8 + 22) + 8 + (4 + 8 + 23 + 5) + 4;

    TBytes sst;
    sst.U16(0x00FC).U16(8 + 23 + 5).U32(2).U32(2).U16(10).U8(1).Utf16(u"Iteración:").U16(1).U8(1).Utf16(u"1");
    TByteVector expectedSheet = sheetBytes;
    // DIMENSIONS, the last record before the cells: rows 0 to 1, column 0
    const std::size_t dims = expectedSheet.size() - (14 * 2) - 22 - 20 - 4 - 18;
    const TByteVector dimensions = TBytes().U16(0x0200).U16(14).U32(0).U32(2).U16(0).U16(1).U16(0);
    std::copy(dimensions.begin(), dimensions.end(),
              expectedSheet.begin() + static_cast<std::ptrdiff_t>(dims));

    const TByteVector expected = TBytes()
                                     .Append(opening)
                                     .Append(fonts)
                                     .Append(xfs)
                                     .Append(StyleRecords())
                                     .Append(Palette())
                                     .U16(0x0085)
                                     .U16(30)
                                     .U32(static_cast<std::uint32_t>(globalsSize))
                                     .U8(0)
                                     .U8(0)
                                     .U8(11)
                                     .U8(1)
                                     .Utf16(u"Trayectoria")
                                     .Raw({0x8C, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 0x00})
                                     .Append(sst)
                                     .Append(kEof)
                                     .Append(expectedSheet);
    EXPECT_TRUE(BytesEqual(expected, w.Stream().ToVector()));
    const TByteVector stream = w.Stream().ToVector();
    ASSERT_GT(stream.size(), globalsSize + 1);
    EXPECT_EQ(stream[globalsSize], 0x09); // the sheet's BOF follows the globals' EOF at once
    EXPECT_EQ(stream[globalsSize + 1], 0x08);

    w.CloseWorkbookFile();
    const test::TOleContents back = test::ReadBackWithOlefile(target);
    ASSERT_TRUE(back.read);
    EXPECT_EQ(back.entries, "[['Workbook']]");
    EXPECT_TRUE(BytesEqual(expected, back.workbook));
}

// An independent spreadsheet reader, Debian's python3-xlrd, opens a workbook of many rows: one sheet,
// text cells with their strings, bold captions, blank cells. (It does not read the footer; the byte
// tests of the worksheet records cover it.)
TEST_F(TTrajectoryWorkbook, SpreadsheetReaderOpensTheWorkbook) {
    BeginTrajectorySheet(3);
    const char* captions[3] = {"Iteración:", "T (seg)", "Ec (kg·m2/s2)"};
    for (int c = 0; c < 3; ++c) {
        UpdateUsedRange(w, 0, c);
        WriteTextCell(w, 0, c, captions[c], 16);
    }
    for (int r = 1; r <= 3481; ++r) {
        UpdateUsedRange(w, r, 0);
        WriteTextCell(w, r, 0, std::to_string(r), 15);
        UpdateUsedRange(w, r, 1);
        WriteTextCell(w, r, 1, std::to_string(r * 0.01), 15);
        UpdateUsedRange(w, r, 2);
        if (r % 100 == 0) {
            WriteBlankCell(w, r, 2, 15);
        } else {
            WriteTextCell(w, r, 2, std::string("v") + std::to_string(r % 50), 15);
        }
    }
    EndSheet(w);
    EndWorkbook(w, TFakeStyles(), kDefaultPalette);
    w.CloseWorkbookFile();

    const auto script = folder / "check.py";
    std::ofstream(script)
        << "import sys, xlrd\n"
           "b = xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
           "assert b.sheet_names() == ['Trayectoria'], b.sheet_names()\n"
           "s = b.sheet_by_index(0)\n"
           "assert (s.nrows, s.ncols) == (3482, 3), (s.nrows, s.ncols)\n"
           "assert s.row_values(0) == ['Iteraci\\u00f3n:', 'T (seg)', 'Ec (kg\\u00b7m2/s2)']\n"
           "assert b.font_list[b.xf_list[s.cell_xf_index(0, 0)].font_index].weight == 700\n"
           "assert not b.font_list[b.xf_list[s.cell_xf_index(1, 0)].font_index].weight == 700\n"
           "assert s.cell(3481, 0).value == '3481' and s.cell(3481, 0).ctype == xlrd.XL_CELL_TEXT\n"
           "assert s.cell(100, 2).ctype == xlrd.XL_CELL_BLANK\n"
           "assert s.cell(7, 2).value == 'v7'\n";
    const std::string command =
        std::string("/usr/bin/python3 '") + script.string() + "' '" + target.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

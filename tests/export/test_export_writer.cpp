// SPDX-License-Identifier: GPL-3.0-or-later

// The text writer's encodings and the rows of a sheet written straight through the row writers.
#include "export/ExportWriter.h"
#include "export/SheetRows.h"
#include "export/TableExport.h"
#include "tests/export/FakeListView.h"
#include "tests/xls/ByteCompare.h"
#include "xls/WorksheetRecords.h"

#include <gtest/gtest.h>

#include <cstring>

namespace korvo {
namespace {

using test::BytesEqual;
using test::TBytes;
using test::TByteVector;

TEST(ExportWriter, Encodings) {
    struct Case {
        std::uint8_t code;
        TByteVector bytes;
    } cases[] = {
        {0, {'a', 0xF1, 0x80, '?'}},  // Windows-1252: ñ, €, and no Ω
        {1, {'a', 0xA4, '?', '?'}},   // code page 850: ñ at A4, no €
        {2, {'a', 0x96, 0xDB, 0xBD}}, // Mac Roman: ñ, €, Ω
        {27, {'a', 0xC3, 0xB1, 0xE2, 0x82, 0xAC, 0xCE, 0xA9}},
        {28, {'a', 0, 0xF1, 0, 0xAC, 0x20, 0xA9, 0x03}},
        {29, {'a', 0, 0, 0, 0xF1, 0, 0, 0, 0xAC, 0x20, 0, 0, 0xA9, 0x03, 0, 0}},
        {30, {}},
    };
    for (const Case& c : cases) {
        TTableExport owner;
        owner.SetTextEncoding(c.code);
        std::vector<std::uint8_t> out;
        TExportWriter writer(&owner, out);
        writer.Write("añ€Ω");
        writer.Write("");
        EXPECT_TRUE(BytesEqual(c.bytes, out)) << "code " << int(c.code);
    }
    std::vector<std::uint8_t> out;
    TExportWriter orphan(nullptr, out);
    orphan.Write("x");
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(BytesEqual({0xF0, 0x9F, 0x98, 0x80}, TByteVector(EncodeText("\xF0\x9F\x98\x80", 27))));
    EXPECT_TRUE(BytesEqual({0x3D, 0xD8, 0x00, 0xDE}, TByteVector(EncodeText("\xF0\x9F\x98\x80", 28))));
    EXPECT_EQ("Center alignment", orphan.AlignmentName(1));
    EXPECT_EQ("Unknown alignment", orphan.AlignmentName(7));
}

TEST(Messages, FormattedFromTheStringTable) {
    EXPECT_EQ("Directory \"/x\" not found and cannot be created",
              FormatMessage(TExportLocale::Instance().LoadMessage(34025), {"/x"}));
    EXPECT_EQ("Export source (DBGrid) is closed",
              FormatMessage(TExportLocale::Instance().LoadMessage(34016), {"DBGrid"}));
    EXPECT_EQ("", TExportLocale::Instance().LoadMessage(34000));
}

// A sheet written row by row into a workbook stream; the cell records are read back one by one.
struct TRows : ::testing::Test {
    test::TFixedSettings fixed;
    TWorkbookWriter w;
    TxlsStyleRegistry styles;
    TxlsSheet sheet;
    test::TFakeListView list;

    struct Cell {
        std::uint16_t id, row, col, xf;
        TByteVector rest;
    };
    std::vector<Cell> Cells(std::size_t from) const {
        const TByteVector all = w.Stream().ToVector();
        std::vector<Cell> cells;
        for (std::size_t at = from; at + 4 <= all.size();) {
            const std::uint16_t id = static_cast<std::uint16_t>(all[at] | all[at + 1] << 8);
            const std::size_t size = all[at + 2] | all[at + 3] << 8;
            const std::uint8_t* d = &all[at + 4];
            cells.push_back({id, static_cast<std::uint16_t>(d[0] | d[1] << 8),
                             static_cast<std::uint16_t>(d[2] | d[3] << 8),
                             static_cast<std::uint16_t>(d[4] | d[5] << 8), TByteVector(d + 6, d + size)});
            at += 4 + size;
        }
        return cells;
    }
    void Begin(std::vector<std::string> firstItem) {
        list.Columns.clear();
        for (std::size_t k = 0; k < firstItem.size(); ++k) {
            std::string name = "c";
            name += std::to_string(k);
            list.Columns.push_back({name, 64});
        }
        list.Items = {std::move(firstItem)};
        sheet.ExportSource = esListView;
        sheet.ListView = &list;
        sheet.AutoCalcStrType = true;
        sheet.Columns.Rebuild(sheet);
        sheet.Row.Build(sheet.Columns);
        RegisterSheetStyles(styles, sheet, 0);
        TxlsSheetSetup setup;
        setup.ColumnWidths.assign(sheet.Columns.Count(), 8);
        BeginSheet(w, setup);
    }
    void Set(std::size_t k, const std::string& text, TExportValue value) {
        sheet.Row[k].Text = text;
        sheet.Row[k].Value = value;
    }
};

double NumberOf(const TByteVector& rest) {
    double v = 0;
    std::memcpy(&v, rest.data(), sizeof v);
    return v;
}

TEST_F(TRows, HeaderLinesSplitAtTabs) {
    Begin({"x"});
    sheet.Header = {"a\t\tb", "", "c"};
    const std::size_t from = w.Position();
    WriteHeaderLines(w, styles, sheet);
    const auto cells = Cells(from);
    ASSERT_EQ(3u, cells.size());
    const std::pair<int, int> places[] = {{0, 0}, {0, 2}, {2, 0}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(0x00FD, cells[i].id);
        EXPECT_EQ(places[i].first, cells[i].row);
        EXPECT_EQ(places[i].second, cells[i].col);
    }
    EXPECT_EQ(3, sheet.RowCounter) << "an empty line takes its row too";
}

TEST_F(TRows, CellKindsByColumnType) {
    Begin({"12", "1.5", "true", "2/28/1900", "abc"});
    const TExportColType types[] = {ectInteger, ectFloat, ectBoolean, ectDate, ectString};
    for (std::size_t k = 0; k < 5; ++k)
        ASSERT_EQ(types[k], sheet.Columns[k].ColType);
    sheet.Formats.SetNullString("(nulo)");
    sheet.AllowCaptions = false;
    const std::size_t from = w.Position();

    Set(0, "12", std::int32_t{12}), Set(1, "1.5", 1.5), Set(2, "TRUE", {}), Set(3, "x", TDateTimeValue{60}),
        Set(4, "abc", {});
    WriteDataRow(w, styles, sheet, nullptr);
    Set(0, "", {}), Set(1, "(nulo)", {}), Set(2, "no", {}), Set(3, "x", TDateTimeValue{61}),
        Set(4, "0.001", {});
    WriteDataRow(w, styles, sheet, nullptr);
    Set(0, "x", {}), Set(1, "y", {}), Set(2, "true", {}), Set(3, "x", TDateTimeValue{0.5}), Set(4, "z", {});
    WriteDataRow(w, styles, sheet, [](int column, std::string& text) {
        if (column == 4)
            text += "!";
    });
    EXPECT_EQ(3, sheet.RowCounter);

    const auto cells = Cells(from);
    ASSERT_EQ(15u, cells.size());
    struct Expected {
        std::uint16_t id;
        double number; // NUMBER value or Boolean value; -1 for others
    } expected[] = {
        {0x0203, 12}, {0x0203, 1.5}, {0x0205, 1}, {0x0203, 59}, {0x00FD, -1}, // day 60 is written as 59
        {0x0201, -1}, {0x00FD, -1},  {0x0205, 0}, {0x0203, 61}, {0x00FD, -1}, // blank, the null text
        {0x0203, 0},  {0x0203, 0},   {0x0205, 1}, {0x00FD, -1}, {0x00FD, -1}, // unreadable numbers are 0
    };
    for (std::size_t i = 0; i < cells.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].id, cells[i].id);
        EXPECT_EQ(i / 5, cells[i].row);
        EXPECT_EQ(i % 5, cells[i].col);
        EXPECT_EQ(styles.ColumnDataStyle(0, sheet.Columns[i % 5].Name), cells[i].xf);
        if (expected[i].id == 0x0203) {
            EXPECT_EQ(expected[i].number, NumberOf(cells[i].rest));
        }
        if (expected[i].id == 0x0205) {
            EXPECT_EQ(expected[i].number, cells[i].rest.at(0));
        }
    }
    // Strings: "abc", "(nulo)", "0.001", the date 0.5 as its text, "z!" from the hook.
    EXPECT_EQ(5u, w.Sst().TotalCount());
    EXPECT_EQ(21, styles.ColumnDataStyle(0, "c4")) << "the text column has the plain cell format";
}

TEST_F(TRows, CaptionsAndMeasuredWidths) {
    Begin({"a", "b"});
    sheet.Columns[1].Caption = "";
    sheet.AutoCalcColWidth = true;
    w.ColumnWidths() = {1, 1};
    const std::size_t from = w.Position();
    WriteCaptionRow(w, styles, sheet);
    const auto cells = Cells(from);
    ASSERT_EQ(1u, cells.size()) << "an empty caption writes no cell";
    EXPECT_EQ(22, cells[0].xf);
    EXPECT_EQ(1, sheet.RowCounter);
    EXPECT_EQ(3, w.ColumnWidths()[0]) << "\"c0\" and an I: two digits and a bit";
    sheet.Options.CaptionsFormat.Font.Style.Bold = false;
    WriteCaptionRow(w, styles, sheet);
    EXPECT_EQ(15, Cells(from).back().xf) << "a default caption format is cell format 15";
}
} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// The spreadsheet export from Execute to the finished file: the whole "Workbook" stream against the
// record tables, an independent reader's view of the file, and the engine's counts, stops and failures.
#include "export/TableExportXLS.h"
#include "tests/export/FakeListView.h"
#include "tests/xls/ByteCompare.h"
#include "tests/xls/ExpectedRecords.h"
#include "tests/xls/OleReadBack.h"
#include "xls/WorkbookGlobals.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace korvo {
namespace {

namespace fs = std::filesystem;
using test::BytesEqual;
using test::TBytes;
using test::TByteVector;
using test::TFakeListView;
using test::TFixedSettings;
using test::TrajectoryTable;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The program's component, writing into a scratch folder.
struct TExportFixture : ::testing::Test {
    TFixedSettings fixed;
    test::TScratchFolder folder;
    TTableExportXLS x;
    int endEvents = 0;
    bool lastComplete = false;

    void Use(TFakeListView& list, const std::string& name = "DatosTrayectoriaRealCalculada.xls") {
        x.ExportSource = esListView;
        x.ListView = &list;
        x.FileName = (folder / name).string();
        x.Options.PageFooter = "Page &P of &N";
        x.Options.SetSheetTitle("Trayectoria");
        x.OnEndExport = [this](TTableExport&, bool complete) {
            ++endEvents;
            lastComplete = complete;
        };
    }
    test::TOleContents ReadBack() { return test::ReadBackWithOlefile(x.FileName); }
};

// ---- The whole stream, from the record tables -------------------------------------------------------

TByteVector OpeningRecords() {
    TBytes b;
    b.U16(0x0809).U16(16).U16(0x0600).U16(0x0005).U16(0x0DBB).U16(0x07CC).U32(0).U32(0x0206);
    b.U16(0x005C).U16(112).U16(26).U8(0).Latin("Orv Quillmoorstack 4.1.0.7").Fill(0x20, 83);
    for (const auto& [id, value] : std::vector<std::pair<std::uint16_t, std::uint16_t>>{
             {0x42, 1252}, {0x161, 0}, {0x9C, 14}, {0x19, 0}, {0x12, 0}, {0x13, 0}, {0x1AF, 0}, {0x1BC, 0}})
        b.U16(id).U16(2).U16(value);
    b.U16(0x003D).U16(18).U16(120).U16(120).U16(23820).U16(15720).U16(0x0038).U16(0).U16(0).U16(1).U16(600);
    for (const auto& [id, value] : std::vector<std::pair<std::uint16_t, std::uint16_t>>{
             {0x40, 0}, {0x8D, 0}, {0x22, 0}, {0x0E, 1}, {0x1B7, 0}, {0xDA, 0}})
        b.U16(id).U16(2).U16(value);
    return b;
}

TByteVector FontData(std::uint16_t weight) {
    return TBytes().U16(200).U16(0).U16(8).U16(weight).U16(0).Raw({0, 0, 1, 0, 5, 1}).Utf16(u"arial");
}

TByteVector XfData(std::uint16_t font, std::uint16_t format, std::uint16_t offset4, std::uint8_t offset9,
                   std::uint16_t offset18) {
    return TBytes().U16(font).U16(format).U16(offset4).Raw({0x20, 0, 0, offset9}).Fill(0, 8).U16(offset18);
}

TByteVector FormatRecord(std::uint16_t index, std::u16string_view text) {
    TBytes data;
    data.U16(index).U16(static_cast<std::uint16_t>(text.size())).U8(1).Utf16(text);
    return TBytes().Record(0x041E, data);
}

TByteVector Globals(std::uint32_t sheetOffset, const TByteVector& sst) {
    TBytes b;
    b.Append(OpeningRecords());
    for (int i = 0; i < 4; ++i)
        b.Record(0x0031, FontData(400));
    b.Record(0x0031, FontData(700));
    b.Append(FormatRecord(50, u"$#,###,##0.00"))
        .Append(FormatRecord(51, u"m/d/yyyy h:nn ampm"))
        .Append(FormatRecord(52, u"#,###,##0.00"))
        .Append(FormatRecord(53, u"#,###,##0"))
        .Append(FormatRecord(54, u"h:nn ampm"));
    b.Record(0x00E0, XfData(0, 0, 0xFFF5, 0x00, 0x20C0));
    for (std::uint16_t font : {1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
        b.Record(0x00E0, XfData(font, 0, 0xFFF5, 0xF4, 0x20C0));
    b.Record(0x00E0, XfData(1, 0, 0x0001, 0x00, 0x20C0));
    for (std::uint16_t format = 50; format <= 54; ++format)
        b.Record(0x00E0, XfData(1, format, 0x0001, 0x50, 0x0409)); // 16 to 20
    b.Record(0x00E0, XfData(1, 0, 0x0001, 0x50, 0x0409));          // 21: the columns
    b.Record(0x00E0, XfData(5, 0, 0x0001, 0x58, 0x0409));          // 22: the bold captions
    for (const TByteVector& s : std::vector<TByteVector>{{0x10, 0x80, 0x03, 0xFF},
                                                         {0x11, 0x80, 0x06, 0xFF},
                                                         {0x12, 0x80, 0x04, 0xFF},
                                                         {0x13, 0x80, 0x07, 0xFF},
                                                         {0x00, 0x80, 0x00, 0xFF},
                                                         {0x14, 0x80, 0x05, 0xFF}})
        b.Record(0x0293, s);
    b.U16(0x0092).U16(226).U16(56);
    for (const TxlsRgb& c : kDefaultPalette)
        b.U8(c.Red).U8(c.Green).U8(c.Blue).U8(0);
    b.U16(0x0085).U16(30).U32(sheetOffset).Raw({0, 0, 11, 1}).Utf16(u"Trayectoria");
    b.Raw({0x8C, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 0x00});
    b.Append(sst);
    b.Raw({0x0A, 0x00, 0x00, 0x00});
    return b;
}

TEST_F(TExportFixture, WholeStreamOfASmallTable) {
    TFakeListView list;
    list.Columns = {{"Iteración:", 56}, {"T (seg)", 65}, {"X (m)", 80}};
    list.Items = {{"1", "0.010", "año"}, {"2", "", "0.5"}, {"3", "0.030", "0.5"}};
    Use(list);
    x.Execute();
    EXPECT_EQ(1, endEvents);
    EXPECT_TRUE(lastComplete);

    // Strings in order of first appearance; "0.5" twice.
    const std::vector<std::u16string> strings = {u"Iteración:", u"T (seg)", u"X (m)", u"1", u"0.010",
                                                 u"año",        u"2",       u"0.5",   u"3", u"0.030"};
    TBytes sstData;
    sstData.U32(11).U32(static_cast<std::uint32_t>(strings.size()));
    for (const auto& s : strings)
        sstData.U16(static_cast<std::uint16_t>(s.size())).U8(1).Utf16(s);
    const TByteVector sst = TBytes().Record(0x00FC, sstData);

    TBytes cells;
    auto text = [&](std::uint16_t row, std::uint16_t col, std::uint16_t xf, std::uint32_t index) {
        cells.U16(0x00FD).U16(10).U16(row).U16(col).U16(xf).U32(index);
    };
    text(0, 0, 22, 0), text(0, 1, 22, 1), text(0, 2, 22, 2);
    text(1, 0, 21, 3), text(1, 1, 21, 4), text(1, 2, 21, 5);
    text(2, 0, 21, 6);
    cells.U16(0x0201).U16(6).U16(2).U16(1).U16(21);
    text(2, 2, 21, 7);
    text(3, 0, 21, 8), text(3, 1, 21, 9), text(3, 2, 21, 7);

    // Widths 7, 8 and 10 characters: (W + 1 + 1/7) × 256.
    const TByteVector sheet = TBytes()
                                  .Append(test::SheetOpeningRecords({2085, 2341, 2853}, 4, 3))
                                  .Append(cells)
                                  .Append(test::SheetClosingRecords());
    const std::uint32_t globalsSize = static_cast<std::uint32_t>(Globals(0, sst).size());
    const TByteVector expected = TBytes().Append(Globals(globalsSize, sst)).Append(sheet);

    const test::TOleContents back = ReadBack();
    ASSERT_TRUE(back.read);
    EXPECT_EQ("[['Workbook']]", back.entries);
    EXPECT_TRUE(BytesEqual(expected, back.workbook));
}

// ---- An independent reader ------------------------------------------------------------------------

// Runs python3-xlrd over the file; the script prints one line of findings. (The file's fonts say bold by
// their weight alone, so that is what is checked.)
std::string ReadWithXlrd(const fs::path& file) {
    const fs::path script = fs::path(file).concat(".py"), out = fs::path(file).concat(".out");
    std::ofstream(script)
        << "import xlrd, sys\n"
           "b = xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
           "s = b.sheet_by_index(0)\n"
           "kinds = set(s.cell_type(r, c) for r in range(s.nrows) for c in range(s.ncols))\n"
           "bold = all(b.font_list[b.xf_list[s.cell_xf_index(0, c)].font_index].weight == 700\n"
           "           for c in range(s.ncols))\n"
           "plain = b.font_list[b.xf_list[s.cell_xf_index(1, 0)].font_index].weight == 400\n"
           "open(sys.argv[2], 'w').write('%d %s %d %d %s %s %s %s %s' % (b.nsheets, "
           "s.name, s.nrows, s.ncols, sorted(kinds), bold, plain, s.cell_value(0, 0), "
           "s.cell_value(s.nrows - 1, 9)))\n";
    const std::string command =
        "/usr/bin/python3 '" + script.string() + "' '" + file.string() + "' '" + out.string() + "'";
    const bool read = std::system(command.c_str()) == 0;
    const std::string findings = read ? ReadFile(out) : "xlrd failed";
    std::error_code ec;
    fs::remove(script, ec);
    fs::remove(out, ec);
    return findings;
}

TEST_F(TExportFixture, SpreadsheetReaderSeesTheDefaultRun) {
    TFakeListView list = TrajectoryTable(3481);
    Use(list);
    x.Execute();
    // Text cells (1) only; the last row's last text is "3480.39".
    EXPECT_EQ("1 Trayectoria 3482 10 [1] True True Iteración: 3480.39", ReadWithXlrd(x.FileName));
    const std::string bytes = ReadFile(x.FileName);
    EXPECT_NE(std::string::npos, bytes.find(std::string("\x15\x00\x10\x00\x0D\x00\x00Page &P of &N", 20)))
        << "the page footer";
}

// ---- The engine's counts, events and failures -----------------------------------------------------

struct TCountCase {
    const char* what;
    int skip, limit;
    bool currentOnly;
    int rows; // data rows written
    int skipAfter, limitAfter;
    int exportedEvents;
};

TEST_F(TExportFixture, SkipLimitAndCurrentRecord) {
    const TCountCase cases[] = {
        {"records 3 to 7", 3, 5, false, 5, 3, 5, 5},
        {"limit beyond the list", 0, 100, false, 10, 0, 10, 10},
        {"skip beyond the list", 20, 0, false, 0, 10, 0, 0},
        {"current record only", 2, 0, true, 1, 2, 0, 0},
    };
    for (const TCountCase& c : cases) {
        TFakeListView list = TrajectoryTable(10);
        TTableExportXLS e;
        e.ExportSource = esListView;
        e.ListView = &list;
        e.FileName = (folder / "counts.xls").string();
        e.SkipRecCount = c.skip;
        e.ExportRecCount = c.limit;
        e.CurrentRecordOnly = c.currentOnly;
        std::vector<std::string> firstTexts;
        int exported = 0, skipped = 0;
        e.OnExportedRecord = [&](TTableExport&, std::int32_t) { ++exported; };
        e.OnSkippedRecord = [&](TTableExport&, std::int32_t recNo) { EXPECT_EQ(++skipped, recNo); };
        e.OnBeforeExportRow = [&](TTableExport&, TExportRow& row, bool&) {
            firstTexts.push_back(row[0].Text);
        };
        e.Execute();
        SCOPED_TRACE(c.what);
        EXPECT_EQ(static_cast<std::size_t>(c.rows), firstTexts.size());
        if (!firstTexts.empty()) {
            EXPECT_EQ(std::to_string(std::min(c.skip, 10) + 1), firstTexts[0]);
        }
        EXPECT_EQ(c.skipAfter, e.SkipRecCount);
        EXPECT_EQ(c.limitAfter, e.ExportRecCount);
        EXPECT_EQ(c.exportedEvents, exported);
        EXPECT_EQ(0u, e.Sheets.Count());
        EXPECT_EQ(0, list.UpdateDepth);
        EXPECT_EQ(0, list.Selected) << "the first item is selected before skipping";
    }
}

TEST_F(TExportFixture, RefusedRowAndStops) {
    TFakeListView list = TrajectoryTable(10);
    Use(list);
    // Refusing record 1: nine rows are written, events still count it.
    int exported = 0;
    x.OnBeforeExportRow = [](TTableExport&, TExportRow& row, bool& accept) { accept = row[0].Text != "2"; };
    x.OnExportedRecord = [&](TTableExport&, std::int32_t recNo) { exported = recNo; };
    x.Execute();
    EXPECT_EQ(10, exported);
    EXPECT_EQ("1 Trayectoria 10 10 [1] True True Iteración: 9.39", ReadWithXlrd(x.FileName));

    // Abort after the third record, nobody overrules: three records, the workbook is completed.
    x.OnBeforeExportRow = nullptr;
    x.OnExportedRecord = [&](TTableExport& e, std::int32_t recNo) {
        exported = recNo;
        if (recNo == 3)
            e.Abort();
    };
    int shown = 0;
    SetShellDocumentAction([&](const std::string&, const std::string&) { ++shown; });
    x.ShowFile = true;
    x.Execute();
    EXPECT_EQ(3, exported);
    EXPECT_TRUE(lastComplete);
    EXPECT_EQ(0, shown) << "a stop left standing shows nothing";
    EXPECT_EQ("1 Trayectoria 4 10 [1] True True Iteración: 2.39", ReadWithXlrd(x.FileName));

    // The stop handler lets it go on: all ten, and the file is shown.
    x.OnStopExport = [](TTableExport&, bool& canContinue) {
        EXPECT_FALSE(canContinue);
        canContinue = true;
    };
    x.Execute();
    EXPECT_EQ(10, exported);
    EXPECT_EQ(1, shown);
    SetShellDocumentAction(nullptr);

    // A stop requested before the first sheet ends the export: the earlier file stays.
    x.OnStopExport = nullptr;
    x.OnExportedRecord = nullptr;
    int sheetsAfter = 0;
    x.OnAfterExportSheet = [&](TTableExportXLS&, std::int32_t) { ++sheetsAfter; };
    x.OnBeginExport = [](TTableExport& e) { e.Abort(); };
    TFakeListView other = TrajectoryTable(2);
    x.ListView = &other;
    const std::string complete = ReadFile(x.FileName);
    x.Execute();
    EXPECT_FALSE(lastComplete);
    EXPECT_EQ(0, sheetsAfter);
    EXPECT_EQ(complete, ReadFile(x.FileName));

    // A request made before a sheet is prepared is cleared with it.
    x.OnBeginExport = nullptr;
    x.OnBeforeExportSheet = [](TTableExportXLS& e, std::int32_t) { e.Abort(); };
    x.Execute();
    EXPECT_TRUE(lastComplete);
    EXPECT_EQ(1, sheetsAfter);
    x.OnBeforeExportSheet = nullptr;
    // Stop while skipping.
    x.SkipRecCount = 1;
    x.OnSkippedRecord = [](TTableExport& e, std::int32_t) { e.Abort(); };
    const std::string kept = ReadFile(x.FileName);
    const int endsBefore = endEvents;
    x.Execute();
    EXPECT_EQ(endsBefore + 1, endEvents);
    EXPECT_FALSE(lastComplete);
    EXPECT_EQ(kept, ReadFile(x.FileName)) << "a stopped export keeps the earlier file";
    EXPECT_EQ(std::vector<std::string>{"DatosTrayectoriaRealCalculada.xls"}, folder.Files());
    EXPECT_EQ(0u, x.Sheets.Count());
}

TEST_F(TExportFixture, EmptyListTitleAndTwoExports) {
    TFakeListView list = TrajectoryTable(0);
    Use(list);
    x.Options.SetSheetTitle("");
    x.Execute();
    EXPECT_EQ(1, endEvents);
    EXPECT_EQ("Sheet1", x.Options.SheetTitle());
    const std::string first = ReadFile(x.FileName);
    EXPECT_NE(std::string::npos, first.find(std::string("S\0h\0e\0e\0t\0"
                                                        "1\0",
                                                        12)));
    EXPECT_EQ(0u, x.Sheets.Count());

    list = TrajectoryTable(2);
    x.Options.SetSheetTitle("Trayectoria");
    x.Execute();
    EXPECT_EQ(2, endEvents);
    EXPECT_EQ("1 Trayectoria 3 10 [1] True True Iteración: 1.39", ReadWithXlrd(x.FileName));
    EXPECT_EQ(std::vector<std::string>{"DatosTrayectoriaRealCalculada.xls"}, folder.Files());
}

struct TFailureCase {
    const char* what;
    std::function<void(TTableExportXLS&, TFakeListView&)> setUp;
    std::string message;
    bool endEvent;
};

TEST_F(TExportFixture, FailuresKeepTheEarlierFile) {
    const TFailureCase cases[] = {
        {"missing source", [](TTableExportXLS& e, TFakeListView&) { e.ListView = nullptr; },
         "Sheet Trayectoria define with error: Export source (ListView) is not assigned", true},
        {"empty source refused",
         [](TTableExportXLS& e, TFakeListView& l) {
             e.ExportEmpty = false;
             l.Items.clear();
         },
         "Export source (ListView) is empty", true},
        {"no file name", [](TTableExportXLS& e, TFakeListView&) { e.FileName.clear(); },
         "Result file name not present", false},
        {"a handler fails",
         [](TTableExportXLS& e, TFakeListView&) {
             e.OnExportedRecord = [](TTableExport&, std::int32_t recNo) {
                 if (recNo == 2)
                     throw std::runtime_error("handler");
             };
         },
         "handler", true},
        {"too many rows",
         [](TTableExportXLS& e, TFakeListView& l) {
             l.Items.resize(65535, l.Items[0]);
             e.Header = {"cabecera"};
         },
         "Sheet Trayectoria needs 65537 rows; a worksheet holds at most 65536", true},
    };
    TFakeListView first = TrajectoryTable(3);
    Use(first);
    x.Execute();
    const std::string earlier = ReadFile(x.FileName);
    for (const TFailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        TTableExportXLS e;
        TFakeListView list = TrajectoryTable(5);
        e.ExportSource = esListView;
        e.ListView = &list;
        e.FileName = x.FileName;
        e.Options.SetSheetTitle("Trayectoria");
        int ends = 0;
        bool complete = true;
        e.OnEndExport = [&](TTableExport&, bool done) {
            ++ends;
            complete = done;
        };
        c.setUp(e, list);
        try {
            e.Execute();
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(c.message, error.what());
        }
        EXPECT_EQ(c.endEvent ? 1 : 0, ends);
        EXPECT_FALSE(c.endEvent && complete);
        EXPECT_EQ(earlier, ReadFile(x.FileName));
        EXPECT_EQ(std::vector<std::string>{"DatosTrayectoriaRealCalculada.xls"}, folder.Files());
        EXPECT_EQ(0u, e.Sheets.Count());
        EXPECT_EQ(0, list.UpdateDepth);
    }
}

TEST_F(TExportFixture, ExactlyTheLargestSheet) {
    TFakeListView list = TrajectoryTable(65535);
    Use(list);
    x.Execute();
    EXPECT_TRUE(lastComplete);
    EXPECT_EQ("1 Trayectoria 65536 10 [1] True True Iteración: 65534.39", ReadWithXlrd(x.FileName));
}

TEST_F(TExportFixture, DirectoriesAndConfiguredSheets) {
    TFakeListView list = TrajectoryTable(4);
    Use(list, "a/b/c/datos.xls");
    x.Execute();
    EXPECT_TRUE(fs::is_regular_file(folder / "a/b/c/datos.xls"));

    // A file where the directory should be.
    std::ofstream(folder / "plain") << "x";
    x.FileName = (folder / "plain/sub/datos.xls").string();
    try {
        x.Execute();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ("Directory \"" + (folder / "plain/sub").string() + "\" not found and cannot be created",
                  std::string(e.what()));
    }

    // A configured sheet: its own source and counts; it stays afterwards.
    TFakeListView own = TrajectoryTable(6);
    x.FileName = (folder / "hoja.xls").string();
    TxlsSheet& sheet = x.Sheets.Add();
    sheet.Title = "Propia";
    sheet.ExportSource = esListView;
    sheet.ListView = &own;
    sheet.SkipRecCount = 4;
    x.SkipRecCount = 1;
    x.Execute();
    ASSERT_EQ(1u, x.Sheets.Count());
    EXPECT_EQ(1, x.SkipRecCount);
    EXPECT_EQ("1 Propia 3 10 [1] True True Iteración: 5.39", ReadWithXlrd(x.FileName));

    // The same sheet left out: the component's own settings are used through a temporary sheet, which
    // goes again, handing back its clamped count.
    x.Sheets[0].Exported = false;
    x.SkipRecCount = 3;
    x.ExportRecCount = 50;
    x.Execute();
    EXPECT_EQ(1u, x.Sheets.Count());
    EXPECT_EQ(4, x.ExportRecCount);
    EXPECT_EQ("1 Trayectoria 2 10 [1] True True Iteración: 3.39", ReadWithXlrd(x.FileName));
}

} // namespace
} // namespace korvo

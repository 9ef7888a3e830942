// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/WorksheetRecords.h"

#include "xls/BiffRecord.h"
#include "xls/TextEncoding.h"
#include "xls/WorkbookGlobals.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace korvo {

namespace {

constexpr std::int32_t kMaxRow = 65535;
constexpr std::int32_t kMaxCol = 255;
constexpr std::uint16_t kDefaultCellFormat = 15;
constexpr std::size_t kMaxHeaderChars = 255; // the count is taken as one byte

void CheckCell(std::int32_t row, std::int32_t col) {
    if (row < 0 || row > kMaxRow || col < 0 || col > kMaxCol) {
        throw std::runtime_error("Cell (" + std::to_string(row) + ", " + std::to_string(col) +
                                 ") lies outside a worksheet (rows 0 to 65535, columns 0 to 255)");
    }
}

// Row, column and cell format open every cell record.
std::uint8_t* PutCellHead(TWorkbookWriter& w, std::int32_t row, std::int32_t col, std::uint16_t cellFormat) {
    CheckCell(row, col);
    std::uint8_t* d = w.Scratch();
    PutU16(d, static_cast<std::uint16_t>(row));
    PutU16(d + 2, static_cast<std::uint16_t>(col));
    PutU16(d + 4, cellFormat);
    return d + 6;
}

// Rounds to the nearest integer, halves to the even one, without consulting the rounding mode.
double RoundHalfEven(double v) {
    const double down = std::floor(v);
    const double diff = v - down;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(down, 2.0) != 0.0)) {
        return down + 1.0;
    }
    return down;
}

std::uint16_t LimitToU16(double v) {
    if (!(v > 0.0)) { // also NaN
        return 0;
    }
    return v >= 65535.0 ? std::uint16_t{65535} : static_cast<std::uint16_t>(v);
}

} // namespace

std::uint16_t ColInfoWidth(std::int32_t widthInChars, double digitZeroPixels) {
    return LimitToU16(RoundHalfEven((widthInChars + 1.0 + 1.0 / digitZeroPixels) * 256.0));
}

void WriteHeaderFooter(TWorkbookWriter& w, std::uint16_t id, std::string_view utf8) {
    std::string text = Utf8ToCp1252(utf8);
    if (text.empty()) {
        w.WriteRecord(id, 0);
        return;
    }
    text.resize(std::min(text.size(), kMaxHeaderChars));
    std::uint8_t* d = w.Scratch();
    PutU16(d, static_cast<std::uint16_t>(text.size()));
    PutU8(d + 2, 0); // 8-bit characters
    std::memcpy(d + 3, text.data(), text.size());
    w.WriteRecord(id, 3 + text.size());
}

void WriteColInfo(TWorkbookWriter& w, std::uint16_t col, std::uint16_t width) {
    std::uint8_t* d = w.Scratch();
    PutU16(d, col);     // first column
    PutU16(d + 2, col); // last column
    PutU16(d + 4, width);
    PutU16(d + 6, kDefaultCellFormat);
    PutU16(d + 8, 0); // options
    PutU8(d + 10, 0);
    w.WriteRecord(biffid::ColInfo, 11);
}

void WriteDimensions(TWorkbookWriter& w, std::uint32_t firstRow, std::uint32_t lastRowPlus1,
                     std::uint16_t firstCol, std::uint16_t lastColPlus1) {
    std::uint8_t* d = w.Scratch();
    PutU32(d, firstRow);
    PutU32(d + 4, lastRowPlus1);
    PutU16(d + 8, firstCol);
    PutU16(d + 10, lastColPlus1);
    PutU16(d + 12, 0);
    w.WriteRecord(biffid::Dimensions, 14);
}

void WriteWindow2(TWorkbookWriter& w) {
    std::uint8_t* d = w.Scratch();
    std::memset(d, 0, 18);
    // grid lines, headings, zero values, automatic grid colour, outline symbols, selected, active
    PutU16(d, 0x06B6);
    w.WriteRecord(biffid::Window2, 18);
}

// Pane 3, the active cell A1 and one range A1:A1; one zero byte more than the range needs.
void WriteSelection(TWorkbookWriter& w) {
    std::uint8_t* d = w.Scratch();
    std::memset(d, 0, 16);
    PutU8(d, 3);
    PutU16(d + 7, 1); // range count
    w.WriteRecord(biffid::Selection, 16);
}

void BeginSheet(TWorkbookWriter& w, const TxlsSheetSetup& sheet) {
    const std::size_t columns = sheet.ColumnWidths.size();
    if (columns > 0 && sheet.StartDataCol + columns - 1 > static_cast<std::size_t>(kMaxCol)) {
        throw std::runtime_error("Columns " + std::to_string(sheet.StartDataCol) + " to " +
                                 std::to_string(sheet.StartDataCol + columns - 1) +
                                 " do not fit a worksheet (columns 0 to 255)");
    }
    TxlsBoundSheet bound;
    bound.SheetIndex = sheet.SheetIndex;
    bound.Title = Utf8ToUtf16(sheet.Title);
    bound.BofPosition = w.Position();
    w.BoundSheets().push_back(std::move(bound));

    WriteBof(w, 0x0010);
    w.WriteWordRecord(biffid::CalcMode, 1);
    w.WriteWordRecord(biffid::CalcCount, 100);
    w.WriteWordRecord(biffid::RefMode, 1);
    w.WriteWordRecord(biffid::Iteration, 0);
    PutDouble(w.Scratch(), 0.001);
    w.WriteRecord(biffid::Delta, 8);
    w.WriteWordRecord(biffid::SaveRecalc, 1);
    w.WriteWordRecord(biffid::PrintHeaders, 0);
    w.WriteWordRecord(biffid::PrintGridLines, 0);
    w.WriteWordRecord(biffid::GridSet, 1);
    std::memset(w.Scratch(), 0, 8);
    w.WriteRecord(biffid::Guts, 8);
    w.WriteWordRecord(biffid::DefColWidth, static_cast<std::uint16_t>(sheet.DefColWidth));
    PutU16(w.Scratch(), 0);
    // twentieths of a point, truncated toward zero
    PutU16(w.Scratch() + 2, LimitToU16(std::trunc(sheet.DefRowHeight * 20.0)));
    w.WriteRecord(biffid::DefaultRowHeight, 4);
    w.WriteWordRecord(biffid::WsBool, 0x04C1);
    WriteHeaderFooter(w, biffid::Header, sheet.PageHeader);
    WriteHeaderFooter(w, biffid::Footer, sheet.PageFooter);
    w.WriteWordRecord(biffid::HCenter, 0);
    w.WriteWordRecord(biffid::VCenter, 0);

    w.SetFirstColInfoPosition(w.Position());
    w.ColumnWidths() = sheet.ColumnWidths;
    for (std::size_t k = 0; k < columns; ++k) {
        WriteColInfo(w, static_cast<std::uint16_t>(sheet.StartDataCol + k),
                     ColInfoWidth(sheet.ColumnWidths[k]));
    }
    w.CurrentSheet().DimensionsPosition = w.Position();
    WriteDimensions(w, 0, 0, 0, 0);
}

void EndSheet(TWorkbookWriter& w) {
    WriteWindow2(w);
    WriteSelection(w);
    WriteEof(w);
}

void UpdateUsedRange(TWorkbookWriter& w, std::int32_t row, std::int32_t col) {
    TxlsBoundSheet& s = w.CurrentSheet();
    if (s.FirstRow < 0 || s.FirstRow > row) {
        s.FirstRow = row;
    }
    if (s.LastRow < 0 || s.LastRow < row) {
        s.LastRow = row;
    }
    if (s.FirstCol < 0 || s.FirstCol > col) {
        s.FirstCol = col;
    }
    if (s.LastCol < 0 || s.LastCol < col) {
        s.LastCol = col;
    }
}

namespace {
// The cell is checked before the text enters the string table, so that a refused cell adds nothing.
template <class Text>
void WriteLabelSst(TWorkbookWriter& w, std::int32_t row, std::int32_t col, Text text,
                   std::uint16_t cellFormat) {
    CheckCell(row, col);
    const std::uint32_t index = w.Sst().AddString(text);
    PutU32(PutCellHead(w, row, col, cellFormat), index);
    w.WriteRecord(biffid::LabelSst, 10);
}
} // namespace

void WriteTextCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, std::string_view utf8,
                   std::uint16_t cellFormat) {
    WriteLabelSst(w, row, col, utf8, cellFormat);
}

void WriteTextCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, std::u16string_view text,
                   std::uint16_t cellFormat) {
    WriteLabelSst(w, row, col, text, cellFormat);
}

void WriteBlankCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, std::uint16_t cellFormat) {
    PutCellHead(w, row, col, cellFormat);
    w.WriteRecord(biffid::Blank, 6);
}

void WriteNumberCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, double value,
                     std::uint16_t cellFormat) {
    PutDouble(PutCellHead(w, row, col, cellFormat), value);
    w.WriteRecord(biffid::Number, 14);
}

void WriteBooleanCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, bool value,
                      std::uint16_t cellFormat) {
    std::uint8_t* d = PutCellHead(w, row, col, cellFormat);
    PutU8(d, value ? 1 : 0);
    PutU8(d + 1, 0); // a Boolean, not an error code
    w.WriteRecord(biffid::BoolErr, 8);
}

void ApplyColumnWidths(TWorkbookWriter& w) {
    std::size_t record = w.FirstColInfoPosition();
    for (const std::int32_t width : w.ColumnWidths()) {
        w.PatchU16(record + 8, LimitToU16(256.0 * width));
        record += 4 + 11;
    }
}

} // namespace korvo

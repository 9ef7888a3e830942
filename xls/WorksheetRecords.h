// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A worksheet substream: the opening records, the four cell records and the closing records.
//
//     korvo::TxlsSheetSetup sheet;
//     sheet.Title = "Trayectoria";
//     sheet.ColumnWidths.assign(10, 10);   // ten columns, 10 characters each
//     korvo::BeginSheet(w, sheet);         // BOF ... VCENTER, COLINFO × 10, DIMENSIONS (zeros)
//     korvo::UpdateUsedRange(w, 0, 0);
//     korvo::WriteTextCell(w, 0, 0, "Iteración:", 22);
//     korvo::EndSheet(w);                  // WINDOW2, SELECTION, EOF
//
// The sheet's DIMENSIONS stays all zero until EndWorkbook writes the used range into it. A cell's row
// must lie in 0 to 65535 and its column in 0 to 255, the limits of a worksheet; anything else throws
// std::runtime_error before a byte is written, because a 16-bit row field would wrap onto the first rows.
#include "xls/WorkbookWriter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// What the worksheet records take from a sheet.
struct TxlsSheetSetup {
    std::int32_t SheetIndex = 0;   // position in the component's sheet collection
    std::string Title = "Sheet 1"; // UTF-8
    std::int32_t DefColWidth = 8;  // characters
    double DefRowHeight = 12.75;   // points
    std::string PageHeader;        // UTF-8, "&P" and "&N" passed through
    std::string PageFooter = "Page &P of &N";
    std::uint8_t StartDataCol = 0;
    std::vector<std::int32_t> ColumnWidths; // one per exported column, in characters
};

// Pixel width of the default font's "0" (arial, 10 points) at 96 dots per inch: fixed, so that a file
// never depends on the screen it was written on.
inline constexpr double kDigitZeroPixels = 7.0;

// COLINFO width in 1/256 of a character: (W + 1 + 1/w0) × 256 to the nearest integer, halves to even,
// limited to 0 .. 65535.
std::uint16_t ColInfoWidth(std::int32_t widthInChars, double digitZeroPixels = kDigitZeroPixels);

// Adds the sheet's TxlsBoundSheet and writes records BOF to VCENTER, the COLINFO records and a zero
// DIMENSIONS. Also sets the writer's first COLINFO position and width list.
void BeginSheet(TWorkbookWriter& w, const TxlsSheetSetup& sheet);
// WINDOW2, SELECTION, EOF.
void EndSheet(TWorkbookWriter& w);

// Widens the current sheet's used range to include the cell.
void UpdateUsedRange(TWorkbookWriter& w, std::int32_t row, std::int32_t col);

// LABELSST: the text goes into the shared string table now, so string indices follow the order in which
// text cells are written.
void WriteTextCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, std::string_view utf8,
                   std::uint16_t cellFormat);
void WriteTextCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, std::u16string_view text,
                   std::uint16_t cellFormat);
void WriteBlankCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, std::uint16_t cellFormat);
void WriteNumberCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, double value,
                     std::uint16_t cellFormat);
void WriteBooleanCell(TWorkbookWriter& w, std::int32_t row, std::int32_t col, bool value,
                      std::uint16_t cellFormat);

// The automatic column-width pass: overwrites the width field of the current sheet's COLINFO records
// with the writer's width list × 256 (limited to 65535).
void ApplyColumnWidths(TWorkbookWriter& w);

// One writer per record of the sheet's opening and closing.
void WriteHeaderFooter(TWorkbookWriter& w, std::uint16_t id, std::string_view utf8);
void WriteColInfo(TWorkbookWriter& w, std::uint16_t col, std::uint16_t width);
void WriteDimensions(TWorkbookWriter& w, std::uint32_t firstRow, std::uint32_t lastRowPlus1,
                     std::uint16_t firstCol, std::uint16_t lastColPlus1);
void WriteWindow2(TWorkbookWriter& w);
void WriteSelection(TWorkbookWriter& w);

} // namespace korvo

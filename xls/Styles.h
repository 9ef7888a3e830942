// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The style registry of one workbook: turns a number-format text and an optional cell format into a
// cell-format (XF) index, registering each font, number format and cell format only once; remembers the
// cell format of every exported column; and writes the FONT, FORMAT and XF records of the globals block.
//
//     korvo::TxlsStyleRegistry styles;
//     styles.StyleIndexFor("General", nullptr, dataFont);     // 15, nothing registered
//     styles.StyleIndexFor("#,###,##0.00", nullptr, dataFont); // 16, with number format 50
//     korvo::EndWorkbook(writer, styles, korvo::kDefaultPalette);
//
// Indices are handed out in order of registration after the fixed ones: fonts from 5 (font 4 does not
// exist), number formats from 50, cell formats from 16. Texts are UTF-8.
#include "xls/ByteStream.h"
#include "xls/CellFormat.h"
#include "xls/WorkbookGlobals.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

inline constexpr std::uint16_t kDefaultCellFormat = 15;

// The number formats of a sheet that RegisterSheetStyles registers, in the order they are registered.
struct TxlsSheetNumberFormats {
    std::string CurrencyFormat, DateTimeFormat, FloatFormat, IntegerFormat, TimeFormat;
};

// An exported column as the registry sees it.
struct TxlsStyleColumn {
    std::string Name;   // the column's key
    std::string Format; // its number-format text, empty for text columns
};

// What RegisterSheetStyles needs of one sheet.
struct TxlsSheetStyles {
    std::int32_t SheetIndex = 0;
    TxlsSheetNumberFormats Formats;
    TxlsFont DataFont; // the font of the sheet's data format
    std::vector<TxlsStyleColumn> Columns;
    const std::vector<TxlsFieldFormat>* FieldFormats = nullptr; // may be absent
};

class TxlsStyleRegistry : public TxlsStyleRecordSource {
public:
    TxlsStyleRegistry();
    ~TxlsStyleRegistry() override;

    // The cell format for a number-format text and an optional format. "General" without a format is
    // the default cell format 15; an empty text counts as "General" but does register a plain cell
    // format. A format's font is kept only when it differs from dataFont.
    std::uint16_t StyleIndexFor(const std::string& numberFormat, const TxlsFormat* format,
                                const TxlsFont& dataFont);

    // The five number formats of the sheet, then the cell format of each column.
    void RegisterSheetStyles(const TxlsSheetStyles& sheet);
    // Registers the column's cell format (with the field format named like the column, if any) and
    // remembers it when it is not 15.
    void RegisterColumnStyle(std::int32_t sheetIndex, const TxlsStyleColumn& column,
                             const std::vector<TxlsFieldFormat>* fieldFormats, const TxlsFont& dataFont);
    // The cell format of the column's data cells: the remembered one, else 15.
    std::uint16_t ColumnDataStyle(std::int32_t sheetIndex, const std::string& columnName) const;

    std::size_t FontCount() const { return fonts_.size(); }
    std::size_t NumberFormatCount() const { return numberFormats_.size(); }
    std::size_t CellFormatCount() const { return cellFormats_.size(); }

    void SaveFontRecords(TByteStream& out) const override;
    void SaveFormatRecords(TByteStream& out) const override;
    void SaveCellFormatRecords(TByteStream& out) const override;

    struct Font;
    struct NumberFormat;
    struct CellFormat;
    struct ColumnEntry;

private:
    std::vector<std::unique_ptr<Font>> fonts_;
    std::vector<std::unique_ptr<NumberFormat>> numberFormats_;
    std::vector<std::unique_ptr<CellFormat>> cellFormats_;
    std::vector<ColumnEntry> columns_;
    std::uint16_t lastFont_ = 4;
    std::uint16_t lastNumberFormat_ = 49;
    std::uint16_t lastCellFormat_ = 15;
};

// Record data, for the records the registry writes and for tests.
// FONT data: 16 + 2n bytes.
std::vector<std::uint8_t> FontRecordData(const TxlsFont& font);
// The 20 bytes of fixed cell format 0..15.
std::vector<std::uint8_t> FixedCellFormatData(int index);

// A UTF-8 text with its ASCII and Latin-1 capitals made small, for comparisons that ignore case.
std::string FoldCase(const std::string& text);
// Text comparison ignoring the case of ASCII and Latin-1 letters (UTF-8 texts).
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

} // namespace korvo

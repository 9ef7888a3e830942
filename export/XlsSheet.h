// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The spreadsheet side of the export model: the page and sheet options with their seven cell styles, and
// the sheet that carries one worksheet's copy of the export settings.
//
//     korvo::TxlsSheets sheets;
//     korvo::TxlsSheet& s = sheets.Add();   // titled "Sheet 1"
//     s.Options.SetSheetTitle("");          // options of their own: stores "Sheet1"
#include "export/ExportColumns.h"
#include "xls/CellFormat.h"

#include <memory>
#include <string>
#include <vector>

namespace korvo {

struct TxlsNoteFormat {
    TxlsHorzAlignment Horizontal = halLeft;
    TxlsVertAlignment Vertical = valTop;
    std::uint32_t BackgroundColor = 0xE1FFFF; // blue-green-red byte order
    std::uint32_t ForegroundColor = 0xE1FFFF;
    std::u16string FontName = u"Tahoma";
    std::int32_t FontSize = 8;
    bool FontBold = true;
};

// The seven formats of the options: what a copy of the options carries.
struct TXLSFormats {
    TXLSFormats();
    TxlsFormat HeaderFormat, CaptionsFormat, DataFormat, AggregateFormat, FooterFormat, HyperlinkFormat;
    TxlsNoteFormat NoteFormat;
};

class TXLSOptions : public TXLSFormats {
public:
    TXLSOptions() = default;
    // Copies the seven formats only; page header, page footer and sheet title stay.
    TXLSOptions(const TXLSOptions& other) : TXLSFormats(other) {}
    TXLSOptions& operator=(const TXLSOptions& other) {
        Assign(other);
        return *this;
    }
    void Assign(const TXLSOptions& other) { static_cast<TXLSFormats&>(*this) = other; }

    std::string PageHeader; // UTF-8
    std::string PageFooter = "Page &P of &N";
    const std::string& SheetTitle() const { return sheetTitle_; }
    // The empty text stores "Sheet1".
    void SetSheetTitle(const std::string& title) { sheetTitle_ = title.empty() ? "Sheet1" : title; }

private:
    std::string sheetTitle_ = "Sheet 1";
};

enum TxlsStripType : std::uint8_t { ssNone, ssCol, ssRow };

// The settings a sheet and the spreadsheet component share (the sheet's copy is what an export reads).
struct TxlsSheetSettings : TExportSettings {
    TxlsSheetSettings() { OnlyVisibleFields = true; }
    std::vector<TxlsFieldFormat> FieldFormats;
    std::vector<TxlsFormat> StripStyles;
    TxlsStripType StripType = ssNone;
    std::string SubAggControlColumn;
    std::uint16_t HeaderRows = 0;
    std::uint8_t StartDataCol = 0;
    std::uint16_t FooterRows = 0;
    std::vector<std::string> Header, Footer; // UTF-8 lines
    bool AutoCalcColWidth = false;
    bool AllowCaptions = true;
};

class TxlsSheet : public TxlsSheetSettings {
public:
    std::string Title;
    bool Exported = true;
    TXLSOptions Options;
    double DefRowHeight = 12.75;
    std::int32_t DefColWidth = 8;
    std::int32_t Tag = 0;

    // Run-time parts, rebuilt for every export.
    TExportColumns Columns;
    TExportRow Row;
    std::int32_t SheetPosition = 0;             // in the component's sheets during an export
    std::vector<int> RowTargets;                // row position of each column's name
    std::vector<std::uint16_t> DataCellFormats; // cell format of each column's data cells
    std::int32_t RowCounter = 0;
    std::int32_t RecordCounter = 0;
    std::int32_t ColumnBound = 0;
    bool HasImages = false;
};

class TxlsSheets {
public:
    // Appends a sheet with the defaults, titled "Sheet <count>".
    TxlsSheet& Add();
    TxlsSheet& operator[](std::size_t i) { return *items_[i]; }
    const TxlsSheet& operator[](std::size_t i) const { return *items_[i]; }
    std::size_t Count() const { return items_.size(); }
    void Remove(std::size_t i) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i)); }
    void Clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TxlsSheet>> items_;
};

} // namespace korvo

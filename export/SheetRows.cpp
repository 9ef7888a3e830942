// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/SheetRows.h"

#include "xls/WorksheetRecords.h"

#include <algorithm>
#include <cmath>

namespace korvo {

namespace {

std::size_t Utf8Length(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void Measure(TWorkbookWriter& w, std::size_t column, const std::string& text, const TxlsSheet& sheet) {
    if (!sheet.AutoCalcColWidth)
        return;
    auto& widths = w.ColumnWidths();
    if (column < widths.size())
        widths[column] = std::max(widths[column], MeasuredWidth(text));
}

int LineCount(std::uint16_t rows, const std::vector<std::string>& lines) {
    return rows != 0 ? rows : static_cast<int>(lines.size());
}

void WriteLines(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet,
                const std::vector<std::string>& lines, std::uint16_t rows, const TxlsFormat& format) {
    const int count = LineCount(rows, lines);
    for (int i = 0; i < count; ++i) {
        std::string line =
            static_cast<std::size_t>(i) < lines.size() ? lines[static_cast<std::size_t>(i)] : "";
        if (!line.empty() && line.back() != '\t')
            line += '\t';
        std::size_t start = 0;
        for (int column = 0; column <= 255; ++column) {
            const std::size_t tab = line.find('\t', start);
            if (tab == std::string::npos)
                break;
            const std::string field = line.substr(start, tab - start);
            start = tab + 1;
            if (field.empty())
                continue;
            const std::uint16_t xf = styles.StyleIndexFor("General", &format, sheet.Options.DataFormat.Font);
            UpdateUsedRange(w, sheet.RowCounter, column);
            WriteTextCell(w, sheet.RowCounter, column, field, xf);
        }
        ++sheet.RowCounter;
    }
}

} // namespace

std::int32_t MeasuredWidth(const std::string& text) {
    // "I" is about three sevenths of the digit width in the default font.
    return static_cast<std::int32_t>(std::ceil(static_cast<double>(Utf8Length(text)) + 3.0 / 7.0));
}

int HeaderLineCount(const TxlsSheet& sheet) {
    return LineCount(sheet.HeaderRows, sheet.Header);
}
int FooterLineCount(const TxlsSheet& sheet) {
    return LineCount(sheet.FooterRows, sheet.Footer);
}

void WriteHeaderLines(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet) {
    WriteLines(w, styles, sheet, sheet.Header, sheet.HeaderRows, sheet.Options.HeaderFormat);
}

void WriteFooterLines(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet) {
    WriteLines(w, styles, sheet, sheet.Footer, sheet.FooterRows, sheet.Options.FooterFormat);
}

void WriteCaptionRow(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet) {
    for (std::size_t k = 0; k < sheet.Columns.Count(); ++k) {
        const TxlsFormat format = sheet.Options.CaptionsFormat;
        const std::string& caption = sheet.Columns[k].Caption;
        if (caption.empty())
            continue;
        const std::uint16_t xf =
            IsDefault(format) ? kDefaultCellFormat
                              : styles.StyleIndexFor("General", &format, sheet.Options.DataFormat.Font);
        const int column = sheet.StartDataCol + static_cast<int>(k);
        UpdateUsedRange(w, sheet.RowCounter, column);
        WriteTextCell(w, sheet.RowCounter, column, caption, xf);
        Measure(w, k, caption, sheet);
    }
    ++sheet.RowCounter;
}

void WriteDataRow(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet,
                  const TCellTextHook& hook) {
    const std::int32_t row = sheet.RowCounter;
    for (std::size_t k = 0; k < sheet.Columns.Count() && k < sheet.Row.Count(); ++k) {
        const TExportColumn& column = sheet.Columns[k];
        // The row's text itself, or the hook's or the date's replacement of it.
        std::string replaced;
        const std::string* text = &sheet.Row[k].Text;
        if (hook) {
            replaced = *text;
            hook(static_cast<int>(k), replaced);
            text = &replaced;
        }
        const std::uint16_t cellFormat = k < sheet.DataCellFormats.size()
                                             ? sheet.DataCellFormats[k]
                                             : styles.ColumnDataStyle(sheet.SheetPosition, column.Name);
        const int c = sheet.StartDataCol + static_cast<int>(k);
        UpdateUsedRange(w, row, c);
        if (text->empty()) {
            WriteBlankCell(w, row, c, cellFormat);
        } else if (*text == sheet.Formats.NullString()) {
            WriteTextCell(w, row, c, *text, cellFormat);
        } else {
            switch (column.ColType) {
            case ectBoolean:
                WriteBooleanCell(w, row, c, FoldCase(*text) == FoldCase(sheet.Formats.BooleanTrue()),
                                 cellFormat);
                break;
            case ectDate:
            case ectTime:
            case ectDateTime: {
                const double v = ValueAsDouble(sheet.Row[k].Value).value_or(0.0);
                if (v <= 1) {
                    replaced = FormatDateTime(column.Format, v, CurrentRegionalSettings());
                    text = &replaced;
                    WriteTextCell(w, row, c, *text, cellFormat);
                } else {
                    // Day 60 of the file's calendar is the 29 February 1900 that never was.
                    WriteNumberCell(w, row, c, v > 60 ? v : v - 1, cellFormat);
                }
                break;
            }
            case ectInteger:
            case ectBigint:
            case ectFloat:
            case ectCurrency:
                WriteNumberCell(w, row, c, ValueAsDouble(sheet.Row[k].Value).value_or(0.0), cellFormat);
                break;
            default:
                WriteTextCell(w, row, c, *text, cellFormat);
                break;
            }
        }
        Measure(w, k, *text, sheet);
    }
    ++sheet.RowCounter;
}

void RegisterSheetStyles(TxlsStyleRegistry& styles, const TxlsSheet& sheet, std::int32_t sheetIndex) {
    TxlsSheetStyles s;
    s.SheetIndex = sheetIndex;
    s.Formats = {sheet.Formats.CurrencyFormat(), sheet.Formats.DateTimeFormat(), sheet.Formats.FloatFormat(),
                 sheet.Formats.IntegerFormat(), sheet.Formats.TimeFormat()};
    s.DataFont = sheet.Options.DataFormat.Font;
    for (std::size_t k = 0; k < sheet.Columns.Count(); ++k)
        s.Columns.push_back({sheet.Columns[k].Name, sheet.Columns[k].Format});
    s.FieldFormats = &sheet.FieldFormats;
    styles.RegisterSheetStyles(s);
}

} // namespace korvo

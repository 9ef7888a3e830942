// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The rows of a worksheet between its opening and closing records: header lines, the caption row, one
// row per record, footer lines, and the automatic column-width pass. Each writer advances the sheet's
// row counter by the rows it writes.
//
//     korvo::WriteCaptionRow(writer, styles, sheet);            // row 0: the captions, bold
//     korvo::WriteDataRow(writer, styles, sheet, nullptr);      // the sheet's current row
#include "export/XlsSheet.h"
#include "xls/Styles.h"
#include "xls/WorkbookWriter.h"

#include <functional>
#include <string>

namespace korvo {

// Called per data cell before it is written; may change the text.
using TCellTextHook = std::function<void(int column, std::string& text)>;

void WriteHeaderLines(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet);
void WriteFooterLines(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet);
void WriteCaptionRow(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet);
void WriteDataRow(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet, const TCellTextHook& hook);

// The number of header (or footer) lines a sheet writes.
int HeaderLineCount(const TxlsSheet& sheet);
int FooterLineCount(const TxlsSheet& sheet);

// The sheet's style registration: its five number formats and its columns' cell formats.
void RegisterSheetStyles(TxlsStyleRegistry& styles, const TxlsSheet& sheet, std::int32_t sheetIndex);

// Width in characters of a text in the default font, as the automatic width pass counts it: the text
// with an "I" appended, over the width of "0", rounded up. Characters are counted as digit-wide.
std::int32_t MeasuredWidth(const std::string& text);

} // namespace korvo

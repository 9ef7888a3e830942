// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/XlsSheet.h"

namespace korvo {

TXLSFormats::TXLSFormats() {
    CaptionsFormat.Font.Style.Bold = true;
    HyperlinkFormat.Font.Color = clrBlue;
    HyperlinkFormat.Font.Underline = fulSingle;
}

TxlsSheet& TxlsSheets::Add() {
    items_.push_back(std::make_unique<TxlsSheet>());
    items_.back()->Title = "Sheet " + std::to_string(items_.size());
    return *items_.back();
}

} // namespace korvo

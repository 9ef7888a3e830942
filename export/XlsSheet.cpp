#include "export/XlsSheet.h"

namespace korvo {

TXLSOptions::TXLSOptions() {
    CaptionsFormat.Font.Style.Bold = true;
    HyperlinkFormat.Font.Color = clrBlue;
    HyperlinkFormat.Font.Underline = fulSingle;
}

void TXLSOptions::Assign(const TXLSOptions& other) {
    if (this == &other)
        return;
    HeaderFormat = other.HeaderFormat;
    CaptionsFormat = other.CaptionsFormat;
    DataFormat = other.DataFormat;
    AggregateFormat = other.AggregateFormat;
    FooterFormat = other.FooterFormat;
    HyperlinkFormat = other.HyperlinkFormat;
    NoteFormat = other.NoteFormat;
}

TxlsSheet& TxlsSheets::Add() {
    items_.push_back(std::make_unique<TxlsSheet>());
    items_.back()->Title = "Sheet " + std::to_string(items_.size());
    return *items_.back();
}

} // namespace korvo

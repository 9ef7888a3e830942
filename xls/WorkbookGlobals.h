// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The workbook globals substream: the fixed opening records written at the start of an export, and the
// block (fonts through the shared string table) that is assembled at the end and inserted in front of the
// globals' EOF, so that the worksheets follow it.
//
//     korvo::TWorkbookWriter w;
//     w.OpenWorkbookFile("out.xls");
//     korvo::BeginWorkbook(w);             // BOF ... BOOKBOOL, insert point, EOF
//     ... BeginSheet, cells, EndSheet for each sheet (WorksheetRecords.h) ...
//     korvo::EndWorkbook(w, registry, korvo::kDefaultPalette);
//     w.CloseWorkbookFile();
//
// The FONT, FORMAT and XF records come from the style registry through TxlsStyleRecordSource; the
// palette comes as 56 colours. Everything else of the block is written here, in file order: FONT, FORMAT,
// XF, the six STYLE records, PALETTE, one BOUNDSHEET per written sheet, COUNTRY, SST.
#include "xls/ByteStream.h"
#include "xls/WorkbookWriter.h"

#include <array>
#include <cstdint>

namespace korvo {

// What the globals block needs from the style registry. Each method appends its whole group of records
// to the block at the block's position, in file order.
class TxlsStyleRecordSource {
public:
    virtual ~TxlsStyleRecordSource() = default;
    // Every FONT record: the four records of the reset font (font indices 0 to 3), then each registered
    // font in order of registration.
    virtual void SaveFontRecords(TByteStream& out) const = 0;
    // One FORMAT record per registered number format, in order of registration.
    virtual void SaveFormatRecords(TByteStream& out) const = 0;
    // Every XF record: the sixteen fixed cell formats 0 to 15, then each registered cell format.
    virtual void SaveCellFormatRecords(TByteStream& out) const = 0;
};

struct TxlsRgb {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    bool operator==(const TxlsRgb&) const = default;
};
// The colours of palette indices 8 to 63, in order.
using TxlsPalette = std::array<TxlsRgb, 56>;
// BIFF8's default palette.
extern const TxlsPalette kDefaultPalette;

// The writer's name and version, joined by one space, in WRITEACCESS.
inline constexpr const char* kWriterName = "Orv Quillmoorstack";
inline constexpr const char* kWriterVersion = "4.1.0.7";

// Records 1 to 17 of the globals, the insert point, and the globals' EOF.
void BeginWorkbook(TWorkbookWriter& w);
// DIMENSIONS of every sheet, the globals block, its insertion; then marks the stream complete.
void EndWorkbook(TWorkbookWriter& w, const TxlsStyleRecordSource& styles, const TxlsPalette& palette);

// One writer per record, as the globals hold them. The BOF writer serves the worksheets too.
void WriteBof(TWorkbookWriter& w, std::uint16_t substreamType); // 0x0005 globals, 0x0010 worksheet
void WriteWriteAccess(TWorkbookWriter& w);
void WriteWindow1(TWorkbookWriter& w);
void WriteEof(TWorkbookWriter& w);
// Block records, appended to the in-memory globals block.
void SaveStyleRecords(TByteStream& block);
void SavePalette(TByteStream& block, const TxlsPalette& palette);
void SaveCountry(TByteStream& block);

} // namespace korvo

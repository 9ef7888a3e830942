// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/WorkbookGlobals.h"

#include "xls/BiffRecord.h"

#include <cstring>
#include <string>

namespace korvo {

const TxlsPalette kDefaultPalette = {{
    {0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, // 8-11
    {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, // 12-15
    {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x00, 0x00, 0x80}, {0x80, 0x80, 0x00}, // 16-19
    {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0}, {0x80, 0x80, 0x80}, // 20-23
    {0x99, 0x99, 0xFF}, {0x99, 0x33, 0x66}, {0xFF, 0xFF, 0xCC}, {0xCC, 0xFF, 0xFF}, // 24-27
    {0x66, 0x00, 0x66}, {0xFF, 0x80, 0x80}, {0x00, 0x66, 0xCC}, {0xCC, 0xCC, 0xFF}, // 28-31
    {0x00, 0x00, 0x80}, {0xFF, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0x00, 0xFF, 0xFF}, // 32-35
    {0x80, 0x00, 0x80}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x80}, {0x00, 0x00, 0xFF}, // 36-39
    {0x00, 0xCC, 0xFF}, {0xCC, 0xFF, 0xFF}, {0xCC, 0xFF, 0xCC}, {0xFF, 0xFF, 0x99}, // 40-43
    {0x99, 0xCC, 0xFF}, {0xFF, 0x99, 0xCC}, {0xCC, 0x99, 0xFF}, {0xFF, 0xCC, 0x99}, // 44-47
    {0x33, 0x66, 0xFF}, {0x33, 0xCC, 0xCC}, {0x99, 0xCC, 0x00}, {0xFF, 0xCC, 0x00}, // 48-51
    {0xFF, 0x99, 0x00}, {0xFF, 0x66, 0x00}, {0x66, 0x66, 0x99}, {0x96, 0x96, 0x96}, // 52-55
    {0x00, 0x33, 0x66}, {0x33, 0x99, 0x66}, {0x00, 0x33, 0x00}, {0x33, 0x33, 0x00}, // 56-59
    {0x99, 0x33, 0x00}, {0x99, 0x33, 0x66}, {0x33, 0x33, 0x99}, {0x33, 0x33, 0x33}, // 60-63
}};

namespace {
constexpr std::size_t kWriteAccessSize = 112;
constexpr std::uint16_t kCodePage1252 = 1252;
} // namespace

void WriteBof(TWorkbookWriter& w, std::uint16_t substreamType) {
    std::uint8_t* d = w.Scratch();
    PutU16(d, 0x0600); // BIFF8
    PutU16(d + 2, substreamType);
    PutU16(d + 4, 0x0DBB);  // build
    PutU16(d + 6, 0x07CC);  // year
    PutU32(d + 8, 0);       // file history flags
    PutU32(d + 12, 0x0206); // lowest version that can read the file
    w.WriteRecord(biffid::Bof, 16);
}

// The writer's name and version, in 8-bit characters, padded with spaces to 112 bytes.
void WriteWriteAccess(TWorkbookWriter& w) {
    const std::string name = std::string(kWriterName) + " " + kWriterVersion;
    std::uint8_t* d = w.Scratch();
    std::memset(d, ' ', kWriteAccessSize);
    PutU16(d, static_cast<std::uint16_t>(name.size()));
    PutU8(d + 2, 0);
    std::memcpy(d + 3, name.data(), name.size());
    w.WriteRecord(biffid::WriteAccess, kWriteAccessSize);
}

void WriteWindow1(TWorkbookWriter& w) {
    static constexpr std::uint16_t kValues[9] = {
        120,    // horizontal position, twips
        120,    // vertical position
        23820,  // width
        15720,  // height
        0x0038, // horizontal and vertical scroll bars and sheet tabs shown
        0,      // active sheet
        0,      // first visible tab
        1,      // selected tabs
        600,    // tab bar width, per mille
    };
    for (int i = 0; i < 9; ++i) {
        PutU16(w.Scratch() + 2 * i, kValues[i]);
    }
    w.WriteRecord(biffid::Window1, 18);
}

void WriteEof(TWorkbookWriter& w) {
    w.WriteRecord(biffid::Eof, 0);
}

void BeginWorkbook(TWorkbookWriter& w) {
    WriteBof(w, 0x0005);
    WriteWriteAccess(w);
    w.WriteWordRecord(biffid::CodePage, kCodePage1252);
    w.WriteWordRecord(biffid::Dsf, 0);
    w.WriteWordRecord(biffid::FnGroupCount, 14);
    w.WriteWordRecord(biffid::WindowProtect, 0);
    w.WriteWordRecord(biffid::Protect, 0);
    w.WriteWordRecord(biffid::Password, 0);
    w.WriteWordRecord(biffid::Prot4Rev, 0);
    w.WriteWordRecord(biffid::Prot4RevPass, 0);
    WriteWindow1(w);
    w.WriteWordRecord(biffid::Backup, 0);
    w.WriteWordRecord(biffid::HideObj, 0);
    w.WriteWordRecord(biffid::DateMode1904, 0);
    w.WriteWordRecord(biffid::Precision, 1);
    w.WriteWordRecord(biffid::RefreshAll, 0);
    w.WriteWordRecord(biffid::BookBool, 0);
    w.SetInsertPoint(w.Position());
    WriteEof(w);
}

// The built-in styles point at cell formats 16 to 20 (bit 15 marks a built-in style) and Normal at 0.
void SaveStyleRecords(TByteStream& block) {
    struct Style {
        std::uint16_t cellFormat;
        std::uint8_t builtIn;
    };
    static constexpr Style kStyles[6] = {
        {16, 3}, // Comma
        {17, 6}, // Comma [0]
        {18, 4}, // Currency
        {19, 7}, // Currency [0]
        {0, 0},  // Normal
        {20, 5}, // Percent
    };
    for (const Style& s : kStyles) {
        TbiffStyle(static_cast<std::uint16_t>(0x8000 | s.cellFormat), s.builtIn, 0xFF).SaveToStream(block);
    }
}

void SavePalette(TByteStream& block, const TxlsPalette& palette) {
    WriteRecordHeader(block, biffid::Palette, static_cast<std::uint16_t>(2 + 4 * palette.size()));
    block.WriteU16(static_cast<std::uint16_t>(palette.size()));
    for (const TxlsRgb& c : palette) {
        const std::uint8_t rgb0[4] = {c.Red, c.Green, c.Blue, 0};
        block.Write(rgb0, 4);
    }
}

void SaveCountry(TByteStream& block) {
    TbiffCountry(1, 1).SaveToStream(block);
}

void EndWorkbook(TWorkbookWriter& w, const TxlsStyleRecordSource& styles, const TxlsPalette& palette) {
    w.PatchDimensions();

    TByteStream block;
    styles.SaveFontRecords(block);
    styles.SaveFormatRecords(block);
    styles.SaveCellFormatRecords(block);
    SaveStyleRecords(block);
    SavePalette(block, palette);
    for (TxlsBoundSheet& sheet : w.BoundSheets()) {
        sheet.BoundSheetPosition = block.Position();
        TbiffBoundSheet(sheet.Title).SaveToStream(block);
    }
    SaveCountry(block);
    w.Sst().SaveToStream(block);

    w.InsertGlobals(block);
    w.MarkComplete();
}

} // namespace korvo

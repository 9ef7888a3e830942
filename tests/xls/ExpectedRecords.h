// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Expected bytes of records that tests of both the workbook writer and the
// export engine compare against, written out from the record layouts (never
// from our own writer).
#include "ByteCompare.h"

#include <cstdint>
#include <vector>

namespace korvo::test {

// What opens every sheet up to its column records: BOF (0x0809, a worksheet),
// CALCMODE, CALCCOUNT, REFMODE, ITERATION, DELTA (0.001), SAVERECALC,
// PRINTHEADERS, PRINTGRIDLINES, GRIDSET, GUTS, DEFCOLWIDTH (8),
// DEFAULTROWHEIGHT (255), WSBOOL, an empty HEADER, the FOOTER "Page &P of &N",
// HCENTER and VCENTER off.
inline TByteVector SheetSetupRecords() {
    TBytes b;
    b.U16(0x0809).U16(16).U16(0x0600).U16(0x0010).U16(0x0DBB).U16(0x07CC).U32(0).U32(0x0206);
    b.Raw({0x0D, 0x00, 0x02, 0x00, 0x01, 0x00});
    b.Raw({0x0C, 0x00, 0x02, 0x00, 0x64, 0x00});
    b.Raw({0x0F, 0x00, 0x02, 0x00, 0x01, 0x00});
    b.Raw({0x11, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x10, 0x00, 0x08, 0x00, 0xFC, 0xA9, 0xF1, 0xD2, 0x4D, 0x62, 0x50, 0x3F});
    b.Raw({0x5F, 0x00, 0x02, 0x00, 0x01, 0x00});
    b.Raw({0x2A, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x2B, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x82, 0x00, 0x02, 0x00, 0x01, 0x00});
    b.Raw({0x80, 0x00, 0x08, 0x00}).Fill(0, 8);
    b.Raw({0x55, 0x00, 0x02, 0x00, 0x08, 0x00});
    b.Raw({0x25, 0x02, 0x04, 0x00, 0x00, 0x00, 0xFF, 0x00});
    b.Raw({0x81, 0x00, 0x02, 0x00, 0xC1, 0x04});
    b.Raw({0x14, 0x00, 0x00, 0x00});
    b.Raw({0x15, 0x00, 0x10, 0x00, 0x0D, 0x00, 0x00}).Latin("Page &P of &N");
    b.Raw({0x83, 0x00, 0x02, 0x00, 0x00, 0x00});
    b.Raw({0x84, 0x00, 0x02, 0x00, 0x00, 0x00});
    return b;
}

// COLINFO (0x007D) of one column: its width in 1/256 of a character, the
// default cell format 15, no options.
inline TByteVector ColInfoRecord(std::uint16_t column, std::uint16_t width) {
    return TBytes().U16(0x007D).U16(11).U16(column).U16(column).U16(width).U16(15).U16(0).U8(0);
}

// DIMENSIONS (0x0200): rows and columns used, each as one past the last.
inline TByteVector DimensionsRecord(std::uint32_t rows, std::uint16_t columns) {
    return TBytes().U16(0x0200).U16(14).U32(0).U32(rows).U16(0).U16(columns).U16(0);
}

// A sheet's opening as the export writes it: the setup, one COLINFO per
// column, the DIMENSIONS.
inline TByteVector SheetOpeningRecords(const std::vector<std::uint16_t>& widths, std::uint32_t rows,
                                       std::uint16_t columns) {
    TBytes b;
    b.Append(SheetSetupRecords());
    for (std::uint16_t c = 0; c < widths.size(); ++c)
        b.Append(ColInfoRecord(c, widths[c]));
    b.Append(DimensionsRecord(rows, columns));
    return b;
}

// What closes every sheet: WINDOW2 (0x023E: flags 0x06B6, the rest zero),
// SELECTION (0x001D: pane 3, active cell A1, one range A1:A1) and EOF.
inline TByteVector SheetClosingRecords() {
    return TBytes()
        .U16(0x023E)
        .U16(18)
        .U16(0x06B6)
        .Fill(0, 16)
        .U16(0x001D)
        .U16(16)
        .U8(3)
        .U16(0)
        .U16(0)
        .U16(0)
        .U16(1)
        .U16(0)
        .U16(0)
        .U8(0)
        .U8(0)
        .U8(0)
        .Raw({0x0A, 0x00, 0x00, 0x00});
}

} // namespace korvo::test

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Expected bytes of records that tests of both the workbook writer and the
// export engine compare against, written out from the record layouts (never
// from our own writer).
#include "ByteCompare.h"

namespace korvo::test {

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

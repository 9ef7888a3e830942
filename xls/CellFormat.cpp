// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/CellFormat.h"

#include <array>

namespace korvo {

namespace {
// The palette index of each colour name, in the order of TxlsColor.
constexpr std::array<std::uint8_t, kColorCount> kPaletteIndex = {
    8,  60, 59, 58, 56, 18, 62, 63, // black .. gray 80%
    16, 53, 19, 17, 21, 12, 54, 23, // dark red .. gray 50%
    10, 52, 50, 57, 49, 48, 20, 55, // red .. gray 40%
    14, 51, 13, 11, 15, 40, 61, 22, // pink .. gray 25%
    45, 47, 43, 42, 41, 44, 46, 9,  // rose .. white
    24, 25, 26, 27, 28, 29, 30, 31, // custom colours 1 to 16
    32, 33, 34, 35, 36, 37, 38, 39,
};
} // namespace

std::uint8_t PaletteIndex(TxlsColor color) {
    const auto i = static_cast<std::size_t>(color);
    return i < kPaletteIndex.size() ? kPaletteIndex[i] : 8;
}

bool IsDefault(const TxlsFormat& format) {
    const TxlsBorders& b = format.Borders;
    for (const TxlsBorder* border : {&b.Left, &b.Right, &b.Top, &b.Bottom, &b.DiagDown, &b.DiagUp})
        if (border->Style != bstNone)
            return false;
    return format.Font == TxlsFont{} && format.Fill == TxlsFill{} && format.Alignment == TxlsAlignment{} &&
           !format.Wrap;
}

} // namespace korvo

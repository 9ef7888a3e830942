// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/ExportWriter.h"

#include "export/TableExport.h"
#include "xls/TextEncoding.h"

#include <array>

namespace korvo {

namespace {

// The characters of bytes 0x80..0xFF of the two DOS and Macintosh pages.
constexpr char16_t kCp850High[] =
    u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜø£Ø×ƒáíóúñÑªº¿®¬½¼¡«»░▒▓│┤ÁÂÀ©╣║╗╝¢¥┐└┴┬├─┼ãÃ╚╔╩╦╠═╬¤ðÐÊËÈıÍÎÏ┘┌█▄¦Ì▀"
    u"ÓßÔÒõÕµþÞÚÛÙýÝ¯´\u00AD±‗¾¶§÷¸°¨·¹³²■\u00A0";
constexpr char16_t kMacRomanHigh[] =
    u"ÄÅÇÉÑÖÜáàâäãåçéèêëíìîïñóòôöõúùûü†°¢£§•¶ß®©™´¨≠ÆØ∞±≤≥¥µ∂∑∏π∫ªºΩæø¿¡¬√ƒ≈∆«»…\u00A0ÀÃÕŒœ–—“”‘’÷◊ÿŸ⁄€‹›ﬁﬂ"
    u"‡·‚„‰ÂÊÁËÈÍÎÏÌÓÔ\uF8FFÒÚÛÙıˆ˜¯˘˙˚¸˝˛ˇ";
static_assert(sizeof(kCp850High) / sizeof(char16_t) == 129);
static_assert(sizeof(kMacRomanHigh) / sizeof(char16_t) == 129);
std::u32string Decode(const std::string& s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size() + (extra == 0 ? 1 : 0)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? b : (b & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto n = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            ok = ok && (n & 0xC0) == 0x80;
            c = (c << 6) | (n & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::uint8_t SingleByte(char32_t c, std::uint8_t encoding) {
    if (c < 0x80)
        return static_cast<std::uint8_t>(c);
    const char16_t* table = encoding == 1 ? kCp850High : kMacRomanHigh;
    for (int i = 0; i < 128; ++i)
        if (table[i] == c)
            return static_cast<std::uint8_t>(0x80 + i);
    return '?';
}

} // namespace

std::vector<std::uint8_t> EncodeText(const std::string& utf8, std::uint8_t encoding) {
    std::vector<std::uint8_t> out;
    switch (encoding) {
    case 27:
        out.assign(utf8.begin(), utf8.end());
        break;
    case 0: {
        const std::string bytes = Utf8ToCp1252(utf8);
        out.assign(bytes.begin(), bytes.end());
        break;
    }
    case 1:
    case 2:
        for (const char32_t c : Decode(utf8))
            out.push_back(SingleByte(c, encoding));
        break;
    case 28:
        for (char32_t c : Decode(utf8)) {
            if (c >= 0x10000) {
                c -= 0x10000;
                const char16_t hi = static_cast<char16_t>(0xD800 + (c >> 10)),
                               lo = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
                for (const char16_t u : {hi, lo}) {
                    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
                    out.push_back(static_cast<std::uint8_t>(u >> 8));
                }
            } else {
                out.push_back(static_cast<std::uint8_t>(c & 0xFF));
                out.push_back(static_cast<std::uint8_t>(c >> 8));
            }
        }
        break;
    case 29:
        for (const char32_t c : Decode(utf8))
            for (int k = 0; k < 4; ++k)
                out.push_back(static_cast<std::uint8_t>(c >> (8 * k)));
        break;
    default:
        break;
    }
    return out;
}

void TExportWriter::Write(const std::string& text) {
    if (owner_ == nullptr || text.empty())
        return;
    const std::vector<std::uint8_t> bytes = EncodeText(text, owner_->TextEncoding());
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

std::string TExportWriter::AlignmentName(int alignment) const {
    switch (alignment) {
    case 0:
        return "Left alignment";
    case 1:
        return "Center alignment";
    case 2:
        return "Right alignment";
    default:
        return "Unknown alignment";
    }
}

} // namespace korvo

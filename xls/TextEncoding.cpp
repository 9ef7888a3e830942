// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/TextEncoding.h"

#include <cstdint>

namespace korvo {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at text[i] and advances i; an invalid or truncated sequence, an overlong form,
// a surrogate or a value past U+10FFFF yields U+FFFD and consumes one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t extra = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        least = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + extra >= text.size()) {
        ++i;
        return kReplacement;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(text[i + k]);
        if ((cont & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = (cp << 6) | (cont & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += extra + 1;
    return cp;
}

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page has no character.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (int b = 0; b < 32; ++b) {
        if (kCp1252High[b] != 0 && kCp1252High[b] == cp) {
            return static_cast<char>(0x80 + b);
        }
    }
    return '?';
}

} // namespace

void AppendUtf8AsUtf16(std::string_view utf8, std::u16string& out) {
    // Most texts are plain ASCII: widen them in one pass.
    std::size_t ascii = 0;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) {
        ++ascii;
    }
    const std::size_t start = out.size();
    out.resize(start + ascii);
    for (std::size_t k = 0; k < ascii; ++k) {
        out[start + k] = static_cast<char16_t>(utf8[k]);
    }
    std::size_t i = ascii;
    while (i < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) { // the common case, kept short
            out.push_back(byte);
            ++i;
            continue;
        }
        const char32_t cp = NextCodePoint(utf8, i);
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    AppendUtf8AsUtf16(utf8, out);
    return out;
}

std::u16string Cp1252ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char16_t high = b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : 0;
        out.push_back(high != 0 ? high : static_cast<char16_t>(b));
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        out.push_back(ToCp1252(NextCodePoint(utf8, i)));
    }
    return out;
}

} // namespace korvo

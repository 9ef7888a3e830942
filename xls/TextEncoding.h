// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Text conversions of the workbook file: texts arrive as UTF-8; cell strings, sheet titles and names are
// stored as UTF-16, page header and footer in the Windows-1252 code page.
//
//     korvo::Utf8ToUtf16("Iteración:")   // u"Iteración:", ó = 0x00F3
//     korvo::Utf8ToCp1252("€ 5")         // "\x80 5"; a character the page lacks becomes '?'
//
// An invalid UTF-8 sequence becomes U+FFFD (and '?' in Windows-1252); the conversion never fails.
#include <string>
#include <string_view>

namespace korvo {

// Appends the UTF-16 form of utf8 to out.
void AppendUtf8AsUtf16(std::string_view utf8, std::u16string& out);
std::u16string Utf8ToUtf16(std::string_view utf8);
// One byte per character.
std::string Utf8ToCp1252(std::string_view utf8);
// Windows-1252 bytes back to UTF-16; the five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for themselves, as in Latin-1.
//     korvo::Cp1252ToUtf16("\x80 5")   // u"€ 5"
std::u16string Cp1252ToUtf16(std::string_view bytes);

} // namespace korvo

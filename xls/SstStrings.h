// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The shared string table: every text cell refers to its text by an index into the SST record of the
// workbook globals.
//
//     korvo::TsstStrings sst;
//     sst.AddString("a");                  // 0
//     sst.AddString("b");                  // 1
//     sst.AddString("a");                  // 0 again: same length, same UTF-16 code units
//     korvo::TByteStream out;
//     sst.SaveToStream(out);               // FC 00 12 00 | 03 00 00 00 | 02 00 00 00 | 01 00 01 61 00 | ...
//
// Indices follow the order of first addition and never change. Two texts are the same string only when
// their UTF-16 code units are identical ("A" and "a", "ab" and "ab " are different strings). The lookup
// is a hash table, so adding stays constant-time at hundreds of thousands of strings.
//
// Every string is stored as its character count (16-bit), the option byte 0x01 and its UTF-16 code
// units. The record lengths are worked out while strings are added: a string that does not fit into
// what is left of the current record (8224 bytes at most) starts a CONTINUE record, which then opens with
// that string's count. A string too long for any record (more than 4110 characters) begins in the current
// record and is continued, at a character boundary, in CONTINUE records that each open with the option
// byte 0x01. So is a first string that does not fit beside the two counts (4107 to 4110 characters):
// common readers expect the SST record itself to hold a string. SaveToStream writes exactly the lengths
// announced. No EXTSST record follows the table.
#include "xls/ByteStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

class TsstStrings {
public:
    TsstStrings();

    // The text's index, adding it when it is new. UTF-8 input is converted to UTF-16 (an invalid byte
    // becomes U+FFFD). A text of more than 65535 UTF-16 code units throws std::runtime_error: its count
    // field is 16 bits.
    std::uint32_t AddString(std::string_view utf8);
    std::uint32_t AddString(std::u16string_view text);

    // Writes the SST record and its CONTINUE records at the stream's position.
    void SaveToStream(TByteStream& out) const;

    // Number of AddString calls and of distinct strings.
    std::uint32_t TotalCount() const { return total_; }
    std::uint32_t UniqueCount() const { return static_cast<std::uint32_t>(entries_.size()); }
    std::u16string_view Text(std::uint32_t index) const;
    // Data lengths of the SST record and of each CONTINUE record, as SaveToStream will write them.
    std::vector<std::uint16_t> RecordLengths() const;
    // Bytes SaveToStream writes, headers included.
    std::size_t StreamSize() const;
    void Clear();

private:
    struct Entry {
        const char16_t* text; // in one of blocks_
        std::uint32_t length;
        std::uint32_t hash;
    };
    std::uint32_t Intern(std::u16string_view text);
    const char16_t* Store(std::u16string_view text);
    void Grow();

    // The distinct strings, back to back in blocks that never move once filled.
    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t blockSize_ = 0;
    std::u16string candidate_;          // a UTF-8 text converted for lookup
    std::vector<Entry> entries_;        // in order of first addition
    std::vector<std::uint64_t> slots_;  // open addressing: hash << 32 | entry index + 1; 0 = empty
    std::vector<std::uint16_t> closed_; // lengths of the records already full
    std::uint32_t current_ = 8;         // bytes in the record being filled
    std::uint32_t total_ = 0;
};

} // namespace korvo

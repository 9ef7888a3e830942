// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Byte-exact comparison for the workbook writer's tests: on a difference it names the offset of the first
// differing byte and shows a short hex window of both sides around it.
//
//     EXPECT_TRUE(BytesEqual(expected, actual));
//
// TBytes builds the expected side from the record tables, little-endian like the file:
//
//     TBytes().U16(0x000A).U16(0)   // the EOF record: 0A 00 00 00
#include "xls/ByteStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace korvo::test {

using TByteVector = std::vector<std::uint8_t>;

inline std::string HexWindow(const TByteVector& bytes, std::size_t from, std::size_t to) {
    std::string out;
    char cell[4];
    for (std::size_t i = from; i < to; ++i) {
        if (i < bytes.size()) {
            std::snprintf(cell, sizeof cell, "%02X ", bytes[i]);
            out += cell;
        } else {
            out += "-- ";
        }
    }
    return out;
}

inline ::testing::AssertionResult BytesEqual(const TByteVector& expected, const TByteVector& actual) {
    const std::size_t common = std::min(expected.size(), actual.size());
    std::size_t at = 0;
    while (at < common && expected[at] == actual[at]) {
        ++at;
    }
    if (at == common && expected.size() == actual.size()) {
        return ::testing::AssertionSuccess();
    }
    const std::size_t from = at >= 8 ? at - 8 : 0;
    const std::size_t to = at + 8;
    char hexOffset[24];
    std::snprintf(hexOffset, sizeof hexOffset, "0x%zX", at);
    return ::testing::AssertionFailure()
           << "first difference at offset " << at << " (" << hexOffset << "); sizes " << expected.size()
           << " expected, " << actual.size() << " actual\n"
           << "  from offset " << from << ":\n"
           << "  expected: " << HexWindow(expected, from, to) << "\n"
           << "  actual:   " << HexWindow(actual, from, to);
}

class TBytes {
public:
    TBytes& U8(std::uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    TBytes& U16(std::uint16_t v) {
        return U8(static_cast<std::uint8_t>(v)).U8(static_cast<std::uint8_t>(v >> 8));
    }
    TBytes& U32(std::uint32_t v) {
        return U16(static_cast<std::uint16_t>(v)).U16(static_cast<std::uint16_t>(v >> 16));
    }
    TBytes& Raw(std::initializer_list<std::uint8_t> list) {
        bytes_.insert(bytes_.end(), list);
        return *this;
    }
    TBytes& Append(const TByteVector& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    TBytes& Fill(std::uint8_t v, std::size_t count) {
        bytes_.insert(bytes_.end(), count, v);
        return *this;
    }
    // 8-bit characters, as they stand
    TBytes& Latin(std::string_view text) {
        for (const char c : text) {
            U8(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    TBytes& Utf16(std::u16string_view text) {
        for (const char16_t c : text) {
            U16(c);
        }
        return *this;
    }
    TBytes& Record(std::uint16_t id, const TByteVector& data) {
        return U16(id).U16(static_cast<std::uint16_t>(data.size())).Append(data);
    }
    std::size_t Size() const { return bytes_.size(); }
    const TByteVector& Bytes() const { return bytes_; }
    operator const TByteVector&() const { return bytes_; }

private:
    TByteVector bytes_;
};

// n bytes of a pattern that repeats only every 64,253 bytes, so that a byte out of place shows.
inline TByteVector PatternBytes(std::size_t n) {
    TByteVector v(n);
    for (std::size_t i = 0; i < n; ++i) {
        v[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    return v;
}

inline TByteStream StreamOf(const TByteVector& bytes) {
    TByteStream s;
    s.Write(bytes.data(), bytes.size());
    return s;
}

} // namespace korvo::test

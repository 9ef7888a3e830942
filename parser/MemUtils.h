// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Byte-buffer helpers. Offsets and counts are signed so that a bad value is
// refused rather than wrapped; every operation stays within the given span.

#include <cstdint>
#include <span>
#include <vector>

namespace korvo {

// Copies Count bytes from Source to Buffer at Offset; false (nothing written)
// when they do not fit.
bool WriteBytes(std::span<std::uint8_t> Buffer, const std::uint8_t* Source, long long Offset,
                long long Count);

// Appends Value; returns the new element's index.
int AppendInteger(std::vector<int>& Ints, int Value);

// When 0 <= Offset, 0 <= Count and Offset + Count <= Size (Size within the
// buffer): moves the bytes [Offset + Count, Size) down to Offset and returns
// true. Otherwise changes nothing and returns false.
bool DeleteBytes(std::span<std::uint8_t> Buffer, long long Offset, long long Count, long long Size);

// When 0 <= Offset <= Size and the buffer holds Size + Count bytes: moves
// [Offset, Size) up by Count and copies Count bytes from Source to Offset.
// Size is the length before the insertion. Otherwise returns false.
bool InsertBytes(std::span<std::uint8_t> Buffer, const std::uint8_t* Source, long long Offset,
                 long long Count, long long Size);

// Zeroes [From, To) when From < To, clipped to the buffer.
void ZeroBytes(std::span<std::uint8_t> Buffer, long long From, long long To);

// Resizes Bytes; every byte added is zero.
void SetLengthZeroed(std::vector<std::uint8_t>& Bytes, std::size_t NewLength);

} // namespace korvo

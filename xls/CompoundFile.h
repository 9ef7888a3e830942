// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The compound document (Compound File Binary, major version 3, 512-byte sectors) that holds exactly one
// stream, "Workbook", and nothing else: no other streams, no class identifier, no summary information.
//
//     std::vector<std::uint8_t> file = korvo::BuildCompoundFile(stream);
//
// A stream under 4096 bytes lives in the mini stream (64-byte mini sectors) with its mini FAT, since
// readers decide where to look from the size alone; a larger one takes regular sectors. When the FAT
// needs more than the 109 sectors the header can list, the list continues in DIFAT sectors.
// Layout: FAT sectors, DIFAT sectors, the directory sector, the mini FAT sector, then the stream (or the
// mini stream). Times are zero and both directory entries are black.
//
// This writer knows nothing of records: it stores whatever bytes it is given.
#include "xls/ByteStream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace korvo {

// Receives the file's bytes in order.
using TByteSink = std::function<void(const std::uint8_t* data, std::size_t count)>;

// Writes the complete compound file. A stream larger than 0x80000000 bytes, beyond what version 3 can
// hold, throws std::length_error before anything is written.
void WriteCompoundFile(const TByteStream& workbook, const TByteSink& sink);

// The same, collected into memory.
std::vector<std::uint8_t> BuildCompoundFile(const TByteStream& workbook);

// Size in bytes of the file WriteCompoundFile writes for a stream of this size.
std::size_t CompoundFileSize(std::size_t streamSize);

} // namespace korvo

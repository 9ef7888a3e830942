// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The in-memory byte stream that holds the "Workbook" record stream and the globals block while they are
// assembled, and the little-endian stores used to fill record data.
//
// Every number in the workbook file is little-endian, whatever the host: PutU16/PutU32/PutDouble store
// into a raw buffer (the scratch buffer of a record), TByteStream::WriteU16/WriteU32/WriteDouble append at
// the stream's position.
//
// The stream is positionable: a writer notes Position(), writes on, and later overwrites a field in place
// with PatchU16/PatchU32 (the DIMENSIONS of a sheet, the BOF position in BOUNDSHEET) without moving the
// position. Insert() puts a block in front of the bytes at a position, which is how the workbook globals,
// known only at the end, come to stand before the worksheets.
//
//     korvo::TByteStream s;
//     s.WriteU16(0x000A);                  // 0A 00
//     const auto at = s.Position();        // 2
//     s.WriteU16(0);                       // 0A 00 00 00
//     s.PatchU16(at, 0x1234);              // 0A 00 34 12, position still 4
//
// Bytes live in fixed-size chunks, so a stream of tens of megabytes grows without ever copying itself and
// an insertion moves the tail in place instead of holding a second copy of it.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvo {

inline void PutU8(std::uint8_t* p, std::uint8_t v) {
    p[0] = v;
}
inline void PutU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::uint8_t* p, std::uint32_t v) {
    PutU16(p, static_cast<std::uint16_t>(v));
    PutU16(p + 2, static_cast<std::uint16_t>(v >> 16));
}
inline void PutU64(std::uint8_t* p, std::uint64_t v) {
    PutU32(p, static_cast<std::uint32_t>(v));
    PutU32(p + 4, static_cast<std::uint32_t>(v >> 32));
}
// The IEEE 754 double's bit pattern, low byte first.
inline void PutDouble(std::uint8_t* p, double v) {
    PutU64(p, std::bit_cast<std::uint64_t>(v));
}

inline std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(GetU16(p)) | (static_cast<std::uint32_t>(GetU16(p + 2)) << 16);
}

class TByteStream {
public:
    TByteStream() = default;
    TByteStream(TByteStream&&) noexcept = default;
    TByteStream& operator=(TByteStream&&) noexcept = default;
    TByteStream(const TByteStream&) = delete;
    TByteStream& operator=(const TByteStream&) = delete;

    std::size_t Size() const { return size_; }
    std::size_t Position() const { return pos_; }
    // Moves the position; a position past the end throws std::out_of_range.
    void Seek(std::size_t pos);
    void SeekToEnd() { pos_ = size_; }

    // Writes at the position, overwriting what is there and growing the stream at its end.
    void Write(const void* data, std::size_t count);
    void WriteU8(std::uint8_t v) { Write(&v, 1); }
    void WriteU16(std::uint16_t v);
    void WriteU32(std::uint32_t v);
    void WriteDouble(double v);
    // n bytes of the same value (padding).
    void WriteFill(std::uint8_t value, std::size_t count);

    // Overwrite bytes that are already in the stream; the position does not move. A field that does not
    // lie wholly inside the stream throws std::out_of_range.
    void PatchU16(std::size_t pos, std::uint16_t v);
    void PatchU32(std::size_t pos, std::uint32_t v);
    void Patch(std::size_t pos, const void* data, std::size_t count);

    // Copies count bytes starting at pos; throws std::out_of_range past the end.
    void Read(std::size_t pos, void* dst, std::size_t count) const;

    // Puts all of block's bytes in front of the byte at pos (pos == Size() appends). Afterwards the
    // position is at the end of the stream.
    void Insert(std::size_t pos, const TByteStream& block);

    // Calls f(const std::uint8_t* data, std::size_t count) for the bytes [from, from + count) in order,
    // in as few contiguous runs as the storage allows.
    template <class F> void ForEachRun(std::size_t from, std::size_t count, F&& f) const {
        CheckRange(from, count);
        while (count > 0) {
            const std::size_t off = from % kChunkSize;
            const std::size_t run = std::min(count, kChunkSize - off);
            f(chunks_[from / kChunkSize].get() + off, run);
            from += run;
            count -= run;
        }
    }

    std::vector<std::uint8_t> ToVector() const;
    void Clear();

private:
    static constexpr std::size_t kChunkSize = std::size_t{1} << 16;
    void Reserve(std::size_t size);
    void CheckRange(std::size_t pos, std::size_t count) const;

    std::vector<std::unique_ptr<std::uint8_t[]>> chunks_;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

} // namespace korvo

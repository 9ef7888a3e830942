// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/ByteStream.h"

#include <cstring>
#include <stdexcept>

namespace korvo {

void TByteStream::CheckRange(std::size_t pos, std::size_t count) const {
    if (pos > size_ || count > size_ - pos) {
        throw std::out_of_range("byte stream access past its end");
    }
}

void TByteStream::Reserve(std::size_t size) {
    while (chunks_.size() * kChunkSize < size) {
        chunks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kChunkSize));
    }
}

void TByteStream::Seek(std::size_t pos) {
    if (pos > size_) {
        throw std::out_of_range("byte stream seek past its end");
    }
    pos_ = pos;
}

void TByteStream::Write(const void* data, std::size_t count) {
    const auto* src = static_cast<const std::uint8_t*>(data);
    Reserve(pos_ + count);
    while (count > 0) {
        const std::size_t off = pos_ % kChunkSize;
        const std::size_t run = std::min(count, kChunkSize - off);
        std::memcpy(chunks_[pos_ / kChunkSize].get() + off, src, run);
        pos_ += run;
        src += run;
        count -= run;
    }
    size_ = std::max(size_, pos_);
}

void TByteStream::WriteU16(std::uint16_t v) {
    std::uint8_t b[2];
    PutU16(b, v);
    Write(b, 2);
}

void TByteStream::WriteU32(std::uint32_t v) {
    std::uint8_t b[4];
    PutU32(b, v);
    Write(b, 4);
}

void TByteStream::WriteDouble(double v) {
    std::uint8_t b[8];
    PutDouble(b, v);
    Write(b, 8);
}

void TByteStream::WriteFill(std::uint8_t value, std::size_t count) {
    std::uint8_t block[256];
    std::memset(block, value, sizeof block);
    while (count > 0) {
        const std::size_t run = std::min(count, sizeof block);
        Write(block, run);
        count -= run;
    }
}

void TByteStream::Patch(std::size_t pos, const void* data, std::size_t count) {
    CheckRange(pos, count);
    const std::size_t keep = pos_;
    pos_ = pos;
    Write(data, count);
    pos_ = keep;
}

void TByteStream::PatchU16(std::size_t pos, std::uint16_t v) {
    std::uint8_t b[2];
    PutU16(b, v);
    Patch(pos, b, 2);
}

void TByteStream::PatchU32(std::size_t pos, std::uint32_t v) {
    std::uint8_t b[4];
    PutU32(b, v);
    Patch(pos, b, 4);
}

void TByteStream::Read(std::size_t pos, void* dst, std::size_t count) const {
    auto* out = static_cast<std::uint8_t*>(dst);
    ForEachRun(pos, count, [&out](const std::uint8_t* run, std::size_t n) {
        std::memcpy(out, run, n);
        out += n;
    });
}

void TByteStream::Insert(std::size_t pos, const TByteStream& block) {
    CheckRange(pos, 0);
    const std::size_t n = block.Size();
    const std::size_t oldSize = size_;
    Reserve(oldSize + n);
    size_ = oldSize + n;
    // Move the tail up by n, last bytes first, through one chunk-sized buffer: the moved ranges may
    // overlap, the buffer never holds bytes that are still to be read.
    std::vector<std::uint8_t> buffer(std::min(kChunkSize, oldSize - pos));
    std::size_t end = oldSize;
    while (end > pos) {
        const std::size_t run = std::min(buffer.size(), end - pos);
        Read(end - run, buffer.data(), run);
        pos_ = end - run + n;
        Write(buffer.data(), run);
        end -= run;
    }
    pos_ = pos;
    block.ForEachRun(0, n, [this](const std::uint8_t* run, std::size_t count) { Write(run, count); });
    pos_ = size_;
}

std::vector<std::uint8_t> TByteStream::ToVector() const {
    std::vector<std::uint8_t> out(size_);
    Read(0, out.data(), size_);
    return out;
}

void TByteStream::Clear() {
    chunks_.clear();
    size_ = 0;
    pos_ = 0;
}

} // namespace korvo

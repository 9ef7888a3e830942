// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/TrajectoryRows.h"

#include <algorithm>
#include <stdexcept>

namespace korvo {

namespace {

// A text's length ahead of its bytes: one byte below 128, more above, seven
// bits each with the high bit telling that another byte follows.
std::size_t LengthBytes(std::size_t length) {
    std::size_t bytes = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++bytes;
    }
    return bytes;
}

char* WriteLength(char* out, std::size_t length) {
    while (length >= 0x80) {
        *out++ = static_cast<char>(0x80 | (length & 0x7F));
        length >>= 7;
    }
    *out++ = static_cast<char>(length);
    return out;
}

const char* ReadLength(const char* in, std::size_t& length) {
    length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return in;
    }
}

} // namespace

char* TPackedRows::Reserve(std::size_t bytes) {
    if (blocks_.empty() || blocks_.back().capacity - used_ < bytes) {
        // A row longer than a block gets a block of its own.
        const std::size_t capacity = std::max(bytes, kBlockBytes);
        blocks_.push_back({std::make_unique<char[]>(capacity), capacity});
        used_ = 0;
    }
    starts_.push_back({static_cast<std::uint32_t>(blocks_.size() - 1), static_cast<std::uint32_t>(used_)});
    char* at = blocks_.back().bytes.get() + used_;
    used_ += bytes;
    return at;
}

void TPackedRows::Append(const std::string_view* cells, int count) {
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i)
        bytes += LengthBytes(cells[i].size()) + cells[i].size();
    char* out = Reserve(bytes);
    for (int i = 0; i < count; ++i) {
        out = WriteLength(out, cells[i].size());
        out = std::copy(cells[i].begin(), cells[i].end(), out);
    }
}

void TPackedRows::RemoveLast() {
    if (starts_.empty())
        return;
    // Rows lie one after another: the last one's start is where writing resumes.
    const Position last = starts_.back();
    starts_.pop_back();
    blocks_.resize(last.block + 1);
    used_ = last.offset;
}

void TPackedRows::Clear() {
    blocks_.clear();
    used_ = 0;
    starts_.clear();
    starts_.shrink_to_fit();
}

std::string_view TPackedRows::Cell(int row, int column) const {
    if (row < 0 || row >= Count())
        throw std::out_of_range("no such row");
    const Position at = starts_[static_cast<std::size_t>(row)];
    const char* in = blocks_[at.block].bytes.get() + at.offset;
    std::size_t length = 0;
    for (int i = 0;; ++i) {
        in = ReadLength(in, length);
        if (i == column)
            return {in, length};
        in += length;
    }
}

const std::array<TrajectoryColumn, kTrajectoryColumnCount>& TrajectoryColumns() {
    static const std::array<TrajectoryColumn, kTrajectoryColumnCount> columns{{
        {"Iteración:", 56, false},
        {"T (seg)", 65, true},
        {"X (m)", 65, true},
        {"Y (m)", 65, true},
        {"Ax (m/s)", 65, true},
        {"Ay (m/s)", 65, true},
        {"Vfx (m/s)", 65, true},
        {"Vfy (m/s)", 65, true},
        {"Ec (Joules)", 80, true},
        {"Ec (kg·m2/s2)", 80, true},
    }};
    return columns;
}

void TrajectoryRows::AppendRow(const std::array<std::string, kTrajectoryColumnCount>& texts) {
    std::array<std::string_view, kTrajectoryColumnCount> cells;
    for (int column = 0; column < kTrajectoryColumnCount; ++column)
        cells[column] = texts[column];
    Append(cells.data(), kTrajectoryColumnCount);
}

} // namespace korvo

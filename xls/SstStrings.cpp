// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/SstStrings.h"

#include "xls/BiffRecord.h"
#include "xls/TextEncoding.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace korvo {

namespace {

constexpr std::uint32_t kRecordMax = static_cast<std::uint32_t>(kMaxRecordData);
constexpr std::uint32_t kCountsSize = 8; // total and unique count open the SST data
constexpr std::uint8_t kUtf16Option = 0x01;

std::uint32_t HashUnits(const char16_t* units, std::size_t length) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < length; ++i) {
        h = (h ^ units[i]) * 16777619u;
    }
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    return h;
}

std::uint64_t SlotOf(std::uint32_t hash, std::uint32_t index) {
    return static_cast<std::uint64_t>(hash) << 32 | (std::uint64_t{index} + 1);
}

// Places one string of `length` code units into the records, which hold at most 8224 bytes each;
// `current` counts the bytes of the record being filled. Adding and writing run this same function, so
// the lengths announced while adding are the lengths written. `close()` ends the current record and opens
// a CONTINUE record; `put(head, first, count)` stores code units [first, first + count), preceded by the
// string's count and option byte (head) or by the option byte alone (a continuation).
//
// A string that fits a record but not what is left of the current one starts the next record. A string
// that fits no record, or the first string when it does not fit beside the two counts (an SST record of
// counts alone is refused by common readers), starts in the current record and goes on in CONTINUE
// records that open with the option byte, never cutting a code unit in two.
template <class Close, class Put>
void PlaceString(std::uint32_t& current, std::uint32_t length, bool first, Close&& close, Put&& put) {
    const std::uint32_t size = 3 + 2 * length;
    if (current + size <= kRecordMax) {
        put(true, 0u, length);
        current += size;
        return;
    }
    if (size <= kRecordMax && !first) {
        close();
        put(true, 0u, length);
        current = size;
        return;
    }
    if (current + 3 + 2 > kRecordMax) {
        close();
        current = 0;
    }
    std::uint32_t count = (kRecordMax - current - 3) / 2;
    put(true, 0u, count);
    current += 3 + 2 * count;
    for (std::uint32_t done = count; done < length; done += count) {
        close();
        count = std::min(length - done, (kRecordMax - 1) / 2);
        put(false, done, count);
        current = 1 + 2 * count;
    }
}

// Collects the table's bytes in blocks, so that the stream sees a few large writes.
class TBlockWriter {
public:
    explicit TBlockWriter(TByteStream& out) : out_(out) { buffer_.reserve(kBlock); }
    ~TBlockWriter() = default;
    void Put(const void* data, std::size_t count) {
        if (buffer_.size() + count > kBlock) {
            Flush();
        }
        if (count > kBlock) {
            out_.Write(data, count);
            return;
        }
        const auto* p = static_cast<const std::uint8_t*>(data);
        buffer_.insert(buffer_.end(), p, p + count);
    }
    void PutU16(std::uint16_t v) {
        std::uint8_t b[2];
        korvo::PutU16(b, v);
        Put(b, 2);
    }
    void PutUnits(const char16_t* units, std::size_t count) {
        if constexpr (std::endian::native == std::endian::little) {
            Put(units, 2 * count);
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                PutU16(units[i]);
            }
        }
    }
    void Flush() {
        out_.Write(buffer_.data(), buffer_.size());
        buffer_.clear();
    }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 16;
    TByteStream& out_;
    std::vector<std::uint8_t> buffer_;
};

} // namespace

TsstStrings::TsstStrings() {
    Clear();
}

void TsstStrings::Clear() {
    blocks_.clear();
    blockUsed_ = 0;
    blockSize_ = 0;
    entries_.clear();
    slots_.assign(1024, 0);
    closed_.clear();
    current_ = kCountsSize;
    total_ = 0;
}

std::uint32_t TsstStrings::AddString(std::string_view utf8) {
    candidate_.clear();
    AppendUtf8AsUtf16(utf8, candidate_);
    return Intern(candidate_);
}

std::uint32_t TsstStrings::AddString(std::u16string_view text) {
    return Intern(text);
}

// A slot holds the entry's hash beside its index, so that a probe past other strings touches no entry.
std::uint32_t TsstStrings::Intern(std::u16string_view text) {
    if (text.size() > 0xFFFF) {
        throw std::runtime_error("A cell text of " + std::to_string(text.size()) +
                                 " characters does not fit a workbook (at most 65535)");
    }
    const auto length = static_cast<std::uint32_t>(text.size());
    const std::uint32_t hash = HashUnits(text.data(), length);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    while (slots_[slot] != 0) {
        const std::uint64_t s = slots_[slot];
        if (static_cast<std::uint32_t>(s >> 32) == hash) {
            const auto found = static_cast<std::uint32_t>(s) - 1;
            const Entry& e = entries_[found];
            if (e.length == length && std::memcmp(e.text, text.data(), 2 * std::size_t{length}) == 0) {
                ++total_;
                return found;
            }
        }
        slot = (slot + 1) & mask;
    }
    const auto index = static_cast<std::uint32_t>(entries_.size());
    entries_.push_back(Entry{Store(text), length, hash});
    slots_[slot] = SlotOf(hash, index);
    if (10 * entries_.size() > 7 * slots_.size()) { // at most 70 % full
        Grow();
    }
    PlaceString(
        current_, length, index == 0, [this] { closed_.push_back(static_cast<std::uint16_t>(current_)); },
        [](bool, std::uint32_t, std::uint32_t) {});
    ++total_;
    return index;
}

const char16_t* TsstStrings::Store(std::u16string_view text) {
    constexpr std::size_t kBlockUnits = std::size_t{1} << 15;
    if (blocks_.empty() || blockUsed_ + text.size() > blockSize_) {
        blockSize_ = std::max(kBlockUnits, text.size());
        blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(blockSize_));
        blockUsed_ = 0;
    }
    char16_t* stored = blocks_.back().get() + blockUsed_;
    std::copy(text.begin(), text.end(), stored);
    blockUsed_ += text.size();
    return stored;
}

void TsstStrings::Grow() {
    std::vector<std::uint64_t> slots(2 * slots_.size(), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        std::size_t slot = entries_[i].hash & mask;
        while (slots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots[slot] = SlotOf(entries_[i].hash, i);
    }
    slots_ = std::move(slots);
}

std::u16string_view TsstStrings::Text(std::uint32_t index) const {
    const Entry& e = entries_.at(index);
    return std::u16string_view(e.text, e.length);
}

std::vector<std::uint16_t> TsstStrings::RecordLengths() const {
    std::vector<std::uint16_t> lengths = closed_;
    lengths.push_back(static_cast<std::uint16_t>(current_));
    return lengths;
}

std::size_t TsstStrings::StreamSize() const {
    std::size_t size = 4 * (closed_.size() + 1) + current_;
    for (const std::uint16_t length : closed_) {
        size += length;
    }
    return size;
}

void TsstStrings::SaveToStream(TByteStream& out) const {
    const std::vector<std::uint16_t> lengths = RecordLengths();
    TBlockWriter writer(out);
    writer.PutU16(biffid::Sst);
    writer.PutU16(lengths[0]);
    std::uint8_t counts[kCountsSize];
    PutU32(counts, total_);
    PutU32(counts + 4, UniqueCount());
    writer.Put(counts, kCountsSize);

    std::uint32_t running = kCountsSize;
    std::size_t next = 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        const char16_t* text = e.text;
        PlaceString(
            running, e.length, i == 0,
            [&] {
                writer.PutU16(biffid::Continue);
                writer.PutU16(lengths.at(next++));
            },
            [&](bool head, std::uint32_t first, std::uint32_t count) {
                if (head) {
                    writer.PutU16(static_cast<std::uint16_t>(e.length));
                }
                writer.Put(&kUtf16Option, 1);
                writer.PutUnits(text + first, count);
            });
    }
    writer.Flush();
}

} // namespace korvo

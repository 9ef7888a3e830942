// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/CompoundFile.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace korvo {

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kMiniSector = 64;
constexpr std::size_t kMiniCutoff = 4096;
constexpr std::size_t kEntriesPerSector = kSector / 4; // FAT, mini FAT
constexpr std::size_t kHeaderDifat = 109;
constexpr std::size_t kDifatPerSector = kEntriesPerSector - 1; // the last slot chains to the next
constexpr std::size_t kLargestStream = 0x80000000u;

constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

std::size_t CeilDiv(std::size_t a, std::size_t b) {
    return (a + b - 1) / b;
}

// Where every part of the file goes. Sectors, in this order: FAT, DIFAT, directory, mini FAT, then the
// stream (or the mini stream that holds it).
struct TLayout {
    std::size_t streamSize = 0;
    bool mini = false; // the stream lives in the mini stream
    std::size_t miniSectors = 0;
    std::size_t dataSectors = 0; // the stream's or the mini stream's sectors
    std::size_t miniFatSectors = 0;
    std::size_t fatSectors = 0;
    std::size_t difatSectors = 0;

    std::size_t FirstDifat() const { return fatSectors; }
    std::size_t Directory() const { return fatSectors + difatSectors; }
    std::size_t FirstMiniFat() const { return Directory() + 1; }
    std::size_t FirstData() const { return FirstMiniFat() + miniFatSectors; }
    std::size_t TotalSectors() const { return FirstData() + dataSectors; }
};

std::size_t DifatSectorsFor(std::size_t fatSectors) {
    return fatSectors > kHeaderDifat ? CeilDiv(fatSectors - kHeaderDifat, kDifatPerSector) : 0;
}

TLayout MakeLayout(std::size_t streamSize) {
    if (streamSize > kLargestStream) {
        throw std::length_error("a workbook stream of more than 2 GB does not fit a compound file");
    }
    TLayout l;
    l.streamSize = streamSize;
    l.mini = streamSize > 0 && streamSize < kMiniCutoff;
    if (l.mini) {
        l.miniSectors = CeilDiv(streamSize, kMiniSector);
        l.miniFatSectors = CeilDiv(l.miniSectors, kEntriesPerSector);
        l.dataSectors = CeilDiv(l.miniSectors * kMiniSector, kSector);
    } else {
        l.dataSectors = CeilDiv(streamSize, kSector);
    }
    // The FAT maps every sector, its own and the DIFAT's included: the least F with
    // 128 F >= others + F + D(F).
    const std::size_t others = 1 + l.miniFatSectors + l.dataSectors;
    std::size_t f = CeilDiv(others, kEntriesPerSector - 1);
    while (kEntriesPerSector * f < others + f + DifatSectorsFor(f)) {
        ++f;
    }
    l.fatSectors = f;
    l.difatSectors = DifatSectorsFor(f);
    return l;
}

// Collects one sector at a time and hands it to the sink.
class TSectorWriter {
public:
    explicit TSectorWriter(const TByteSink& sink) : sink_(sink) {}
    std::uint8_t* Next() {
        sector_.fill(0);
        return sector_.data();
    }
    void Emit() { sink_(sector_.data(), kSector); }

private:
    const TByteSink& sink_;
    std::array<std::uint8_t, kSector> sector_{};
};

void PutName(std::uint8_t* entry, std::u16string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        PutU16(entry + 2 * i, name[i]);
    }
    PutU16(entry + 64, static_cast<std::uint16_t>(2 * (name.size() + 1)));
}

void PutDirectoryEntry(std::uint8_t* entry, std::u16string_view name, std::uint8_t type, std::uint32_t child,
                       std::uint32_t start, std::uint32_t size) {
    PutName(entry, name);
    entry[66] = type;
    entry[67] = 1; // black
    PutU32(entry + 68, kNoStream);
    PutU32(entry + 72, kNoStream);
    PutU32(entry + 76, child);
    PutU32(entry + 116, start);
    PutU32(entry + 120, size); // the high half, offset 124, stays zero
}

void WriteHeader(const TLayout& l, TSectorWriter& out) {
    std::uint8_t* h = out.Next();
    static constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy(std::begin(kSignature), std::end(kSignature), h);
    PutU16(h + 0x18, 0x003E);
    PutU16(h + 0x1A, 0x0003);
    PutU16(h + 0x1C, 0xFFFE);
    PutU16(h + 0x1E, 9);
    PutU16(h + 0x20, 6);
    PutU32(h + 0x2C, static_cast<std::uint32_t>(l.fatSectors));
    PutU32(h + 0x30, static_cast<std::uint32_t>(l.Directory()));
    PutU32(h + 0x38, static_cast<std::uint32_t>(kMiniCutoff));
    PutU32(h + 0x3C, l.mini ? static_cast<std::uint32_t>(l.FirstMiniFat()) : kEndOfChain);
    PutU32(h + 0x40, static_cast<std::uint32_t>(l.miniFatSectors));
    PutU32(h + 0x44, l.difatSectors > 0 ? static_cast<std::uint32_t>(l.FirstDifat()) : kEndOfChain);
    PutU32(h + 0x48, static_cast<std::uint32_t>(l.difatSectors));
    for (std::size_t i = 0; i < kHeaderDifat; ++i) {
        PutU32(h + 0x4C + 4 * i, i < l.fatSectors ? static_cast<std::uint32_t>(i) : kFreeSect);
    }
    out.Emit();
}

// Writes entries as whole sectors of 128, FREESECT after the last.
template <class EntryAt>
void WriteTable(std::size_t sectors, std::size_t count, EntryAt&& entryAt, TSectorWriter& out) {
    for (std::size_t s = 0; s < sectors; ++s) {
        std::uint8_t* p = out.Next();
        for (std::size_t i = 0; i < kEntriesPerSector; ++i) {
            const std::size_t n = s * kEntriesPerSector + i;
            PutU32(p + 4 * i, n < count ? entryAt(n) : kFreeSect);
        }
        out.Emit();
    }
}

void WriteFat(const TLayout& l, TSectorWriter& out) {
    const std::size_t total = l.TotalSectors();
    const std::size_t firstData = l.FirstData();
    WriteTable(
        l.fatSectors, total,
        [&](std::size_t n) -> std::uint32_t {
            if (n < l.fatSectors) {
                return kFatSect;
            }
            if (n < l.Directory()) {
                return kDifSect;
            }
            if (n == l.Directory()) {
                return kEndOfChain;
            }
            // the mini FAT chain and the data chain: each sector points at the next, the last ends the chain
            const std::size_t chainEnd = n < firstData ? firstData : total;
            return n + 1 == chainEnd ? kEndOfChain : static_cast<std::uint32_t>(n + 1);
        },
        out);
}

void WriteDifat(const TLayout& l, TSectorWriter& out) {
    for (std::size_t d = 0; d < l.difatSectors; ++d) {
        std::uint8_t* p = out.Next();
        for (std::size_t i = 0; i < kDifatPerSector; ++i) {
            const std::size_t fat = kHeaderDifat + d * kDifatPerSector + i;
            PutU32(p + 4 * i, fat < l.fatSectors ? static_cast<std::uint32_t>(fat) : kFreeSect);
        }
        const bool last = d + 1 == l.difatSectors;
        PutU32(p + 4 * kDifatPerSector,
               last ? kEndOfChain : static_cast<std::uint32_t>(l.FirstDifat() + d + 1));
        out.Emit();
    }
}

void WriteDirectory(const TLayout& l, TSectorWriter& out) {
    std::uint8_t* p = out.Next();
    const std::uint32_t rootStart = l.mini ? static_cast<std::uint32_t>(l.FirstData()) : kEndOfChain;
    const auto rootSize = static_cast<std::uint32_t>(l.miniSectors * kMiniSector);
    PutDirectoryEntry(p, u"Root Entry", 5, 1, rootStart, rootSize);
    std::uint32_t streamStart = kEndOfChain;
    if (l.mini) {
        streamStart = 0;
    } else if (l.streamSize > 0) {
        streamStart = static_cast<std::uint32_t>(l.FirstData());
    }
    PutDirectoryEntry(p + 128, u"Workbook", 2, kNoStream, streamStart,
                      static_cast<std::uint32_t>(l.streamSize));
    for (std::uint8_t* unused : {p + 256, p + 384}) {
        PutU32(unused + 68, kNoStream);
        PutU32(unused + 72, kNoStream);
        PutU32(unused + 76, kNoStream);
    }
    out.Emit();
}

void WriteMiniFat(const TLayout& l, TSectorWriter& out) {
    WriteTable(
        l.miniFatSectors, l.miniSectors,
        [&](std::size_t k) -> std::uint32_t {
            return k + 1 == l.miniSectors ? kEndOfChain : static_cast<std::uint32_t>(k + 1);
        },
        out);
}

void WriteData(const TLayout& l, const TByteStream& workbook, const TByteSink& sink) {
    workbook.ForEachRun(0, l.streamSize, sink);
    const std::size_t padded = l.dataSectors * kSector;
    static constexpr std::array<std::uint8_t, kSector> kZeros{};
    for (std::size_t done = l.streamSize; done < padded;) {
        const std::size_t run = std::min(kSector - done % kSector, padded - done);
        sink(kZeros.data(), run);
        done += run;
    }
}

} // namespace

std::size_t CompoundFileSize(std::size_t streamSize) {
    return kSector * (1 + MakeLayout(streamSize).TotalSectors());
}

void WriteCompoundFile(const TByteStream& workbook, const TByteSink& sink) {
    const TLayout l = MakeLayout(workbook.Size());
    TSectorWriter out(sink);
    WriteHeader(l, out);
    WriteFat(l, out);
    WriteDifat(l, out);
    WriteDirectory(l, out);
    WriteMiniFat(l, out);
    WriteData(l, workbook, sink);
}

std::vector<std::uint8_t> BuildCompoundFile(const TByteStream& workbook) {
    std::vector<std::uint8_t> file;
    file.reserve(CompoundFileSize(workbook.Size()));
    WriteCompoundFile(workbook, [&file](const std::uint8_t* data, std::size_t count) {
        file.insert(file.end(), data, data + count);
    });
    return file;
}

} // namespace korvo

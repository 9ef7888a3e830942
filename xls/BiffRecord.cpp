// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/BiffRecord.h"

#include <algorithm>
#include <stdexcept>

namespace korvo {

void WriteRecordHeader(TByteStream& out, std::uint16_t id, std::uint16_t length) {
    std::uint8_t header[4];
    PutU16(header, id);
    PutU16(header + 2, length);
    out.Write(header, 4);
}

TbiffRecord::TbiffRecord(std::vector<std::uint8_t> data, std::uint16_t id) : id_(id), data_(std::move(data)) {
    if (data_.size() > 0xFFFF) {
        throw std::length_error("record data longer than 65535 bytes");
    }
}

TbiffRecord::TbiffRecord(std::uint16_t id, std::size_t dataSize)
    : TbiffRecord(std::vector<std::uint8_t>(dataSize), id) {}

TbiffRecord::TbiffRecord(std::vector<std::uint8_t> data, std::uint16_t id, LargeData)
    : id_(id), data_(std::move(data)) {}

TbiffRecord::~TbiffRecord() = default;

std::size_t TbiffRecord::DataSize() const {
    return data_.size();
}

std::size_t TbiffRecord::TotalSize() const {
    const std::size_t size = DataSize();
    const std::size_t chunks = size == 0 ? 1 : (size + kRecordChunk - 1) / kRecordChunk;
    return size + 4 * chunks + (trailing_ ? trailing_->TotalSize() : 0);
}

void TbiffRecord::SaveToStream(TByteStream& out) const {
    const std::size_t size = DataSize();
    std::size_t chunk = std::min(size, kRecordChunk);
    WriteRecordHeader(out, id_, static_cast<std::uint16_t>(chunk));
    out.Write(data_.data(), chunk);
    for (std::size_t done = chunk; done < size; done += chunk) {
        chunk = std::min(size - done, kRecordChunk);
        WriteRecordHeader(out, biffid::Continue, static_cast<std::uint16_t>(chunk));
        out.Write(data_.data() + done, chunk);
    }
    if (trailing_) {
        trailing_->SaveToStream(out);
    }
}

void TbiffRecord::Clear() {
    std::fill(data_.begin(), data_.end(), std::uint8_t{0});
}

TbiffStyle::TbiffStyle(std::uint16_t cellFormat, std::uint8_t builtInStyle, std::uint8_t outlineLevel)
    : TbiffRecord(biffid::Style, 4) {
    PutU16(Data(), cellFormat);
    PutU8(Data() + 2, builtInStyle);
    PutU8(Data() + 3, outlineLevel);
}

namespace {
std::vector<std::uint8_t> BoundSheetData(std::u16string_view title) {
    const std::size_t n = std::min<std::size_t>(title.size(), 0xFF);
    std::vector<std::uint8_t> data(8 + 2 * n);
    // position (4), visibility 0, sheet type 0: already zero
    data[6] = static_cast<std::uint8_t>(n);
    data[7] = 0x01;
    for (std::size_t i = 0; i < n; ++i) {
        PutU16(data.data() + 8 + 2 * i, title[i]);
    }
    return data;
}
} // namespace

TbiffBoundSheet::TbiffBoundSheet(std::u16string_view title)
    : TbiffRecord(BoundSheetData(title), biffid::BoundSheet) {}

void TbiffBoundSheet::SetStreamPosition(std::uint32_t position) {
    PutU32(Data(), position);
}

std::uint32_t TbiffBoundSheet::StreamPosition() const {
    return GetU32(Data());
}

TbiffCountry::TbiffCountry(std::uint16_t defaultCountry, std::uint16_t systemCountry)
    : TbiffRecord(biffid::Country, 4) {
    PutU16(Data(), defaultCountry);
    PutU16(Data() + 2, systemCountry);
}

TbiffSupbookInternal::TbiffSupbookInternal(std::uint16_t sheetCount) : TbiffRecord(biffid::Supbook, 4) {
    PutU16(Data(), sheetCount);
    PutU16(Data() + 2, 0x0401);
}

TbiffExternSheet::TbiffExternSheet(std::uint16_t sheetCount)
    : TbiffRecord(biffid::ExternSheet, 2 + 6 * std::size_t{sheetCount}) {
    PutU16(Data(), sheetCount);
    for (std::uint16_t k = 0; k < sheetCount; ++k) {
        std::uint8_t* triple = Data() + 2 + 6 * std::size_t{k};
        PutU16(triple, 0);
        PutU16(triple + 2, k);
        PutU16(triple + 4, k);
    }
}

TbiffMSODrawingGroup::TbiffMSODrawingGroup(std::vector<std::uint8_t> data)
    : TbiffRecord(std::move(data), biffid::MsoDrawingGroup, LargeData{}) {}

} // namespace korvo

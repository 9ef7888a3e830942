// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/WorkbookWriter.h"

#include "xls/BiffRecord.h"
#include "xls/CompoundFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace korvo {

namespace {

const char* const kCannotCreate = "Cannot create file ";

} // namespace

TWorkbookWriter::TWorkbookWriter() = default;

TWorkbookWriter::~TWorkbookWriter() {
    Discard();
}

void TWorkbookWriter::Discard() noexcept {
    file_.Discard();
}

void TWorkbookWriter::Reset() {
    complete_ = false;
    stream_.Clear();
    boundSheets_.clear();
    sst_.Clear();
    insertPoint_ = 0;
    firstColInfo_ = 0;
    columnWidths_.clear();
}

void TWorkbookWriter::OpenWorkbookFile(const std::string& fileName) {
    Discard();
    Reset();
    fileName_ = fileName;
    try {
        file_.Open(fileName);
    } catch (const EFileReplace& e) {
        // An earlier file the user may not write is refused with the system's reason, as the
        // create-or-replace open of the original refuses it.
        if (e.FailedStep() == EFileReplace::Step::Refuse)
            throw std::runtime_error(kCannotCreate + fileName + ". " + e.what());
        throw std::runtime_error(kCannotCreate + fileName);
    }
}

void TWorkbookWriter::CloseWorkbookFile() {
    if (!file_.IsOpen() || !complete_) {
        Discard();
        Reset();
        return;
    }
    try {
        WriteCompoundFile(stream_,
                          [this](const std::uint8_t* data, std::size_t count) { file_.Write(data, count); });
        file_.Commit();
    } catch (const EFileReplace& e) {
        Reset(); // the file has discarded itself
        ThrowWriteFailure(fileName_, e.what());
    } catch (const std::length_error&) {
        // A stream past the compound file's size limit.
        Discard();
        Reset();
        ThrowWriteFailure(fileName_, std::strerror(EFBIG));
    }
    Reset();
}

void TWorkbookWriter::WriteRecord(std::uint16_t id, std::size_t length) {
    if (length > kScratchSize) {
        throw std::length_error("a record of " + std::to_string(length) +
                                " bytes exceeds the scratch buffer");
    }
    WriteRecordHeader(stream_, id, static_cast<std::uint16_t>(length));
    stream_.Write(scratch_.data(), length);
}

void TWorkbookWriter::WriteWordRecord(std::uint16_t id, std::uint16_t value) {
    PutU16(scratch_.data(), value);
    WriteRecord(id, 2);
}

TxlsBoundSheet& TWorkbookWriter::CurrentSheet() {
    if (boundSheets_.empty()) {
        throw std::logic_error("no sheet has been begun");
    }
    return boundSheets_.back();
}

void TWorkbookWriter::PatchDimensions() {
    for (const TxlsBoundSheet& sheet : boundSheets_) {
        if (!sheet.HasUsedRange()) {
            continue;
        }
        const std::size_t data = sheet.DimensionsPosition + 4;
        stream_.PatchU32(data, static_cast<std::uint32_t>(sheet.FirstRow));
        stream_.PatchU32(data + 4, static_cast<std::uint32_t>(sheet.LastRow) + 1);
        stream_.PatchU16(data + 8, static_cast<std::uint16_t>(sheet.FirstCol));
        stream_.PatchU16(data + 10, static_cast<std::uint16_t>(sheet.LastCol + 1));
    }
}

void TWorkbookWriter::InsertGlobals(TByteStream& block) {
    for (const TxlsBoundSheet& sheet : boundSheets_) {
        block.PatchU32(sheet.BoundSheetPosition + 4,
                       static_cast<std::uint32_t>(sheet.BofPosition + block.Size()));
    }
    stream_.Insert(insertPoint_, block);
}

} // namespace korvo

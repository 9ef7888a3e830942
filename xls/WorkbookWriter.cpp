#include "xls/WorkbookWriter.h"

#include "xls/BiffRecord.h"
#include "xls/CompoundFile.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace korvo {

namespace {

const char* const kCannotCreate = "Cannot create file ";
const char* const kWriteError = "Error writing output file";

// A name beside the target that no other file has: the rename that ends a complete write then stays
// inside one directory, and so inside one file system, where it replaces the target in one step.
std::FILE* CreateTemporaryBeside(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned tag = seed ^ (0x9E3779B9u * ++counter);
        char hex[9];
        for (int i = 0; i < 8; ++i) {
            hex[i] = "0123456789abcdef"[(tag >> (28 - 4 * i)) & 0xF];
        }
        hex[8] = '\0';
        name = target + "." + hex + ".tmp";
        // "x": fails if the name exists, so an unrelated file is never overwritten.
        if (std::FILE* f = std::fopen(name.c_str(), "wbx")) {
            return f;
        }
        std::error_code ec;
        if (!std::filesystem::exists(name, ec)) {
            break; // failed for another reason than a name clash: the folder does not take files
        }
    }
    name.clear();
    return nullptr;
}

// The file that the new one replaces. A link is followed, so that the file it points at is replaced and
// the link stays, as when the file is written through the link. The earlier file's permissions pass to
// the new one.
std::filesystem::path ReplacedPath(const std::string& target) {
    std::error_code ec;
    std::filesystem::path path = target;
    if (std::filesystem::is_symlink(path, ec)) {
        const std::filesystem::path real = std::filesystem::weakly_canonical(path, ec);
        if (!ec) {
            path = real;
        }
    }
    return path;
}

void KeepPermissions(const std::string& target, const std::string& temporary) {
    std::error_code ec;
    const auto status = std::filesystem::status(target, ec);
    if (!ec && std::filesystem::is_regular_file(status)) {
        std::filesystem::permissions(temporary, status.permissions(), ec);
    }
}

} // namespace

TWorkbookWriter::TWorkbookWriter() = default;

TWorkbookWriter::~TWorkbookWriter() {
    Discard();
}

void TWorkbookWriter::Discard() noexcept {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
        std::error_code ec;
        std::filesystem::remove(tempName_, ec);
    }
    tempName_.clear();
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
    std::error_code ec;
    fileName_ = fileName;
    targetPath_ = std::filesystem::absolute(fileName, ec).string();
    // The rename at the end could never replace a directory; say so now, before any record is written.
    if (fileName.empty() || std::filesystem::is_directory(fileName, ec)) {
        throw std::runtime_error(kCannotCreate + fileName);
    }
    file_ = CreateTemporaryBeside(targetPath_, tempName_);
    if (file_ == nullptr) {
        throw std::runtime_error(kCannotCreate + fileName);
    }
}

void TWorkbookWriter::CloseWorkbookFile() {
    if (file_ == nullptr) {
        Reset();
        return;
    }
    if (!complete_) {
        Discard();
        Reset();
        return;
    }
    bool ok = true;
    try {
        WriteCompoundFile(stream_, [this, &ok](const std::uint8_t* data, std::size_t count) {
            if (ok && std::fwrite(data, 1, count, file_) != count) {
                ok = false;
            }
        });
    } catch (const std::length_error&) {
        ok = false;
    }
    ok = std::fflush(file_) == 0 && ok;
    KeepPermissions(targetPath_, tempName_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    std::error_code ec;
    if (ok && closed) {
        std::filesystem::rename(tempName_, ReplacedPath(targetPath_), ec);
    }
    if (!ok || !closed || ec) {
        std::filesystem::remove(tempName_, ec);
        tempName_.clear();
        Reset();
        throw std::runtime_error(kWriteError);
    }
    tempName_.clear();
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

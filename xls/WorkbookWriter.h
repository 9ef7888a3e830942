// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The workbook writer's state for one export: the "Workbook" record stream, the 8224-byte scratch buffer
// in which directly written records are assembled, the insert point of the globals block, the bound-sheet
// list and the shared string table; and the workbook file it ends up in.
//
//     korvo::TWorkbookWriter w;
//     w.OpenWorkbookFile("out.xls");       // "Cannot create file out.xls" if it cannot be created
//     w.WriteWordRecord(0x0042, 1252);     // CODEPAGE: 42 00 02 00 E4 04
//     korvo::PutU16(w.Scratch(), 1);       // assemble data in the scratch buffer...
//     korvo::PutU16(w.Scratch() + 2, 1);
//     w.WriteRecord(0x008C, 4);            // ...and write header + 4 bytes of it
//     const auto at = w.Position();        // note a position to patch later
//     w.PatchU16(at - 2, 44);              // overwrite in place, the position stays at the end
//     w.MarkComplete();                    // EndWorkbook does this when the globals are in place
//     w.CloseWorkbookFile();               // now out.xls is replaced, all at once
//
// The file of the target name is at every moment either the earlier complete file or the new complete
// file, even after a power cut (see TReplacingFile). OpenWorkbookFile creates an empty temporary file
// beside the target (so that a target that cannot be created is reported before any record is written);
// the record stream is kept in memory; CloseWorkbookFile writes the compound document into the temporary
// file, writes it to the disk and renames it over the target, but only for a stream marked complete.
// Closing an incomplete stream (an export that failed or stopped half-way), or destroying the writer while
// open, removes the temporary file and leaves the earlier file as it was.
//
// Only CloseWorkbookFile knows whether the new file reached the disk, so an export that tells the user
// of a written file closes first and reports after; closing again then does nothing.
#include "base/ReplacingFile.h"
#include "xls/ByteStream.h"
#include "xls/SstStrings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

// One entry per written sheet, in the order the sheets are written. Positions are offsets in the record
// stream; the used range is -1 until a cell is written.
struct TxlsBoundSheet {
    std::int32_t SheetIndex = 0;
    std::u16string Title;
    std::size_t BofPosition = 0;
    std::size_t BoundSheetPosition = 0; // inside the globals block
    std::size_t DimensionsPosition = 0;
    std::int32_t FirstRow = -1;
    std::int32_t LastRow = -1;
    std::int32_t FirstCol = -1;
    std::int32_t LastCol = -1;

    bool HasUsedRange() const { return FirstRow >= 0 && LastRow >= 0 && FirstCol >= 0 && LastCol >= 0; }
};

class TWorkbookWriter {
public:
    static constexpr std::size_t kScratchSize = 8224;

    TWorkbookWriter();
    ~TWorkbookWriter(); // an open, unfinished file is discarded
    TWorkbookWriter(const TWorkbookWriter&) = delete;
    TWorkbookWriter& operator=(const TWorkbookWriter&) = delete;

    // Starts a new workbook file of that name (an existing one is replaced when the file is closed
    // complete). A name that cannot be created, such as an existing directory or a missing folder, throws
    // std::runtime_error "Cannot create file <name>"; an earlier file that the user may not write (mode
    // 0444, another user's) is not replaced: "Cannot create file <name>. Permission denied". A writer that
    // is still open discards its file first.
    void OpenWorkbookFile(const std::string& fileName);
    // Writes the file and renames it over the target when the stream is complete, then releases the
    // stream, the string table and the lists. A failing write, close or rename throws "Error writing
    // output file "<full path>". <reason>" (WriteFailureText) and leaves the earlier file and no temporary
    // file. An incomplete stream is dropped without error. Does nothing when no file is open.
    void CloseWorkbookFile();
    bool IsOpen() const { return file_.IsOpen(); }
    const std::string& FileName() const { return fileName_; }

    // The stream is finished: CloseWorkbookFile may replace the target with it.
    void MarkComplete() { complete_ = true; }
    bool IsComplete() const { return complete_; }

    // The 8224-byte scratch buffer in which record data is assembled.
    std::uint8_t* Scratch() { return scratch_.data(); }
    // Header, then the first `length` bytes of the scratch buffer. More than 8224 throws std::length_error.
    void WriteRecord(std::uint16_t id, std::size_t length);
    // A record of length 2 holding the value.
    void WriteWordRecord(std::uint16_t id, std::uint16_t value);

    TByteStream& Stream() { return stream_; }
    const TByteStream& Stream() const { return stream_; }
    std::size_t Position() const { return stream_.Position(); }
    void Seek(std::size_t pos) { stream_.Seek(pos); }
    void SeekToEnd() { stream_.SeekToEnd(); }
    void PatchU16(std::size_t pos, std::uint16_t v) { stream_.PatchU16(pos, v); }
    void PatchU32(std::size_t pos, std::uint32_t v) { stream_.PatchU32(pos, v); }

    std::vector<TxlsBoundSheet>& BoundSheets() { return boundSheets_; }
    const std::vector<TxlsBoundSheet>& BoundSheets() const { return boundSheets_; }
    // The sheet being written: the last bound sheet. Throws std::logic_error when there is none.
    TxlsBoundSheet& CurrentSheet();
    TsstStrings& Sst() { return sst_; }
    const TsstStrings& Sst() const { return sst_; }

    std::size_t InsertPoint() const { return insertPoint_; }
    void SetInsertPoint(std::size_t pos) { insertPoint_ = pos; }

    // The current sheet's first COLINFO record and the width list of the automatic column-width pass.
    std::size_t FirstColInfoPosition() const { return firstColInfo_; }
    void SetFirstColInfoPosition(std::size_t pos) { firstColInfo_ = pos; }
    std::vector<std::int32_t>& ColumnWidths() { return columnWidths_; }

    // Completion, step one: every sheet with a used range gets its DIMENSIONS completed (first row, last
    // row + 1, first column, last column + 1); the position is left where it was.
    void PatchDimensions();
    // Completion, the rest: sets each bound sheet's BOUNDSHEET position field inside the globals block
    // (at BoundSheetPosition + 4) to its BOF position plus the block's size, then inserts the block at the
    // insert point. The position ends at the end of the stream.
    void InsertGlobals(TByteStream& block);

private:
    void Reset();
    void Discard() noexcept;

    std::string fileName_; // as given, for messages
    TReplacingFile
        file_; // resolved at opening, so that a change of the working folder meanwhile does not matter
    bool complete_ = false;
    TByteStream stream_;
    std::array<std::uint8_t, kScratchSize> scratch_{};
    std::vector<TxlsBoundSheet> boundSheets_;
    TsstStrings sst_;
    std::size_t insertPoint_ = 0;
    std::size_t firstColInfo_ = 0;
    std::vector<std::int32_t> columnWidths_;
};

} // namespace korvo

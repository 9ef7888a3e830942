// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// BIFF8 records: the 4-byte header, the record ids this writer uses, and the record object TbiffRecord
// that writes long data as one record followed by CONTINUE records.
//
// A record is its id (16-bit), its data length (16-bit) and the data. Records that are assembled into the
// in-memory globals block are record objects:
//
//     korvo::TByteStream block;
//     korvo::TbiffCountry country(1, 1);
//     country.SaveToStream(block);         // 8C 00 04 00 01 00 01 00
//
//     korvo::TbiffRecord big(0x00EB, 8221);   // 8221 zero bytes of data
//     big.SaveToStream(block);             // EB 00 1C 20 <8220 bytes> 3C 00 01 00 <1 byte>
//
// SaveToStream cuts the data into chunks of at most 8220 bytes: the first under the record's own header,
// each further chunk under a CONTINUE header (id 0x003C). A record without data is its header alone.
// A record may own a trailing record, saved right after it.
//
// The FONT, FORMAT and XF record objects belong with the style registry; the ids are listed here so that
// every record writer shares one table.
#include "xls/ByteStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace korvo {

namespace biffid {
inline constexpr std::uint16_t Dimensions = 0x0200;
inline constexpr std::uint16_t Blank = 0x0201;
inline constexpr std::uint16_t Number = 0x0203;
inline constexpr std::uint16_t BoolErr = 0x0205;
inline constexpr std::uint16_t DefaultRowHeight = 0x0225;
inline constexpr std::uint16_t Window2 = 0x023E;
inline constexpr std::uint16_t Style = 0x0293;
inline constexpr std::uint16_t Bof = 0x0809;
inline constexpr std::uint16_t Eof = 0x000A;
inline constexpr std::uint16_t CalcCount = 0x000C;
inline constexpr std::uint16_t CalcMode = 0x000D;
inline constexpr std::uint16_t Precision = 0x000E;
inline constexpr std::uint16_t RefMode = 0x000F;
inline constexpr std::uint16_t Delta = 0x0010;
inline constexpr std::uint16_t Iteration = 0x0011;
inline constexpr std::uint16_t Protect = 0x0012;
inline constexpr std::uint16_t Password = 0x0013;
inline constexpr std::uint16_t Header = 0x0014;
inline constexpr std::uint16_t Footer = 0x0015;
inline constexpr std::uint16_t ExternSheet = 0x0017;
inline constexpr std::uint16_t WindowProtect = 0x0019;
inline constexpr std::uint16_t Selection = 0x001D;
inline constexpr std::uint16_t DateMode1904 = 0x0022;
inline constexpr std::uint16_t PrintHeaders = 0x002A;
inline constexpr std::uint16_t PrintGridLines = 0x002B;
inline constexpr std::uint16_t Font = 0x0031;
inline constexpr std::uint16_t Continue = 0x003C;
inline constexpr std::uint16_t Window1 = 0x003D;
inline constexpr std::uint16_t Backup = 0x0040;
inline constexpr std::uint16_t CodePage = 0x0042;
inline constexpr std::uint16_t DefColWidth = 0x0055;
inline constexpr std::uint16_t WriteAccess = 0x005C;
inline constexpr std::uint16_t SaveRecalc = 0x005F;
inline constexpr std::uint16_t ColInfo = 0x007D;
inline constexpr std::uint16_t Guts = 0x0080;
inline constexpr std::uint16_t WsBool = 0x0081;
inline constexpr std::uint16_t GridSet = 0x0082;
inline constexpr std::uint16_t HCenter = 0x0083;
inline constexpr std::uint16_t VCenter = 0x0084;
inline constexpr std::uint16_t BoundSheet = 0x0085;
inline constexpr std::uint16_t Country = 0x008C;
inline constexpr std::uint16_t HideObj = 0x008D;
inline constexpr std::uint16_t Palette = 0x0092;
inline constexpr std::uint16_t FnGroupCount = 0x009C;
inline constexpr std::uint16_t BookBool = 0x00DA;
inline constexpr std::uint16_t XF = 0x00E0;
inline constexpr std::uint16_t MsoDrawingGroup = 0x00EB;
inline constexpr std::uint16_t Sst = 0x00FC;
inline constexpr std::uint16_t LabelSst = 0x00FD;
inline constexpr std::uint16_t Dsf = 0x0161;
inline constexpr std::uint16_t Supbook = 0x01AE;
inline constexpr std::uint16_t Prot4Rev = 0x01AF;
inline constexpr std::uint16_t RefreshAll = 0x01B7;
inline constexpr std::uint16_t Prot4RevPass = 0x01BC;
inline constexpr std::uint16_t Format = 0x041E;
} // namespace biffid

// Data of a record object is cut into pieces of at most this many bytes.
inline constexpr std::size_t kRecordChunk = 8220;
// The largest data a record may carry (BIFF8's own limit), also the size of the scratch buffer.
inline constexpr std::size_t kMaxRecordData = 8224;

// Writes id and length, 2 bytes each, at the stream's position.
void WriteRecordHeader(TByteStream& out, std::uint16_t id, std::uint16_t length);

class TbiffRecord {
public:
    // The record takes the data as it is; its size is the record's data size. More than 65535 bytes
    // throw std::length_error: the data size is a 16-bit field.
    TbiffRecord(std::vector<std::uint8_t> data, std::uint16_t id);
    // A record of dataSize zero bytes, to be filled through Data().
    TbiffRecord(std::uint16_t id, std::size_t dataSize);
    virtual ~TbiffRecord();
    TbiffRecord(const TbiffRecord&) = delete;
    TbiffRecord& operator=(const TbiffRecord&) = delete;

    std::uint16_t Id() const { return id_; }
    virtual std::size_t DataSize() const;
    // The bytes SaveToStream writes: data, record header, a CONTINUE header per further chunk, and the
    // trailing record's TotalSize.
    virtual std::size_t TotalSize() const;
    virtual void SaveToStream(TByteStream& out) const;
    // Fills the data with zero bytes.
    void Clear();

    std::uint8_t* Data() { return data_.data(); }
    const std::uint8_t* Data() const { return data_.data(); }
    void SetTrailing(std::unique_ptr<TbiffRecord> next) { trailing_ = std::move(next); }
    const TbiffRecord* Trailing() const { return trailing_.get(); }

protected:
    // For the drawing group only: data larger than 65535 bytes.
    struct LargeData {};
    TbiffRecord(std::vector<std::uint8_t> data, std::uint16_t id, LargeData);

private:
    std::uint16_t id_;
    std::vector<std::uint8_t> data_;
    std::unique_ptr<TbiffRecord> trailing_;
};

// STYLE (4 bytes): cell-format index with bit 15 set for a built-in style, built-in style number,
// outline level.
class TbiffStyle : public TbiffRecord {
public:
    TbiffStyle(std::uint16_t cellFormat, std::uint8_t builtInStyle, std::uint8_t outlineLevel);
};

// BOUNDSHEET (8 + 2n bytes): stream position of the sheet's BOF (set at the end through
// SetStreamPosition), visibility 0, sheet type 0, title length, option byte 0x01, the title in UTF-16.
// A title longer than 255 code units keeps its first 255: the length is one byte.
class TbiffBoundSheet : public TbiffRecord {
public:
    explicit TbiffBoundSheet(std::u16string_view title);
    void SetStreamPosition(std::uint32_t position);
    std::uint32_t StreamPosition() const;
    // Offset of the stream-position field from the start of the record (header included).
    static constexpr std::size_t kPositionField = 4;
};

// COUNTRY (4 bytes): default country, system country.
class TbiffCountry : public TbiffRecord {
public:
    TbiffCountry(std::uint16_t defaultCountry, std::uint16_t systemCountry);
};

// SUPBOOK of an internal reference (4 bytes): number of sheets, then 0x0401.
class TbiffSupbookInternal : public TbiffRecord {
public:
    explicit TbiffSupbookInternal(std::uint16_t sheetCount);
};

// EXTERNSHEET (2 + 6 × count bytes): the count, then per sheet k the triple 0, k, k.
class TbiffExternSheet : public TbiffRecord {
public:
    explicit TbiffExternSheet(std::uint16_t sheetCount);
};

// MSODRAWINGGROUP: the drawing-group container, which may exceed 65535 bytes; saved as one record with
// CONTINUE records like every record object.
class TbiffMSODrawingGroup : public TbiffRecord {
public:
    explicit TbiffMSODrawingGroup(std::vector<std::uint8_t> data);
};

} // namespace korvo

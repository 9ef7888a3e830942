// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The writer through which text exporters write: encodes each text by the owner's TextEncoding and
// appends the bytes. Codes: 0 Windows-1252, 1 code page 850, 2 Mac Roman (a character the page lacks
// becomes "?"), 27 UTF-8, 28 UTF-16 little-endian, 29 UTF-32 little-endian; no byte-order mark; any other
// code writes nothing.
#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

class TTableExport;

class TExportWriter {
public:
    TExportWriter(const TTableExport* owner, std::vector<std::uint8_t>& out) : owner_(owner), out_(out) {}
    virtual ~TExportWriter() = default;
    // Nothing when there is no owner or the text (UTF-8) is empty.
    virtual void Write(const std::string& text);
    virtual std::string AlignmentName(int alignment) const;

private:
    const TTableExport* owner_;
    std::vector<std::uint8_t>& out_;
};

class TXLSWriter : public TExportWriter {
public:
    using TExportWriter::TExportWriter;
};

// The bytes of a UTF-8 text in one of the encodings above.
std::vector<std::uint8_t> EncodeText(const std::string& utf8, std::uint8_t encoding);

} // namespace korvo

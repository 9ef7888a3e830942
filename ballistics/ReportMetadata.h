// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The archival side of a report's PDF: PDF/A-1b, and the document's
// title, author, subject, creator and language in the information dictionary,
// the catalog and the XMP metadata, so that a case-file system can index it.
//
// The toolkit's PDF writer sets the title, the creator and the XMP stream but
// not the author, the subject or the language; WithInfoEntries adds them as an
// incremental update (new versions of the information dictionary and of the
// catalog appended after the file, with their own cross-reference section), the
// way a PDF editor amends a file without rewriting it.
//
//   SetReportMetadata(writer, metadata);          // before painting
//   bytes = WithInfoEntries(bytes, metadata);     // after painting
#include "ballistics/core/RunReport.h"

#include <QByteArray>
#include <QString>

class QPdfWriter;

namespace korvo {

struct ReportMetadata {
    QString Title, Author, Subject, Creator, Language;
};

// A report's metadata: its title, the examiner as the author (the program when
// none is given), and the subject followed by the case number and the digest.
ReportMetadata ReportMetadataOf(const QString& title, const QString& subject, const RunCaseFields& caso,
                                const QString& digest);
// The run report's metadata.
ReportMetadata ReportMetadataOf(const RunCaseFields& caso, const QString& digest);

// PDF/A-1b, the title and the creator, and an XMP stream with all five.
void SetReportMetadata(QPdfWriter& writer, const ReportMetadata& metadata);

// `pdf` with the author and subject added to its information dictionary and the
// language to its catalog. A file whose trailer cannot be read is returned as it is.
QByteArray WithInfoEntries(const QByteArray& pdf, const ReportMetadata& metadata);

} // namespace korvo

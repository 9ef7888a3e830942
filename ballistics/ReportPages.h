// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The page engine of KORVO's PDF reports: A4 pages with 15 mm margins laid out
// from top to bottom at 300 dots per inch, a title on the first page, numbered
// sections, word-wrapped paragraphs, lines of cells, tables whose columns fit
// the page, and on every page a footer that names the document, its case and
// the start of its digest, with "Página n de N" at the right. The file is
// PDF/A-1b with the metadata a case-file system indexes (ReportMetadata.h).
//
// A report is a list of sections; the engine numbers them in the order given
// ("1. Identificación", "2. ...") and lays them out twice, first only to count
// the pages, then painting, so a section's layout must not depend on which
// pass it is in (it may measure and remember in the first).
//
//   ReportDocument document{QStringLiteral("Informe de Análisis del Caso"),
//                           QStringLiteral("Informe de análisis del caso"), caso.Expediente, digest,
//                           metadata, {}};
//   document.Sections.push_back({QStringLiteral("Datos"), [&](ReportPages& pages, const QString& heading) {
//       pages.Heading(heading);
//       pages.Paragraph(QStringLiteral("..."), ReportSansFont(9));
//       pages.Table({{QStringLiteral("Magnitud"), QStringLiteral("Valor")}, {QStringLiteral("D"), d}});
//   }});
//   SaveWholeFile(path, RenderReport(document));
#include "ballistics/ReportMetadata.h"
#include "ballistics/core/Real.h"

#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QPainter;
class QPdfWriter;

namespace korvo {

// Points per inch; the page is laid out in device units at this resolution.
inline constexpr int kReportResolution = 300;

// DejaVu Sans, without ligatures (a reader of the PDF gets "fi" back as two
// letters, so a search for a word finds it).
QFont ReportSansFont(qreal points, bool bold = false);
// DejaVu Sans Mono, for texts whose columns line up (a table row set as one
// string reads back as one line) and for digests.
QFont ReportMonoFont(qreal points, bool bold = false);

// A number with a fixed pattern ("0.000000") and the decimal separator in force.
QString ReportFixed(const char* pattern, Real x);
// A date and time in ISO 8601 with its offset from UTC: 2026-12-10 13:36:55 +01:00.
QString ReportIsoDateTime(const QDateTime& when);
// The decimal separator in force, named: "\".\" (punto)" or "\",\" (coma)".
QString ReportSeparatorText();

// The pages of one pass over a report, laid out from top to bottom.
class ReportPages {
public:
    // `painter` is null in the counting pass; `total` is the page count the
    // footers print; `afterPage` runs after every finished page while painting.
    ReportPages(QPdfWriter& writer, QPainter* painter, int total, std::function<void()> afterPage,
                QString footerText);

    qreal Width() const { return width_; }
    qreal Room() const { return bottom_ - y_; }
    qreal Y() const { return y_; }
    int Count() const { return page_; }
    // Null while the pages are only counted.
    QPainter* Painter() const { return painter_; }
    QFontMetricsF Metrics(const QFont& font) const;

    // Starts a new page when `height` does not fit on this one (a page that has
    // nothing yet takes anything).
    void EnsureRoom(qreal height);
    void NewPage();
    // Prints the last page's footer.
    void Finish();
    // Lets the caller's window handle its events after a long piece of work.
    void AfterWork() const;
    void Skip(qreal height) { y_ += height; }

    // A section's heading; a heading never ends a page: it keeps room for
    // three lines of body text after it.
    void Heading(const QString& text);
    qreal ParagraphHeight(const QString& text, const QFont& font, qreal indent = 0) const;
    // A word-wrapped paragraph, moved whole to the next page when it does not fit.
    void Paragraph(const QString& text, const QFont& font, qreal indent = 0);
    // One line of cells, each starting at its fraction of the width.
    void Cells(const std::vector<QString>& cells, const std::vector<qreal>& at, const QFont& font);
    // Lines of a label and its value: the labels in a column as wide as the
    // widest of them, each value word-wrapped in the width that is left (a
    // long value, such as a commit, goes on below instead of past the margin).
    void Labelled(const std::vector<std::pair<QString, QString>>& rows, const QFont& font);
    // A thin rule across the page at the current height.
    void Rule();
    // A table whose first row holds the captions (bold): each column as wide as
    // its widest text and four spaces apart, the type set smaller from 9 points
    // when the widest texts do not fit the page.
    void Table(const std::vector<std::vector<QString>>& rows);

private:
    void Footer();

    QPdfWriter& writer_;
    QPainter* painter_;
    int total_;
    std::function<void()> afterPage_;
    QFont footer_;
    QString footerText_;
    qreal width_;
    qreal bottom_ = 0;
    qreal y_ = 0;
    int page_ = 1;
};

struct ReportSection {
    QString Title; // without its number
    // Lays the section out; it prints `heading` (the number and the title)
    // with pages.Heading where the section begins, after a page break or a
    // room check of its own if it needs one.
    std::function<void(ReportPages& pages, const QString& heading)> Lay;
};

struct ReportDocument {
    QString Title;          // at the top of the first page, in 16-point bold
    QString Name;           // in every footer: "KORVO · <Name> · Expediente <CaseNumber> · SHA-256 <...>"
    std::string CaseNumber; // left out of the footer when empty
    QString Digest;         // its first 16 digits in every footer
    ReportMetadata Metadata;
    std::vector<ReportSection> Sections; // numbered from 1 in this order
};

// The footer's left text for `document`.
QString ReportFooterText(const ReportDocument& document);

// The report as the bytes of a PDF file. `keepResponsive`, when set, is called
// between the two passes and after every painted page. Throws
// EFileReplace(Write) when the PDF cannot be painted.
QByteArray RenderReport(const ReportDocument& document, const std::function<void()>& keepResponsive = {});

// The section every report opens with: the case number and the examiner when
// given, the program's version and the commit it was built from, the verdict of
// that program's self-check, the writing time in ISO 8601 with its offset, the
// decimal separator in force, and the note when given.
void LayReportIdentification(ReportPages& pages, const QString& heading, const RunCaseFields& caso,
                             const QDateTime& written, const QString& selfCheck);

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/ReportPages.h"

#include "ballistics/core/NumberText.h"
#include "ballistics/core/RunReport.h"
#include "base/BuildStamp.h"
#include "base/RegionalSettings.h"
#include "base/ReplacingFile.h"

#include <QBuffer>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cerrno>

namespace korvo {

namespace {

constexpr qreal kMarginMillimetres = 15;

// The text shaper joins "fi" and "fl" into one ligature glyph, which a reader
// of the PDF gets back as one character ("Identiﬁcación"), and then a search
// for the word fails. A letter spacing that is not zero turns ligatures off;
// this one, a sixty-fourth of a device pixel, moves nothing visibly.
void NoLigatures(QFont& font) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 64);
}

QFont ReportFont(const QString& family, QFont::StyleHint hint, qreal points, bool bold) {
    QFont font(family);
    NoLigatures(font);
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

QFont ReportSansFont(qreal points, bool bold) {
    return ReportFont(QStringLiteral("DejaVu Sans"), QFont::SansSerif, points, bold);
}

QFont ReportMonoFont(qreal points, bool bold) {
    QFont font = ReportFont(QStringLiteral("DejaVu Sans Mono"), QFont::Monospace, points, bold);
    font.setFixedPitch(true);
    return font;
}

QString ReportFixed(const char* pattern, Real x) {
    return QString::fromStdString(NumberToPatternText(pattern, x));
}

QString ReportIsoDateTime(const QDateTime& when) {
    const int offset = when.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss ")) +
           QStringLiteral("%1%2:%3")
               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString ReportSeparatorText() {
    const char separator = DecimalSeparator();
    return QStringLiteral("\"%1\" (%2)")
        .arg(QString(QLatin1Char(separator)),
             separator == '.' ? QStringLiteral("punto") : QStringLiteral("coma"));
}

ReportPages::ReportPages(QPdfWriter& writer, QPainter* painter, int total, std::function<void()> afterPage,
                         QString footerText)
    : writer_(writer), painter_(painter), total_(total), afterPage_(std::move(afterPage)),
      footer_(ReportSansFont(7)), footerText_(std::move(footerText)), width_(writer.width()) {
    bottom_ = writer.height() - 2 * Metrics(footer_).lineSpacing();
}

QFontMetricsF ReportPages::Metrics(const QFont& font) const {
    return QFontMetricsF(font, &writer_);
}

void ReportPages::EnsureRoom(qreal height) {
    if (y_ > 0 && height > Room())
        NewPage();
}

void ReportPages::NewPage() {
    Footer();
    if (painter_) {
        writer_.newPage();
        if (afterPage_)
            afterPage_();
    }
    ++page_;
    y_ = 0;
}

void ReportPages::Finish() {
    Footer();
}

void ReportPages::AfterWork() const {
    if (painter_ && afterPage_)
        afterPage_();
}

void ReportPages::Heading(const QString& text) {
    const QFont font = ReportSansFont(11, true);
    EnsureRoom(Metrics(font).lineSpacing() * 1.5 + Metrics(ReportSansFont(9)).lineSpacing() * 3);
    Skip(Metrics(font).lineSpacing() * 0.5);
    Paragraph(text, font);
}

qreal ReportPages::ParagraphHeight(const QString& text, const QFont& font, qreal indent) const {
    return Metrics(font).boundingRect(QRectF(0, 0, width_ - indent, 1e9), Qt::TextWordWrap, text).height();
}

void ReportPages::Paragraph(const QString& text, const QFont& font, qreal indent) {
    const qreal height = ParagraphHeight(text, font, indent);
    EnsureRoom(height);
    if (painter_) {
        painter_->setFont(font);
        painter_->drawText(QRectF(indent, y_, width_ - indent, height), Qt::TextWordWrap, text);
    }
    y_ += height + Metrics(font).lineSpacing() * 0.25;
}

void ReportPages::Cells(const std::vector<QString>& cells, const std::vector<qreal>& at, const QFont& font) {
    const QFontMetricsF metrics = Metrics(font);
    EnsureRoom(metrics.lineSpacing());
    if (painter_) {
        painter_->setFont(font);
        for (std::size_t i = 0; i < cells.size(); ++i)
            painter_->drawText(QPointF(at[i] * width_, y_ + metrics.ascent()), cells[i]);
    }
    y_ += metrics.lineSpacing();
}

void ReportPages::Labelled(const std::vector<std::pair<QString, QString>>& rows, const QFont& font) {
    const QFontMetricsF metrics = Metrics(font);
    qreal labels = 0;
    for (const auto& [label, value] : rows)
        labels = std::max(labels, metrics.horizontalAdvance(label));
    const qreal indent = labels + metrics.horizontalAdvance(QStringLiteral("  "));
    for (const auto& [label, value] : rows) {
        const qreal height = std::max(metrics.lineSpacing(), ParagraphHeight(value, font, indent));
        EnsureRoom(height);
        if (painter_) {
            painter_->setFont(font);
            painter_->drawText(QPointF(0, y_ + metrics.ascent()), label);
            painter_->drawText(QRectF(indent, y_, width_ - indent, height), Qt::TextWordWrap, value);
        }
        y_ += height;
    }
}

void ReportPages::Rule() {
    if (painter_) {
        painter_->setPen(QPen(Qt::black, kReportResolution / 300.0));
        painter_->drawLine(QPointF(0, y_), QPointF(width_, y_));
    }
}

void ReportPages::Table(const std::vector<std::vector<QString>>& rows) {
    if (rows.empty())
        return;
    qreal points = 9;
    std::vector<qreal> at;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QFontMetricsF plain = Metrics(ReportSansFont(points));
        const QFontMetricsF bold = Metrics(ReportSansFont(points, true));
        std::vector<qreal> widths(rows.front().size(), 0);
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t i = 0; i < rows[r].size(); ++i)
                widths[i] = std::max(widths[i], (r == 0 ? bold : plain).horizontalAdvance(rows[r][i]));
        const qreal gap = plain.horizontalAdvance(QStringLiteral("    "));
        at.clear();
        qreal x = 0;
        for (qreal width : widths) {
            at.push_back(x / width_);
            x += width + gap;
        }
        const qreal total = x - gap;
        if (total <= width_)
            break;
        // Text widths scale with the size; the margin covers the rounding of hinted advances.
        points *= 0.97 * width_ / total;
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        Cells(rows[r], at, ReportSansFont(points, r == 0));
}

void ReportPages::Footer() {
    if (!painter_)
        return;
    const QFontMetricsF metrics = Metrics(footer_);
    const qreal base = writer_.height() - metrics.descent();
    painter_->setFont(footer_);
    painter_->drawText(QPointF(0, base), footerText_);
    const QString number = QStringLiteral("Página %1 de %2").arg(page_).arg(total_);
    painter_->drawText(QPointF(width_ - metrics.horizontalAdvance(number), base), number);
}

QString ReportFooterText(const ReportDocument& document) {
    // Every page names the case and the start of the digest, so that a loose
    // page can be put back in its report.
    QString footer = QStringLiteral("KORVO · ") + document.Name;
    if (!document.CaseNumber.empty())
        footer += QStringLiteral(" · Expediente ") + QString::fromStdString(document.CaseNumber);
    footer += QStringLiteral(" · SHA-256 ") + document.Digest.left(16);
    return footer;
}

namespace {

void Lay(ReportPages& pages, const ReportDocument& document) {
    pages.Paragraph(document.Title, ReportSansFont(16, true));
    int number = 0;
    for (const ReportSection& section : document.Sections)
        section.Lay(pages, QStringLiteral("%1. %2").arg(++number).arg(section.Title));
    pages.Finish();
}

} // namespace

QByteArray RenderReport(const ReportDocument& document, const std::function<void()>& keepResponsive) {
    const QString footer = ReportFooterText(document);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
    writer.setResolution(kReportResolution);
    SetReportMetadata(writer, document.Metadata);

    ReportPages counting(writer, nullptr, 0, {}, footer);
    Lay(counting, document);
    if (keepResponsive)
        keepResponsive();

    QPainter painter;
    if (!painter.begin(&writer))
        throw EFileReplace(EFileReplace::Step::Write, EIO);
    ReportPages pages(writer, &painter, counting.Count(), keepResponsive, footer);
    Lay(pages, document);
    painter.end();
    return WithInfoEntries(bytes, document.Metadata);
}

void LayReportIdentification(ReportPages& pages, const QString& heading, const RunCaseFields& caso,
                             const QDateTime& written, const QString& selfCheck) {
    pages.Heading(heading);
    const QFont body = ReportSansFont(9);
    std::vector<std::pair<QString, QString>> rows;
    if (!caso.Expediente.empty())
        rows.emplace_back(QStringLiteral("Expediente:"), QString::fromStdString(caso.Expediente));
    if (!caso.Perito.empty())
        rows.emplace_back(QStringLiteral("Perito:"), QString::fromStdString(caso.Perito));
    rows.emplace_back(QStringLiteral("Programa:"),
                      QStringLiteral("KORVO (Korvatek), versión %1, compilado del commit %2")
                          .arg(QString::fromUtf8(ProgramVersion()), QString::fromUtf8(ProgramCommit())));
    rows.emplace_back(QStringLiteral("Autocomprobación (KORVO selfcheck):"), selfCheck);
    rows.emplace_back(QStringLiteral("Fecha y hora de escritura:"), ReportIsoDateTime(written));
    rows.emplace_back(QStringLiteral("Separador decimal en vigor:"), ReportSeparatorText());
    pages.Labelled(rows, body);
    if (!caso.Nota.empty())
        pages.Paragraph(QStringLiteral("Nota: ") + QString::fromStdString(caso.Nota), body);
}

} // namespace korvo

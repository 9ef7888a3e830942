// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/ReportMetadata.h"

#include "base/BuildStamp.h"

#include <QPdfWriter>

#include <optional>

namespace korvo {
namespace {

// A text string of the document's dictionaries: UTF-16BE with its byte-order
// mark, written in hexadecimal so that no byte of it needs escaping.
QByteArray PdfText(const QString& text) {
    QByteArray bytes("<FEFF");
    for (const QChar c : text)
        bytes += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return bytes + '>';
}

QByteArray XmlText(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

// The file as its last cross-reference section and trailer describe it.
struct PdfFile {
    const QByteArray& bytes;
    qsizetype xref = 0;  // offset of the "xref" keyword
    qsizetype first = 0; // number of the section's first object
    qsizetype count = 0; // objects in the section
    QByteArray trailer;  // the trailer dictionary's text

    // The offset of object `number`, from its cross-reference entry.
    std::optional<qsizetype> Offset(qsizetype number) const {
        if (number < first || number >= first + count)
            return std::nullopt;
        const qsizetype header = bytes.indexOf('\n', bytes.indexOf('\n', xref) + 1) + 1;
        bool ok = false;
        const qsizetype at = bytes.mid(header + (number - first) * 20, 10).toLongLong(&ok);
        return ok ? std::optional<qsizetype>(at) : std::nullopt;
    }
    // The text between an object's "<<" and its matching ">>" (the dictionary
    // of a plain object, or the stream dictionary of a stream).
    QByteArray Dictionary(qsizetype number) const {
        const std::optional<qsizetype> at = Offset(number);
        if (!at)
            return {};
        const qsizetype open = bytes.indexOf("<<", *at);
        qsizetype depth = 0;
        for (qsizetype i = open; i + 1 < bytes.size(); ++i) {
            if (bytes[i] == '<' && bytes[i + 1] == '<') {
                ++depth;
                ++i;
            } else if (bytes[i] == '>' && bytes[i + 1] == '>') {
                ++i;
                if (--depth == 0)
                    return bytes.mid(open + 2, i - 1 - (open + 2));
            }
        }
        return {};
    }
    // The bytes of an unfiltered stream.
    QByteArray Stream(qsizetype number) const {
        const std::optional<qsizetype> at = Offset(number);
        if (!at)
            return {};
        const qsizetype start = bytes.indexOf("stream\n", *at) + 7;
        return bytes.mid(start, bytes.indexOf("\nendstream", start) - start);
    }
};

// The number N of "/<key> N 0 R" in `dictionary`, or -1.
qsizetype Reference(const QByteArray& dictionary, const char* key) {
    const QByteArray name = QByteArray("/") + key + ' ';
    const qsizetype at = dictionary.indexOf(name);
    if (at < 0)
        return -1;
    bool ok = false;
    const qsizetype number = dictionary.mid(at + name.size()).trimmed().split(' ').value(0).toLongLong(&ok);
    return ok ? number : -1;
}

std::optional<PdfFile> ReadPdf(const QByteArray& pdf) {
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    const qsizetype trailer = pdf.lastIndexOf("trailer");
    if (startxref < 0 || trailer < 0)
        return std::nullopt;
    PdfFile file{pdf, 0, 0, 0, {}};
    bool ok = false;
    file.xref = pdf.mid(startxref + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || !pdf.mid(file.xref).startsWith("xref"))
        return std::nullopt;
    const QList<QByteArray> section =
        pdf.mid(file.xref + 5, pdf.indexOf('\n', file.xref + 5) - file.xref - 5).trimmed().split(' ');
    file.first = section.value(0).toLongLong();
    file.count = section.value(1).toLongLong();
    file.trailer = pdf.mid(trailer, startxref - trailer);
    return file;
}

} // namespace

ReportMetadata ReportMetadataOf(const QString& title, const QString& subject, const RunCaseFields& caso,
                                const QString& digest) {
    ReportMetadata m;
    m.Title = title;
    m.Author = caso.Perito.empty() ? QStringLiteral("KORVO") : QString::fromStdString(caso.Perito);
    m.Subject = subject;
    if (!caso.Expediente.empty())
        m.Subject += QStringLiteral(", expediente ") + QString::fromStdString(caso.Expediente);
    m.Subject += QStringLiteral("; SHA-256 ") + digest;
    m.Creator = QStringLiteral("KORVO %1").arg(QString::fromUtf8(ProgramVersion()));
    m.Language = QStringLiteral("es");
    return m;
}

ReportMetadata ReportMetadataOf(const RunCaseFields& caso, const QString& digest) {
    return ReportMetadataOf(QStringLiteral("Informe de Trayectoria Real"),
                            QStringLiteral("Trayectoria real con resistencia del aire"), caso, digest);
}

void SetReportMetadata(QPdfWriter& writer, const ReportMetadata& metadata) {
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setTitle(metadata.Title);
    writer.setCreator(metadata.Creator);
}

QByteArray WithInfoEntries(const QByteArray& pdf, const ReportMetadata& metadata) {
    const std::optional<PdfFile> file = ReadPdf(pdf);
    if (!file)
        return pdf;
    const qsizetype info = Reference(file->trailer, "Info");
    const qsizetype root = Reference(file->trailer, "Root");
    const QByteArray catalog = file->Dictionary(root);
    const qsizetype xmp = Reference(catalog, "Metadata");
    QByteArray packet = file->Stream(xmp);
    const qsizetype rdfEnd = packet.indexOf("</rdf:RDF>");
    const qsizetype idAt = file->trailer.indexOf("/ID");
    if (info < 0 || catalog.isEmpty() || rdfEnd < 0 || idAt < 0)
        return pdf;
    // The same names in the XMP packet, as PDF/A asks.
    packet.insert(rdfEnd, "  <rdf:Description xmlns:dc=\"http://purl.org/dc/elements/1.1/\" rdf:about=\"\">\n"
                          "      <dc:creator><rdf:Seq><rdf:li>" +
                              XmlText(metadata.Author) +
                              "</rdf:li></rdf:Seq></dc:creator>\n"
                              "      <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
                              XmlText(metadata.Subject) +
                              "</rdf:li></rdf:Alt></dc:description>\n"
                              "      <dc:language><rdf:Bag><rdf:li>" +
                              XmlText(metadata.Language) +
                              "</rdf:li></rdf:Bag></dc:language>\n"
                              "    </rdf:Description>\n  ");

    QByteArray update("\n");
    std::vector<std::pair<qsizetype, qsizetype>> offsets; // object, offset
    const auto object = [&](qsizetype number, const QByteArray& body) {
        offsets.emplace_back(number, pdf.size() + update.size());
        update += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    };
    object(info, "<<" + file->Dictionary(info) + "/Author " + PdfText(metadata.Author) + "\n/Subject " +
                     PdfText(metadata.Subject) + "\n>>");
    object(xmp, "<<\n/Type /Metadata /Subtype /XML\n/Length " + QByteArray::number(packet.size()) +
                    "\n>>\nstream\n" + packet + "\nendstream");
    object(root, "<<" + catalog + "/Lang " + PdfText(metadata.Language) + "\n>>");
    const qsizetype xref = pdf.size() + update.size();
    update += "xref\n0 1\n0000000000 65535 f \n";
    for (const auto& [number, at] : offsets)
        update += QByteArray::number(number) + " 1\n" + QByteArray::number(at).rightJustified(10, '0') +
                  " 00000 n \n";
    const qsizetype idEnd = file->trailer.indexOf(']', idAt);
    update += "trailer\n<<\n/Size " + QByteArray::number(file->first + file->count) + "\n/Info " +
              QByteArray::number(info) + " 0 R\n/Root " + QByteArray::number(root) + " 0 R\n/Prev " +
              QByteArray::number(file->xref) + "\n" + file->trailer.mid(idAt, idEnd + 1 - idAt) +
              "\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf + update;
}

} // namespace korvo

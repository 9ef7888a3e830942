// SPDX-License-Identifier: GPL-3.0-or-later

// The page engine with a document of its own, as a second report uses it: the
// sections number themselves in the order given, a long section runs onto new
// pages, and every page's footer names the document, the case and the digest.
#include "GuiTest.h"
#include "ballistics/ReportPages.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace korvo {
namespace {

// The PDF's text; `crop`, when given, reads only that part of each page (x,
// y, width and height in points, as pdftotext's -x -y -W -H).
QString TextOf(const QByteArray& pdf, const QStringList& crop = {}) {
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (reader.isEmpty())
        return {};
    test::TemporaryCurrentDirectory directory;
    QFile file(QStringLiteral("pages.pdf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess process;
    QStringList arguments{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    for (const char* option : {"-x", "-y", "-W", "-H"})
        if (arguments.size() - 3 < crop.size() * 2)
            arguments << QString::fromLatin1(option) << crop[(arguments.size() - 3) / 2];
    process.start(reader, arguments << file.fileName() << QStringLiteral("-"));
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(ReportPages, SectionsNumberThemselvesAndEveryFooterNamesTheCase) {
    test::Application();
    ReportDocument document{QStringLiteral("Informe de Prueba"),
                            QStringLiteral("Informe de prueba"),
                            "EXP-9",
                            QStringLiteral("0123456789abcdef0123"),
                            ReportMetadataOf(QStringLiteral("Informe de Prueba"), QStringLiteral("Prueba"),
                                             {"EXP-9", "", ""}, QStringLiteral("0123")),
                            {}};
    document.Sections.push_back({QStringLiteral("Datos"), [](ReportPages& pages, const QString& heading) {
                                     pages.Heading(heading);
                                     pages.Table({{QStringLiteral("Magnitud"), QStringLiteral("Valor")},
                                                  {QStringLiteral("Alcance"), QStringLiteral("374.220")}});
                                 }});
    document.Sections.push_back(
        {QStringLiteral("Muchas líneas"), [](ReportPages& pages, const QString& heading) {
             pages.Heading(heading);
             for (int i = 1; i <= 150; ++i)
                 pages.Paragraph(QStringLiteral("línea %1").arg(i), ReportSansFont(9));
         }});
    const QString text = TextOf(RenderReport(document));
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text.contains(QStringLiteral("Informe de Prueba")));
    EXPECT_LT(text.indexOf(QStringLiteral("1. Datos")), text.indexOf(QStringLiteral("2. Muchas líneas")));
    EXPECT_TRUE(text.contains(QStringLiteral("Alcance")));
    EXPECT_TRUE(text.contains(QStringLiteral("línea 150")));
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    for (qsizetype n = 0; n < pages.size(); ++n) {
        EXPECT_TRUE(pages[n].contains(QStringLiteral("KORVO · Informe de prueba · Expediente EXP-9 · SHA-256 "
                                                     "0123456789abcdef ")))
            << "page " << n + 1;
        EXPECT_TRUE(pages[n].contains(QStringLiteral("Página %1 de %2").arg(n + 1).arg(pages.size())));
    }
}

TEST(ReportPages, ALongLabelledValueWrapsInsideTheMargin) {
    test::Application();
    const QString commit = QStringLiteral("4cb681dd5220801380fecf5a0f6b7e2d3c4b5a69");
    ReportDocument document{
        QStringLiteral("Informe de Prueba"), QStringLiteral("Informe de prueba"), "", {}, {}, {}};
    document.Sections.push_back(
        {QStringLiteral("Identificación"), [&](ReportPages& pages, const QString& heading) {
             pages.Heading(heading);
             pages.Labelled(
                 {{QStringLiteral("Autocomprobación (KORVO selfcheck):"), QStringLiteral("correcto")},
                  {QStringLiteral("Programa:"), QStringLiteral("KORVO (Korvatek), versión 1.0, compilado "
                                                               "del commit ") +
                                                    commit}},
                 ReportSansFont(9));
         }});
    // A4 is 595 points wide with 15 mm (42.5 points) margins: read only what
    // lies left of the right margin.
    const QString text = TextOf(RenderReport(document), {QStringLiteral("0"), QStringLiteral("0"),
                                                         QStringLiteral("552"), QStringLiteral("842")});
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text.contains(commit)) << text.toStdString();
    // The label and its value never run together.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("selfcheck\\):\\s+correcto"))));
}

} // namespace
} // namespace korvo

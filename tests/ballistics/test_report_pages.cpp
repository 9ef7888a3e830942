// SPDX-License-Identifier: GPL-3.0-or-later

// The page engine with a document of its own, as a second report uses it: the
// sections number themselves in the order given, a long section runs onto new
// pages, and every page's footer names the document, the case and the digest.
#include "app/GuiTest.h"
#include "ballistics/ReportPages.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace korvo {
namespace {

QString TextOf(const QByteArray& pdf) {
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (reader.isEmpty())
        return {};
    test::TemporaryCurrentDirectory directory;
    QFile file(QStringLiteral("pages.pdf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess process;
    process.start(reader, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                           file.fileName(), QStringLiteral("-")});
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

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// The case commands as a user's shell runs them: the commands a case report
// prints repeat its tables, their files are checked before anything runs as
// every command's are, and --pdf writes the report of the table computed.
#include "GuiTest.h"
#include "ProgramRun.h"
#include "SeparatorGuard.h"
#include "ballistics/core/CaseReport.h"
#include "ballistics/core/TrajectoryFigures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace korvo {
namespace {

using test::Result;

// Runs a command line through /bin/sh, as a user pastes it, with KORVO the
// program under test, no display and the locale given.
Result Shell(QString command, const QString& directory, const QString& locale = "es_ES.UTF-8") {
    command.replace(QStringLiteral("KORVO "), QStringLiteral("'%1' ").arg(QStringLiteral(KORVO_PROGRAM)));
    return test::RunHeadless(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}, directory, locale);
}

std::string Csv(const CaseMachineTable& table) {
    const auto record = [](const std::vector<std::string>& fields) {
        std::string line;
        for (const std::string& field : fields) {
            line += field;
            line += ',';
        }
        line.back() = '\r';
        return line + '\n';
    };
    std::string csv = record(table.Header);
    for (const auto& row : table.Rows)
        csv += record(row);
    return csv;
}

// The texts a user typed under the decimal comma, the analysis computed here,
// and each command the report prints, pasted into a shell with --csv -: the
// same table, to the last digit.
TEST(CaseCommands, TheReportsCommandsRepeatItsTables) {
    test::Application();
    test::SeparatorGuard comma(',');
    CaseRequestTexts texts;
    texts.D = "0,000016788592601";
    texts.T = "0,01";
    texts.M = "0,00745";
    texts.Angulo = "77,5";
    texts.Vo = "340";
    texts.Ley = DragLaw::Quadratic;
    texts.Altura = "2,5";
    texts.TolVo = "5";
    texts.TolAngulo = "1";
    texts.TolM = "0,0001";
    texts.Distancia = "300";
    CaseQuestion question;
    question.Nominal = {0.000016788592601L, 0.00745L, 340, 77.5L, 0.01L, 2.5L, DragLaw::Quadratic};
    question.Tolerancias = {0, 0.0001L, 5, 1};
    question.Distancia = 300;
    const CaseAnswer answer = AnalyzeCase(question, TrajectoryFigures, {2, nullptr, {}});
    const std::vector<CaseMachineTable> tables = MachineTables(question, answer);
    const std::vector<std::string> commands = CaseReproduceCommands(texts, question);
    ASSERT_EQ(commands.size(), 3u);
    ASSERT_EQ(tables.size(), 3u);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const Result r = Shell(QString::fromStdString(commands[i]) + " --csv -", QDir::currentPath());
        ASSERT_EQ(r.status, 0) << commands[i] << "\n" << r.err.toStdString();
        EXPECT_EQ(r.out.toStdString(), Csv(tables[i])) << commands[i];
        // The summary for people went to standard error, with the comma.
        EXPECT_TRUE(r.err.contains(QStringLiteral("Cuadrática"))) << r.err.toStdString();
    }
}

// The CSV file is checked before the run, as real's and sweep's outputs are.
TEST(CaseCommands, RefuseAnOutputThatCannotBeWrittenBeforeRunning) {
    test::Application();
    test::TemporaryCurrentDirectory directory;
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("carpeta.csv")));
    const Result r = Shell(QStringLiteral("KORVO band --tol vo=5 --csv carpeta.csv"), directory.Path());
    EXPECT_EQ(r.status, 2) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("KORVO: Cannot create file"))) << r.err.toStdString();
}

// --pdf writes the report of the table the command computed, with the case
// fields; two outputs naming one file are refused before anything runs, and
// "-" puts the report on standard output with the summary on standard error.
TEST(CaseCommands, PdfIsTheReportOfTheTableComputed) {
    test::Application();
    test::TemporaryCurrentDirectory directory;
    const Result r =
        Shell(QStringLiteral("KORVO farthest --drag quadratic --tol vo=5 --pdf informes/lejano.pdf "
                             "--expediente E-7 --perito 'Perito Dos' --csv -"),
              directory.Path());
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList rows = r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2);
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"),
                 {QStringLiteral("-layout"), QStringLiteral("informes/lejano.pdf"), QStringLiteral("-")});
    reader.setWorkingDirectory(directory.Path());
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    for (const char* expected : {"Informe de Análisis del Caso", "E-7", "Perito Dos", "Cuadrática (|V|)",
                                 "Mayor alcance (0 a 90 grados)", "KORVO farthest --d"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    // Only the table computed: no band, no angles.
    EXPECT_FALSE(text.contains(QStringLiteral("Banda sobre las tolerancias")));
    EXPECT_FALSE(text.contains(QStringLiteral("Ángulos para la distancia")));
    // The farthest angle of the CSV, to two decimals under the comma.
    const double angle = rows[1].split(u',')[1].toDouble();
    EXPECT_TRUE(text.contains(QString::number(angle, 'f', 2).replace(u'.', u','))) << angle;

    const Result same = Shell(QStringLiteral("KORVO band --csv x.pdf --pdf ./x.pdf"), directory.Path());
    EXPECT_EQ(same.status, 2);
    EXPECT_TRUE(same.err.contains(QStringLiteral("escriben el mismo archivo"))) << same.err.toStdString();
    EXPECT_FALSE(QFile::exists(directory.Path() + QStringLiteral("/x.pdf")));

    const Result piped = Shell(QStringLiteral("KORVO band --pdf -"), directory.Path());
    ASSERT_EQ(piped.status, 0) << piped.err.toStdString();
    EXPECT_TRUE(piped.out.startsWith(QStringLiteral("%PDF-")));
    EXPECT_TRUE(piped.err.contains(QStringLiteral("Alcance (m): mínimo"))) << piped.err.toStdString();
}

} // namespace
} // namespace korvo

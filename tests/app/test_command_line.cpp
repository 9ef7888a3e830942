// KORVO from the command line, run as a process with no display: the workbook,
// the chart and the printed results against the real-trajectory window driven offscreen
// in this test, under "." and ","; the sweep's rows, order and refusals; and
// refused inputs and failed writes with their exit status.
#include "app/CommandRuns.h"
#include "app/GuiTest.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit6.h"
#include "base/RegionalSettings.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

namespace korvo {
namespace {

struct Result {
    int status = -1;
    QString out, err;
};

// Runs KORVO with no display at all (no X, no Wayland, no platform chosen), in
// `directory`, under the locale given.
Result Korvo(const QStringList& arguments, const QString& directory, const QString& locale = "C.UTF-8") {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_NUMERIC"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(directory);
    process.start(QStringLiteral(KORVO_PROGRAM), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList CsvLines(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    return lines;
}

struct Separators {
    char decimal, thousands;
    const char* locale;
};

class CommandLineWorkbook : public ::testing::TestWithParam<Separators> {};

TEST_P(CommandLineWorkbook, IsTheWindowsExportAndPrintsTheResultsWindowsValues) {
    test::Application();
    test::RecordedMessages messages;
    test::TemporaryCurrentDirectory directory;
    RegionalSettings& settings = CurrentRegionalSettings();
    const RegionalSettings saved = settings;
    settings.DecimalSeparator = GetParam().decimal;
    settings.ThousandSeparator = GetParam().thousands;
    QStringList results;
    {
        TForm2 window;
        TForm6 summary;
        Form2 = &window;
        window.IniciarCalculosClick();
        for (int ticks = 0; window.Timer1->isActive() && ticks < 10000; ++ticks)
            window.Timer1Timer();
        window.ExportarExcelClick();
        window.show();
        QCoreApplication::processEvents();
        window.SaveChartBitmap(QStringLiteral("window.bmp"));
        window.close();
        summary.ShowModal();
        results = QStringList{summary.TotalIteraciones->text(), summary.TTotalVuelo->text(),
                              summary.HMax->text(), summary.DistanciaMax->text()};
        summary.close();
        Form2 = nullptr;
    }
    settings = saved;
    ASSERT_EQ(messages.list.size(), 2u);
    EXPECT_EQ(messages.list[1].text, QStringLiteral("Archivo Generado Exitosamente"));

    // "." is read under either separator.
    const Result run = Korvo({"real", "--vo", "340.0", "--xls", "cli.xls", "--bmp", "cli.bmp"},
                             directory.Path(), GetParam().locale);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QByteArray window = Contents(QStringLiteral("DatosTrayectoriaRealCalculada.xls"));
    ASSERT_FALSE(window.isEmpty());
    EXPECT_TRUE(Contents(QStringLiteral("cli.xls")) == window);
    // The chart as the window draws it, pixel for pixel.
    const QImage chart(QStringLiteral("cli.bmp"), "BMP");
    EXPECT_EQ(chart.size(), QSize(588, 413));
    EXPECT_TRUE(chart == QImage(QStringLiteral("window.bmp"), "BMP"));
    EXPECT_EQ(run.out, QStringLiteral("Total de Iteraciones: %1\nTiempo Total de Vuelo: %2\n"
                                      "Altura Maxima (Hmax): %3\nAlcance Maximo (Amax): %4\n")
                           .arg(results[0], results[1], results[2], results[3]));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    // The CSV of the same run uses "." whatever the locale, and stands alone on
    // standard output.
    const Result csv = Korvo({"real", "--csv", "-"}, directory.Path(), GetParam().locale);
    ASSERT_EQ(csv.status, 0);
    const QStringList lines = CsvLines(csv.out);
    ASSERT_EQ(lines.size(), 3482);
    EXPECT_EQ(lines[1], QStringLiteral("1,0.01,0.699,3.286,-54.162,-264.622,70.148,329.924,423.796,43.244"));
}

INSTANTIATE_TEST_SUITE_P(Separators, CommandLineWorkbook,
                         ::testing::Values(Separators{'.', ',', "C.UTF-8"},
                                           Separators{',', '.', "es_ES.UTF-8"}));

TEST(CommandLineSweep, RowsInOrderWhateverTheJobsAndTheDefaultRowIsTheRealRun) {
    test::Application();
    test::TemporaryCurrentDirectory directory;
    for (const char* jobs : {"1", "2"})
        ASSERT_EQ(Korvo({"sweep", "--vary", "angle=76:80:1", "--jobs", jobs, "--csv",
                         QStringLiteral("jobs%1.csv").arg(jobs)},
                        directory.Path())
                      .status,
                  0);
    const QByteArray one = Contents(QStringLiteral("jobs1.csv"));
    EXPECT_TRUE(one == Contents(QStringLiteral("jobs2.csv")));
    const QStringList lines = CsvLines(QString::fromUtf8(one));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(
        lines[0],
        QStringLiteral("angle,iteraciones,tiempo_vuelo,altura_maxima,alcance,cruce_tiempo,cruce_x,mensaje"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(lines[i + 1].startsWith(QString::number(76 + i) + ",")) << lines[i + 1].toStdString();

    const RealRun defaults = RunRealTrajectory(RealInputs(), {});
    ASSERT_TRUE(defaults.Cruce);
    const QStringList row = lines[3].split(',');
    EXPECT_EQ(row, (QStringList{"78", "3481", "34.81",
                                QString::fromStdString(NumberToGeneralText(defaults.Estado.Hmax)),
                                QString::fromStdString(defaults.ValorX),
                                QString::fromStdString(NumberToGeneralText(defaults.Cruce->Tiempo)),
                                QString::fromStdString(NumberToGeneralText(defaults.Cruce->X)), ""}));
    EXPECT_EQ(NumberToPatternText("0.000", defaults.Estado.Hmax), "374.220");
    // The crossing lies between the last two steps.
    EXPECT_GT(defaults.Cruce->Tiempo, 34.80L);
    EXPECT_LE(defaults.Cruce->Tiempo, 34.81L);
}

TEST(CommandLineSweep, RefusedValueGetsTheMessageAndTheSweepGoesOn) {
    test::Application();
    test::TemporaryCurrentDirectory directory;
    const Result run = Korvo({"sweep", "--vary", "angle=77:78:0.5"}, directory.Path());
    ASSERT_EQ(run.status, 0);
    const QStringList lines = CsvLines(run.out);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("77,3468,")));
    EXPECT_EQ(lines[2], QStringLiteral("77.5,,,,,,,'77.5' is not a valid integer value."));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("78,3481,34.81,")));
}

TEST(CommandLineSweep, RangesOfValues) {
    EXPECT_EQ(SweepValues(76, 80, 0.5L, 100).size(), 9u);
    EXPECT_EQ(SweepValues(80, 76, -1, 100).back(), "76");
    // A step that does not land on TO exactly stops short of it; 0.1 steps
    // come out as their decimal texts, not as the sums' binary residue.
    const auto tenths = SweepValues(0, 1, 0.1L, 100);
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(tenths[3], "0.3");
    EXPECT_EQ(SweepValues(0, 0.95L, 0.1L, 100).size(), 10u);
    EXPECT_THROW(SweepValues(0, 1, 0, 100), std::invalid_argument);
    EXPECT_THROW(SweepValues(0, 1, -1, 100), std::invalid_argument);
    EXPECT_THROW(SweepValues(0, 100000, 1, 100000), std::invalid_argument);
    EXPECT_EQ(SweepValues(0, 99999, 1, 100000).size(), 100000u);
}

TEST(CommandLineSweep, CsvQuotesWhatNeedsIt) {
    EXPECT_EQ(CsvRecord({"a", "b,c", "say \"no\"", ""}), "a,\"b,c\",\"say \"\"no\"\"\",\r\n");
}

TEST(CommandLineRefusals, ExitTwoWithTheWindowsMessageAndWriteNothing) {
    test::Application();
    test::TemporaryCurrentDirectory directory;
    struct Case {
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {{"real", "--vo", "abc"}, "'abc' is not a valid floating point value."},
        {{"real", "--angle", "78.5"}, "'78.5' is not a valid integer value."},
        {{"real", "--vo", "1,000"}, "'1,000' is not a valid floating point value."},
        {{"real", "--bogus", "1"}, "Opción desconocida: --bogus."},
        {{"real", "--vo"}, ""},
        {{"sweep", "--vary", "mass=1:2:1"}, ""},
        {{"sweep", "--vary", "angle=0:1:0"}, ""},
        {{"sweep", "--vary", "angle=0:1:1", "--jobs", "0"}, ""},
        {{"ideal", "--interval", "0"}, ""},
        {{"nada"}, ""},
    };
    for (const Case& c : cases) {
        QStringList arguments = c.arguments;
        if (arguments[0] != "ideal")
            arguments << "--csv"
                      << "out.csv";
        else
            arguments << "--csv"
                      << "-";
        if (arguments[0] == "real")
            arguments << "--xls"
                      << "out.xls";
        const Result run = Korvo(arguments, directory.Path());
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, 2) << what;
        EXPECT_TRUE(run.out.isEmpty()) << what;
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("KORVO: "))) << what;
        if (!c.message.isEmpty()) {
            EXPECT_EQ(run.err, QStringLiteral("KORVO: %1\n").arg(c.message)) << what;
        }
    }
    EXPECT_TRUE(QDir(directory.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(CommandLineRefusals, NegativeMassOnceTheRunRefusesIt) {
    RealInputs inputs;
    inputs.M = "-1";
    try {
        RunRealTrajectory(inputs, {});
        GTEST_SKIP() << "the run does not refuse a negative mass yet";
    } catch (const std::exception&) {
    }
    test::Application();
    test::TemporaryCurrentDirectory directory;
    const Result run = Korvo({"real", "--m", "-1", "--xls", "out.xls"}, directory.Path());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, QStringLiteral("KORVO: El valor de M no puede ser negativo.\n"));
    EXPECT_FALSE(QFile::exists(directory.Path() + "/out.xls"));
}

TEST(CommandLineWrites, FailedWriteExitsOneAndKeepsWhatWasThere) {
    test::Application();
    test::TemporaryCurrentDirectory directory;
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("taken")));
    const Result csv = Korvo({"real", "--csv", "taken"}, directory.Path());
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(
        csv.err,
        QStringLiteral("KORVO: Cannot create file \"%1/taken\". Is a directory.\n").arg(directory.Path()));
    const Result bmp = Korvo({"real", "--bmp", "missing/chart.bmp"}, directory.Path());
    EXPECT_EQ(bmp.status, 1);
    EXPECT_TRUE(bmp.err.contains(
        QStringLiteral("Cannot create file \"%1/missing/chart.bmp\". No such file or directory.")
            .arg(directory.Path())))
        << bmp.err.toStdString();
    EXPECT_TRUE(QFileInfo(QStringLiteral("taken")).isDir());
    EXPECT_EQ(QDir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"taken"});

    // The chart, written whole: a BMP at the window's chart size.
    const Result chart = Korvo({"real", "--bmp", "chart.bmp"}, directory.Path());
    ASSERT_EQ(chart.status, 0) << chart.err.toStdString();
    const QImage image(QStringLiteral("chart.bmp"), "BMP");
    EXPECT_EQ(image.size(), QSize(588, 413));
}

TEST(CommandLineIdeal, PrintsTheSixValuesAndListsThePlotAsTheWindowsTable) {
    test::Application();
    const Result values = Korvo({"ideal"}, QDir::currentPath(), "es_ES.UTF-8");
    ASSERT_EQ(values.status, 0) << values.err.toStdString();
    EXPECT_EQ(values.out, QStringLiteral("Tiempo Altura Max: 33,90 seg.\nT. Caida Altura Max: 33,90 seg.\n"
                                         "Tiempo T. de Vuelo: 67,80 seg.\nAltura Maxima: 5637,25 m.\n"
                                         "Alcance Maximo: 4792,94 m.\nVel. Final al Impacto: 339,99 m/s\n"));
    const Result points = Korvo({"ideal", "--csv", "-"}, QDir::currentPath());
    ASSERT_EQ(points.status, 0) << points.err.toStdString();
    const QStringList lines = CsvLines(points.out);
    // The caption row, the launch row and 1356 points.
    ASSERT_EQ(lines.size(), 1358);
    EXPECT_EQ(lines[0], QStringLiteral("X,Y,T (Seg.)"));
    EXPECT_EQ(lines[2], QStringLiteral("3.53,16.62,00.05"));
    EXPECT_EQ(lines.back(), QStringLiteral("4792.78,23.74,67.80"));
}

TEST(CommandLineHelp, ListsEveryCommandAndOption) {
    test::Application();
    const Result help = Korvo({"--help"}, QDir::currentPath());
    ASSERT_EQ(help.status, 0);
    for (const char* word : {"real",        "ideal",     "sweep",
                             "--d ",        "--t ",      "--m ",
                             "--xo ",       "--yo ",     "--angle ",
                             "--vo ",       "--xls ",    "--bmp ",
                             "--pdf ",      "--csv ",    "--vary ",
                             "--jobs ",     "--height ", "--distance ",
                             "--interval ", "--version", "(0.000016788592601)",
                             "(0.00745)"})
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(word))) << word;
    const Result version = Korvo({"--version"}, QDir::currentPath());
    EXPECT_EQ(version.status, 0);
    // The version, the commit it was built from (or that there is none) and the licence.
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("KORVO 1.0 (commit ")) ||
                version.out.startsWith(QStringLiteral("KORVO 1.0 (sin commit")))
        << version.out.toStdString();
    EXPECT_TRUE(version.out.contains(QStringLiteral("\nCopyright (C) 2026 Korvatek\n")));
    EXPECT_TRUE(version.out.contains(QStringLiteral("GPL-3.0-or-later")));
}

} // namespace
} // namespace korvo

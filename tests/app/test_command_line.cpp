// SPDX-License-Identifier: GPL-3.0-or-later

// KORVO from the command line, run as a process with no display: the workbook,
// the chart and the printed results against the real-trajectory window driven offscreen
// in this test, under "." and ","; the sweep's rows, order and refusals; and
// refused inputs and failed writes with their exit status; the band, farthest
// reach and angles of a case in their CSV layouts; the self-check; and the
// report's command line, which reproduces its digest.
#include "GuiTest.h"
#include "ProgramRun.h"
#include "SeparatorGuard.h"
#include "app/CommandArguments.h"
#include "app/CommandRuns.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit6.h"
#include "ballistics/core/RunInputs.h"
#include "ballistics/core/TrajectoryFigures.h"
#include "base/RegionalSettings.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace korvo {
namespace {

using test::Result;

// Runs KORVO with no display, in `directory`, under the locale given.
Result Korvo(const QStringList& arguments, const QString& directory, const QString& locale = "C.UTF-8") {
    return test::RunHeadless(QStringLiteral(KORVO_PROGRAM), arguments, directory, locale);
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
    char decimal; // the thousands separator is the other of "." and ","
    const char* locale;
};

class CommandLineWorkbook : public ::testing::TestWithParam<Separators> {};

TEST_P(CommandLineWorkbook, IsTheWindowsExportAndPrintsTheResultsWindowsValues) {
    test::Application();
    test::RecordedMessages messages;
    test::TemporaryCurrentDirectory directory;
    QStringList results;
    {
        test::SeparatorGuard separator(GetParam().decimal);
        TForm2 window;
        TForm6 summary;
        test::WindowPointers pointers{Form2, window};
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
    }
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
    // The results window's four lines unchanged, then the impact and the law.
    const QStringList printed = run.out.split('\n');
    ASSERT_EQ(printed.size(), 8) << run.out.toStdString();
    EXPECT_EQ(printed.mid(0, 4).join('\n'),
              QStringLiteral("Total de Iteraciones: %1\nTiempo Total de Vuelo: %2\n"
                             "Altura Maxima (Hmax): %3\nAlcance Maximo (Amax): %4")
                  .arg(results[0], results[1], results[2], results[3]));
    const QString point(QChar::fromLatin1(GetParam().decimal));
    EXPECT_EQ(printed[4], "Velocidad de Impacto: 12" + point + "804 m/s");
    EXPECT_EQ(printed[5], "Angulo de Impacto: 90" + point + "000 grados");
    EXPECT_EQ(printed[6], QStringLiteral("Ley de arrastre: Lineal (Vo)"));
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
                         ::testing::Values(Separators{'.', "C.UTF-8"}, Separators{',', "es_ES.UTF-8"}));

// A quadratic run's workbook is the same from the window and the command line,
// and an independent reader finds its law in the first row, above the captions.
TEST(CommandLineWorkbookLaw, QuadraticRunStatesItsLawAboveTheTable) {
    test::Application();
    test::RecordedMessages messages;
    test::TemporaryCurrentDirectory directory;
    test::SeparatorGuard dot('.');
    {
        TForm2 window;
        Form2 = &window;
        window.LeyArrastre->setCurrentIndex(1);
        window.IniciarCalculosClick();
        for (int ticks = 0; window.Timer1->isActive() && ticks < 10000; ++ticks)
            window.Timer1Timer();
        window.ExportarExcelClick();
        Form2 = nullptr;
    }
    const Result run = Korvo({"real", "--drag", "quadratic", "--xls", "cli.xls"}, directory.Path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QByteArray window = Contents(QStringLiteral("DatosTrayectoriaRealCalculada.xls"));
    ASSERT_FALSE(window.isEmpty());
    EXPECT_TRUE(Contents(QStringLiteral("cli.xls")) == window);

    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {"-c",
                  "import xlrd, sys\n"
                  "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                  "print(s.nrows, '|'.join(s.row_values(0)[:2]), s.row_values(1)[0], s.row_values(2441)[2])",
                  "cli.xls"});
    ASSERT_TRUE(reader.waitForFinished(60000));
    if (reader.exitCode() != 0)
        GTEST_SKIP() << "python3-xlrd is not installed";
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(),
              QString::fromUtf8("2442 Ley de arrastre:|Cuadrática (|V|) Iteración: 322.377"));
}

// Runs that land at once, that barely rise, and that take thousands of steps
// have the same steps on the command line as in the window, which computes a
// second step after its start whatever the first gave.
// The argument reader (standard library only, so that it can be fuzzed alone)
// keeps its own list of the seven input names: it must be the run's table.
TEST(CommandLineReal, TheReadersInputNamesAreTheRunsInputs) {
    ASSERT_EQ(std::size(kRealInputOptions), RunInputTable().size());
    for (std::size_t i = 0; i < RunInputTable().size(); ++i)
        EXPECT_EQ(kRealInputOptions[i].name, RunInputTable()[i].Option);
}

TEST(CommandLineReal, StepsAreTheWindowsForEdgeInputs) {
    test::Application();
    test::RecordedMessages messages;
    test::SeparatorGuard dot('.');
    struct Case {
        const char* option;
        const char* value;
        QLineEdit* TForm2::*field;
    };
    const Case cases[] = {
        {"--angle", "0", &TForm2::ValorGrados},  {"--vo", "0.000001", &TForm2::ValorVelocidadInicial},
        {"--angle", "78", &TForm2::ValorGrados}, {"--angle", "1", &TForm2::ValorGrados},
        {"--angle", "89", &TForm2::ValorGrados}, {"--d", "0.0013", &TForm2::ValorConstanteProporcionalidad},
    };
    for (const Case& c : cases) {
        QStringList shown;
        {
            TForm2 window;
            test::WindowPointers pointers{Form2, window};
            (window.*c.field)->setText(QString::fromLatin1(c.value));
            window.IniciarCalculosClick();
            for (int ticks = 0; window.Timer1->isActive() && ticks < 10000; ++ticks)
                window.Timer1Timer();
            for (int row = 0; row < window.ListModel->rowCount(); ++row) {
                QStringList cells;
                for (const QString& cell : window.ListModel->At(row))
                    cells << cell;
                shown << cells.join(',');
            }
        }
        for (const char* locale : {"C.UTF-8", "es_ES.UTF-8"}) {
            const Result run = Korvo({"real", c.option, c.value, "--csv", "-"}, QDir::currentPath(), locale);
            ASSERT_EQ(run.status, 0) << run.err.toStdString();
            QStringList lines = CsvLines(run.out);
            ASSERT_FALSE(lines.isEmpty());
            lines.pop_front();
            EXPECT_GE(lines.size(), 2) << c.option << " " << c.value;
            EXPECT_EQ(lines, shown) << c.option << " " << c.value << " " << locale;
        }
    }
}

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
    EXPECT_EQ(lines[0],
              QStringLiteral("angle,ley,iteraciones,tiempo_vuelo,altura_maxima,alcance,cruce_tiempo,cruce_x,"
                             "velocidad_impacto,angulo_impacto,mensaje"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(lines[i + 1].startsWith(QString::number(76 + i) + ",")) << lines[i + 1].toStdString();

    const RealRun defaults = RunRealTrajectory(RealInputs(), {});
    ASSERT_TRUE(defaults.Cruce);
    ASSERT_TRUE(defaults.Impacto);
    const QStringList row = lines[3].split(',');
    EXPECT_EQ(row, (QStringList{"78", "linear", "3481", "34.81",
                                QString::fromStdString(NumberToGeneralText(defaults.Estado.Hmax)),
                                QString::fromStdString(defaults.ValorX),
                                QString::fromStdString(NumberToGeneralText(defaults.Cruce->Tiempo)),
                                QString::fromStdString(NumberToGeneralText(defaults.Cruce->X)),
                                QString::fromStdString(NumberToGeneralText(defaults.Impacto->Velocidad)),
                                QString::fromStdString(NumberToGeneralText(defaults.Impacto->Angulo)), ""}));
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
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("77,linear,3468,")));
    EXPECT_EQ(lines[2], QStringLiteral("77.5,linear,,,,,,,,,'77.5' is not a valid integer value."));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("78,linear,3481,34.81,")));
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
    // Never past TO, and never one text twice.
    EXPECT_EQ(SweepValues(0, 1, 1.0000005L, 10), (std::vector<std::string>{"0", "1"}));
    EXPECT_THROW(SweepValues(1, 1 + 1e-14L, 1e-16L, 1000), std::invalid_argument);
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
        {{"real", "--t", "0"}, "El valor de T debe ser un número mayor que 0."},
        {{"real", "--vo", "-1"}, "El valor de Vo no puede ser negativo."},
        {{"real", "--m", "0"}, "El valor de M no puede ser 0."},
        {{"real", "--d", "0.002"},
         "El paso T es inestable para este arrastre: (D ÷ M) × Vo × T = 0.913 llega a 0.667, donde el "
         "cálculo retrocede; reduzca T."},
        {{"real", "--bogus", "1"}, "Opción desconocida: --bogus."},
        {{"real", "--drag", "Quadratic"}, "--drag admite linear o quadratic: Quadratic."},
        {{"sweep", "--vary", "angle=78", "--drag", "cubic"}, "--drag admite linear o quadratic: cubic."},
        {{"ideal", "--drag", "linear"}, "Opción desconocida: --drag."},
        {{"real", "--vo"}, ""},
        {{"sweep", "--vary", "mass=1:2:1"}, ""},
        {{"sweep", "--vary", "angle=0:1:0"}, ""},
        {{"sweep", "--vary", "angle=0:1:1", "--jobs", "0"}, ""},
        {{"ideal", "--interval", "0"}, ""},
        {{"nada"}, ""},
        // Not a command: the usage line, never the windows.
        {{"--angle", "45"}, ""},
        {{""}, ""},
        {{"-help"}, ""},
        // Every option read, once, whether or not the command uses it.
        {{"real", "--xo", "NO ES UN NUMERO"}, "'NO ES UN NUMERO' is not a valid floating point value."},
        {{"ideal", "--interval", "abc"},
         "El intervalo de iteraciones debe ser un número entero mayor que 0."},
        {{"real", "--angle", "45", "--angle", "46"}, "La opción --angle se da dos veces."},
        {{"real", "--angle"}, ""}, // takes "--csv" as its value
        {{"sweep", "--vary", "angle=1:2:1", "--jobs", "257"},
         "--jobs espera un número entero de 1 a 256: 257."},
        {{"sweep", "--vary", "angle=1,2", "--vary", "angle=3"}, "--vary varía angle dos veces."},
        {{"sweep", "--vary", "d=1:1.00000000000001:1e-16"}, ""},
        // Outputs checked before the run.
        {{"real", "--bmp", "out.csv"}, ""},
        {{"real", "--pdf", "taken"}, ""},
        {{"real", "--bmp", "plain/x.bmp"}, ""},
    };
    ASSERT_TRUE(QDir(directory.Path()).mkdir(QStringLiteral("taken")));
    ASSERT_TRUE(QFile(directory.Path() + "/plain").open(QIODevice::WriteOnly));
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
    EXPECT_EQ(QDir(directory.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              (QStringList{"plain", "taken"}));
}

TEST(CommandLineRefusals, NegativeMassIsRefusedBeforeAnyFileIsWritten) {
    RealInputs inputs;
    inputs.M = "-1";
    EXPECT_THROW(RunRealTrajectory(inputs, {}), std::runtime_error);
    test::Application();
    test::TemporaryCurrentDirectory directory;
    const Result run = Korvo({"real", "--m", "-1", "--xls", "out.xls"}, directory.Path());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, QStringLiteral("KORVO: El valor de M no puede ser negativo.\n"));
    EXPECT_FALSE(QFile::exists(directory.Path() + "/out.xls"));
}

TEST(CommandLineWrites, OneFailedOutputCostsOnlyItself) {
    test::Application();
    test::TemporaryCurrentDirectory directory;
    // A workbook cannot hold 70,374 rows: the CSV, the chart in a folder made
    // for it, and the summary are written all the same.
    const Result big =
        Korvo({"real", "--t", "0.0005", "--xls", "big.xls", "--csv", "big.csv", "--bmp", "new/deep/c.bmp"},
              directory.Path());
    EXPECT_EQ(big.status, 1);
    EXPECT_EQ(big.err.count('\n'), 1) << big.err.toStdString();
    EXPECT_TRUE(big.err.contains(QStringLiteral("a worksheet holds at most 65536"))) << big.err.toStdString();
    EXPECT_TRUE(big.out.startsWith(QStringLiteral("Total de Iteraciones: 70373\n"))) << big.out.toStdString();
    EXPECT_EQ(CsvLines(QString::fromUtf8(Contents(QStringLiteral("big.csv")))).size(), 70374);
    EXPECT_EQ(QImage(QStringLiteral("new/deep/c.bmp"), "BMP").size(), QSize(588, 413));
    EXPECT_FALSE(QFile::exists(QStringLiteral("big.xls")));

    // The same file under two names, standard output twice.
    for (const QStringList& twice :
         {QStringList{"--xls", "a", "--pdf", "./a"}, QStringList{"--csv", "-", "--bmp", "-"}}) {
        const Result run = Korvo(QStringList{"real"} + twice, directory.Path());
        EXPECT_EQ(run.status, 2) << twice.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("escriben el mismo archivo"))) << run.err.toStdString();
    }
    // Names that are not UTF-8 stay apart.
    for (const char* name : {"caso_\\xe9.csv", "caso_\\xe8.csv"})
        ASSERT_EQ(QProcess::execute(
                      QStringLiteral("bash"),
                      {"-c", QStringLiteral("%1 real --csv $'%2' >/dev/null").arg(KORVO_PROGRAM, name)}),
                  0);
    EXPECT_EQ(::access("caso_\xe9.csv", F_OK), 0);
    EXPECT_EQ(::access("caso_\xe8.csv", F_OK), 0);
}

// Every node and link is made here, in the test's own folder: a device, a
// pipe or standard output is written through and stays what it was; a link
// is followed, dangling or not.
TEST(CommandLineWrites, DevicesPipesAndLinksAreWrittenThrough) {
    test::Application();
    test::TemporaryCurrentDirectory directory;
    const QString dir = directory.Path();
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/pipe").constData(), 0600), 0);
    QByteArray piped;
    std::thread reader([&] {
        QFile pipe(dir + "/pipe");
        if (pipe.open(QIODevice::ReadOnly))
            piped = pipe.readAll();
    });
    const Result toPipe = Korvo({"real", "--csv", "pipe"}, dir);
    reader.join();
    EXPECT_EQ(toPipe.status, 0) << toPipe.err.toStdString();
    EXPECT_EQ(CsvLines(QString::fromUtf8(piped)).size(), 3482);
    EXPECT_EQ(QFileInfo(dir + "/pipe").isFile(), false);

    // A link to this process's standard output carries the CSV alone; the summary goes to standard error.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/fd/1"), dir + "/out"));
    const Result toOut = Korvo({"real", "--csv", "out"}, dir);
    EXPECT_EQ(toOut.status, 0);
    EXPECT_EQ(CsvLines(toOut.out).size(), 3482);
    EXPECT_TRUE(toOut.err.startsWith(QStringLiteral("Total de Iteraciones: 3481")))
        << toOut.err.toStdString();
    EXPECT_TRUE(QFileInfo(dir + "/out").isSymLink());

    ASSERT_TRUE(QFile::link(QStringLiteral("made/here.bmp"), dir + "/dangling"));
    EXPECT_EQ(Korvo({"real", "--bmp", "dangling"}, dir).status, 0);
    EXPECT_TRUE(QFileInfo(dir + "/dangling").isSymLink());
    EXPECT_EQ(QImage(dir + "/made/here.bmp", "BMP").size(), QSize(588, 413));

    // The character devices of "null" and "full" (made as the superuser only).
    const QByteArray null = QFile::encodeName(dir + "/null"), full = QFile::encodeName(dir + "/full");
    if (::mknod(null.constData(), S_IFCHR | 0666, ::makedev(1, 3)) != 0 ||
        ::mknod(full.constData(), S_IFCHR | 0666, ::makedev(1, 7)) != 0)
        GTEST_SKIP() << "device nodes need the superuser";
    const Result devices = Korvo({"real", "--csv", "null", "--pdf", "full", "--xls", "x.xls"}, dir);
    EXPECT_EQ(devices.status, 1);
    EXPECT_EQ(
        devices.err,
        QStringLiteral("KORVO: Error writing output file \"%1/full\". No space left on device.\n").arg(dir));
    EXPECT_TRUE(QFile::exists(dir + "/x.xls"));
    struct stat node {};
    ASSERT_EQ(::stat(null.constData(), &node), 0);
    EXPECT_TRUE(S_ISCHR(node.st_mode));
    ASSERT_EQ(::stat(full.constData(), &node), 0);
    EXPECT_TRUE(S_ISCHR(node.st_mode));

    // A summary that cannot be written fails the command.
    QProcess summary;
    summary.setStandardOutputFile(dir + "/full");
    summary.start(QStringLiteral(KORVO_PROGRAM), {"real"});
    ASSERT_TRUE(summary.waitForFinished(60000));
    EXPECT_EQ(summary.exitCode(), 1);
}

// The standard law's run, stepped again here in double precision with the
// same step rule: its count, its last two steps and the impact interpolated
// between them.
struct QuadraticSteps {
    int steps = 0;
    double hmax = 0, x = 0, impactSpeed = 0;
};
QuadraticSteps StepQuadraticDefaults() {
    const double q = 0.000016788592601 / 0.00745, dt = 0.01, g = 9.81;
    const double angle = 78 * 3.14159265358979323846 / 180;
    double vx = 340 * std::cos(angle), vy = 340 * std::sin(angle), x = 0, y = 0;
    QuadraticSteps r;
    for (;;) {
        const double s = std::sqrt(vx * vx + vy * vy);
        const double ax = -q * s * vx, ay = -g - q * s * vy;
        const double vx1 = vx + ax * dt, vy1 = vy + ay * dt;
        const double y1 = y + dt * dt * 0.5 * ay + vy1 * dt;
        x += dt * dt * 0.5 * ax + vx1 * dt;
        ++r.steps;
        r.hmax = std::max(r.hmax, y1);
        if (y1 <= 0 && r.steps >= 2) {
            const double f = y / (y - y1);
            const double ivx = vx + (vx1 - vx) * f, ivy = vy + (vy1 - vy) * f;
            r.impactSpeed = std::hypot(ivx, ivy);
            r.x = x;
            return r;
        }
        vx = vx1, vy = vy1, y = y1;
    }
}

TEST(CommandLineReal, QuadraticDragPrintsItsRunItsImpactAndItsLaw) {
    test::Application();
    const QuadraticSteps expected = StepQuadraticDefaults();
    ASSERT_EQ(expected.steps, 2440);
    const Result run = Korvo({"real", "--drag", "quadratic"}, QDir::currentPath(), "es_ES.UTF-8");
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList printed = run.out.split('\n');
    ASSERT_EQ(printed.size(), 8) << run.out.toStdString();
    EXPECT_EQ(printed.mid(0, 4),
              (QStringList{"Total de Iteraciones: 2440", "Tiempo Total de Vuelo: 24,4 seg.",
                           "Altura Maxima (Hmax): 705,630 m.", "Alcance Maximo (Amax): 322,377 m."}));
    EXPECT_EQ(QString::number(expected.hmax, 'f', 3), QStringLiteral("705.630"));
    EXPECT_EQ(QString::number(expected.x, 'f', 3), QStringLiteral("322.377"));
    const QRegularExpression speed(QStringLiteral("^Velocidad de Impacto: (\\d+),(\\d{3}) m/s$"));
    const QRegularExpressionMatch m = speed.match(printed[4]);
    ASSERT_TRUE(m.hasMatch()) << printed[4].toStdString();
    EXPECT_NEAR((m.captured(1) + '.' + m.captured(2)).toDouble(), expected.impactSpeed, 1e-3);
    EXPECT_NEAR(expected.impactSpeed, 64.5, 0.1);
    EXPECT_TRUE(printed[5].startsWith(QStringLiteral("Angulo de Impacto: 87,"))) << printed[5].toStdString();
    EXPECT_EQ(printed[6], QStringLiteral("Ley de arrastre: Cuadrática (|V|)"));

    // The JSON and the sweep name the law; "linear" is the default's run.
    const Result json = Korvo({"real", "--drag", "quadratic", "--json", "-"}, QDir::currentPath());
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(object["ley"].toString(), QStringLiteral("arrastre cuadrático en la velocidad"));
    EXPECT_EQ(object["drag"].toString(), QStringLiteral("quadratic"));
    EXPECT_NEAR(object["resultados"].toObject()["velocidad_impacto"].toObject()["valor"].toDouble(),
                expected.impactSpeed, 1e-6);
    const QStringList rows =
        CsvLines(Korvo({"sweep", "--vary", "angle=78", "--drag", "quadratic"}, QDir::currentPath()).out);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("78,quadratic,2440,24.4,705.63"))) << rows[1].toStdString();
    const Result linear = Korvo({"real", "--drag", "linear"}, QDir::currentPath());
    EXPECT_EQ(linear.out, Korvo({"real"}, QDir::currentPath()).out);
}

TEST(CommandLineIdeal, PrintsTheSixValuesAndListsThePlotAsTheWindowsTable) {
    test::Application();
    const Result values = Korvo({"ideal"}, QDir::currentPath(), "es_ES.UTF-8");
    ASSERT_EQ(values.status, 0) << values.err.toStdString();
    EXPECT_EQ(values.out, QStringLiteral("Tiempo Altura Max: 33,90 seg.\nT. Caida Altura Max: 33,90 seg.\n"
                                         "Tiempo T. de Vuelo: 67,80 seg.\nAltura Maxima: 5637,25 m.\n"
                                         "Alcance Maximo: 4792,94 m.\nVel. Final al Impacto: 339,99 m/s\n"));
    // Inputs are not outputs: two equal values name no file.
    EXPECT_EQ(Korvo({"ideal", "--height", "0", "--distance", "0"}, QDir::currentPath()).status, 0);
    const Result points = Korvo({"ideal", "--csv", "-"}, QDir::currentPath());
    ASSERT_EQ(points.status, 0) << points.err.toStdString();
    const QStringList lines = CsvLines(points.out);
    // The caption row, the launch row and 1356 points.
    ASSERT_EQ(lines.size(), 1358);
    EXPECT_EQ(lines[0], QStringLiteral("X,Y,T (Seg.)"));
    EXPECT_EQ(lines[2], QStringLiteral("3.53,16.62,00.05"));
    EXPECT_EQ(lines.back(), QStringLiteral("4792.78,23.74,67.80"));
}

// One JSON object for scripts: every number at full precision beside the
// window's text, and the summary moved to standard error.
TEST(CommandLineJson, NumbersBesideTheWindowsTexts) {
    test::Application();
    const Result real =
        Korvo({"real", "--json", "-", "--d", "0.000016788592601"}, QDir::currentPath(), "es_ES.UTF-8");
    ASSERT_EQ(real.status, 0) << real.err.toStdString();
    EXPECT_TRUE(real.err.startsWith(QStringLiteral("Total de Iteraciones: 3481\n")))
        << real.err.toStdString();
    QJsonParseError error{};
    const QJsonObject json = QJsonDocument::fromJson(real.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << real.out.toStdString();
    const auto member = [](const QJsonObject& object, const char* group, const char* name) {
        return object[QString::fromLatin1(group)].toObject()[QString::fromLatin1(name)].toObject();
    };
    const RealRun defaults = RunRealTrajectory(RealInputs(), {});
    EXPECT_EQ(member(json, "resultados", "iteraciones")["valor"].toInt(), 3481);
    EXPECT_EQ(member(json, "resultados", "tiempo_vuelo")["texto"].toString(), QStringLiteral("34,81 seg."));
    EXPECT_DOUBLE_EQ(member(json, "resultados", "altura_maxima")["valor"].toDouble(),
                     static_cast<double>(defaults.Estado.Hmax));
    EXPECT_EQ(member(json, "entradas", "d")["texto"].toString(), QStringLiteral("0,000016788592601"));
    EXPECT_DOUBLE_EQ(member(json, "entradas", "d")["valor"].toDouble(), 0.000016788592601);
    EXPECT_EQ(member(json, "entradas", "angle")["valor"].toInt(), 78);

    const Result ideal = Korvo({"ideal", "--json", "-"}, QDir::currentPath());
    ASSERT_EQ(ideal.status, 0) << ideal.err.toStdString();
    const QJsonObject values = QJsonDocument::fromJson(ideal.out.toUtf8()).object();
    EXPECT_DOUBLE_EQ(member(values, "resultados", "alcance")["valor"].toDouble(), 4792.94);
    EXPECT_EQ(member(values, "resultados", "alcance")["texto"].toString(), QStringLiteral("4792.94"));
}

TEST(CommandLineHelp, ListsEveryCommandAndOption) {
    test::Application();
    const Result help = Korvo({"--help"}, QDir::currentPath());
    ASSERT_EQ(help.status, 0);
    for (const char* word : {"real",        "ideal",
                             "sweep",       "--d ",
                             "--t ",        "--m ",
                             "--xo ",       "--yo ",
                             "--angle ",    "--vo ",
                             "--xls ",      "--bmp ",
                             "--pdf ",      "--csv ",
                             "--vary ",     "--jobs ",
                             "--height ",   "--distance ",
                             "--interval ", "--version",
                             "--json ",     "(0.000016788592601)",
                             "--drag ",     "(0.00745)"})
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(word))) << word;
    const Result version = Korvo({"--version"}, QDir::currentPath());
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("KORVO 1.0 (commit "))) << version.out.toStdString();
    EXPECT_TRUE(version.out.contains(QStringLiteral("GPL-3.0-or-later"))) << version.out.toStdString();
}

TEST(CommandLineReal, ALongStepIsWarnedAboutOnStandardError) {
    // (A run that does not land takes its 2000000 steps, too long for a test.)
    test::Application();
    const Result large = Korvo({"real", "--t", "0.2"}, QDir::currentPath());
    EXPECT_EQ(large.status, 0);
    EXPECT_EQ(large.err,
              QStringLiteral("KORVO: Aviso: el paso T es grande para este arrastre: reduzca T.\n"));
}

TEST(CommandLineReal, ARunThatDoesNotLandExitsWithThree) {
    // T = 0.00001 s would need about 3.5 million steps: the run stops at its
    // 2,000,000th, still in the air, and says so.
    test::Application();
    const Result stopped = Korvo({"real", "--t", "0.00001"}, QDir::currentPath());
    EXPECT_EQ(stopped.status, 3);
    EXPECT_TRUE(stopped.err.contains(QString::fromUtf8(kTrayectoriaSinFin))) << stopped.err.toStdString();
}

TEST(CommandLineSelfCheck, PrintsEveryCaseAndItsVerdict) {
    test::Application();
    const Result check = Korvo({"selfcheck"}, QDir::currentPath(), "es_ES.UTF-8");
    EXPECT_EQ(check.status, 0) << check.out.toStdString();
    EXPECT_TRUE(
        check.out.contains(QStringLiteral("Vacío, 100 m/s a 30°: alcance (m): esperado 882,798576742547")));
    EXPECT_TRUE(check.out.endsWith(QStringLiteral("Autocomprobación: correcto (17 casos)\n")));
}

// The report's text, or empty when pdftotext is not installed.
QString PdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The arguments of a printed command line: words apart at blanks, a text
// between double quotes one word with its blanks.
QStringList ShellWords(const QString& line) {
    QStringList words;
    QString word;
    bool quoted = false, any = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (any)
                words << word;
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words << word;
    return words;
}

TEST(CommandLineReport, ItsCommandLineReproducesItsDigestUnderEitherSeparator) {
    test::Application();
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    test::TemporaryCurrentDirectory directory;
    const QRegularExpression digest(QStringLiteral("\\(SHA-256\\)\\s+([0-9a-f]{64})"));
    for (const auto& [locale, d] :
         {std::pair{"C.UTF-8", "1.6788592601e-5"}, std::pair{"es_ES.UTF-8", "1,6788592601e-5"}}) {
        const Result made = Korvo({"real", "--d", d, "--vo", " 340", "--pdf", "a.pdf", "--expediente", "X-1"},
                                  directory.Path(), locale);
        ASSERT_EQ(made.status, 0) << made.err.toStdString();
        const QString text = PdfText(QStringLiteral("a.pdf"));
        const QString first = digest.match(text).captured(1);
        ASSERT_FALSE(first.isEmpty()) << locale;
        const qsizetype at = text.indexOf(QStringLiteral("KORVO real "));
        ASSERT_GE(at, 0) << locale;
        QStringList words = ShellWords(text.mid(at, text.indexOf(QLatin1Char('\n'), at) - at).trimmed());
        EXPECT_EQ(words.mid(0, 4), (QStringList{"KORVO", "real", "--d", d})) << locale;
        EXPECT_TRUE(words.contains(QStringLiteral(" 340"))) << locale;
        const Result again = Korvo(words.mid(1) << "--pdf"
                                                << "b.pdf",
                                   directory.Path(), locale);
        ASSERT_EQ(again.status, 0) << again.err.toStdString();
        EXPECT_EQ(digest.match(PdfText(QStringLiteral("b.pdf"))).captured(1), first) << locale;
    }
    // A quadratic run's command line names its law, and repeats its digest.
    ASSERT_EQ(Korvo({"real", "--drag", "quadratic", "--pdf", "q.pdf"}, directory.Path()).status, 0);
    const QString quadratic = PdfText(QStringLiteral("q.pdf"));
    const qsizetype at = quadratic.indexOf(QStringLiteral("KORVO real "));
    ASSERT_GE(at, 0);
    const QStringList words =
        ShellWords(quadratic.mid(at, quadratic.indexOf(QLatin1Char('\n'), at) - at).trimmed());
    EXPECT_EQ(words.mid(words.size() - 2), (QStringList{"--drag", "quadratic"}));
    ASSERT_EQ(Korvo(words.mid(1) << "--pdf"
                                 << "q2.pdf",
                    directory.Path())
                  .status,
              0);
    const QString first = digest.match(quadratic).captured(1);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(digest.match(PdfText(QStringLiteral("q2.pdf"))).captured(1), first);

    // Archival metadata, as independent readers see it.
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("qpdf")).isEmpty())
        GTEST_SKIP() << "pdfinfo or qpdf is not installed";
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("a.pdf")});
    info.waitForFinished(60000);
    const QString fields = QString::fromUtf8(info.readAllStandardOutput());
    for (const char* field : {"Title:           Informe de Trayectoria Real", "Author:          KORVO",
                              "Subject:         Trayectoria real con resistencia del aire, expediente X-1",
                              "Metadata Stream: yes"})
        EXPECT_TRUE(fields.contains(QString::fromUtf8(field))) << field << "\n" << fields.toStdString();
    QProcess check;
    check.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), QStringLiteral("a.pdf")});
    check.waitForFinished(60000);
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
}

TEST(CommandLineCase, WritesTheBandFarthestAndAnglesLayoutsAndRefusesBadTolerances) {
    test::Application();
    const QString here = QDir::currentPath();
    const Result band =
        Korvo({"band", "--tol", "angle=1", "--tol", "vo=5", "--csv", "-", "--jobs", "2"}, here);
    ASSERT_EQ(band.status, 0) << band.err.toStdString();
    EXPECT_TRUE(band.out.endsWith(QStringLiteral("\r\n")));
    const QStringList rows = CsvLines(band.out);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0], QStringLiteral("magnitud,minimo,nominal,maximo,entradas_minimo,entradas_maximo"));
    const QRegularExpression row(QStringLiteral("^(tiempo_vuelo|altura_maxima|alcance|velocidad_impacto|"
                                                "angulo_impacto)(,[-0-9.E]+){3}(,d=[-0-9.E]+;m=[-0-9.E]+;"
                                                "vo=[-0-9.E]+;angle=[-0-9.E]+){2}$"));
    for (int i = 1; i < 6; ++i)
        EXPECT_TRUE(row.match(rows[i]).hasMatch()) << rows[i].toStdString();
    EXPECT_TRUE(rows[3].startsWith(QStringLiteral("alcance,")));

    // Without tolerances the farthest over the box is the nominal one.
    const QStringList far = CsvLines(Korvo({"farthest", "--csv", "-"}, here).out);
    ASSERT_EQ(far.size(), 2);
    EXPECT_EQ(far[0], QStringLiteral("ley,angulo,alcance,angulo_caja,alcance_caja"));
    const QStringList f = far[1].split(',');
    ASSERT_EQ(f.size(), 5);
    EXPECT_EQ(f[1], f[3]);
    EXPECT_EQ(f[2], f[4]);
    EXPECT_LT(f[1].toDouble(), 45);

    // The range of a 45 degree shot, typed with the regional comma: 45 is its high angle.
    CaseInputs at45{0.000016788592601L, 0.00745L, 340, 45, 0.01L, 0, DragLaw::Linear};
    const QString distance = QString::number(static_cast<double>(TrajectoryFigures(at45).Alcance), 'f', 9);
    const Result angles = Korvo({"angles", "--distance", QString(distance).replace('.', ','), "--csv", "-"},
                                here, "es_ES.UTF-8");
    ASSERT_EQ(angles.status, 0) << angles.err.toStdString();
    const QStringList branches = CsvLines(angles.out);
    ASSERT_EQ(branches.size(), 3);
    EXPECT_EQ(branches[0],
              QStringLiteral("rama,angulo,angulo_min,angulo_max,tiempo_vuelo,velocidad_impacto"));
    EXPECT_TRUE(branches[1].startsWith(QStringLiteral("baja,")));
    // A level shot comes down where it starts, so a low angle brackets the distance too.
    EXPECT_GT(branches[1].split(',')[1].toDouble(), 0) << branches[1].toStdString();
    EXPECT_NEAR(branches[2].split(',')[1].toDouble(), 45, 1e-3);
    const Result far9000 = Korvo({"angles", "--distance", "9000"}, here, "es_ES.UTF-8");
    EXPECT_EQ(far9000.status, 0);
    EXPECT_TRUE(far9000.out.contains(QStringLiteral("alcanza 9000,000 m: el mayor alcance es 430,")));

    for (const QStringList& refused :
         {QStringList{"band", "--tol", "x=1"}, QStringList{"band", "--tol", "m=1"}, QStringList{"angles"},
          QStringList{"farthest", "--drag", "cubic"}, QStringList{"band", "--angle", "abc"}}) {
        const Result r = Korvo(refused, here);
        EXPECT_EQ(r.status, 2) << refused.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("KORVO: "))) << r.err.toStdString();
    }
}

} // namespace
} // namespace korvo

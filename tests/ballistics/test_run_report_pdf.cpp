// SPDX-License-Identifier: GPL-3.0-or-later

// The run report as the user gets it: the menu entries and their states, the
// PDF read back by an independent reader (pdftotext), the digest's layout and
// its repeatability, and a target that cannot be written.
#include "GuiTest.h"
#include "ballistics/RunReportPdf.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit2.h"

#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTimeZone>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace korvo {
namespace {

using State = TForm2::RunState;

class RunReportPdf : public ::testing::Test {
protected:
    void Run() {
        form.IniciarCalculosClick();
        for (int ticks = 0; form.Timer1->isActive() && ticks < 200000; ++ticks)
            form.Timer1Timer();
        messages.list.clear();
    }
    void RunWith(const char* angle, const char* vo) {
        form.ReiniciarValores();
        form.ValorConstanteProporcionalidad->setText(QStringLiteral("0.000016788592601"));
        form.ValorMasa->setText(QStringLiteral("0.00745"));
        form.ValorGrados->setText(QString::fromUtf8(angle));
        form.ValorVelocidadInicial->setText(QString::fromUtf8(vo));
        Run();
    }
    QString Digest() const {
        const RunInputTexts inputs{form.ValorConstanteProporcionalidad->text().toStdString(),
                                   form.VTiempoIteraciones->text().toStdString(),
                                   form.ValorMasa->text().toStdString(),
                                   form.ValorXo->text().toStdString(),
                                   form.ValorYo->text().toStdString(),
                                   form.ValorGrados->text().toStdString(),
                                   form.ValorVelocidadInicial->text().toStdString()};
        return RunDigest(inputs, form.ListModel->Packed());
    }

    QApplication& application = test::Application();
    test::RecordedMessages messages;
    TForm2 form;
    test::WindowPointers pointers{Form2, form};
};

// The report's text as pdftotext lays it out, or empty when it is not installed.
QString PdfText(const QString& path) {
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (reader.isEmpty())
        return {};
    QProcess process;
    process.start(reader, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                           QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(RunReportPdf, MenuEntriesAreSecondAndEnabledOnlyWhenFinished) {
    for (QWidget* owner : {static_cast<QWidget*>(form.Chart1), static_cast<QWidget*>(form.ListView1)}) {
        ASSERT_EQ(owner->actions().size(), 5);
        EXPECT_EQ(owner->actions().at(1)->text(), QStringLiteral("Generar Informe PDF"));
        EXPECT_EQ(owner->actions().at(2)->text(), QStringLiteral("Datos del Expediente..."));
        EXPECT_EQ(owner->actions().at(3)->text(), QStringLiteral("Autocomprobación"));
        EXPECT_EQ(owner->actions().at(4)->text(), QStringLiteral("Análisis del Caso..."));
    }
    const auto enabled = [&] { return form.InformeGrafico->isEnabled() && form.InformeTabla->isEnabled(); };
    const auto disabled = [&] {
        return !form.InformeGrafico->isEnabled() && !form.InformeTabla->isEnabled();
    };
    EXPECT_TRUE(disabled()); // Ready
    form.IniciarCalculosClick();
    EXPECT_EQ(form.State(), State::Running);
    EXPECT_TRUE(disabled());
    while (form.Timer1->isActive())
        form.Timer1Timer();
    EXPECT_EQ(form.State(), State::Finished);
    EXPECT_TRUE(enabled());
    form.ReiniciarValores();
    EXPECT_TRUE(disabled());
    form.ValorGrados->setText(QStringLiteral("78.5"));
    form.IniciarCalculosClick();
    EXPECT_EQ(form.State(), State::Blocked);
    EXPECT_TRUE(disabled());
    // Triggered anyway (not from the menu), it writes nothing.
    test::TemporaryCurrentDirectory directory;
    messages.list.clear();
    form.GenerarInformeClick();
    EXPECT_TRUE(messages.list.empty());
    EXPECT_FALSE(QFile::exists(kRunReportFileName));
}

TEST_F(RunReportPdf, ReaderFindsInputsResultsEveryRowAndTheDigest) {
    test::TemporaryCurrentDirectory directory;
    Run();
    form.InformeTabla->trigger();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));
    const QString text = PdfText(kRunReportFileName);
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";

    // Every line with its blanks collapsed, so that a row reads as its ten
    // texts separated by one blank.
    std::set<QString> lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.insert(line.simplified());
    const auto has = [&](const QString& part) { return text.contains(part); };
    for (const char* part :
         {"Informe de Trayectoria Real", "0.000016788592601", "0.00745", "Separador decimal",
          // the results window's figures
          "3481", "34.81 seg.", "374.220 m.", "91.201 m.",
          // the exact solution (hand-checked in the core's tests) and vacuum
          "35.206298", "92.261581", "378.996448", "67.802", "4792.941", "interpolado", "Página 1 de "})
        EXPECT_TRUE(has(QString::fromUtf8(part))) << part;

    const TrajectoryTableModel& rows = *form.ListModel;
    ASSERT_EQ(rows.rowCount(), 3481);
    int missing = 0;
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList cells;
        for (const QString& cell : rows.At(r))
            cells << cell;
        if (!lines.count(cells.join(QLatin1Char(' '))) && ++missing <= 3)
            ADD_FAILURE() << "row " << r + 1 << " missing: " << cells.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_EQ(missing, 0);
    // The captions come back on every table page.
    QStringList captions;
    for (const auto& column : TrajectoryTableModel::Columns())
        captions << QString::fromUtf8(column.caption);
    int captionLines = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        captionLines += line.simplified() == captions.join(QLatin1Char(' '));
    EXPECT_GT(captionLines, 3481 / 100);

    const QString digest = Digest();
    EXPECT_EQ(digest.size(), 64);
    EXPECT_TRUE(has(digest));
    // The last page is numbered with the total.
    const qsizetype at = text.lastIndexOf(QStringLiteral("Página "));
    const QStringList words = text.mid(at).simplified().split(QLatin1Char(' '));
    ASSERT_GE(words.size(), 4);
    EXPECT_EQ(words[1], words[3]);
}

// The law named in the inputs and the model with its formula, the comparison
// against the law's own solution, both laws side by side, and the command line
// that repeats the run under its law.
TEST_F(RunReportPdf, NamesItsLawAndComparesBothLaws) {
    test::TemporaryCurrentDirectory directory;
    form.LeyArrastre->setCurrentIndex(1);
    Run();
    form.SaveRunReport(QStringLiteral("q.pdf"));
    form.ReiniciarValores();
    form.LeyArrastre->setCurrentIndex(0);
    RunWith("78", "340");
    form.SaveRunReport(QStringLiteral("l.pdf"));
    const QString quadratic = PdfText(QStringLiteral("q.pdf")), linear = PdfText(QStringLiteral("l.pdf"));
    if (quadratic.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const auto line = [](const QString& text, const QString& start) {
        for (const QString& l : text.split(QLatin1Char('\n')))
            if (l.simplified().startsWith(start))
                return l.simplified();
        return QString();
    };

    EXPECT_TRUE(quadratic.contains(QString::fromUtf8("Ley de arrastre elegida: Cuadrática (|V|).")));
    EXPECT_TRUE(quadratic.contains(QString::fromUtf8("|V| = √(Vx² + Vy²)")));
    EXPECT_FALSE(quadratic.contains(QStringLiteral("Exacto")));
    // Against the reference solution: stepped, reference, difference.
    EXPECT_TRUE(line(quadratic, QStringLiteral("Magnitud Integrado")).contains(QStringLiteral("Referencia")));
    EXPECT_EQ(line(quadratic, QStringLiteral("Alcance (m)")),
              QString::fromUtf8("Alcance (m) 322.377038 324.042032 -1.664994 4792.941 -93.27 %"));
    EXPECT_TRUE(line(quadratic, QStringLiteral("Velocidad de impacto, interpolada"))
                    .contains(QStringLiteral("64.565609 64.600247")));
    EXPECT_TRUE(line(quadratic, QStringLiteral("KORVO real")).endsWith(QStringLiteral("--drag quadratic")));

    EXPECT_TRUE(linear.contains(QStringLiteral("Ley de arrastre elegida: Lineal (Vo).")));
    EXPECT_TRUE(line(linear, QStringLiteral("Magnitud Integrado")).contains(QStringLiteral("Exacto")));
    EXPECT_FALSE(linear.contains(QStringLiteral("--drag")));
    // The same side-by-side table in both reports, each law by its own solution.
    for (const QString& text : {quadratic, linear}) {
        EXPECT_EQ(line(text, QStringLiteral("Alcance (m) 92")),
                  QStringLiteral("Alcance (m) 92.261581 324.042032 231.780451"));
        EXPECT_EQ(line(text, QStringLiteral("Velocidad de impacto (m/s)")),
                  QStringLiteral("Velocidad de impacto (m/s) 12.803599 64.600247 51.796648"));
    }
}

TEST_F(RunReportPdf, SameInputsGiveTheSameDigestAndAnotherInputAnother) {
    Run();
    const QString first = Digest();
    RunWith("78", "340");
    EXPECT_EQ(Digest(), first);
    // Xo takes no part in the run, but it is one of the inputs the digest covers.
    form.ReiniciarValores();
    RunWith("78", "340");
    form.ValorXo->setText(QStringLiteral("5"));
    EXPECT_NE(Digest(), first);
    RunWith("78", "341");
    EXPECT_NE(Digest(), first);
}

TEST_F(RunReportPdf, DigestInputLayoutIsPinned) {
    // Computed independently (Python's hashlib) over the netstrings of the
    // default inputs, the captions and the default run's first row.
    TrajectoryRows model;
    model.AppendRow(std::array<std::string, 10>{"1", "0.01", "0.699", "3.286", "-54.162", "-264.622",
                                                "70.148", "329.924", "423.796", "43.244"});
    const RunInputTexts inputs{"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340"};
    EXPECT_EQ(RunDigest(inputs, model),
              QStringLiteral("b069ea67f0dd411752c27ceb9e80736a96df0b1e4e3dca891e47c2a4aa73ee52"));
}

// A report made straight from a run of the core, stopped after `mostSteps`.
QString ReportOf(const RunInputTexts& inputs, std::int32_t mostSteps = kMostTrajectorySteps) {
    struct View : TrajectoryView {
        std::map<TrajectoryField, std::string> texts;
        TrajectoryRows rows;
        std::string Text(TrajectoryField field) const override { return texts.at(field); }
        void SetText(TrajectoryField field, const std::string& text) override { texts[field] = text; }
        void AppendRow(const std::array<std::string, 10>& row) override { rows.AppendRow(row); }
        void AddChartPoint(double, double) override {}
    } view;
    for (auto& [field, text] : DefaultTrajectoryTexts())
        view.texts[field] = text;
    const std::pair<TrajectoryField, std::string> given[] = {{TrajectoryField::D, inputs.D},
                                                             {TrajectoryField::T, inputs.T},
                                                             {TrajectoryField::M, inputs.M},
                                                             {TrajectoryField::Angulo, inputs.Angulo},
                                                             {TrajectoryField::Vo, inputs.Vo}};
    for (const auto& [field, text] : given)
        view.texts[field] = text;
    RealTrajectory run(mostSteps);
    run.Start(view);
    while (run.GoesOn())
        run.Calcular(view);
    test::TemporaryCurrentDirectory directory;
    const RunReportSource source{inputs,
                                 FinishedRunOf(run.State(), view.texts[TrajectoryField::X],
                                               view.texts[TrajectoryField::TiempoTotal], view.rows),
                                 &view.rows,
                                 nullptr,
                                 QDateTime(QDate(2026, 12, 10), QTime(13, 36, 55), QTimeZone(3600)),
                                 {"EXP-2026/17", "Ana Núñez", "Nota de prueba"}};
    WriteRunReportPdf(QStringLiteral("informe.pdf"), source);
    return PdfText(QStringLiteral("informe.pdf"));
}

TEST_F(RunReportPdf, ARunStoppedInTheAirSaysItDidNotLand) {
    const QString text = ReportOf({"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340"}, 100);
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text.contains(QStringLiteral("El proyectil no aterrizó")));
    EXPECT_TRUE(text.contains(
        QRegularExpression(QStringLiteral("Tiempo Total de Vuelo: +no aterrizó en 100 pasos"))));
    EXPECT_FALSE(text.contains(QStringLiteral("1 seg.")));
    EXPECT_FALSE(text.contains(QStringLiteral("Cruce del suelo, interpolado")));
}

TEST_F(RunReportPdf, ComparisonColumnsStayApartAndPercentagesWithoutMeaningAreDashes) {
    // No drag, 1000 m/s at 45 degrees: long figures that used to run together.
    const QString wide = ReportOf({"0", "0.01", "0.00745", "0", "0", "45", "1000"});
    if (wide.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(
        wide.contains(QRegularExpression(QStringLiteral("101929\\.442508 +101936\\.799185 +-7\\.356676"))));
    // Fired level, the vacuum values are 0: no percentage of them means anything.
    const QString level = ReportOf({"0.000016788592601", "0.01", "0.00745", "0", "0", "0", "340"});
    EXPECT_FALSE(level.contains(QStringLiteral("NAN")));
    EXPECT_TRUE(level.contains(QStringLiteral("—")));
}

TEST_F(RunReportPdf, CaseFieldsDateAndArchivalMetadata) {
    const QString text = ReportOf({"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340"});
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text.contains(QStringLiteral("Identificación")));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Perito: +Ana Núñez"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Nota: Nota de prueba")));
    EXPECT_TRUE(text.contains(QStringLiteral("2026-12-10 13:36:55 +01:00")));
    EXPECT_TRUE(text.contains(QStringLiteral("correcto (")));
    // Every page's footer names the case and the digest's first 16 digits.
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GT(pages.size(), 2);
    for (const QString& page : pages)
        EXPECT_TRUE(page.contains(
            QRegularExpression(QStringLiteral("Expediente EXP-2026/17 · SHA-256 [0-9a-f]{16} "))));
}

TEST_F(RunReportPdf, DirectoryInTheWayIsOneErrorAndNoSuccess) {
    test::TemporaryCurrentDirectory directory;
    Run();
    ASSERT_TRUE(QDir().mkdir(kRunReportFileName));
    QFile inside(kRunReportFileName + QStringLiteral("/kept"));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write("earlier");
    inside.close();

    form.InformeGrafico->trigger();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Cannot create file \"%1/%2\". Is a directory.")
                                         .arg(directory.Path(), kRunReportFileName));
    EXPECT_TRUE(QFileInfo(kRunReportFileName).isDir());
    ASSERT_TRUE(inside.open(QIODevice::ReadOnly));
    EXPECT_EQ(inside.readAll(), QByteArray("earlier"));
}

} // namespace
} // namespace korvo

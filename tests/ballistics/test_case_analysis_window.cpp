// SPDX-License-Identifier: GPL-3.0-or-later

// The case-analysis window driven as a user drives it: opened from the
// real-trajectory window, its answer against the core's own called directly,
// a cancel that stops the work at once, and refused fields that are reported
// before anything runs.
#include "GuiTest.h"
#include "SeparatorGuard.h"
#include "ballistics/CaseAnalysisWindow.h"
#include "ballistics/CaseReportPdf.h"
#include "ballistics/Unit2.h"
#include "ballistics/core/CaseTables.h"
#include "ballistics/core/TrajectoryFigures.h"

#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace korvo {
namespace {

class CaseAnalysisWindow : public ::testing::Test {
protected:
    CaseAnalysisWindow() {
        Form2 = &real;
        FormCaso = &form;
        form.Jobs = 2;
    }
    ~CaseAnalysisWindow() override {
        form.close();
        FormCaso = nullptr;
        Form2 = nullptr;
    }

    // Waits for the work to end, as the window's own timer finds it.
    bool WaitForEnd(int milliseconds = 120000) {
        return QTest::qWaitFor([&] { return !form.Running(); }, milliseconds);
    }

    static std::vector<std::vector<std::string>> Texts(const QTableWidget* table) {
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < table->rowCount(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < table->columnCount(); ++c)
                rows.back().push_back(table->item(r, c)->text().toStdString());
        }
        return rows;
    }

    QApplication& application = test::Application(); // before any widget
    test::SeparatorGuard comma{','};                 // before the windows write their defaults
    test::RecordedMessages messages;
    TForm2 real;
    TCaseAnalysisWindow form;
};

TEST_F(CaseAnalysisWindow, OpensFromTheRealTrajectoryWindowsMenusAndKey) {
    real.ShowModal();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&real));
    QTest::keyClick(real.windowHandle(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.NominalD->text(), real.ValorConstanteProporcionalidad->text());
    EXPECT_EQ(form.NominalVo->text(), QStringLiteral("340"));
    EXPECT_EQ(form.NominalLey->text(), QStringLiteral("Lineal (Vo)"));
    EXPECT_EQ(form.focusWidget(), form.TolD);
    // Alt letters reach the fields; Escape closes the window.
    QTest::keyClick(form.windowHandle(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(form.focusWidget(), form.TolAngulo);
    QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    for (QWidget* menu : {static_cast<QWidget*>(real.Chart1), static_cast<QWidget*>(real.ListView1)})
        EXPECT_TRUE(menu->actions().contains(real.AnalisisCaso));
    real.AnalisisCaso->trigger();
    EXPECT_TRUE(form.isVisible());
    // The law is the one chosen in the real-trajectory window.
    form.close();
    real.LeyArrastre->setCurrentIndex(1);
    real.AnalisisCaso->trigger();
    EXPECT_EQ(form.NominalLey->text(), QString::fromUtf8("Cuadrática (|V|)"));
    real.close();
}

// The window's tables are the core's answer for the same question, under the
// decimal comma, and the work ran off the window's thread.
TEST_F(CaseAnalysisWindow, ShowsWhatTheCoreAnswers) {
    real.VTiempoIteraciones->setText(QStringLiteral("0,05")); // a cheap case: 700 steps a trajectory
    form.ShowModal();
    form.TolAngulo->setText(QStringLiteral("1"));
    form.TolVo->setText(QStringLiteral("5"));
    form.TolM->setText(QStringLiteral("0,0001"));
    form.Altura->setText(QStringLiteral("2,5"));
    form.Distancia->setText(QStringLiteral("80"));
    QTest::mouseClick(form.Calcular, Qt::LeftButton);
    EXPECT_TRUE(form.Running());
    EXPECT_FALSE(form.Calcular->isEnabled());
    EXPECT_TRUE(form.Cancelar->isEnabled());
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(messages.list.empty()) << messages.list.front().text.toStdString();

    CaseQuestion question;
    question.Nominal = {0.000016788592601L, 0.00745L, 340, 78, 0.05L, 2.5L, DragLaw::Linear};
    question.Tolerancias = {0, 0.0001L, 5, 1};
    question.Distancia = 80;
    const CaseAnswer expected = AnalyzeCase(question, TrajectoryFigures, {1, nullptr, {}});
    ASSERT_TRUE(form.Answer());
    const CaseAnswer& shown = *form.Answer();
    EXPECT_EQ(shown.Trayectorias, expected.Trayectorias);
    for (std::size_t f = 0; f < kCaseFigureCount; ++f) {
        EXPECT_EQ(shown.Banda->Figuras[f].Minimo.Valor, expected.Banda->Figuras[f].Minimo.Valor) << f;
        EXPECT_EQ(shown.Banda->Figuras[f].Maximo.Entradas, expected.Banda->Figuras[f].Maximo.Entradas) << f;
    }
    EXPECT_EQ(Texts(form.TablaBanda), BandTable(*expected.Banda).Rows);
    EXPECT_EQ(Texts(form.TablaLejano), FarthestTable(*expected.Lejano).Rows);
    EXPECT_EQ(Texts(form.TablaAngulos), AnglesTable(*expected.Angulos).Rows);
    // Numbers under the separator in force.
    EXPECT_NE(form.TablaBanda->item(2, 2)->text().indexOf(u','), -1);
    EXPECT_EQ(form.TablaBanda->item(2, 2)->text().indexOf(u'.'), -1);
    EXPECT_TRUE(form.Informe->isEnabled());
    EXPECT_EQ(form.Progreso->value(), 1000);
}

// Cancel ends the work within 0.2 s, shows no partial answer and leaves the
// window ready for the next; closing the window cancels as well.
TEST_F(CaseAnalysisWindow, CancelStopsTheWorkAtOnce) {
    real.VTiempoIteraciones->setText(QStringLiteral("0,001")); // some seconds of work
    form.ShowModal();
    form.TolAngulo->setText(QStringLiteral("1"));
    form.TolVo->setText(QStringLiteral("5"));
    form.TolD->setText(QStringLiteral("0,0000017"));
    form.TolM->setText(QStringLiteral("0,0001"));
    form.Distancia->setText(QStringLiteral("300"));
    for (const bool byClosing : {false, true}) {
        form.ShowModal();
        QTest::mouseClick(form.Calcular, Qt::LeftButton);
        QTest::qWait(150);
        ASSERT_TRUE(form.Running()) << "the work ended before it could be cancelled: "
                                    << form.Estado->text().toStdString()
                                    << (messages.list.empty() ? "" : messages.list[0].text.toStdString());
        QElapsedTimer clock;
        clock.start();
        if (byClosing)
            QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
        else
            QTest::mouseClick(form.Cancelar, Qt::LeftButton);
        ASSERT_TRUE(WaitForEnd(2000));
        EXPECT_LT(clock.elapsed(), 200) << (byClosing ? "closing" : "Cancelar");
        EXPECT_FALSE(form.Answer());
        EXPECT_EQ(form.TablaBanda->rowCount(), 0);
        EXPECT_EQ(form.Estado->text(), QStringLiteral("Análisis cancelado."));
        EXPECT_TRUE(form.Calcular->isEnabled());
        EXPECT_FALSE(form.Informe->isEnabled());
        EXPECT_TRUE(messages.list.empty());
    }
}

// Each refused field gets the program's own message through the hub, and no
// work starts.
TEST_F(CaseAnalysisWindow, RefusedFieldsAreReportedBeforeAnythingRuns) {
    form.ShowModal();
    const struct {
        QLineEdit* field;
        const char* text;
        const char* message;
    } cases[] = {
        {form.TolVo, "5.0", "'5.0' is not a valid floating point value"},
        {form.TolAngulo, "-1", "La tolerancia de ángulo debe ser un número no negativo"},
        {form.TolM, "0,00745", "La tolerancia de M debe ser menor que M"},
        {form.Distancia, "0", "La distancia debe ser un número positivo"},
        {real.ValorMasa, "0", "El valor de M no puede ser 0"},
        {real.ValorConstanteProporcionalidad, "-1", "El valor de D no puede ser negativo"},
        {real.VTiempoIteraciones, "", "'' is not a valid floating point value"},
        // The nominal case is stable, but the box's fastest-decaying corner is not.
        {form.TolM, "0,0074", nullptr},
    };
    for (const auto& c : cases) {
        const QString before = c.field->text();
        c.field->setText(QString::fromUtf8(c.text));
        messages.list.clear();
        QTest::mouseClick(form.Calcular, Qt::LeftButton);
        EXPECT_FALSE(form.Running()) << c.text;
        ASSERT_EQ(messages.list.size(), 1u) << c.text;
        EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
        if (c.message)
            EXPECT_EQ(messages.list[0].text, ErrorReportText(QString::fromUtf8(c.message)));
        else
            EXPECT_TRUE(messages.list[0].text.startsWith(QStringLiteral("El paso T es inestable")))
                << messages.list[0].text.toStdString();
        EXPECT_EQ(form.TablaBanda->rowCount(), 0);
        c.field->setText(before);
    }
}

// A reader's output of a PDF tool, or empty when the tool is not installed.
QString Tool(const char* name, const QStringList& arguments, int* status = nullptr) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (program.isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (status)
        *status = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The report as independent readers see it: the identification of the run
// report (case fields, version, ISO date with offset), the inputs as typed,
// the method, the three tables as the window shows them, the digest of what
// was computed, PDF/A metadata and a file that checks clean.
TEST_F(CaseAnalysisWindow, ReportCarriesTheCaseTheInputsTheTablesAndTheDigest) {
    test::TemporaryCurrentDirectory directory;
    real.VTiempoIteraciones->setText(QStringLiteral("0,05"));
    real.CaseFields = {"EXP-25/2026", "Perito Uno", "Disparo al aire"};
    form.ShowModal();
    EXPECT_FALSE(form.Informe->isEnabled());
    form.TolAngulo->setText(QStringLiteral("1"));
    form.TolVo->setText(QStringLiteral("5"));
    form.Distancia->setText(QStringLiteral("80"));
    QTest::mouseClick(form.Calcular, Qt::LeftButton);
    ASSERT_TRUE(WaitForEnd());
    QTest::mouseClick(form.Informe, Qt::LeftButton);
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));
    ASSERT_TRUE(QFile::exists(kCaseReportFileName));

    const QString text =
        Tool("pdftotext", {QStringLiteral("-layout"), kCaseReportFileName, QStringLiteral("-")});
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    for (const char* expected :
         {"Informe de Análisis del Caso", "1. Identificación", "EXP-25/2026", "Perito Uno", "Disparo al aire",
          "\"0,05\"", "\"5\"", "Lineal (Vo)", "No es una probabilidad", "Banda sobre las tolerancias",
          "Mayor alcance", "Ángulos para la distancia", "KORVO band --d \"0,000016788592601\" --t \"0,05\""})
        EXPECT_TRUE(text.simplified().contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(text.contains(
        QRegularExpression(QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d [+-]\\d\\d:\\d\\d"))));
    // Every figure of the window's tables is in the report.
    for (QTableWidget* table : {form.TablaBanda, form.TablaLejano, form.TablaAngulos})
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 1; c < 4; ++c)
                EXPECT_TRUE(text.contains(table->item(r, c)->text()))
                    << table->objectName().toStdString() << " " << r << "," << c;
    CaseRequestTexts texts;
    texts.D = "0,000016788592601";
    texts.T = "0,05";
    texts.M = "0,00745";
    texts.Angulo = "78";
    texts.Vo = "340";
    texts.TolVo = "5";
    texts.TolAngulo = "1";
    texts.Distancia = "80";
    const QString digest =
        CaseDigest({texts, form.Question(), *form.Answer(), QDateTime::currentDateTime(), real.CaseFields});
    EXPECT_TRUE(text.contains(digest)) << digest.toStdString();

    const QString info = Tool("pdfinfo", {kCaseReportFileName});
    for (const char* field : {"Title:           Informe de Análisis del Caso", "Author:          Perito Uno",
                              "Metadata Stream: yes"})
        EXPECT_TRUE(info.contains(QString::fromUtf8(field))) << field << "\n" << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("expediente EXP-25/2026; SHA-256 ") + digest))
        << info.toStdString();
    int status = -1;
    const QString check = Tool("qpdf", {QStringLiteral("--check"), kCaseReportFileName}, &status);
    if (!check.isEmpty()) {
        EXPECT_EQ(status, 0) << check.toStdString();
    }
}

// A report that cannot be written says so, and the earlier file stays.
TEST_F(CaseAnalysisWindow, AReportThatCannotBeWrittenIsReportedAndKeepsNothingHalfWritten) {
    test::TemporaryCurrentDirectory directory;
    real.VTiempoIteraciones->setText(QStringLiteral("0,05"));
    form.ShowModal();
    QTest::mouseClick(form.Calcular, Qt::LeftButton);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(QDir().mkdir(kCaseReportFileName));
    QTest::mouseClick(form.Informe, Qt::LeftButton);
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
    EXPECT_TRUE(messages.list[0].text.startsWith(QStringLiteral("Cannot create file")))
        << messages.list[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(kCaseReportFileName).isDir());
}

} // namespace
} // namespace korvo

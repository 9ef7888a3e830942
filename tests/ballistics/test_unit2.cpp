// SPDX-License-Identifier: GPL-3.0-or-later

// The real-trajectory window's wiring: defaults, keyboard, the four run
// states, the reset, failures during a run, hiding during a run, and the
// chart bitmap.
#include "GuiTest.h"
#include "SeparatorGuard.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit2.h"

#include <QChartView>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QKeySequence>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <malloc.h>

namespace korvo {
namespace {

using State = TForm2::RunState;

class Unit2 : public ::testing::Test {
protected:
    // Ticks until the timer stops; a guard against a run that never ends.
    int RunToEnd(int limit = 10000) {
        int ticks = 0;
        while (form.Timer1->isActive() && ticks < limit) {
            form.Timer1Timer();
            ++ticks;
        }
        return ticks;
    }

    QString Cell(int row, int column) const { return form.ListModel->Cell(row, column); }

    QApplication& application = test::Application(); // before any widget
    test::RecordedMessages messages;
    TForm2 form;
    test::WindowPointers pointers{Form2, form};
};

TEST_F(Unit2, FirstShowingHasTheDefaults) {
    const std::pair<QLineEdit*, const char*> fields[] = {
        {form.ValorConstanteProporcionalidad, "0.000016788592601"},
        {form.VTiempoIteraciones, "0.01"},
        {form.ValorMasa, "0.00745"},
        {form.ValorXo, "0"},
        {form.ValorYo, "0"},
        {form.ValorGrados, "78"},
        {form.ValorVelocidadInicial, "340"},
        {form.ValorVx, "0"},
        {form.ValorVy, "0"},
        {form.ValorAx, "0"},
        {form.ValorAy, "0"},
        {form.ValorVFx, "0"},
        {form.ValorVFy, "0"},
        {form.ValorX, "0"},
        {form.ValorY, "0"},
        {form.TiempoTotal, "0.0"},
    };
    for (const auto& [field, text] : fields)
        EXPECT_EQ(field->text(), QString::fromUtf8(text)) << field->objectName().toStdString();
    EXPECT_EQ(form.State(), State::Ready);
    EXPECT_FALSE(form.Resultados->isEnabled());
    for (QPushButton* button : {form.CalcularD, form.ConvertirMasa, form.ConvertirVelocidad,
                                form.IniciarCalculos, form.LimpiarDatos, form.BitBtn1})
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 1);
    EXPECT_EQ(form.Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(form.ListModel->rowCount(), 0);
    EXPECT_EQ(form.Series1->count(), 0);
}

TEST_F(Unit2, ButtonsCarryTheirAccelerators) {
    const std::pair<QPushButton*, const char*> buttons[] = {
        {form.IniciarCalculos, "Alt+P"},    {form.Resultados, "Alt+R"},
        {form.LimpiarDatos, "Alt+V"},       {form.BitBtn1, "Alt+S"},
        {form.CalcularD, "Alt+D"},          {form.ConvertirMasa, "Alt+M"},
        {form.ConvertirVelocidad, "Alt+C"},
    };
    for (const auto& [button, keys] : buttons)
        EXPECT_EQ(QKeySequence::mnemonic(button->text()), QKeySequence(QString::fromUtf8(keys)))
            << button->objectName().toStdString();
}

TEST_F(Unit2, TabWalksTheInputsThenChartTableAndButtons) {
    const QWidget* expected[] = {form.ValorConstanteProporcionalidad,
                                 form.CalcularD,
                                 form.VTiempoIteraciones,
                                 form.ValorMasa,
                                 form.ConvertirMasa,
                                 form.ValorXo,
                                 form.ValorYo,
                                 form.ValorGrados,
                                 form.ValorVelocidadInicial,
                                 form.ConvertirVelocidad,
                                 form.Chart1,
                                 form.ListView1,
                                 form.LeyArrastre,
                                 form.IniciarCalculos,
                                 form.Resultados,
                                 form.LimpiarDatos,
                                 form.BitBtn1};
    // Resultados takes part in the order once enabled.
    form.Resultados->setEnabled(true);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.ValorConstanteProporcionalidad->setFocus();
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* at = QApplication::focusWidget();
        ASSERT_NE(at, nullptr);
        EXPECT_EQ(at, expected[i]) << "after " << expected[i - 1]->objectName().toStdString() << " came "
                                   << at->metaObject()->className() << " " << at->objectName().toStdString();
    }
}

// The drag law: in the tab row's free space, Alt+L, linear by default, read at
// the start and locked through the run, the quadratic run's own numbers.
TEST_F(Unit2, LawChoiceStepsTheChosenLawAndIsLockedWhileItRuns) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // Between the chart and the table, over the table group's top line and
    // left of the buttons: every designed control keeps its place and shows.
    const QRect panel = form.PanelLeyArrastre->geometry();
    EXPECT_GT(panel.top(), kRealTrajectoryChartBox.bottom());
    EXPECT_LT(panel.bottom(), form.GroupBoxTabla->mapTo(&form, form.ListView1->geometry().topLeft()).y());
    EXPECT_LT(panel.right(), form.IniciarCalculos->x());
    EXPECT_EQ(form.GroupBoxTabla->geometry(), QRect(7, 442, 705, 103));
    const QRect list = form.LeyArrastre->geometry();
    EXPECT_LT(form.EtiquetaLeyArrastre->geometry().right(), list.left());
    EXPECT_GE(form.EtiquetaLeyArrastre->width(),
              form.EtiquetaLeyArrastre->fontMetrics().horizontalAdvance(QStringLiteral("Ley de arrastre:")));
    // Clear of the table group's own caption.
    const int groupCaption =
        form.GroupBoxTabla->fontMetrics().horizontalAdvance(form.GroupBoxTabla->title()) +
        form.GroupBoxTabla->x();
    EXPECT_GT(panel.left(), groupCaption + 20);
    // Each caption is shown whole.
    for (int i = 0; i < form.LeyArrastre->count(); ++i)
        EXPECT_LE(form.LeyArrastre->fontMetrics().horizontalAdvance(form.LeyArrastre->itemText(i)) + 20,
                  list.width())
            << i;

    EXPECT_EQ(form.LeyArrastre->currentText(), QStringLiteral("Lineal (Vo)"));
    EXPECT_EQ(QKeySequence::mnemonic(form.EtiquetaLeyArrastre->text()),
              QKeySequence(QStringLiteral("Alt+L")));
    QTest::keyClick(&form, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(form.LeyArrastre->hasFocus());
    QTest::keyClick(form.LeyArrastre, Qt::Key_Down);
    EXPECT_EQ(form.LeyArrastre->currentText(), QString::fromUtf8("Cuadrática (|V|)"));

    form.IniciarCalculosClick();
    EXPECT_FALSE(form.LeyArrastre->isEnabled());
    // A choice made behind the lock (by a program) does not reach the run.
    form.LeyArrastre->setCurrentIndex(0);
    RunToEnd();
    EXPECT_EQ(form.State(), State::Finished);
    EXPECT_FALSE(form.LeyArrastre->isEnabled());
    EXPECT_EQ(form.Trajectory().State().Ley, DragLaw::Quadratic);
    EXPECT_EQ(form.ListModel->rowCount(), 2440);
    EXPECT_EQ(form.TiempoTotal->text(), QStringLiteral("24.4"));
    EXPECT_EQ(Cell(2439, 2), QStringLiteral("322.377"));
    EXPECT_EQ(NumberToPatternText("0.000", form.Trajectory().State().Hmax), "705.630");

    form.LimpiarDatosClick();
    EXPECT_TRUE(form.LeyArrastre->isEnabled());
}

TEST_F(Unit2, TableHasTheTenColumnsInReportStyle) {
    const char* captions[] = {"Iteración:", "T (seg)",   "X (m)",     "Y (m)",       "Ax (m/s)",
                              "Ay (m/s)",   "Vfx (m/s)", "Vfy (m/s)", "Ec (Joules)", "Ec (kg·m2/s2)"};
    const int widths[] = {56, 65, 65, 65, 65, 65, 65, 65, 80, 80};
    ASSERT_EQ(form.ListModel->columnCount(), 10);
    for (int column = 0; column < 10; ++column) {
        EXPECT_EQ(form.ListModel->headerData(column, Qt::Horizontal).toString(),
                  QString::fromUtf8(captions[column]));
        EXPECT_EQ(form.ListView1->columnWidth(column), widths[column]) << column;
        const int alignment =
            form.ListModel->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, column == 0 ? Qt::AlignLeft : Qt::AlignHCenter)
            << column;
    }
    EXPECT_TRUE(form.ListView1->showGrid());
    EXPECT_EQ(form.ListView1->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(form.ListView1->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(Unit2, DefaultRunGoesFromStartToFinish) {
    form.IniciarCalculosClick();
    EXPECT_TRUE(messages.list.empty());
    EXPECT_EQ(form.State(), State::Running);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.ValorVx->text(), QStringLiteral("70.6899748780382"));
    for (QPushButton* button :
         {form.CalcularD, form.ConvertirMasa, form.ConvertirVelocidad, form.IniciarCalculos, form.Resultados})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    ASSERT_EQ(form.ListModel->rowCount(), 1);
    const char* first[] = {"1",        "0.01",   "0.699",   "3.286",   "-54.162",
                           "-264.622", "70.148", "329.924", "423.796", "43.244"};
    for (int column = 0; column < 10; ++column)
        EXPECT_EQ(Cell(0, column), QString::fromUtf8(first[column])) << column;

    RunToEnd();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.State(), State::Finished);
    EXPECT_EQ(form.ListModel->rowCount(), 3481);
    EXPECT_EQ(form.Trajectory().State().Iteraciones, 3481);
    EXPECT_EQ(form.TiempoTotal->text(), QStringLiteral("34.81"));
    EXPECT_EQ(Cell(3480, 2), QStringLiteral("91.201"));
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Proceso Finalizado."));
    EXPECT_EQ(messages.list[0].caption, QStringLiteral("KORVO"));
    EXPECT_EQ(messages.list[0].icon, MessageIcon::NoIcon);
    EXPECT_TRUE(form.Resultados->isEnabled());
    EXPECT_TRUE(form.LimpiarDatos->isEnabled());
    for (QPushButton* button :
         {form.CalcularD, form.ConvertirMasa, form.ConvertirVelocidad, form.IniciarCalculos})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();

    const QList<QPointF> points = form.Series1->points();
    ASSERT_EQ(points.size(), 3481);
    for (qsizetype i = 1; i < points.size(); ++i)
        ASSERT_LE(points[i - 1].x(), points[i].x()) << i;
}

TEST_F(Unit2, FinishMovesTheFocusToResultadosWhenShowing) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.IniciarCalculosClick();
    RunToEnd();
    EXPECT_TRUE(form.Resultados->hasFocus());
}

TEST_F(Unit2, ResetBringsBackReadyWithItsTexts) {
    form.IniciarCalculosClick();
    RunToEnd();
    form.LimpiarDatosClick();
    EXPECT_EQ(form.State(), State::Ready);
    for (QLineEdit* field : form.findChildren<QLineEdit*>())
        EXPECT_EQ(field->text(),
                  field == form.VTiempoIteraciones ? QStringLiteral("0.01") : QStringLiteral("0"))
            << field->objectName().toStdString();
    EXPECT_EQ(form.ListModel->rowCount(), 0);
    EXPECT_EQ(form.Series1->count(), 0);
    EXPECT_EQ(form.Trajectory().State().Iteraciones, 0);
    EXPECT_FALSE(form.Resultados->isEnabled());
    EXPECT_TRUE(form.IniciarCalculos->isEnabled());

    // Starting straight after the reset would divide 0 by 0: the zero mass is
    // refused before any step.
    messages.list.clear();
    form.IniciarCalculosClick();
    EXPECT_EQ(form.ListModel->rowCount(), 0);
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("El valor de M no puede ser 0."));
}

TEST_F(Unit2, ResetDuringARunStopsTheRun) {
    form.IniciarCalculosClick();
    for (int i = 0; i < 10; ++i)
        form.Timer1Timer();
    form.LimpiarDatosClick();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.State(), State::Ready);
    EXPECT_EQ(form.ListModel->rowCount(), 0);
    QTest::qWait(20);
    EXPECT_EQ(form.ListModel->rowCount(), 0);
    EXPECT_TRUE(messages.list.empty());
}

TEST_F(Unit2, StartThatFailsLeavesTheWindowBlocked) {
    struct Case {
        QLineEdit* field;
        const char* text;
        const char* report;
    };
    const Case cases[] = {
        {form.ValorGrados, "78.5", "'78.5' is not a valid integer value."},
        {form.ValorVelocidadInicial, "", "'' is not a valid floating point value."},
        {form.ValorMasa, "abc", "'abc' is not a valid floating point value."},
        {form.ValorConstanteProporcionalidad, "-0.000016788592601", "El valor de D no puede ser negativo."},
        {form.ValorMasa, "-0.00745", "El valor de M no puede ser negativo."},
    };
    for (const Case& c : cases) {
        form.LimpiarDatosClick();
        const QString before = c.field->text();
        c.field->setText(QString::fromUtf8(c.text));
        if (c.field != form.ValorGrados)
            form.ValorGrados->setText(QStringLiteral("78"));
        messages.list.clear();
        form.IniciarCalculosClick();
        ASSERT_EQ(messages.list.size(), 1u) << c.text;
        EXPECT_EQ(messages.list[0].text, QString::fromUtf8(c.report));
        EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
        EXPECT_EQ(form.State(), State::Blocked);
        EXPECT_FALSE(form.Timer1->isActive());
        EXPECT_FALSE(form.IniciarCalculos->isEnabled());
        EXPECT_FALSE(form.Resultados->isEnabled());
        EXPECT_EQ(form.ListModel->rowCount(), 0);
        EXPECT_EQ(form.Trajectory().State().Hmax, 0.0L);
        (void)before;
    }
}

TEST_F(Unit2, FieldEditedToANonNumberDuringARunStopsItOnce) {
    form.show();
    form.IniciarCalculosClick();
    for (int i = 0; i < 5; ++i)
        form.Timer1Timer();
    form.ValorMasa->setText(QStringLiteral("x1"));
    // The real timer delivers the next tick: it must fail once and stop.
    QTest::qWait(50);
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("'x1' is not a valid floating point value."));
    EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.State(), State::Blocked);
    EXPECT_FALSE(form.Resultados->isEnabled());
    EXPECT_FALSE(form.IniciarCalculos->isEnabled());
    EXPECT_TRUE(form.LimpiarDatos->isEnabled());
    EXPECT_EQ(form.ListModel->rowCount(), 6);
}

TEST_F(Unit2, ALongRunKeepsItsRowsSmall) {
    // A run that cannot land (T 1E-9) must not fill the machine: its table,
    // chart and export source together hold at most about 300 bytes a row.
    form.show();
    form.VTiempoIteraciones->setText(QStringLiteral("1E-9"));
    form.IniciarCalculosClick();
    form.DetenerProceso();
    QCoreApplication::processEvents();
    const struct mallinfo2 before = mallinfo2();
    const int steps = 10000;
    for (int i = 0; i < steps; ++i) {
        form.Timer1Timer();
        if (i % 1000 == 0)
            QCoreApplication::processEvents();
    }
    QTest::qWait(2 * TForm2::kRunPaintMilliseconds);
    const struct mallinfo2 after = mallinfo2();
    const double heldPerRow = (static_cast<double>(after.uordblks + after.hblkhd) -
                               static_cast<double>(before.uordblks + before.hblkhd)) /
                              steps;
    EXPECT_LT(heldPerRow, 300);
    EXPECT_EQ(form.ListModel->rowCount(), steps + 1);
    EXPECT_EQ(form.Series1->count(), steps + 1);
    EXPECT_TRUE(messages.list.empty());
}

TEST_F(Unit2, ClosingDuringARunHidesTheWindowAndTheRunGoesOn) {
    form.ShowModal();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.IniciarCalculosClick();
    QTest::mouseClick(form.Cerrar, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.Timer1->isActive());
    // The hidden window's ticks keep adding rows; a loaded machine may delay
    // them, so wait for one new row (bounded) rather than a fixed time.
    const int before = form.ListModel->rowCount();
    QDeadlineTimer deadline(5000);
    while (form.ListModel->rowCount() == before && !deadline.hasExpired())
        QTest::qWait(5);
    EXPECT_GT(form.ListModel->rowCount(), before);

    RunToEnd();
    EXPECT_EQ(form.State(), State::Finished);
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Proceso Finalizado."));

    form.ShowModal();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.ListModel->rowCount(), 3481);
    EXPECT_EQ(form.Series1->count(), 3481);
    EXPECT_EQ(form.TiempoTotal->text(), QStringLiteral("34.81"));
    EXPECT_TRUE(form.Resultados->isEnabled());
    EXPECT_FALSE(form.IniciarCalculos->isEnabled());
    form.close();
}

TEST_F(Unit2, ImpossibleInputsAreRefusedWithTheirMessagesBeforeAnyStep) {
    const struct {
        QLineEdit* field;
        const char* text;
        const char* message;
    } cases[] = {{form.ValorMasa, "0", "El valor de M no puede ser 0."},
                 {form.VTiempoIteraciones, "0", "El valor de T debe ser un número mayor que 0."},
                 {form.ValorVelocidadInicial, "-1", "El valor de Vo no puede ser negativo."}};
    for (const auto& c : cases) {
        form.ReiniciarValores();
        form.ValorConstanteProporcionalidad->setText(QStringLiteral("0.000016788592601"));
        form.ValorMasa->setText(QStringLiteral("0.00745"));
        form.ValorGrados->setText(QStringLiteral("78"));
        form.ValorVelocidadInicial->setText(QStringLiteral("340"));
        c.field->setText(QString::fromUtf8(c.text));
        messages.list.clear();
        form.IniciarCalculosClick();
        EXPECT_EQ(form.ListModel->rowCount(), 0) << c.text;
        EXPECT_EQ(form.Series1->count(), 0) << c.text;
        ASSERT_EQ(messages.list.size(), 1u) << c.text;
        EXPECT_EQ(messages.list[0].text, QString::fromUtf8(c.message));
    }
}

TEST_F(Unit2, ChartBitmapIsWrittenAndReplaced) {
    test::TemporaryCurrentDirectory directory;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    {
        QFile stale(kChartFileName);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray(4 * 1024 * 1024, 'x'));
    }
    form.IniciarCalculosClick();
    for (int i = 0; i < 100; ++i)
        form.Timer1Timer();
    form.GuardarGrafico->trigger();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));
    QImageReader first(kChartFileName);
    EXPECT_EQ(first.format(), QByteArray("bmp"));
    const QImage firstImage = first.read();
    EXPECT_EQ(firstImage.size(), form.Chart1->size());

    RunToEnd();
    messages.list.clear();
    form.GuardarGrafico->trigger();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));
    const QImage second(kChartFileName, "BMP");
    EXPECT_EQ(second.size(), form.Chart1->size());
    EXPECT_NE(second, firstImage);
    EXPECT_LT(QFile(kChartFileName).size(), 4 * 1024 * 1024);
}

TEST_F(Unit2, ChartBitmapThatCannotBeCreatedIsReportedWithItsFullPath) {
    test::TemporaryCurrentDirectory directory;
    ASSERT_TRUE(QDir().mkdir(kChartFileName));
    form.GuardarGraficoClick();
    ASSERT_EQ(messages.list.size(), 1u);
    const QString path = directory.Path() + QStringLiteral("/GraficoTrayectoriaReal.bmp");
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Cannot create file \"%1\". Is a directory.").arg(path));
    EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
}

// Under a "," separator the built-in texts follow it, so the window reads its
// own defaults and reset texts back.
TEST(Unit2Comma, RunsAndResetsUnderACommaSeparator) {
    test::Application();
    test::RecordedMessages messages;
    test::SeparatorGuard comma(',');
    {
        TForm2 form;
        EXPECT_EQ(form.VTiempoIteraciones->text(), QStringLiteral("0,01"));
        EXPECT_EQ(form.ValorConstanteProporcionalidad->text(), QStringLiteral("0,000016788592601"));
        EXPECT_EQ(form.TiempoTotal->text(), QStringLiteral("0,0"));
        form.IniciarCalculosClick();
        while (form.Timer1->isActive())
            form.Timer1Timer();
        EXPECT_EQ(form.ListModel->rowCount(), 3481);
        EXPECT_EQ(form.TiempoTotal->text(), QStringLiteral("34,81"));
        EXPECT_EQ(form.ListModel->Cell(0, 2), QStringLiteral("0,699"));
        ASSERT_EQ(messages.list.size(), 1u);
        EXPECT_EQ(messages.list[0].text, QStringLiteral("Proceso Finalizado."));
        form.LimpiarDatosClick();
        EXPECT_EQ(form.VTiempoIteraciones->text(), QStringLiteral("0,01"));
    }
}

TEST_F(Unit2, TableExportWritesTheWorkbookAndSaysSo) {
    test::TemporaryCurrentDirectory directory;
    const QString file = QStringLiteral("DatosTrayectoriaRealCalculada.xls");
    // An empty table still exports (the caption row alone).
    form.ExportarExcel->trigger();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));
    ASSERT_TRUE(QFile::exists(file));
    const qint64 emptySize = QFile(file).size();

    // During a run, too; the second export replaces the first.
    form.IniciarCalculosClick();
    for (int i = 0; i < 200; ++i)
        form.Timer1Timer();
    messages.list.clear();
    form.ExportarExcel->trigger();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));
    EXPECT_GT(QFile(file).size(), emptySize);
    QFile workbook(file);
    ASSERT_TRUE(workbook.open(QIODevice::ReadOnly));
    // A compound document.
    EXPECT_EQ(workbook.read(8), QByteArray::fromHex("d0cf11e0a1b11ae1"));
    EXPECT_TRUE(form.ListView1->updatesEnabled());
}

TEST_F(Unit2, TableExportThatFailsReportsOnlyTheError) {
    test::TemporaryCurrentDirectory directory;
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("DatosTrayectoriaRealCalculada.xls")));
    form.ExportarExcelClick();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
    EXPECT_TRUE(form.ListView1->updatesEnabled());
}

// The second entries (the PDF report) are tested with the report, the last
// (the case analysis) with its window.
TEST_F(Unit2, MenusKeepTheirFirstEntry) {
    ASSERT_EQ(form.Chart1->actions().size(), 5);
    EXPECT_EQ(form.Chart1->actions()[0]->text(), QStringLiteral("Guardar Grafico a Imagen BMP"));
    EXPECT_EQ(form.Chart1->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_EQ(form.ListView1->actions().size(), 5);
    EXPECT_EQ(form.ListView1->actions()[0]->text(), QStringLiteral("Exportar datos a Excel"));
    EXPECT_EQ(form.ListView1->contextMenuPolicy(), Qt::ActionsContextMenu);
}

} // namespace
} // namespace korvo

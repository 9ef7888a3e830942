// SPDX-License-Identifier: GPL-3.0-or-later

// The real-trajectory window and its side windows under a decimal comma, as a
// user with Spanish regional settings drives them: the drag constant and both
// converters write texts that the real-trajectory run reads back, the results
// window reads the run's texts, and the table exports with its texts as shown.
#include "GuiTest.h"
#include "SeparatorGuard.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit3.h"
#include "ballistics/Unit4.h"
#include "ballistics/Unit5.h"
#include "ballistics/Unit6.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace korvo {
namespace {

class SideWindowsComma : public ::testing::Test {
protected:
    void Run() {
        real.IniciarCalculosClick();
        for (int ticks = 0; real.Timer1->isActive() && ticks < 10000; ++ticks)
            real.Timer1Timer();
    }

    QApplication& application = test::Application(); // before any widget
    test::SeparatorGuard comma{','};                 // before the windows write their defaults
    test::RecordedMessages messages;
    TForm2 real;
    TForm3 drag;
    TForm4 mass;
    TForm5 speed;
    TForm6 results;
    test::WindowPointers pointers{Form2, real, Form3, drag, Form4, mass, Form5, speed, Form6, results};
};

TEST_F(SideWindowsComma, SideWindowsWriteTheRealInputsAndTheRunReadsThem) {
    drag.ShowModal();
    // The list items are "1,0556" and "0,5"; the diameter is typed.
    EXPECT_EQ(drag.VDensidadAire->currentText(), QStringLiteral("1,0556"));
    EXPECT_EQ(drag.VCoeficienteArrastre->currentText(), QStringLiteral("0,5"));
    real.ValorConstanteProporcionalidad->setText(QStringLiteral("1"));
    drag.VRadioProyectil->setText(QStringLiteral("9"));
    drag.CalularConstante->click();
    EXPECT_EQ(drag.VConstanteProporcionalidad->text(), QStringLiteral("0,000016788592601"));
    EXPECT_EQ(drag.VConstanteProporcionalidadSignificativa->text(), QStringLiteral("1,67885926009675E-5"));
    EXPECT_EQ(real.ValorConstanteProporcionalidad->text(), QStringLiteral("0,000016788592601"));
    drag.close();

    mass.ShowModal();
    mass.UnidadPeso->setCurrentIndex(0); // grains
    mass.ValorPeso->setText(QStringLiteral("115"));
    mass.ConvertirPeso->click();
    EXPECT_EQ(real.ValorMasa->text(), QStringLiteral("0,0074518735"));
    mass.ShowModal();
    mass.UnidadPeso->setCurrentIndex(1); // grams
    mass.ValorPeso->setText(QStringLiteral("7,45"));
    mass.ConvertirPeso->click();
    EXPECT_EQ(real.ValorMasa->text(), QStringLiteral("0,00745"));

    speed.ShowModal();
    speed.ValorFTS->setText(QStringLiteral("1115,49"));
    speed.ConvertirFTS->click();
    EXPECT_EQ(real.ValorVelocidadInicial->text(), QStringLiteral("340,001352"));
    EXPECT_TRUE(messages.list.empty());

    // The converted speed is a little above the default 340: the run reads every
    // written text back and ends with one message, the run's own.
    Run();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Proceso Finalizado."));
    EXPECT_EQ(real.ListModel->rowCount(), 3481);
}

TEST_F(SideWindowsComma, ResultsWindowShowsTheTotalsOfADefaultRun) {
    Run();
    messages.list.clear();
    results.ShowModal();
    EXPECT_TRUE(messages.list.empty());
    EXPECT_EQ((QStringList{results.TotalIteraciones->text(), results.TTotalVuelo->text(),
                           results.HMax->text(), results.DistanciaMax->text()}),
              (QStringList{"3481", "34,81 seg.", "374,220 m.", "91,201 m."}));
    results.close();
}

TEST_F(SideWindowsComma, TableExportKeepsTheTextsAsShown) {
    test::TemporaryCurrentDirectory directory;
    Run();
    ASSERT_EQ(real.ListModel->Cell(0, 2), QStringLiteral("0,699"));
    messages.list.clear();
    real.ExportarExcel->trigger();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));
    QFile workbook(QStringLiteral("DatosTrayectoriaRealCalculada.xls"));
    ASSERT_TRUE(workbook.open(QIODevice::ReadOnly));
    // The cells are the table's texts as shown, stored as UTF-16 strings.
    const auto utf16 = [](const QString& text) {
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    const QByteArray bytes = workbook.readAll();
    EXPECT_TRUE(bytes.contains(utf16(QStringLiteral("0,699"))));
    EXPECT_FALSE(bytes.contains(utf16(QStringLiteral("0.699"))));
    // The export put the separators back after every converted cell.
    EXPECT_EQ(CurrentRegionalSettings().DecimalSeparator, ',');
    EXPECT_EQ(CurrentRegionalSettings().ThousandSeparator, '.');
}

} // namespace
} // namespace korvo

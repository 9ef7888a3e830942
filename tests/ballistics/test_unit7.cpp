// SPDX-License-Identifier: GPL-3.0-or-later

// The ideal-trajectory window's calculator: the closed-form results through the
// core, the buttons it switches, a failure that keeps "&Calcular" enabled, and
// the window's creation state and controls.
#include "GuiTest.h"
#include "ballistics/Unit7.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

namespace korvo {
namespace {

class Unit7 : public ::testing::Test {
protected:
    QStringList Results() const {
        return {form.TAlturaMaxima->text(), form.AlturaMax->text(), form.TCaida->text(), form.TTVuelo->text(),
                form.AlcanceMax->text()};
    }

    QApplication& application = test::Application(); // before any widget
    test::RecordedMessages messages;
    TForm7 form;
    test::WindowPointers pointers{Form7, form};
};

TEST_F(Unit7, CreationLeavesOnlyCalcularEnabled) {
    EXPECT_TRUE(form.CalcularResultados->isEnabled());
    EXPECT_FALSE(form.Graficar->isEnabled());
    EXPECT_TRUE(form.Limpiar->isEnabled());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 1);
    EXPECT_EQ(form.Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(form.Series1->count(), 0);
    EXPECT_EQ(form.ListModel->columnCount(), 3);
    EXPECT_EQ(form.ListModel->headerData(2, Qt::Horizontal).toString(), QStringLiteral("T (Seg.)"));
    EXPECT_EQ(form.ListView1->contextMenuPolicy(), Qt::NoContextMenu);
    const std::pair<QLineEdit*, const char*> defaults[] = {{form.VelocidadInicial, "340"},
                                                           {form.Angulo, "78"},
                                                           {form.AlturaDisparo, "0"},
                                                           {form.DistanciaDisparo, "0"},
                                                           {form.IntervaloIteraciones, "50"},
                                                           {form.Items, "0"},
                                                           {form.TiempoTranscurrido, "0"},
                                                           {form.CalcularX, ""},
                                                           {form.ResultadoY, "0"}};
    for (const auto& [field, text] : defaults)
        EXPECT_EQ(field->text(), QString::fromUtf8(text)) << field->objectName().toStdString();
    EXPECT_EQ(form.CalcularResultados->shortcut(), QKeySequence(QStringLiteral("Alt+C")));
    EXPECT_EQ(form.Graficar->shortcut(), QKeySequence(QStringLiteral("Alt+G")));
    EXPECT_EQ(form.Limpiar->shortcut(), QKeySequence(QStringLiteral("Alt+L")));
}

// The next control the Tab key reaches after `from`.
QWidget* NextTabStop(QWidget* from) {
    QWidget* next = from->nextInFocusChain();
    while (next != from && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

TEST_F(Unit7, KeyboardVisitsTheIntervalBeforeTheLaunchDistance) {
    EXPECT_EQ(NextTabStop(form.VelocidadInicial), form.Angulo);
    EXPECT_EQ(NextTabStop(form.Angulo), form.AlturaDisparo);
    EXPECT_EQ(NextTabStop(form.AlturaDisparo), form.IntervaloIteraciones);
    EXPECT_EQ(NextTabStop(form.IntervaloIteraciones), form.DistanciaDisparo);
}

TEST_F(Unit7, CalcularShowsTheResultsAndSwitchesTheButtons) {
    struct Case {
        const char* speed;
        const char* angle;
        QStringList results;
    };
    const Case cases[] = {
        {"340", "78", {"33.90", "5637.25", "33.90", "67.80", "4792.94"}},
        {"340", "0", {"0.00", "0.00", "0.00", "0.00", "0.00"}},
        {"340", "78.5", {}},
    };
    for (const Case& c : cases) {
        form.LimpiarClick();
        form.VelocidadInicial->setText(QString::fromUtf8(c.speed));
        form.Angulo->setText(QString::fromUtf8(c.angle));
        form.CalcularResultados->click();
        EXPECT_TRUE(messages.list.empty()) << c.angle;
        if (!c.results.isEmpty()) {
            EXPECT_EQ(Results(), c.results) << c.angle;
        }
        EXPECT_FALSE(form.CalcularResultados->isEnabled()) << c.angle;
        EXPECT_TRUE(form.Graficar->isEnabled()) << c.angle;
    }
    form.LimpiarClick();
    form.VelocidadInicial->setText(QStringLiteral("340"));
    form.Angulo->setText(QStringLiteral("45"));
    form.CalcularResultados->click();
    EXPECT_EQ(form.AlcanceMax->text(), QStringLiteral("11783.89"));
}

TEST_F(Unit7, GraficarRefusesASpeedOrAngleChangedSinceCalcular) {
    form.VelocidadInicial->setText(QStringLiteral("340"));
    form.Angulo->setText(QStringLiteral("45"));
    form.CalcularResultados->click();
    const QStringList calculated = Results();
    // A different number, an expression, and a formula fragment: none is plotted.
    for (const char* typed : {"200", "2*340", "1)+(1000"}) {
        form.VelocidadInicial->setText(QString::fromUtf8(typed));
        messages.list.clear();
        form.Graficar->click();
        ASSERT_EQ(messages.list.size(), 1u) << typed;
        EXPECT_EQ(messages.list[0].text, QString::fromUtf8(kDatosCambiados));
        EXPECT_FALSE(form.Timer1->isActive());
        EXPECT_EQ(form.ListModel->rowCount(), 0);
        EXPECT_TRUE(form.CalcularX->text().isEmpty());
        EXPECT_TRUE(form.CalcularResultados->isEnabled());
        EXPECT_EQ(Results(), calculated);
        form.VelocidadInicial->setText(QStringLiteral("340"));
        form.Graficar->setEnabled(true);
    }
    form.Angulo->setText(QStringLiteral("46"));
    messages.list.clear();
    form.Graficar->click();
    EXPECT_EQ(messages.list.size(), 1u);

    // Typed back as "&Calcular" read them, the plot starts.
    form.Angulo->setText(QStringLiteral("45"));
    form.Graficar->setEnabled(true);
    messages.list.clear();
    form.Graficar->click();
    EXPECT_TRUE(messages.list.empty());
    EXPECT_TRUE(form.Timer1->isActive());
    form.LimpiarClick();
}

TEST_F(Unit7, FailedCalcularStaysEnabledWithTheResultsUnchanged) {
    form.Items->setText(QStringLiteral("150"));
    form.VelocidadInicial->setText(QStringLiteral("rapido"));
    form.CalcularResultados->click();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("'rapido' is not a valid floating point value."));
    EXPECT_EQ(Results(), (QStringList{"0", "0", "0", "0", "0"}));
    EXPECT_TRUE(form.CalcularResultados->isEnabled());
    EXPECT_FALSE(form.Graficar->isEnabled());
    // The counters were reset before the speed was read.
    EXPECT_EQ(form.Items->text(), QStringLiteral("0"));

    messages.list.clear();
    form.Angulo->setText(QStringLiteral("78,5"));
    form.CalcularResultados->click();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("'78,5' is not a valid floating point value."));
    EXPECT_TRUE(form.CalcularResultados->isEnabled());
}

TEST_F(Unit7, LimpiarClearsEveryFieldAndGoesBackToReady) {
    form.CalcularResultados->click();
    form.LimpiarClick();
    for (QLineEdit* field :
         {form.VelocidadInicial, form.Angulo, form.AlturaDisparo, form.DistanciaDisparo, form.TAlturaMaxima,
          form.TCaida, form.TTVuelo, form.AlturaMax, form.AlcanceMax, form.VFinalImpacto, form.Items,
          form.TiempoTranscurrido, form.CalcularX, form.ResultadoX, form.CalcularY, form.ResultadoY})
        EXPECT_EQ(field->text(), QStringLiteral("0")) << field->objectName().toStdString();
    EXPECT_EQ(form.IntervaloIteraciones->text(), QStringLiteral("50"));
    EXPECT_TRUE(form.CalcularResultados->isEnabled());
    EXPECT_FALSE(form.Graficar->isEnabled());
    EXPECT_EQ(form.focusWidget(), form.VelocidadInicial);
}

// The end of a plot removes the last row through the selection; no row may be
// left highlighted after it, nor be the current row drawn with a focus frame.
TEST_F(Unit7, EndedPlotLeavesNoRowHighlighted) {
    form.ShowModal();
    form.VelocidadInicial->setText(QStringLiteral("10"));
    form.CalcularResultados->click();
    form.Graficar->click();
    while (form.Timer1->isActive())
        form.Timer1Timer();
    ASSERT_TRUE(messages.list.empty());
    ASSERT_GT(form.ListModel->rowCount(), 2);
    EXPECT_FALSE(form.ListView1->selectionModel()->hasSelection());
    EXPECT_FALSE(form.ListView1->currentIndex().isValid());
    form.close();
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// The ideal-trajectory plot driven through the window: the default plot to its
// end, the formulas of the first tick, refused intervals, a failing tick that
// ends the plot with one report, clearing during a plot, and angle 90.
#include "GuiTest.h"
#include "SeparatorGuard.h"
#include "ballistics/Unit7.h"
#include "ballistics/core/IdealPlot.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string_view>

namespace korvo {
namespace {

class Unit7Plot : public ::testing::Test {
protected:
    explicit Unit7Plot(char decimal = '.') : separator(decimal) {}

    // Ticks until the timer stops; a guard against a plot that never ends.
    int PlotToEnd(int limit = 20000) {
        int ticks = 0;
        while (form.Timer1->isActive() && ticks < limit) {
            form.Timer1Timer();
            ++ticks;
        }
        return ticks;
    }

    QStringList Row(int row) const {
        const TIdealTableModel::Row& r = form.ListModel->At(row);
        return {r[0], r[1], r[2]};
    }
    int Rows() const { return form.ListModel->rowCount(); }

    QApplication& application = test::Application(); // before any widget
    test::SeparatorGuard separator;                  // before the window writes its texts
    test::RecordedMessages messages;
    TForm7 form;
    test::WindowPointers pointers{Form7, form};
};

// The same window under either decimal separator, with the real evaluator:
// the formula texts are written with the separator in force and read back by it.
class Unit7PlotSeparators : public ::testing::WithParamInterface<char>, public Unit7Plot {
protected:
    Unit7PlotSeparators() : Unit7Plot(GetParam()) {}
    // A text written with "." in the test, in the separator of the run.
    static QString T(const char* dotText) {
        return QString::fromUtf8(dotText).replace(u'.', QChar(GetParam()));
    }
    static QStringList T(std::initializer_list<const char*> dotTexts) {
        QStringList texts;
        for (const char* text : dotTexts)
            texts << T(text);
        return texts;
    }
};

INSTANTIATE_TEST_SUITE_P(BothSeparators, Unit7PlotSeparators, ::testing::Values('.', ','));

TEST_P(Unit7PlotSeparators, DefaultPlotRunsToTheFlightTime) {
    form.CalcularResultados->click();
    EXPECT_EQ(form.TTVuelo->text(), T("67.80"));
    form.Graficar->click();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_FALSE(form.Graficar->isEnabled());
    EXPECT_FALSE(form.CalcularResultados->isEnabled());
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0), T({"0.00", "0.00", "0"}));
    EXPECT_EQ(form.Series1->count(), 0);

    form.Timer1Timer();
    EXPECT_EQ(form.CalcularX->text(), T("(0)+(340)*(0.207911690817759)*(00.05)"));
    EXPECT_EQ(form.CalcularY->text(),
              T("(0)+(340)*(0.978147600733806)*(00.05)-(0.5)*(9.80)*((00.05)*(00.05))"));
    EXPECT_EQ(form.ResultadoX->text(), T("3.53"));
    EXPECT_EQ(form.ResultadoY->text(), T("16.62"));
    EXPECT_EQ(form.Items->text(), QStringLiteral("50"));
    EXPECT_EQ(Row(1), T({"3.53", "16.62", "00.05"}));

    EXPECT_EQ(PlotToEnd(), 1356);
    EXPECT_TRUE(messages.list.empty());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.Graficar->isEnabled());
    EXPECT_FALSE(form.CalcularResultados->isEnabled());
    ASSERT_EQ(Rows(), 1357);
    EXPECT_EQ(Row(1356), T({"4792.78", "23.74", "67.80"}));
    // The last point is charted twice; the launch point not at all.
    EXPECT_EQ(form.ChartPointCount(), 1357);
}

TEST_F(Unit7Plot, AngleZeroEndsAtTheFirstTickWithTheLaunchPoint) {
    form.Angulo->setText(QStringLiteral("0"));
    form.CalcularResultados->click();
    form.Graficar->click();
    EXPECT_EQ(PlotToEnd(), 1);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0), (QStringList{"0.00", "0.00", "00.00"}));
}

TEST_F(Unit7Plot, LaunchDistanceAndHeightShiftThePoints) {
    form.DistanciaDisparo->setText(QStringLiteral("100"));
    form.AlturaDisparo->setText(QStringLiteral("10"));
    form.CalcularResultados->click();
    form.Graficar->click();
    form.Timer1Timer();
    EXPECT_EQ(Row(0), (QStringList{"100.00", "10.00", "0"}));
    EXPECT_EQ(Row(1), (QStringList{"103.53", "26.62", "00.05"}));
    form.LimpiarClick();
}

TEST_F(Unit7Plot, IntervalThatIsNotAWholeNumberAboveZeroIsRefused) {
    for (const char* interval : {"0", "-50", "2.5", "", "cincuenta"}) {
        form.LimpiarClick();
        form.VelocidadInicial->setText(QStringLiteral("340"));
        form.Angulo->setText(QStringLiteral("78"));
        form.CalcularResultados->click();
        form.IntervaloIteraciones->setText(QString::fromUtf8(interval));
        messages.list.clear();
        form.Graficar->click();
        ASSERT_EQ(messages.list.size(), 1u) << interval;
        EXPECT_EQ(messages.list[0].text, QString::fromUtf8(kIntervaloInvalido) + ".") << interval;
        EXPECT_FALSE(form.Timer1->isActive()) << interval;
        EXPECT_TRUE(form.Graficar->isEnabled()) << interval;
        EXPECT_EQ(Rows(), 0) << interval;
    }
    form.IntervaloIteraciones->setText(QStringLiteral("33"));
    form.Graficar->click();
    form.Timer1Timer();
    form.Timer1Timer();
    EXPECT_EQ(Row(1)[2], QStringLiteral("00.03"));
    EXPECT_EQ(Row(2)[2], QStringLiteral("00.07"));
    form.LimpiarClick();
}

TEST_F(Unit7Plot, LaunchFieldThatIsNotANumberKeepsGraficarEnabled) {
    form.CalcularResultados->click();
    form.AlturaDisparo->setText(QStringLiteral("alto"));
    form.Graficar->click();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("'alto' is not a valid floating point value."));
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.Graficar->isEnabled());
}

TEST_F(Unit7Plot, FailingTickStopsThePlotAndIsReportedOnce) {
    const std::pair<const char*, std::function<void(TForm7&)>> cases[] = {
        {"speed", [](TForm7& f) { f.VelocidadInicial->setText(QStringLiteral("3 4 0")); }},
        {"interval", [](TForm7& f) { f.IntervaloIteraciones->setText(QStringLiteral("5.5")); }},
        // The clock would stand still, or run backwards: the plot would never end.
        {"interval 0", [](TForm7& f) { f.IntervaloIteraciones->setText(QStringLiteral("0")); }},
        {"interval -1", [](TForm7& f) { f.IntervaloIteraciones->setText(QStringLiteral("-1")); }},
    };
    for (const auto& [name, spoil] : cases) {
        form.LimpiarClick();
        form.VelocidadInicial->setText(QStringLiteral("340"));
        form.Angulo->setText(QStringLiteral("78"));
        form.CalcularResultados->click();
        form.Graficar->click();
        form.Timer1Timer();
        const int rows = Rows();
        spoil(form);
        messages.list.clear();
        form.Timer1Timer();
        EXPECT_FALSE(form.Timer1->isActive()) << name;
        ASSERT_EQ(messages.list.size(), 1u) << name;
        EXPECT_EQ(messages.list[0].icon, MessageIcon::Error) << name;
        if (std::string_view(name).starts_with("interval")) {
            EXPECT_EQ(messages.list[0].text, QString::fromUtf8(kIntervaloInvalido) + ".") << name;
        }
        EXPECT_EQ(Rows(), rows) << name;
        EXPECT_FALSE(form.Graficar->isEnabled()) << name;
    }
}

TEST_F(Unit7Plot, FailingTickUnderTheRealTimerIsReportedOnce) {
    form.CalcularResultados->click();
    form.Graficar->click();
    form.VelocidadInicial->setText(QStringLiteral("(340"));
    QElapsedTimer waited;
    waited.start();
    while (form.Timer1->isActive() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(messages.list.size(), 1u);
}

TEST_F(Unit7Plot, LimpiarDuringAPlotStopsItThenClears) {
    form.CalcularResultados->click();
    form.Graficar->click();
    form.Timer1Timer();
    form.Timer1Timer();
    form.LimpiarClick();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(form.ChartPointCount(), 0);
    EXPECT_EQ(form.Items->text(), QStringLiteral("0"));
    EXPECT_TRUE(form.CalcularResultados->isEnabled());
    EXPECT_FALSE(form.Graficar->isEnabled());
    EXPECT_TRUE(messages.list.empty());
}

TEST_F(Unit7Plot, AngleNinetyKeepsXAtTheLaunchDistance) {
    form.Angulo->setText(QStringLiteral("90"));
    form.DistanciaDisparo->setText(QStringLiteral("100"));
    form.CalcularResultados->click();
    form.Graficar->click();
    PlotToEnd();
    EXPECT_TRUE(messages.list.empty());
    ASSERT_GT(Rows(), 100);
    for (int row = 0; row < Rows(); ++row)
        ASSERT_EQ(Row(row)[0], QStringLiteral("100.00")) << row;
}

TEST_F(Unit7Plot, HiddenWindowPlotsOnUnderTheRealTimer) {
    form.ShowModal();
    form.IntervaloIteraciones->setText(QStringLiteral("2000"));
    form.CalcularResultados->click();
    form.Graficar->click();
    form.close();
    QElapsedTimer waited;
    waited.start();
    while (form.Timer1->isActive() && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(messages.list.empty());
    // 34 ticks of 2 s reach 68.00; the final tick repeats the last point.
    ASSERT_EQ(Rows(), 35);
    EXPECT_EQ(Row(34)[2], QStringLiteral("68.00"));
}

} // namespace
} // namespace korvo

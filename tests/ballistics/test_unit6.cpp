// SPDX-License-Identifier: GPL-3.0-or-later

// The results window after real-trajectory runs: the four captions, and a run
// gone undefined that is reported and shows no figure, never the last run's.
#include "GuiTest.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit6.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace korvo {
namespace {

class Unit6 : public ::testing::Test {
protected:
    ~Unit6() override { form.close(); }

    void Run() {
        real.IniciarCalculosClick();
        for (int ticks = 0; real.Timer1->isActive() && ticks < 10000; ++ticks)
            real.Timer1Timer();
    }

    QStringList Captions() const {
        return {form.TotalIteraciones->text(), form.TTotalVuelo->text(), form.HMax->text(),
                form.DistanciaMax->text()};
    }

    QApplication& application = test::Application(); // before any widget
    test::RecordedMessages messages;
    TForm2 real;
    TForm6 form;
    test::WindowPointers pointers{Form2, real, Form6, form};
};

TEST_F(Unit6, ShowsTheTotalsOfTheDefaultRun) {
    EXPECT_EQ(Captions(), (QStringList{"0", "0", "0", "0"}));
    Run();
    messages.list.clear();
    form.ShowModal();
    EXPECT_TRUE(messages.list.empty());
    EXPECT_EQ(Captions(), (QStringList{"3481", "34.81 seg.", "374.220 m.", "91.201 m."}));
    EXPECT_EQ(form.LeyArrastre->text(), QStringLiteral("Ley de arrastre: Lineal (Vo)"));
}

TEST_F(Unit6, NamesTheLawOfAQuadraticRunBelowItsTotals) {
    real.LeyArrastre->setCurrentIndex(1);
    Run();
    form.ShowModal();
    EXPECT_EQ(Captions(), (QStringList{"2440", "24.4 seg.", "705.630 m.", "322.377 m."}));
    EXPECT_EQ(form.LeyArrastre->text(), QString::fromUtf8("Ley de arrastre: Cuadrática (|V|)"));
    // In the row under the panels, whole, inside the window.
    EXPECT_GE(form.LeyArrastre->y(), form.DistanciaMax->geometry().bottom());
    EXPECT_LE(form.LeyArrastre->geometry().bottom(), form.height() - 1);
    EXPECT_LE(form.LeyArrastre->fontMetrics().horizontalAdvance(form.LeyArrastre->text()),
              form.LeyArrastre->width());
}

TEST_F(Unit6, RunAtAngleZeroNeverRaisesTheHeight) {
    real.ValorGrados->setText(QStringLiteral("0"));
    Run();
    form.ShowModal();
    EXPECT_EQ(form.HMax->text(), QStringLiteral("0.000 m."));
}

TEST_F(Unit6, UndefinedRunIsReportedAndShowsNoEarlierFigure) {
    Run();
    form.ShowModal();
    form.close();
    ASSERT_EQ(Captions().front(), QStringLiteral("3481"));

    // A start refuses M = 0; an edit during the run reaches the next step.
    real.LimpiarDatosClick();
    real.ValorConstanteProporcionalidad->setText(QStringLiteral("0.000016788592601"));
    real.ValorMasa->setText(QStringLiteral("0.00745"));
    real.ValorGrados->setText(QStringLiteral("78"));
    real.ValorVelocidadInicial->setText(QStringLiteral("340"));
    real.IniciarCalculosClick();
    real.ValorMasa->setText(QStringLiteral("0"));
    for (int ticks = 0; real.Timer1->isActive() && ticks < 10000; ++ticks)
        real.Timer1Timer();
    messages.list.clear();
    form.ShowModal();
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text,
              QStringLiteral("'%1' is not a valid floating point value.").arg(real.ValorX->text()));
    EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
    EXPECT_EQ(Captions(), (QStringList{"—", "—", "—", "—"}));
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// The two converters: each conversion written into the real-trajectory window
// and the converter closed, what a showing resets and keeps, non-numbers that
// write nothing, the mass converter's help box and the focus moves.
#include "GuiTest.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit4.h"
#include "ballistics/Unit5.h"
#include "ballistics/core/Calculators.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace korvo {
namespace {

class Converters : public ::testing::Test {
protected:
    QApplication& application = test::Application(); // before any widget
    test::RecordedMessages messages;
    TForm2 real;
    TForm4 mass;
    TForm5 speed;
    test::WindowPointers pointers{Form2, real, Form4, mass, Form5, speed};
};

TEST_F(Converters, MassIsWrittenIntoMAndTheConverterCloses) {
    struct Case {
        const char* value;
        int unit;
        const char* kilos;
    };
    const Case cases[] = {
        {"115", 0, "0.0074518735"}, {"7.45", 1, "0.00745"}, {"1", 0, "6.47989E-5"}, {"0", 1, "0"}};
    for (const Case& c : cases) {
        mass.ShowModal();
        real.ValorGrados->setFocus();
        mass.UnidadPeso->setCurrentIndex(c.unit);
        mass.ValorPeso->setText(QString::fromUtf8(c.value));
        mass.ConvertirPeso->click();
        EXPECT_TRUE(messages.list.empty()) << c.value;
        EXPECT_EQ(real.ValorMasa->text(), QString::fromUtf8(c.kilos)) << c.value;
        EXPECT_FALSE(mass.isVisible()) << c.value;
        EXPECT_EQ(real.focusWidget(), real.ValorXo) << c.value;
    }
}

TEST_F(Converters, MassConverterReopensWithZeroAndItsLastUnit) {
    mass.ShowModal();
    mass.UnidadPeso->setCurrentIndex(1);
    mass.ValorPeso->setText(QStringLiteral("7.45"));
    mass.ConvertirPeso->click();
    mass.ShowModal();
    EXPECT_EQ(mass.UnidadPeso->currentText(), QStringLiteral("Gramos"));
    EXPECT_EQ(mass.ValorPeso->text(), QStringLiteral("0"));
    EXPECT_EQ(mass.focusWidget(), mass.ValorPeso);
    mass.close();
}

TEST_F(Converters, NonNumberLeavesTheConverterOpenAndTheFieldAlone) {
    mass.ShowModal();
    mass.ValorPeso->setText(QStringLiteral("7,45"));
    mass.ConvertirPeso->click();
    speed.ShowModal();
    speed.ValorFTS->setText(QStringLiteral("fast"));
    speed.ConvertirFTS->click();

    ASSERT_EQ(messages.list.size(), 2u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("'7,45' is not a valid floating point value."));
    EXPECT_EQ(messages.list[1].text, QStringLiteral("'fast' is not a valid floating point value."));
    EXPECT_EQ(real.ValorMasa->text(), QStringLiteral("0.00745"));
    EXPECT_EQ(real.ValorVelocidadInicial->text(), QStringLiteral("340"));
    EXPECT_TRUE(mass.isVisible());
    EXPECT_TRUE(speed.isVisible());
    speed.close();
    mass.close();
}

TEST_F(Converters, MassClosePictureConvertsNothingButMovesTheFocus) {
    mass.ShowModal();
    mass.ValorPeso->setText(QStringLiteral("115"));
    real.ValorGrados->setFocus();
    QTest::mouseClick(mass.Cerrar, Qt::LeftButton);
    EXPECT_FALSE(mass.isVisible());
    EXPECT_EQ(real.ValorMasa->text(), QStringLiteral("0.00745"));
    EXPECT_EQ(real.focusWidget(), real.ValorXo);
}

TEST_F(Converters, MassHelpHasItsOwnCaptionAndAnInformationIcon) {
    mass.ShowModal();
    mass.BAyudaConvertir->click();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].caption, QStringLiteral("Convertir Unidades de Peso"));
    EXPECT_EQ(messages.list[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.list[0].text.toStdString(), AyudaConvertirPeso());
    EXPECT_EQ(messages.list[0].owner, &mass);
    EXPECT_TRUE(mass.isVisible());
    mass.close();
}

TEST_F(Converters, SpeedIsWrittenIntoVoAndTheConverterCloses) {
    const std::pair<const char*, const char*> cases[] = {
        {"1000", "304.8"}, {"1115.49", "340.001352"}, {"0", "0"}};
    for (const auto& [fts, metres] : cases) {
        speed.ShowModal();
        EXPECT_EQ(speed.ValorFTS->text(), QStringLiteral("0"));
        EXPECT_EQ(speed.focusWidget(), speed.ValorFTS);
        real.ValorGrados->setFocus();
        speed.ValorFTS->setText(QString::fromUtf8(fts));
        speed.ConvertirFTS->click();
        EXPECT_EQ(real.ValorVelocidadInicial->text(), QString::fromUtf8(metres)) << fts;
        EXPECT_FALSE(speed.isVisible()) << fts;
        // The velocity converter leaves the focus where it was.
        EXPECT_EQ(real.focusWidget(), real.ValorGrados) << fts;
    }
    EXPECT_TRUE(messages.list.empty());
}

// A result wider than its target field shows its start, as after Home, not
// its tail ("9719835" of 0.009719835).
TEST_F(Converters, ResultsShowTheirStartInTheTargetField) {
    real.ShowModal();
    mass.ShowModal();
    mass.UnidadPeso->setCurrentIndex(0);
    QTest::keyClicks(mass.ValorPeso, QStringLiteral("150")); // typed after the shown "0"
    mass.ConvertirPeso->click();
    speed.ShowModal();
    QTest::keyClicks(speed.ValorFTS, QStringLiteral("1234.5678"));
    speed.ConvertirFTS->click();
    ASSERT_TRUE(messages.list.empty());
    EXPECT_EQ(real.ValorMasa->text(), QStringLiteral("0.009719835"));
    EXPECT_EQ(real.ValorVelocidadInicial->text(), QStringLiteral("376.29626544"));
    for (QLineEdit* field : {real.ValorMasa, real.ValorVelocidadInicial})
        EXPECT_TRUE(test::ShowsItsStart(field)) << field->objectName().toStdString();
    real.close();
}

TEST_F(Converters, ControlsCarryTheirAcceleratorsAndKinds) {
    EXPECT_FALSE(mass.UnidadPeso->isEditable());
    EXPECT_EQ(mass.UnidadPeso->currentText(), QStringLiteral("Grains"));
    EXPECT_EQ(mass.ConvertirPeso->shortcut(), QKeySequence(QStringLiteral("Alt+K")));
    EXPECT_EQ(mass.BAyudaConvertir->shortcut(), QKeySequence(QStringLiteral("Alt+?")));
    EXPECT_EQ(speed.ConvertirFTS->shortcut(), QKeySequence(QStringLiteral("Alt+M")));
    EXPECT_EQ(mass.ValorPeso->palette().color(QPalette::Base), QColor(255, 250, 234));
}

} // namespace
} // namespace korvo

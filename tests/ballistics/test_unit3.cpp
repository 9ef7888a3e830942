// SPDX-License-Identifier: GPL-3.0-or-later

// The drag-constant window: the calculation carried into "D:", what a showing
// resets and keeps, failures that write nothing, the help boxes and the focus
// moves.
#include "GuiTest.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit3.h"
#include "ballistics/core/Calculators.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace korvo {
namespace {

class Unit3 : public ::testing::Test {
protected:
    Unit3() { form.ShowModal(); }
    ~Unit3() override { form.close(); }

    QApplication& application = test::Application(); // before any widget
    test::RecordedMessages messages;
    TForm2 real;
    TForm3 form;
    test::WindowPointers pointers{Form2, real, Form3, form};
};

TEST_F(Unit3, CalculationWritesBothResultsAndTheRealWindowsD) {
    real.ValorConstanteProporcionalidad->setText(QStringLiteral("1"));
    form.VRadioProyectil->setText(QStringLiteral("9"));
    form.CalularConstante->click();
    EXPECT_TRUE(messages.list.empty());
    EXPECT_EQ(form.VConstanteProporcionalidad->text(), QStringLiteral("0.000016788592601"));
    EXPECT_EQ(form.VConstanteProporcionalidadSignificativa->text(), QStringLiteral("1.67885926009675E-5"));
    EXPECT_EQ(real.ValorConstanteProporcionalidad->text(), QStringLiteral("0.000016788592601"));
    EXPECT_EQ(form.focusWidget(), form.Salir);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(Unit3, LongResultsShowTheirStart) {
    real.ShowModal();
    form.ShowModal();
    QTest::keyClicks(form.VRadioProyectil, QStringLiteral("90000000")); // after the shown "0"
    form.CalularConstante->click();
    EXPECT_EQ(form.VConstanteProporcionalidadSignificativa->text(), QStringLiteral("1678859260.09675"));
    for (QLineEdit* field : {real.ValorConstanteProporcionalidad, form.VConstanteProporcionalidad})
        EXPECT_TRUE(test::ShowsItsStart(field)) << field->objectName().toStdString();
    real.close();
}

TEST_F(Unit3, TypedListTextsAreReadAsTheyStand) {
    form.VDensidadAire->setEditText(QStringLiteral("1.2254"));
    form.VCoeficienteArrastre->setEditText(QStringLiteral("1.0"));
    form.VRadioProyectil->setText(QStringLiteral("-9"));
    form.CalularConstante->click();
    const ConstanteProporcionalidad expected =
        CalcularConstanteProporcionalidad("1.2254", "1.0", PiDefaultText(), "9");
    EXPECT_EQ(form.VConstanteProporcionalidad->text().toStdString(), expected.VConstanteProporcionalidad);
}

TEST_F(Unit3, NonNumberInAnyRowWritesNothing) {
    struct Case {
        const char* name;
        std::function<void(TForm3&)> spoil;
        const char* text;
    };
    const Case cases[] = {
        {"density", [](TForm3& f) { f.VDensidadAire->setEditText(QStringLiteral("1,0556")); }, "1,0556"},
        {"coefficient", [](TForm3& f) { f.VCoeficienteArrastre->setEditText(QStringLiteral("x")); }, "x"},
        {"pi", [](TForm3& f) { f.VPi->setText(QStringLiteral("pi")); }, "pi"},
        {"diameter", [](TForm3& f) { f.VRadioProyectil->setText(QString()); }, ""},
    };
    for (const Case& c : cases) {
        form.close();
        form.ShowModal();
        form.VRadioProyectil->setText(QStringLiteral("9"));
        c.spoil(form);
        messages.list.clear();
        real.ValorConstanteProporcionalidad->setText(QStringLiteral("7"));
        form.VConstanteProporcionalidadSignificativa->setText(QStringLiteral("keep"));
        form.CalularConstante->click();
        ASSERT_EQ(messages.list.size(), 1u) << c.name;
        EXPECT_EQ(messages.list[0].text,
                  QStringLiteral("'%1' is not a valid floating point value.").arg(QString::fromUtf8(c.text)))
            << c.name;
        EXPECT_EQ(messages.list[0].icon, MessageIcon::Error) << c.name;
        EXPECT_EQ(form.VConstanteProporcionalidad->text(), QStringLiteral("0")) << c.name;
        EXPECT_EQ(form.VConstanteProporcionalidadSignificativa->text(), QStringLiteral("keep")) << c.name;
        EXPECT_EQ(real.ValorConstanteProporcionalidad->text(), QStringLiteral("7")) << c.name;
        EXPECT_TRUE(form.isVisible()) << c.name;
    }
}

TEST_F(Unit3, ReopeningResetsAllButTheSignificantResult) {
    form.VDensidadAire->setEditText(QStringLiteral("2"));
    form.VCoeficienteArrastre->setCurrentIndex(0);
    form.VRadioProyectil->setText(QStringLiteral("9"));
    form.VPi->setText(QStringLiteral("3"));
    form.CalularConstante->click();
    const QString significant = form.VConstanteProporcionalidadSignificativa->text();
    form.Salir->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(real.focusWidget(), real.VTiempoIteraciones);

    form.ShowModal();
    EXPECT_EQ(form.VDensidadAire->currentText(), QStringLiteral("1.0556"));
    EXPECT_EQ(form.VDensidadAire->currentIndex(), 6);
    EXPECT_EQ(form.VCoeficienteArrastre->currentText(), QStringLiteral("0.5"));
    EXPECT_EQ(form.VRadioProyectil->text(), QStringLiteral("0"));
    EXPECT_EQ(form.VPi->text(), QStringLiteral("3.14159265358979323846"));
    EXPECT_EQ(form.VConstanteProporcionalidad->text(), QStringLiteral("0"));
    EXPECT_EQ(form.VConstanteProporcionalidadSignificativa->text(), significant);
    EXPECT_EQ(form.focusWidget(), form.VDensidadAire);
}

TEST_F(Unit3, DiameterZeroGivesZeroInBothForms) {
    form.CalularConstante->click();
    EXPECT_EQ(form.VConstanteProporcionalidad->text(), QStringLiteral("0.000000000000000"));
    EXPECT_EQ(form.VConstanteProporcionalidadSignificativa->text(), QStringLiteral("0"));
}

TEST_F(Unit3, ClosePictureMovesTheFocusToTheTimeStep) {
    real.ValorMasa->setFocus();
    QTest::mouseClick(form.Cerrar, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(real.focusWidget(), real.VTiempoIteraciones);
}

TEST_F(Unit3, HelpButtonsShowTheirTexts) {
    const std::pair<QPushButton*, std::string> cases[] = {
        {form.BAyudaDensidadAire, AyudaDensidadAire()},
        {form.BAyudaCoeficienteArrastre, AyudaCoeficienteArrastre()},
        {form.BAyudaRadioProyectil, AyudaRadioProyectil()},
        {form.BAyudaValorPi, AyudaValorPi()},
    };
    for (const auto& [button, text] : cases) {
        messages.list.clear();
        button->click();
        ASSERT_EQ(messages.list.size(), 1u);
        EXPECT_EQ(messages.list[0].text.toStdString(), text);
        EXPECT_EQ(messages.list[0].caption, QStringLiteral("KORVO"));
        EXPECT_EQ(messages.list[0].icon, MessageIcon::NoIcon);
        EXPECT_EQ(button->text(), QStringLiteral("<- ?"));
    }
}

TEST_F(Unit3, TabVisitsEachHelpButtonRightAfterItsField) {
    const QList<QWidget*> expected = {form.VDensidadAire,
                                      form.BAyudaDensidadAire,
                                      form.VCoeficienteArrastre,
                                      form.BAyudaCoeficienteArrastre,
                                      form.VRadioProyectil,
                                      form.BAyudaRadioProyectil,
                                      form.VPi,
                                      form.BAyudaValorPi,
                                      form.CalularConstante,
                                      form.Salir};
    QList<QWidget*> visited;
    for (QWidget* at = form.VDensidadAire; visited.size() < expected.size(); at = at->nextInFocusChain())
        if (expected.contains(at) && !visited.contains(at))
            visited.push_back(at);
    EXPECT_EQ(visited, expected);
}

TEST_F(Unit3, ListsHoldTheirItemsAndTheButtonsTheirAccelerators) {
    EXPECT_EQ(form.VDensidadAire->count(), 14);
    EXPECT_EQ(form.VCoeficienteArrastre->count(), 10);
    EXPECT_TRUE(form.VDensidadAire->isEditable());
    EXPECT_EQ(form.CalularConstante->shortcut(), QKeySequence(QStringLiteral("Alt+C")));
    EXPECT_EQ(form.Salir->shortcut(), QKeySequence(QStringLiteral("Alt+S")));
    EXPECT_TRUE(form.VConstanteProporcionalidad->isReadOnly());
    EXPECT_EQ(form.VConstanteProporcionalidad->palette().color(QPalette::Base), QColor(255, 249, 230));
}

} // namespace
} // namespace korvo

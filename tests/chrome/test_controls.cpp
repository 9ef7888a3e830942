// SPDX-License-Identifier: GPL-3.0-or-later

// The displays that never show a cut number, and the keys every window
// shares: an Alt letter that no enabled button takes, and Escape over an open
// drop-down list.
#include "GuiTest.h"
#include "chrome/Controls.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace korvo {
namespace {

QFont DisplayFont() {
    return WindowFont(QStringLiteral("Arial"), 8, true);
}

TEST(DisplayField, AWideNumberKeepsItsExponentAndItsWholeText) {
    test::Application();
    QWidget window;
    auto* field = static_cast<TDisplayField*>(
        MakeField(&window, QStringLiteral("ValorVx"), {0, 0, 52, 18}, QString(), DisplayFont(), true));
    const QString huge = QStringLiteral("1") + QString(4000, QLatin1Char('0')) + QStringLiteral(",000");
    struct Case {
        QString text;
        QString shownEnd; // how the shown text ends
    };
    for (const Case& c : {Case{QStringLiteral("1,67874002847E-10"), QStringLiteral("E-10")},
                          Case{QStringLiteral("-1,23456789012345E-4000"), QStringLiteral("E-4000")},
                          Case{huge, QStringLiteral("E4000")}}) {
        ShowText(field, c.text);
        const QString shown = field->ShownText();
        EXPECT_TRUE(shown.endsWith(c.shownEnd)) << shown.toStdString();
        EXPECT_LE(field->fontMetrics().horizontalAdvance(shown), field->width() - 4) << shown.toStdString();
        EXPECT_EQ(field->text(), c.text);
        EXPECT_EQ(field->toolTip(), c.text);
        field->selectAll();
        QTest::keySequence(field, QKeySequence::Copy);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.text);
    }
    for (const QString& fits : {QStringLiteral("INF"), QStringLiteral("NAN"), QStringLiteral("3481")}) {
        ShowText(field, fits);
        EXPECT_EQ(field->ShownText(), fits);
        EXPECT_TRUE(field->toolTip().isEmpty());
    }
}

TEST(DisplayField, APanelShowsAFittedCaption) {
    test::Application();
    QLabel panel;
    panel.setFont(DisplayFont());
    panel.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel.resize(100, 20);
    const QString huge = QStringLiteral("1") + QString(4000, QLatin1Char('0')) + QStringLiteral(",000 m.");
    ShowFittedText(&panel, huge);
    EXPECT_EQ(panel.text(), QStringLiteral("1E4000 m."));
    EXPECT_EQ(panel.toolTip(), huge);
    ShowFittedText(&panel, QStringLiteral("91,201 m."));
    EXPECT_EQ(panel.text(), QStringLiteral("91,201 m."));
    EXPECT_TRUE(panel.toolTip().isEmpty());
}

class Keys : public ::testing::Test {
protected:
    Keys() {
        field->setGeometry(10, 30, 80, 20);
        list->setGeometry(10, 60, 80, 20);
        list->setEditable(true);
        list->addItems({QStringLiteral("1.0556"), QStringLiteral("1.2")});
        window.ShowModal();
        QApplication::setActiveWindow(&window);
        field->setFocus();
    }

    QApplication& application = test::Application(); // before any widget
    TChromeWindow window{{QString(), QStringLiteral("Prueba"), {200, 120}, 0, 150, 180}};
    QLineEdit* field = new QLineEdit(QStringLiteral("340"), &window);
    QComboBox* list = new QComboBox(&window);
    QPushButton* button = new QPushButton(QStringLiteral("&Resultados"), &window);
};

TEST_F(Keys, TheAltLetterOfADisabledButtonIsNeverTyped) {
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    button->setEnabled(false);
    QTest::keyClick(window.windowHandle(), Qt::Key_R, Qt::AltModifier);
    QTest::keyClick(window.windowHandle(), Qt::Key_G, Qt::AltModifier); // no control's letter
    EXPECT_EQ(field->text(), QStringLiteral("340"));
    list->setFocus();
    QTest::keyClick(window.windowHandle(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(list->currentText(), QStringLiteral("1.0556"));
    EXPECT_EQ(clicks, 0);

    button->setEnabled(true);
    QTest::keyClick(window.windowHandle(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; })); // after the press animation
    // Plain letters and AltGr letters (Ctrl+Alt on some desktops) are still typed.
    field->setFocus();
    QTest::keyClick(window.windowHandle(), Qt::Key_5);
    QTest::keyClick(window.windowHandle(), Qt::Key_At, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(field->text().startsWith(QStringLiteral("340")));
    EXPECT_TRUE(field->text().contains(QLatin1Char('5')));
}

TEST_F(Keys, EscapeClosesAnOpenListBeforeTheWindow) {
    list->setFocus();
    list->showPopup();
    ASSERT_TRUE(QApplication::activePopupWidget());
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(QApplication::activePopupWidget());
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace korvo

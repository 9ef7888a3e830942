// SPDX-License-Identifier: GPL-3.0-or-later

// The keyboard and assistive technology: the main window's focus order, focus
// mark and keys; clickable labels and charts as assistive technology sees them;
// and a whole session with key events alone, from the main window through a
// default run, its results, both files and back to the end of the program.
#include "GuiTest.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit8.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit6.h"
#include "ballistics/Unit7.h"
#include "chrome/Accessibility.h"

#include <QAccessible>
#include <QApplication>
#include <QChartView>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace korvo {
namespace {

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        test::Application();
        CreateWindows();
        Form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    }
    void TearDown() override { DestroyWindows(); }

    // The window that gets the keys: an open menu, else the modal window on
    // top, else the main window. The offscreen platform has no window manager
    // to hand the focus back when a window closes, so this does it, as one would.
    static QWidget* KeyWindow() {
        if (QWidget* popup = QApplication::activePopupWidget())
            return popup;
        QWidget* top = QApplication::activeModalWidget();
        if (!top || !top->isVisible())
            top = Form1;
        if (!top->isActiveWindow()) {
            top->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(top));
        }
        return top;
    }

    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(KeyWindow()->windowHandle(), key, modifiers);
    }

    // Opens the focus widget's context menu with `key`, moves down to the entry
    // `entry` and presses Enter, from inside the menu's own event loop.
    static void ChooseFromContextMenu(const QString& entry, Qt::Key key,
                                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTimer poll;
        int waited = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) {
                if (++waited > 100)
                    poll.stop();
                return;
            }
            poll.stop();
            for (int i = 0; i < 10 && !(menu->activeAction() && menu->activeAction()->text() == entry); ++i)
                Press(Qt::Key_Down);
            EXPECT_EQ(menu->activeAction() ? menu->activeAction()->text() : QString(), entry);
            Press(menu->activeAction() && menu->activeAction()->text() == entry ? Qt::Key_Return
                                                                                : Qt::Key_Escape);
        });
        poll.start(20);
        Press(key, modifiers);
        QTest::qWait(50);
    }
};

TEST_F(Keyboard, MainWindowTabsAcrossItsLabelsAndPicturesWithAVisibleMark) {
    TClickLabel* const order[] = {Form1->Label1, Form1->Label2,    Form1->Label3,
                                  Form1->Label4, Form1->Minimizar, Form1->Cerrar};
    EXPECT_EQ(QApplication::focusWidget(), Form1->Label3) << "the focus starts on the real trajectory";
    const QImage marked = Form1->Label3->grab().toImage();
    Form1->Label1->setFocus();
    for (std::size_t i = 1; i < std::size(order); ++i) {
        Press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << i;
    }
    for (std::size_t i = std::size(order) - 1; i > 0; --i) {
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), order[i - 1]) << i;
    }
    EXPECT_NE(Form1->Label3->grab().toImage(), marked) << "no focus mark";

    // Enter and Space activate the label in focus; the captions stay as designed.
    Form1->Label4->setFocus();
    Press(Qt::Key_Return);
    EXPECT_TRUE(Form8->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Form8->isVisible());
    Press(Qt::Key_Space);
    EXPECT_TRUE(Form8->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_EQ(Form1->Label4->text(), QStringLiteral("Acerca del Programa..."));

    // The shortcuts, named in the tooltips.
    Press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(Form7->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Form7->isVisible());
    EXPECT_TRUE(Form1->Label2->toolTip().contains(QStringLiteral("Ctrl+I")));
    EXPECT_TRUE(Form1->Label3->toolTip().contains(QStringLiteral("Ctrl+R")));
}

TEST_F(Keyboard, ClickableLabelsAreButtonsAndChartsDescribeThemselves) {
    const struct {
        QWidget* label;
        const char* name;
    } buttons[] = {{Form1->Label1, "Salir del Programa"},
                   {Form1->Label2, "Calcular Trayectoria Ideal"},
                   {Form1->Label3, "Calcular Trayectoria Real"},
                   {Form1->Label4, "Acerca del Programa..."},
                   {Form1->Minimizar, "Minimizar"},
                   {Form1->Cerrar, "Cerrar"},
                   {Form2->Cerrar, "Cerrar"},
                   {Form8->Cerrar, "Cerrar"}};
    for (const auto& button : buttons) {
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(button.label);
        ASSERT_NE(access, nullptr) << button.name;
        EXPECT_EQ(access->role(), QAccessible::Button) << button.name;
        EXPECT_EQ(access->text(QAccessible::Name), QString::fromUtf8(button.name));
        ASSERT_NE(access->actionInterface(), nullptr) << button.name;
        EXPECT_TRUE(
            access->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    // The press action clicks.
    QSignalSpy clicked(Form1->Label4, &TClickLabel::clicked);
    QAccessible::queryAccessibleInterface(Form1->Label4)
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicked.count(), 1);
    Form8->close();

    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(Form2->Chart1);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_TRUE(chart->text(QAccessible::Description).startsWith(QStringLiteral("Altura Y en metros")));
    EXPECT_TRUE(chart->text(QAccessible::Description).endsWith(QStringLiteral("Sin puntos todavía.")));
}

// Done when: without touching the mouse, a user starts KORVO, runs the default
// real trajectory, saves both files and closes the program.
TEST_F(Keyboard, AWholeSessionWithKeysAlone) {
    test::RecordedMessages messages;
    test::TemporaryCurrentDirectory directory;
    QSignalSpy ended(Form1, &TForm1::closed);

    Press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(Form2->isVisible());
    Press(Qt::Key_P, Qt::AltModifier); // "Iniciar &Proceso"
    ASSERT_TRUE(QTest::qWaitFor([] { return Form2->State() == TForm2::RunState::Finished; }, 60000));
    ASSERT_FALSE(messages.list.empty());
    EXPECT_EQ(messages.list.back().text, QStringLiteral("Proceso Finalizado."));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(Form2->Chart1)
                    ->text(QAccessible::Description)
                    .endsWith(QStringLiteral("(3481 puntos).")));

    // The focus is on "&Resultados": Space opens the results, Escape closes them.
    EXPECT_EQ(QApplication::focusWidget(), Form2->Resultados);
    Press(Qt::Key_Space);
    ASSERT_TRUE(Form6->isVisible());
    EXPECT_EQ(Form6->TotalIteraciones->text(), QStringLiteral("3481"));
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Form6->isVisible());

    // Back to the table (the disabled "Iniciar &Proceso" is passed over); the
    // Menu key opens its menu: "Exportar datos a Excel".
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), Form2->ListView1);
    messages.list.clear();
    ChooseFromContextMenu(QStringLiteral("Exportar datos a Excel"), Qt::Key_Menu);
    EXPECT_TRUE(QFileInfo(QStringLiteral("DatosTrayectoriaRealCalculada.xls")).size() > 0);
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));

    // Shift+Tab leaves the table for the chart; Shift+F10 opens its menu.
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), Form2->Chart1);
    messages.list.clear();
    ChooseFromContextMenu(QStringLiteral("Guardar Grafico a Imagen BMP"), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(QFileInfo(QStringLiteral("GraficoTrayectoriaReal.bmp")).size() > 0);
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Archivo Generado Exitosamente"));

    // "&Salir", then from the main window's "Calcular Trayectoria Real" back to
    // "Salir del Programa", which ends the program.
    Press(Qt::Key_S, Qt::AltModifier); // a mnemonic clicks after its short press animation
    EXPECT_TRUE(QTest::qWaitFor([] { return !Form2->isVisible(); }));
    EXPECT_EQ(Form1->focusWidget(), Form1->Label3);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), Form1->Label1);
    Press(Qt::Key_Return);
    EXPECT_EQ(ended.count(), 1);
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// How a window's parts are named for a screen reader, in the layouts the
// windows use, so that a field added to a window is named without more ado.
// (What reaches a screen reader through the desktop's bus is checked by
// tests/app/accessibility_bus.py.)
#include "GuiTest.h"
#include "chrome/Accessibility.h"
#include "chrome/Chrome.h"
#include "chrome/Controls.h"

#include <QAccessible>
#include <QComboBox>
#include <QTableView>
#include <gtest/gtest.h>

namespace korvo {
namespace {

QString Heard(QWidget* widget, QAccessible::Text kind = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

TEST(Accessibility, FieldsAreNamedByTheirCaptionsAndDescribedByTheirUnits) {
    test::Application();
    TChromeWindow window({.windowTitle = QStringLiteral("Título"),
                          .stripText = QStringLiteral(" Ventana de prueba "),
                          .clientSize = {400, 300},
                          .stripTextWidth = 200,
                          .cerrarLeft = 380});
    const QFont font = WindowFont(QStringLiteral("MS Sans Serif"), 8);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    // A caption before its field, a unit after it.
    MakeLabel(&window, QStringLiteral("Vo:"), {2, 31, 20, 14}, font, right);
    QLineEdit* vo =
        MakeField(&window, QStringLiteral("Vo"), {24, 29, 47, 18}, QStringLiteral("340"), font, false);
    MakeLabel(&window, QStringLiteral("m/s"), {75, 31, 100, 14}, font);
    // Two displays on a row: the first one's unit is not the second one's caption.
    auto* group =
        MakeGroup(&window, QStringLiteral("Grupo"), QStringLiteral(" Vx y Vy: "), {3, 50, 215, 42}, font);
    QLineEdit* pair[2];
    for (int i = 0; i < 2; ++i) {
        const int left = i == 0 ? 28 : 130;
        MakeLabel(group, i == 0 ? QStringLiteral("Vx:") : QStringLiteral("Vy:"), {left - 26, 19, 24, 14},
                  font, right);
        pair[i] = MakeField(group, QStringLiteral("V%1").arg(i), {left, 17, 52, 18}, QString(), font, true);
        MakeLabel(group, QStringLiteral("m/s"), {left + 55, 19, 24, 14}, font);
    }
    // A caption in two labels before an editable list.
    MakeLabel(&window, QStringLiteral("P"), {10, 101, 0, 0}, font);
    MakeLabel(&window, QStringLiteral("(Densidad   del Aire):"), {27, 101, 0, 0}, font);
    auto* list = new QComboBox(&window);
    list->setEditable(true);
    list->setGeometry(205, 98, 145, 21);
    // A caption above its field; and a field that the window named itself.
    MakeLabel(&window, QStringLiteral("Ley de arrastre:"), {10, 125, 0, 0}, font);
    QLineEdit* below = MakeField(&window, QStringLiteral("Ley"), {10, 142, 100, 18}, QString(), font, false);
    QLineEdit* own = MakeField(&window, QStringLiteral("Own"), {10, 170, 100, 18}, QString(), font, false);
    own->setAccessibleName(QStringLiteral("Nombre propio"));
    // A value panel, and a table in a frame.
    MakeLabel(&window, QStringLiteral("Total de Iteraciones:"), {200, 200, 0, 0}, font);
    TValuePanel* panel =
        MakePanel(&window, QStringLiteral("Total"), {330, 197, 60, 20}, QStringLiteral("0"), font);
    auto* frame = MakeGroup(&window, QStringLiteral("Tabla"), QStringLiteral(" Tabla de Valores: "),
                            {3, 220, 300, 70}, font);
    auto* table = new QTableView(frame);
    auto* picture = new QLabel(&window);
    picture->setPixmap(ClosePicture());
    window.ShowModal();

    EXPECT_EQ(Heard(vo), QStringLiteral("Vo:"));
    EXPECT_EQ(Heard(vo, QAccessible::Description), QStringLiteral("m/s"));
    EXPECT_EQ(Heard(pair[0]), QStringLiteral("Vx:"));
    EXPECT_EQ(Heard(pair[1]), QStringLiteral("Vy:"));
    EXPECT_EQ(Heard(pair[1], QAccessible::Description), QStringLiteral("m/s"));
    EXPECT_EQ(list->accessibleName(), QStringLiteral("P (Densidad del Aire):"));
    EXPECT_EQ(Heard(list->lineEdit()), QStringLiteral("P (Densidad del Aire):"));
    // A list is announced by its "labelled by" relation: both labels.
    const auto labels = QAccessible::queryAccessibleInterface(list)->relations(QAccessible::Label);
    EXPECT_EQ(labels.size(), 2);
    EXPECT_EQ(Heard(below), QStringLiteral("Ley de arrastre:"));
    EXPECT_EQ(Heard(own), QStringLiteral("Nombre propio"));
    EXPECT_EQ(Heard(table), QStringLiteral("Tabla de Valores:"));

    // The panel says its caption and the value it shows now.
    ShowFittedText(panel, QStringLiteral("3481"));
    EXPECT_EQ(Heard(panel), QStringLiteral("Total de Iteraciones: 3481"));

    // The window is named by its strip; the picture is left out, the close glyph is a button.
    QAccessibleInterface* presented = QAccessible::queryAccessibleInterface(&window);
    EXPECT_EQ(presented->role(), QAccessible::Window);
    EXPECT_EQ(presented->text(QAccessible::Name), QStringLiteral("Ventana de prueba"));
    bool cerrar = false;
    for (int i = 0; i < presented->childCount(); ++i) {
        QObject* child = presented->child(i)->object();
        EXPECT_NE(child, picture);
        EXPECT_NE(child, window.Titulo);
        EXPECT_NE(child, window.Shape1);
        EXPECT_EQ(presented->indexOfChild(presented->child(i)), i);
        cerrar = cerrar || child == window.Cerrar;
    }
    EXPECT_TRUE(cerrar);
    QAccessibleInterface* glyph = QAccessible::queryAccessibleInterface(window.Cerrar);
    EXPECT_EQ(glyph->role(), QAccessible::Button);
    EXPECT_TRUE(glyph->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    window.close();
}

} // namespace
} // namespace korvo

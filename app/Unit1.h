// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The main window: full screen, a title strip with the four menu labels over
// their gradient pictures, the minimise and close pictures at the right end of
// the strip, the logo in the middle and a status strip at the bottom. It is
// the only way into the calculators and cannot be moved.
//
// Keyboard: Tab and Shift+Tab move a dotted focus mark across the four labels
// and the two pictures, left to right (the focus starts on "Calcular
// Trayectoria Real"); Enter or Space activates the one in focus. Ctrl+R opens
// the real trajectory, Ctrl+I the ideal trajectory and F1 the manual; each
// label's tooltip names its key. The captions are those of the design.
#include "chrome/Chrome.h"

#include <QWidget>

namespace korvo {

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    TTitleStrip* Titulo;
    QLabel* Status;
    QLabel* Menu;        // Label1's picture
    QLabel* Image1;      // Label2's picture
    QLabel* Image2;      // Label3's picture
    QLabel* Image4;      // Label4's picture
    TClickLabel* Label1; // "Salir del Programa"
    TClickLabel* Label2; // "Calcular Trayectoria Ideal"
    TClickLabel* Label3; // "Calcular Trayectoria Real"
    TClickLabel* Label4; // "Acerca del Programa..."
    TClickLabel* Minimizar;
    TClickLabel* Cerrar;
    QLabel* Image3; // the logo

    void Label2Click();
    void Label3Click();
    void Label4Click();

signals:
    // The main window has closed: the program ends.
    void closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Focus order, focus mark, Enter and Space, the shortcuts and the tooltips.
    void SetUpKeyboard();
    // Full screen, and the two pictures at the right end of the strip.
    void PlaceOnScreen();
};

extern TForm1* Form1;

} // namespace korvo

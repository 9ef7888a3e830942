// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window chrome that every KORVO window shares: no system frame, a drawn
// title strip ("Titulo") that moves the window, the strip text ("Label1"), a
// drawn close picture ("Cerrar") that hides the window, and a white panel with
// a black outline ("Shape1") under the window's controls. F1 opens the manual
// at the window's section (chrome/HelpWindow.h) and Escape closes the window as
// its close picture does, once any open drop-down list or menu is closed. An
// Alt+letter that no enabled shortcut takes does nothing (it is never typed).
//
// Controls are placed in window coordinates (the strip occupies rows 0 to 20),
// as children of the window created after the chrome, so they lie on Shape1.
//
//   class TForm6 : public korvo::TChromeWindow {
//       TForm6() : TChromeWindow({"Resultados Obtenidos", "Resultados Obtenidos",
//                                 {267, 137}, 0, 138, 247}) { ... }
//       void OnShowing() override { ... }   // the window's showing step
//   };
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

namespace korvo {

QPixmap TitleStripPicture(); // 1 x 21: #9c0607, #4b0706 .. #bd0608, #5e0302, #9c0607
QPixmap MenuStripPicture();  // bright red at the top, black in the middle, bright red at the bottom
QPixmap ClosePicture();      // 16 x 15, a cross on a light button face
QPixmap MinimizePicture();   // 16 x 15, an underscore on a light button face

// The windows ask for "Arial" and "MS Sans Serif"; both are mapped to a
// metric-compatible family so that the laid-out sizes hold.
void InstallFontSubstitutions();

// A font of the given family, point size and weight.
QFont WindowFont(const QString& family, int pointSize, bool bold = false);

// A label that reports a left click; the menu labels and the drawn pictures.
class TClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The title strip. How it moves its window: on a press of any button, on
// pointer motion with the left button held (the about window), or never (the
// main window).
class TTitleStrip : public QLabel {
    Q_OBJECT
public:
    enum class Move { OnPress, OnPointerMotion, Never };
    TTitleStrip(Move move, QWidget* parent);
signals:
    // Emitted each time the strip asks the window system for an interactive move.
    void moveRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void RequestMove();
    Move move_;
    bool moveRequestedSincePress_ = false;
};

struct ChromeSettings {
    QString windowTitle;
    QString stripText;
    QSize clientSize;
    int stripTextLeft = 0;
    int stripTextWidth = 0;
    int cerrarLeft = 0;
    QString stripFontFamily = QStringLiteral("MS Sans Serif");
    TTitleStrip::Move move = TTitleStrip::Move::OnPress;
    // The anchor of the manual's section about the window, where F1 opens it;
    // empty for the manual's beginning.
    QString manualSection = QString();
};

class TChromeWindow : public QWidget {
    Q_OBJECT
public:
    explicit TChromeWindow(const ChromeSettings& settings, QWidget* parent = nullptr);

    // Shows the window application-modally (the windows under it take no input
    // until it closes) and returns at once; centred on the desktop the first time.
    void ShowModal();

    // Moves the window to `at` (top left, in desktop coordinates); it is then
    // no longer centred at its first showing.
    void Place(const QPoint& at);

    TTitleStrip* Titulo;
    QLabel* Label1;
    TClickLabel* Cerrar;
    QFrame* Shape1;

protected:
    // The window's own showing step, run every time it is shown.
    virtual void OnShowing() {}
    // Run after the window has been closed (hidden) by any means.
    virtual void OnClosed() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool centred_ = false;
};

} // namespace korvo

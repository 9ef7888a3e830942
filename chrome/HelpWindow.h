// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The manual, built into the program, in a window of its own beside the
// others: F1 from any window opens it, or raises it, at the section about that
// window, and the user can go on working in the other windows while it is open
// (a window waiting for its answer does not block it). It can be resized from
// its lower right corner and keeps its size from one session to the next.
//
//   ShowManual(Form2);   // the manual, scrolled to "trayectoria-real"
//
// The manual is docs/manual.html with its pictures, compiled in as the resource
// ":/docs/manual.html"; every picture is drawn at its own size, and a screen
// that doubles its pixels takes the picture's "@2x" version when there is one.
// Each window declares its section (ChromeSettings::manualSection, or
// SetManualSection); a window without one opens the manual at its beginning.
#include "chrome/Chrome.h"

#include <QString>
#include <QUrl>

class QSizeGrip;
class QTextBrowser;

namespace korvo {

// Where the manual lives inside the program.
inline const QUrl kManualUrl = QUrl(QStringLiteral("qrc:/docs/manual.html"));

// Declares the anchor of the section that explains `window`.
void SetManualSection(QWidget* window, const QString& anchor);

// Whether `window` declared a section of its own.
bool DeclaresManualSection(const QWidget* window);

// The anchor of the section that explains the window `widget` belongs to
// ("ventana-principal" for the main window, "trayectoria-real" for the
// real-trajectory window, ...), or "inicio".
QString ManualSection(const QWidget* widget);

// Where a window of `size` goes beside `window` on `screen` (all in desktop
// coordinates): to its right, else to its left, with a small gap; where it fits
// on neither side, against the edge of the screen on the side with more room, so
// that it covers as little of the window as it can. Top aligned with the window,
// within the screen.
QPoint PlaceBeside(const QRect& window, const QSize& size, const QRect& screen);

class THelpWindow : public TChromeWindow {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows the manual scrolled to the section with the given anchor; at its
    // first showing, beside `from` (the window F1 was pressed in), so that the
    // reader can try what it explains.
    void ShowSection(const QString& anchor, const QWidget* from = nullptr);

    QTextBrowser* Browser;
    QSizeGrip* Grip;

    // The size of the first showing, before the user resizes the window: wide
    // enough for the widest picture (the case-analysis window, 900 pixels)
    // with the text's margins and the scroll bar, so that no picture is cut at
    // the right.
    static constexpr QSize kDefaultSize{964, 660};

protected:
    void resizeEvent(QResizeEvent* event) override;
    void OnClosed() override;

private:
    bool placed_ = false;
};

// The one help window, made on first use.
THelpWindow* ManualWindow();

// Opens the manual, or raises it, at the section of the window `from` belongs to.
void ShowManual(QWidget* from);

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "chrome/HelpWindow.h"

#include <QGuiApplication>
#include <QPointer>
#include <QResizeEvent>
#include <QSettings>
#include <QSizeGrip>
#include <QTextBrowser>
#include <QWindow>

namespace korvo {
namespace {

const char* const kSectionProperty = "korvoManualSection";
const QString kSizeKey = QStringLiteral("manual/size");

// Where the window's size is kept between sessions.
QSettings Settings() {
    return QSettings(QStringLiteral("Korvatek"), QStringLiteral("KORVO"));
}

} // namespace

void SetManualSection(QWidget* window, const QString& anchor) {
    window->setProperty(kSectionProperty, anchor);
}

bool DeclaresManualSection(const QWidget* window) {
    return !window->property(kSectionProperty).isNull();
}

QString ManualSection(const QWidget* widget) {
    const QString anchor = widget ? widget->window()->property(kSectionProperty).toString() : QString();
    return anchor.isEmpty() ? QStringLiteral("inicio") : anchor;
}

THelpWindow::THelpWindow(QWidget* parent)
    : TChromeWindow({.windowTitle = QStringLiteral("Manual de KORVO"),
                     .stripText = QStringLiteral("Manual de KORVO"),
                     .clientSize = kDefaultSize,
                     .stripTextLeft = 0,
                     .stripTextWidth = kDefaultSize.width() - 30,
                     .cerrarLeft = kDefaultSize.width() - 22},
                    parent) {
    setObjectName(QStringLiteral("FormManual"));
    setWindowModality(Qt::NonModal);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setFrameShape(QFrame::NoFrame);
    Browser->setOpenExternalLinks(false);
    Browser->setAccessibleName(QStringLiteral("Manual de KORVO"));
    Browser->setSource(kManualUrl);
    Grip = new QSizeGrip(this);
    Grip->setObjectName(QStringLiteral("Grip"));
    Grip->setAccessibleName(QStringLiteral("Cambiar tamaño"));

    setMinimumSize(400, 300);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize kept = Settings().value(kSizeKey).toSize();
    resize(kept.isValid() ? kept.expandedTo(minimumSize()) : kDefaultSize);
}

void THelpWindow::resizeEvent(QResizeEvent* event) {
    TChromeWindow::resizeEvent(event);
    // The chrome is laid out for one size; it follows the window's.
    const int width = event->size().width(), height = event->size().height();
    Titulo->setGeometry(0, 0, width, 21);
    Label1->setGeometry(0, 0, width - 30, 21);
    Cerrar->move(width - 22, 3);
    Shape1->setGeometry(0, 21, width, height - 21);
    Browser->setGeometry(1, 22, width - 2, height - 23);
    const QSize grip = Grip->sizeHint();
    Grip->setGeometry(width - grip.width() - 1, height - grip.height() - 1, grip.width(), grip.height());
    Grip->raise();
}

void THelpWindow::OnClosed() {
    Settings().setValue(kSizeKey, size());
}

void THelpWindow::ShowSection(const QString& anchor) {
    QUrl url = kManualUrl;
    url.setFragment(anchor);
    Browser->setSource(url);
    // A window that waits for its answer blocks every window but its own: the
    // manual becomes one of its own, so that it can be read and scrolled while
    // that window stays open.
    winId(); // the native window, not shown yet
    if (QWindow* handle = windowHandle())
        handle->setTransientParent(QGuiApplication::modalWindow() != handle ? QGuiApplication::modalWindow()
                                                                            : nullptr);
    ShowModal();
    Browser->setFocus();
}

THelpWindow* ManualWindow() {
    static QPointer<THelpWindow> window;
    if (!window)
        window = new THelpWindow();
    return window;
}

void ShowManual(QWidget* from) {
    // F1 inside the manual leaves it where the reader is.
    if (from && qobject_cast<const THelpWindow*>(from->window()))
        return;
    ManualWindow()->ShowSection(ManualSection(from));
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "chrome/HelpWindow.h"

#include <QGuiApplication>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSizeGrip>
#include <QTextBrowser>
#include <QWindow>
#include <algorithm>

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
    // The text reflows to the new width; the reader stays at the line that was
    // at the top, not at the same distance from the beginning.
    const int reading = Browser->cursorForPosition(QPoint(0, 0)).position();
    Browser->setGeometry(1, 22, width - 2, height - 23);
    if (reading > 0) {
        QTextCursor cursor(Browser->document());
        cursor.setPosition(reading);
        QScrollBar* scroll = Browser->verticalScrollBar();
        scroll->setValue(scroll->value() + Browser->cursorRect(cursor).top());
    }
    const QSize grip = Grip->sizeHint();
    Grip->setGeometry(width - grip.width() - 1, height - grip.height() - 1, grip.width(), grip.height());
    Grip->raise();
}

void THelpWindow::OnClosed() {
    Settings().setValue(kSizeKey, size());
}

QPoint PlaceBeside(const QRect& window, const QSize& size, const QRect& screen) {
    constexpr int kGap = 8;
    const int right = window.right() + 1 + kGap, left = window.left() - kGap - size.width();
    int x;
    if (right + size.width() <= screen.right() + 1)
        x = right;
    else if (left >= screen.left())
        x = left;
    else if (screen.right() - window.right() >= window.left() - screen.left())
        x = screen.right() + 1 - size.width();
    else
        x = screen.left();
    const int y = std::max(screen.top(), std::min(window.top(), screen.bottom() + 1 - size.height()));
    return {std::max(screen.left(), x), y};
}

void THelpWindow::ShowSection(const QString& anchor, const QWidget* from) {
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
    const QWidget* beside = from && from->window()->isVisible() ? from->window() : nullptr;
    if (const QScreen* screen = beside ? beside->screen() : QGuiApplication::primaryScreen()) {
        // Never larger than the screen: its close glyph and its corner grip stay
        // in reach (a size kept from a larger screen, or a screen that doubles
        // its pixels, would put them beyond its edge).
        const QRect room = screen->availableGeometry();
        if (!room.isEmpty() && size() != size().boundedTo(room.size()))
            resize(size().boundedTo(room.size()).expandedTo(minimumSize()));
        // At its first showing; afterwards it stays where the reader put it.
        if (!placed_ && beside)
            Place(PlaceBeside(beside->frameGeometry(), frameGeometry().size(), room));
    }
    placed_ = true;
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
    ManualWindow()->ShowSection(ManualSection(from), from);
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "chrome/Chrome.h"

#include "chrome/Accessibility.h"
#include "chrome/HelpWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

namespace korvo {

QPixmap TitleStripPicture() {
    QImage image(1, 21, QImage::Format_RGB32);
    const QColor top(0x4b, 0x07, 0x06), bottom(0xbd, 0x06, 0x08);
    for (int y = 1; y <= 18; ++y) {
        const double f = (y - 1) / 17.0;
        image.setPixelColor(0, y,
                            QColor::fromRgb(qRound(top.red() + f * (bottom.red() - top.red())),
                                            qRound(top.green() + f * (bottom.green() - top.green())),
                                            qRound(top.blue() + f * (bottom.blue() - top.blue()))));
    }
    image.setPixelColor(0, 0, QColor(0x9c, 0x06, 0x07));
    image.setPixelColor(0, 19, QColor(0x5e, 0x03, 0x02));
    image.setPixelColor(0, 20, QColor(0x9c, 0x06, 0x07));
    return QPixmap::fromImage(image);
}

QPixmap MenuStripPicture() {
    QPixmap picture(1, 17);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, 17);
    gradient.setColorAt(0.0, QColor(0xff, 0x10, 0x10));
    gradient.setColorAt(0.5, Qt::black);
    gradient.setColorAt(1.0, QColor(0xff, 0x10, 0x10));
    painter.fillRect(0, 0, 1, 17, gradient);
    return picture;
}

namespace {

QPixmap ButtonFace() {
    QPixmap picture(16, 15);
    picture.fill(QColor(0xec, 0xe9, 0xd8));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, 15, 0);
    painter.drawLine(0, 0, 0, 14);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(15, 0, 15, 14);
    painter.drawLine(0, 14, 15, 14);
    return picture;
}

// The keys every window shares that Qt's own handling gets wrong.
//
// An Alt+letter that no enabled shortcut took (the underlined letter of a
// disabled button, or a letter no control has) would reach the field with the
// focus and be typed into it ("340r"), breaking the next read of that field.
// Ctrl+Alt is left alone: some desktops send AltGr as Ctrl+Alt, and AltGr
// types "@" and "€".
//
// An open drop-down list closes itself when asked whether it wants Escape,
// without taking the key, so the window's Escape shortcut then closes the
// window too. The list is closed here and the key taken, so that a second
// Escape is needed to close the window.
class TWindowKeyGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers held = key->modifiers();
            if ((held & Qt::AltModifier) && !(held & Qt::ControlModifier) && !key->text().isEmpty() &&
                key->text().front().isPrint())
                return true;
        } else if (event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            QWidget* popup = QApplication::activePopupWidget();
            if (popup && key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                popup->close();
                key->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// Installed on the application once, by the first window made (again if the
// application was made anew).
void GuardWindowKeys() {
    static QPointer<TWindowKeyGuard> installed;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || installed)
        return;
    installed = new TWindowKeyGuard(application);
    application->installEventFilter(installed);
}

} // namespace

QPixmap ClosePicture() {
    QPixmap picture = ButtonFace();
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(4, 4, 11, 10);
    painter.drawLine(11, 4, 4, 10);
    return picture;
}

QPixmap MinimizePicture() {
    QPixmap picture = ButtonFace();
    QPainter painter(&picture);
    painter.fillRect(4, 9, 7, 2, Qt::black);
    return picture;
}

void InstallFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
}

QFont WindowFont(const QString& family, int pointSize, bool bold) {
    QFont font(family, pointSize);
    font.setBold(bold);
    return font;
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

TTitleStrip::TTitleStrip(Move move, QWidget* parent) : QLabel(parent), move_(move) {
    setObjectName(QStringLiteral("Titulo"));
    setPixmap(TitleStripPicture());
    setScaledContents(true);
}

void TTitleStrip::RequestMove() {
    emit moveRequested();
    // The press's mouse grab is handed to the window system, which drags the
    // window until the button is released.
    if (QWindow* handle = window()->windowHandle())
        handle->startSystemMove();
}

void TTitleStrip::mousePressEvent(QMouseEvent* event) {
    moveRequestedSincePress_ = false;
    if (move_ == Move::OnPress)
        RequestMove();
    QLabel::mousePressEvent(event);
}

void TTitleStrip::mouseMoveEvent(QMouseEvent* event) {
    // A window system asked to move a window with no button held drags it with
    // the bare pointer until the next click, out of the user's reach. So the
    // move is asked for only with the left button held, and once per press: a
    // second request can reach the window system after the button is released.
    if (move_ == Move::OnPointerMotion && (event->buttons() & Qt::LeftButton) && !moveRequestedSincePress_) {
        moveRequestedSincePress_ = true;
        RequestMove();
    }
    QLabel::mouseMoveEvent(event);
}

TChromeWindow::TChromeWindow(const ChromeSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    // Before anything is presented to a screen reader, which keeps what it was
    // first given.
    InstallKeyboardSupport();
    setWindowTitle(settings.windowTitle);
    SetManualSection(this, settings.manualSection);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(settings.clientSize);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(0, 21, settings.clientSize.width(), settings.clientSize.height() - 21);
    Shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { background: white; border: 1px solid black; }"));

    Titulo = new TTitleStrip(settings.move, this);
    Titulo->setGeometry(0, 0, settings.clientSize.width(), 21);

    Label1 = new QLabel(settings.stripText, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(settings.stripTextLeft, 0, settings.stripTextWidth, 21);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(WindowFont(settings.stripFontFamily, 8, true));
    Label1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    // Presses on the text belong to the strip under it, which moves the window.
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Cerrar = new TClickLabel(this);
    Cerrar->setObjectName(QStringLiteral("Cerrar"));
    Cerrar->setPixmap(ClosePicture());
    Cerrar->setGeometry(settings.cerrarLeft, 3, 16, 15);
    Cerrar->setAccessibleName(QStringLiteral("Cerrar"));
    connect(Cerrar, &TClickLabel::clicked, this, &QWidget::close);

    // Keys beside the pictures: F1 opens the manual at this window's section,
    // Escape closes the window as its close picture does.
    auto* manual = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(manual, &QShortcut::activated, this, [this] { ShowManual(this); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    GuardWindowKeys();
}

void TChromeWindow::Place(const QPoint& at) {
    move(at);
    centred_ = true;
}

void TChromeWindow::ShowModal() {
    if (!centred_) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        centred_ = true;
    }
    show();
    raise();
    activateWindow();
}

void TChromeWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        NameFieldsByTheirCaptions(this);
        OnShowing();
    }
}

void TChromeWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        OnClosed();
}

} // namespace korvo

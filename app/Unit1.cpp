// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Unit1.h"

#include "app/Logo.h"
#include "app/Unit8.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit7.h"
#include "chrome/Accessibility.h"
#include "chrome/HelpWindow.h"
#include "chrome/Messages.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>

namespace korvo {

TForm1* Form1 = nullptr;

namespace {

constexpr int kTitleHeight = 21;
constexpr int kStatusHeight = 22;

QLabel* MakePicture(const QPixmap& picture, QWidget* parent, const QRect& box, bool stretch) {
    auto* label = new QLabel(parent);
    label->setPixmap(picture);
    label->setScaledContents(stretch);
    label->setGeometry(box);
    return label;
}

// A label of the strip that also takes the keyboard focus: Enter or Space
// clicks it, and while it has the focus a dotted rectangle is drawn just inside
// its edge, in the colour of its caption.
class TMenuLabel : public TClickLabel {
public:
    TMenuLabel(const QString& text, QWidget* parent, const QColor& mark)
        : TClickLabel(text, parent), mark_(mark) {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
                event->accept();
                emit clicked();
                return;
            }
            break;
        default:
            break;
        }
        TClickLabel::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent* event) override {
        TClickLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setPen(QPen(mark_, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QColor mark_;
};

TClickLabel* MakeMenuLabel(const QString& text, const QString& name, QWidget* parent, const QRect& box) {
    auto* label = new TMenuLabel(text, parent, Qt::white);
    label->setObjectName(name);
    label->setGeometry(box);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(WindowFont(QStringLiteral("Arial"), 8, true));
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

TClickLabel* MakeGlyph(const QPixmap& picture, const QString& name, QWidget* parent) {
    auto* label = new TMenuLabel(QString(), parent, Qt::black);
    label->setObjectName(name);
    label->setPixmap(picture);
    label->setGeometry(0, 3, 16, 15);
    label->setAccessibleName(name);
    label->setToolTip(name);
    return label;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    // Before any control is made: a screen reader keeps how a control was first
    // presented (the glyphs would stay pictures without a "Press" action).
    InstallKeyboardSupport();
    setObjectName(QStringLiteral("Form1"));
    SetManualSection(this, QStringLiteral("ventana-principal"));
    setWindowTitle(QStringLiteral("Korvatek"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    resize(814, 606);

    Titulo = new TTitleStrip(TTitleStrip::Move::Never, this);
    Status = MakePicture(TitleStripPicture(), this, {}, true);
    Status->setObjectName(QStringLiteral("Status"));
    Image3 = new QLabel(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setPixmap(LogoPicture());
    Image3->setAlignment(Qt::AlignCenter);

    Menu = MakePicture(MenuStripPicture(), this, {0, 2, 110, 17}, true);
    Image1 = MakePicture(MenuStripPicture(), this, {118, 2, 147, 17}, true);
    Image2 = MakePicture(MenuStripPicture(), this, {272, 2, 144, 17}, true);
    Image4 = MakePicture(MenuStripPicture(), this, {422, 2, 135, 17}, true);
    Menu->setObjectName(QStringLiteral("Menu"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2->setObjectName(QStringLiteral("Image2"));
    Image4->setObjectName(QStringLiteral("Image4"));

    Label1 =
        MakeMenuLabel(QStringLiteral("Salir del Programa"), QStringLiteral("Label1"), this, {0, 3, 112, 16});
    Label2 = MakeMenuLabel(QStringLiteral("Calcular Trayectoria Ideal"), QStringLiteral("Label2"), this,
                           {120, 4, 143, 16});
    Label3 = MakeMenuLabel(QStringLiteral("Calcular Trayectoria Real"), QStringLiteral("Label3"), this,
                           {273, 4, 142, 16});
    Label4 = MakeMenuLabel(QStringLiteral("Acerca del Programa..."), QStringLiteral("Label4"), this,
                           {423, 4, 134, 16});
    Minimizar = MakeGlyph(MinimizePicture(), QStringLiteral("Minimizar"), this);
    Cerrar = MakeGlyph(ClosePicture(), QStringLiteral("Cerrar"), this);

    connect(Label1, &TClickLabel::clicked, this, &QWidget::close);
    connect(Cerrar, &TClickLabel::clicked, this, &QWidget::close);
    connect(Label2, &TClickLabel::clicked, this, &TForm1::Label2Click);
    connect(Label3, &TClickLabel::clicked, this, &TForm1::Label3Click);
    connect(Label4, &TClickLabel::clicked, this, &TForm1::Label4Click);
    connect(Minimizar, &TClickLabel::clicked, this, &QWidget::showMinimized);

    SetUpKeyboard();
    PlaceOnScreen();
}

void TForm1::SetUpKeyboard() {
    InstallKeyboardSupport();
    struct Key {
        TClickLabel* label;
        const char* tip;
    };
    const Key keys[] = {
        {Label1, "Salir del Programa (Intro o Espacio con el foco aquí). F1: manual"},
        {Label2, "Calcular Trayectoria Ideal (Ctrl+I)"},
        {Label3, "Calcular Trayectoria Real (Ctrl+R)"},
        {Label4, "Acerca del Programa... (Intro o Espacio con el foco aquí). F1: manual"},
    };
    for (const Key& key : keys) {
        key.label->setAccessibleName(key.label->text());
        key.label->setToolTip(QString::fromUtf8(key.tip));
    }
    QWidget* const order[] = {Label1, Label2, Label3, Label4, Minimizar, Cerrar};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    Label3->setFocus();

    auto* real = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(real, &QShortcut::activated, this, &TForm1::Label3Click);
    auto* ideal = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    connect(ideal, &QShortcut::activated, this, &TForm1::Label2Click);
    auto* manual = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(manual, &QShortcut::activated, this, [this] { ShowManual(this); });
}

void TForm1::PlaceOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(814, 606);
    setGeometry(0, 0, size.width(), size.height());
    setWindowState(windowState() | Qt::WindowMaximized);
    Minimizar->move(size.width() - 40, 3);
    Cerrar->move(size.width() - 20, 3);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Titulo->setGeometry(0, 0, width(), kTitleHeight);
    Status->setGeometry(0, height() - kStatusHeight, width(), kStatusHeight);
    Image3->setGeometry(0, kTitleHeight, width(), height() - kTitleHeight - kStatusHeight);
}

void TForm1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void TForm1::Label2Click() {
    Guarded(this, [&] {
        if (Form7)
            Form7->ShowModal();
    });
}

void TForm1::Label3Click() {
    Guarded(this, [&] {
        if (Form2)
            Form2->ShowModal();
    });
}

void TForm1::Label4Click() {
    Guarded(this, [&] {
        if (Form8)
            Form8->ShowModal();
    });
}

} // namespace korvo

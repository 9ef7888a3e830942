#include "chrome/Controls.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace korvo {

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

std::string ToStdString(const QString& text) {
    return text.toStdString();
}

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

QRect TGroupBox::FrameRect() const {
    const int middle = fontMetrics().height() / 2;
    return QRect(0, middle, width(), height() - middle);
}

QRect TGroupBox::CaptionRect() const {
    const QFontMetrics metrics = fontMetrics();
    return QRect(8, 0, metrics.horizontalAdvance(title()), metrics.height());
}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect caption = CaptionRect();
    painter.setClipRegion(QRegion(rect()) - caption);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRoundedRect(QRectF(FrameRect()).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter.setClipping(false);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title());
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption, const QRect& box,
                     const QFont& font) {
    auto* group = new TGroupBox(caption, parent);
    group->setObjectName(name);
    group->setGeometry(box);
    group->setFont(font);
    return group;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& box, const QFont& font,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setAttribute(Qt::WA_TranslucentBackground);
    if (box.width() > 0) {
        // A right-aligned caption wider than its box (the substituted fonts run
        // a little wider than the designed ones) grows to the left, so that it
        // still ends beside its control and is read in full.
        QRect placed = box;
        const int needed = QFontMetrics(font).horizontalAdvance(text);
        if ((alignment & Qt::AlignRight) && needed > placed.width())
            placed.setLeft(std::max(0, placed.right() + 1 - needed));
        label->setGeometry(placed);
    } else {
        label->move(box.topLeft());
        label->adjustSize();
    }
    return label;
}

QLineEdit* MakeField(QWidget* parent, const QString& name, const QRect& box, const QString& text,
                     const QFont& font, bool readOnly, const QColor& background) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(box);
    field->setFont(font);
    field->setReadOnly(readOnly);
    if (readOnly)
        field->setFocusPolicy(Qt::ClickFocus);
    if (background.isValid()) {
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, background);
        field->setPalette(palette);
    }
    ShowText(field, text);
    return field;
}

void ShowText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& box,
                        const QFont& font, const QColor& textColour) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(box);
    button->setFont(font);
    if (textColour.isValid()) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, textColour);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, textColour);
        button->setPalette(palette);
    }
    return button;
}

QFrame* MakeSeparator(QWidget* parent, int top) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(1, top, parent->width() - 2, 2);
    return line;
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "chrome/Controls.h"

#include "chrome/ShortNumberText.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFrame>
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

QString FittedText(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const std::vector<std::string> shorter = ShorterNumberTexts(ToStdString(text));
    for (const std::string& candidate : shorter)
        if (metrics.horizontalAdvance(ToQString(candidate)) <= width)
            return ToQString(candidate);
    return shorter.empty() ? text : ToQString(shorter.back());
}

TDisplayField::TDisplayField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        fitted_ = false;
        update();
    });
}

QString TDisplayField::ShownText() {
    Refit();
    return shorter_.isEmpty() ? text() : shorter_;
}

bool TDisplayField::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip)
        Refit();
    return QLineEdit::event(event);
}

QRect TDisplayField::TextRect() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    // The line edit keeps two pixels on each side of its text.
    constexpr int kSideMargin = 2;
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, this)
        .marginsRemoved(textMargins())
        .adjusted(kSideMargin, 0, -kSideMargin, 0);
}

void TDisplayField::Refit() {
    if (fitted_)
        return;
    fitted_ = true;
    const QString fitted = FittedText(text(), fontMetrics(), TextRect().width());
    shorter_ = fitted == text() ? QString() : fitted;
    setToolTip(shorter_.isEmpty() ? QString() : text());
}

void TDisplayField::paintEvent(QPaintEvent* event) {
    Refit();
    if (shorter_.isEmpty()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(TextRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shorter_);
}

void TDisplayField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    fitted_ = false;
}

void TDisplayField::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitted_ = false;
}

void TDisplayField::CopyWhole() const {
    QGuiApplication::clipboard()->setText(text());
}

void TDisplayField::keyPressEvent(QKeyEvent* event) {
    // Part of a shortened text would be part of another number: the whole text
    // is copied.
    Refit();
    if (!shorter_.isEmpty() && event->matches(QKeySequence::Copy)) {
        CopyWhole();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDisplayField::contextMenuEvent(QContextMenuEvent* event) {
    Refit();
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!shorter_.isEmpty()) {
        for (QAction* action : menu->actions()) {
            if (action->objectName() != QLatin1String("edit-copy"))
                continue;
            action->disconnect();
            action->setEnabled(true);
            connect(action, &QAction::triggered, this, &TDisplayField::CopyWhole);
        }
    }
    menu->popup(event->globalPos());
}

TValuePanel::TValuePanel(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
}

TValuePanel* MakePanel(QWidget* parent, const QString& name, const QRect& box, const QString& text,
                       const QFont& font) {
    // The text is set once the panel is whole: a screen reader is given a
    // control as it is when first asked about it.
    auto* panel = new TValuePanel(parent);
    panel->setObjectName(name);
    panel->setGeometry(box);
    panel->setFont(font);
    panel->setText(text);
    return panel;
}

void ShowFittedText(QLabel* panel, const QString& text) {
    const QString fitted =
        FittedText(text, panel->fontMetrics(), panel->contentsRect().width() - 2 * panel->margin());
    panel->setText(fitted);
    panel->setToolTip(fitted == text ? QString() : text);
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
    auto* field = readOnly ? new TDisplayField(parent) : new QLineEdit(parent);
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

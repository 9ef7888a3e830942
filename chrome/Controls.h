// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The control makers every calculator window builds its controls with, and the
// group box they sit in. The parent comes first, then the object name where the
// control has one, the caption or text, the box and the font.
//
//   auto* group = MakeGroup(TabSheet1, "GroupBox1", " Datos Iniciales ", {4, 2, 196, 113}, bold);
//   MakeLabel(group, "Angulo de Disparo:", {4, 35, 116, 14}, normal, Qt::AlignRight | Qt::AlignVCenter);
//   Angulo = MakeField(group, "Angulo", {123, 33, 31, 18}, "78", normal, false);
//
// Boxes are in the parent's coordinates (for a window, the title strip takes
// rows 0 to 20). A label box with no size takes its text's size, and a
// right-aligned caption wider than its box grows to the left.
#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <string>

class QFontMetrics;
class QFrame;
class QPushButton;
class QWidget;

namespace korvo {

QString ToQString(const std::string& text);
std::string ToStdString(const QString& text);

// A group box whose caption sits on the frame's top line, the line running
// through the middle of the caption, so that controls placed 14 pixels down
// lie inside the frame. (The toolkit's own style puts the caption above a frame
// that starts below it, which cuts through controls placed that high.) The
// caption's leading and trailing blanks keep the line away from its text.
class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    TGroupBox(const QString& caption, QWidget* parent);

    // In the box's own coordinates: the frame's outer edge, and the caption.
    QRect FrameRect() const;
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A read-only display that never shows a number cut at its edge. Its text()
// stays the whole text; while that is wider than the display, it shows the
// longest shorter writing that fits (fewer digits, the exponent kept, see
// ShorterNumberTexts), gives the whole text in its tooltip, and copies the
// whole text (Ctrl+C and the context menu's copy).
class TDisplayField : public QLineEdit {
    Q_OBJECT
public:
    explicit TDisplayField(QWidget* parent);

    // The text painted: the whole text, or the shorter writing shown instead.
    QString ShownText();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Fits the text when it is needed (painted, copied, asked for), not at
    // every change: a run writes its displays at every step.
    void Refit();
    bool event(QEvent* event) override;
    QRect TextRect() const;
    void CopyWhole() const;

    QString shorter_; // empty while the whole text fits
    bool fitted_ = false;
};

// The longest of `text` and its shorter writings that is at most `width` pixels
// wide in `metrics`; the shortest writing when none fits.
QString FittedText(const QString& text, const QFontMetrics& metrics, int width);

// A value panel: a sunken framed label that shows one result, beside the
// caption that names it. A screen reader hears the caption and the value it
// shows now ("Total de Iteraciones: 3481").
class TValuePanel : public QLabel {
    Q_OBJECT
public:
    explicit TValuePanel(QWidget* parent);
};

// A value panel centred in `box`, showing `text`.
TValuePanel* MakePanel(QWidget* parent, const QString& name, const QRect& box, const QString& text,
                       const QFont& font);

// Shows `text` in a value panel, shortened to fit as a display field does, the
// whole text in the panel's tooltip when shortened.
void ShowFittedText(QLabel* panel, const QString& text);

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption, const QRect& box,
                     const QFont& font);
QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& box, const QFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// A single-line field; a read-only one is a TDisplayField and takes no focus
// from the keyboard.
QLineEdit* MakeField(QWidget* parent, const QString& name, const QRect& box, const QString& text,
                     const QFont& font, bool readOnly, const QColor& background = QColor());
// Writes a text into a field and shows its start, as after Home: a field left
// with its cursor at the end shows only the tail of a text wider than itself.
void ShowText(QLineEdit* field, const QString& text);
// A push button; a valid `textColour` colours its caption.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& box,
                        const QFont& font, const QColor& textColour = QColor());
// A sunken horizontal line across the parent at `top`.
QFrame* MakeSeparator(QWidget* parent, int top);

} // namespace korvo

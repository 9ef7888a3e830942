// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The about window: a portrait on the left and the program's description on
// the right. Its strip asks for the interactive move on pointer motion with the
// left button held.
#include "chrome/Chrome.h"

class QTextEdit;

namespace korvo {

class TForm8 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    QLabel* Image1;       // the portrait
    QTextEdit* RichEdit1; // the description: read-only, no focus, wrapped, scrolled

    // The description, one entry per line (an empty entry is a blank line).
    static const QStringList& Lines();
    // The lines as shown: a line that ends in a blank runs on into the next,
    // so that the prose lines of a paragraph flow together and wrap at the
    // box's width; the other lines (title, credits, blanks) stay lines.
    static QString ShownText();
};

// The portrait drawn for the about window, 189 x 417.
QPixmap PortraitPicture();

extern TForm8* Form8;

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the two unit converters share: a window titled as its strip, in
// "MS Sans Serif" 8, with a right-aligned "Convertir:" caption before a bold
// value field on a cream ground. Every showing sets the value back to "0" and
// puts the focus in it; a conversion that succeeds writes its text into a field
// of the real-trajectory window and closes the converter.
#include "chrome/Chrome.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>

class QLineEdit;

namespace korvo {

class TForm2;

struct ConverterSettings {
    QString objectName;
    QString title; // the window title and the strip text
    QSize clientSize;
    int stripTextWidth = 0;
    int cerrarLeft = 0;
    int captionLeft = 0; // "Convertir:", 45 pixels wide, in the field's row
    QString valueName;
    QRect valueBox;
    QString manualSection = QString(); // see ChromeSettings
};

class TConverterWindow : public TChromeWindow {
    Q_OBJECT
protected:
    TConverterWindow(const ConverterSettings& settings, QWidget* parent);

    QFont NormalFont() const;
    QFont BoldFont() const;
    QLineEdit* Value() const { return value_; }

    // Shows `text` from its start in the real-trajectory window's `field`
    // (when that window exists) and closes the converter.
    void Deliver(QLineEdit* TForm2::*field, const std::string& text);

    void OnShowing() override;

private:
    QLineEdit* value_;
};

} // namespace korvo

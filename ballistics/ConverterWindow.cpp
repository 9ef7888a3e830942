// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/ConverterWindow.h"

#include "ballistics/Unit2.h"
#include "chrome/Controls.h"

#include <QLineEdit>

namespace korvo {

namespace {

const QString kSansSerif = QStringLiteral("MS Sans Serif");

} // namespace

TConverterWindow::TConverterWindow(const ConverterSettings& settings, QWidget* parent)
    : TChromeWindow({.windowTitle = settings.title,
                     .stripText = settings.title,
                     .clientSize = settings.clientSize,
                     .stripTextLeft = 0,
                     .stripTextWidth = settings.stripTextWidth,
                     .cerrarLeft = settings.cerrarLeft,
                     .manualSection = settings.manualSection},
                    parent) {
    setObjectName(settings.objectName);
    setFont(NormalFont());
    // Right-aligned beside its field, so that a wider font grows it to the left
    // instead of against the field.
    MakeLabel(this, QStringLiteral("Convertir:"), {settings.captionLeft, 32, 45, 14}, NormalFont(),
              Qt::AlignRight | Qt::AlignVCenter);
    value_ = MakeField(this, settings.valueName, settings.valueBox, QStringLiteral("0"), BoldFont(), false,
                       QColor(255, 250, 234));
}

QFont TConverterWindow::NormalFont() const {
    return WindowFont(kSansSerif, 8);
}

QFont TConverterWindow::BoldFont() const {
    return WindowFont(kSansSerif, 8, true);
}

void TConverterWindow::Deliver(QLineEdit* TForm2::*field, const std::string& text) {
    if (Form2)
        ShowText(Form2->*field, ToQString(text));
    close();
}

void TConverterWindow::OnShowing() {
    value_->setText(QStringLiteral("0"));
    value_->setFocus();
}

} // namespace korvo

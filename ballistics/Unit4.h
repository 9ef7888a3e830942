// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The mass converter: a mass in grains or grams written as kilograms into the
// real-trajectory window's "M:" field, after which the converter closes.
//
// Every showing sets the value back to "0" and puts the focus in it; the unit
// list keeps its last choice. Closing by any means moves the focus to the
// real-trajectory window's "Xo:" field. A value that is not a number is
// reported, the converter stays open and "M:" is left alone.
#include "ballistics/ConverterWindow.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace korvo {

class TForm4 : public TConverterWindow {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    QLineEdit* ValorPeso;
    QPushButton* BAyudaConvertir; // "&?"
    QComboBox* UnidadPeso;        // "Grains" or "Gramos", no typing
    QPushButton* ConvertirPeso;   // "Convertir a &Kilos"

    // The handlers; each reports its own failures and never throws.
    void ConvertirPesoClick();
    void BAyudaConvertirClick();

protected:
    void OnClosed() override;
};

// The program-wide instance, made at start-up.
extern TForm4* Form4;

} // namespace korvo

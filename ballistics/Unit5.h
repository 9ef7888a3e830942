// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The velocity converter: a speed in feet per second written as metres per
// second into the real-trajectory window's "Vo:" field, after which the
// converter closes.
//
// Every showing sets the value back to "0" and puts the focus in it. A value
// that is not a number is reported, the converter stays open and "Vo:" is left
// alone. Closing sets no focus elsewhere.
#include "ballistics/ConverterWindow.h"

class QLineEdit;
class QPushButton;

namespace korvo {

class TForm5 : public TConverterWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    QLineEdit* ValorFTS;
    QPushButton* ConvertirFTS; // "Convertir a &m/s"

    // The handler; it reports its own failures and never throws.
    void ConvertirFTSClick();
};

// The program-wide instance, made at start-up.
extern TForm5* Form5;

} // namespace korvo

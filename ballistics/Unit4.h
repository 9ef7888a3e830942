#pragma once
// The mass converter: grains or grams to kilograms, written into the "M:"
// field of the real-trajectory window; it closes after a conversion.
#include "app/Chrome.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace korvo {

class TForm4 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    QLineEdit* ValorPeso;
    QPushButton* BAyudaConvertir; // "&?"
    QComboBox* UnidadPeso;        // "Grains" or "Gramos", no typing
    QPushButton* ConvertirPeso;   // "Convertir a &Kilos"

    // The handlers; each reports its own failures and never throws.
    void ConvertirAKilos();
    void BAyudaConvertirClick();

protected:
    void OnShowing() override;
    void OnClosed() override;
};

extern TForm4* Form4;

} // namespace korvo

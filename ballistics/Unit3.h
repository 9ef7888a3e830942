#pragma once
// The drag-constant window: D = ½ × ρ × C × A from the air density, the drag
// coefficient and the projectile's base diameter, carried into the "D:" field
// of the real-trajectory window.
#include "app/Chrome.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace korvo {

class TForm3 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    QComboBox* VDensidadAire;        // editable: pick an item or type
    QComboBox* VCoeficienteArrastre; // editable
    QLineEdit* VRadioProyectil;      // the diameter in millimetres
    QLineEdit* VPi;
    QPushButton* BAyudaDensidadAire;
    QPushButton* BAyudaCoeficienteArrastre;
    QPushButton* BAyudaRadioProyectil;
    QPushButton* BAyudaValorPi;
    QLineEdit* VConstanteProporcionalidad;              // fifteen decimals
    QLineEdit* VConstanteProporcionalidadSignificativa; // fifteen significant digits
    QPushButton* CalularConstante;                      // "&Calcular Constante de Proporcionalidad (D)"
    QPushButton* Salir;

    // The handlers; each reports its own failures and never throws.
    void CalularConstanteClick();
    void SalirClick();
    void BAyudaDensidadAireClick();
    void BAyudaCoeficienteArrastreClick();
    void BAyudaRadioProyectilClick();
    void BAyudaValorPiClick();

    // Reads the four inputs and writes both result fields; throws the
    // conversion error of the first input that is not a number, leaving both
    // results as they were.
    void CalcularConstanteProporcionalidad();

protected:
    void OnShowing() override;
    void OnClosed() override;
};

extern TForm3* Form3;

} // namespace korvo

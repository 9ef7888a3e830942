// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The drag-constant window: D = 1/2 x rho x C x pi r^2 from the air density, the
// drag coefficient and the projectile's base diameter, carried into the
// real-trajectory window's "D:" field.
//
// Every showing selects the default density ("1.0556") and coefficient ("0.5"),
// sets the diameter and the fifteen-decimal result to "0" and the pi field to its
// twenty decimals, and puts the focus in the density list; the significant-digit
// result keeps the last calculation. Closing by any means moves the focus to the
// real-trajectory window's "T:" field.
#include "chrome/Chrome.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace korvo {

class TForm3 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    QComboBox* VDensidadAire;
    QComboBox* VCoeficienteArrastre;
    QLineEdit* VRadioProyectil; // the diameter, in millimetres
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

protected:
    void OnShowing() override;
    void OnClosed() override;
};

// The program-wide instance, made at start-up.
extern TForm3* Form3;

} // namespace korvo

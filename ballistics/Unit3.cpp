#include "ballistics/Unit3.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace korvo {

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent)
    : TChromeWindow(
          {QString(), QStringLiteral("Calcular Constante de Proporcionalidad"), {394, 235}, 0, 238, 372},
          parent),
      VDensidadAire(new QComboBox(this)), VCoeficienteArrastre(new QComboBox(this)),
      VRadioProyectil(new QLineEdit(this)), VPi(new QLineEdit(this)),
      BAyudaDensidadAire(new QPushButton(this)), BAyudaCoeficienteArrastre(new QPushButton(this)),
      BAyudaRadioProyectil(new QPushButton(this)), BAyudaValorPi(new QPushButton(this)),
      VConstanteProporcionalidad(new QLineEdit(this)),
      VConstanteProporcionalidadSignificativa(new QLineEdit(this)), CalularConstante(new QPushButton(this)),
      Salir(new QPushButton(this)) {}

void TForm3::CalularConstanteClick() {}
void TForm3::SalirClick() {
    close();
}
void TForm3::BAyudaDensidadAireClick() {}
void TForm3::BAyudaCoeficienteArrastreClick() {}
void TForm3::BAyudaRadioProyectilClick() {}
void TForm3::BAyudaValorPiClick() {}
void TForm3::CalcularConstanteProporcionalidad() {}
void TForm3::OnShowing() {}
void TForm3::OnClosed() {}

} // namespace korvo

#include "ballistics/Unit4.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace korvo {

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent)
    : TChromeWindow({QStringLiteral("Convertir Unidades a Kilos"),
                     QStringLiteral("Convertir Unidades a Kilos"),
                     {185, 113},
                     0,
                     164,
                     166},
                    parent),
      ValorPeso(new QLineEdit(this)), BAyudaConvertir(new QPushButton(this)), UnidadPeso(new QComboBox(this)),
      ConvertirPeso(new QPushButton(this)) {}

void TForm4::ConvertirAKilos() {}
void TForm4::BAyudaConvertirClick() {}
void TForm4::OnShowing() {}
void TForm4::OnClosed() {}

} // namespace korvo

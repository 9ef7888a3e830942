#include "ballistics/Unit6.h"

namespace korvo {

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent)
    : TChromeWindow({QStringLiteral("Resultados Obtenidos"),
                     QStringLiteral("Resultados Obtenidos"),
                     {267, 137},
                     0,
                     138,
                     247},
                    parent),
      TotalIteraciones(new QLabel(this)), TTotalVuelo(new QLabel(this)), HMax(new QLabel(this)),
      DistanciaMax(new QLabel(this)) {}

void TForm6::LeerResultados() {}
void TForm6::OnShowing() {}

} // namespace korvo

#include "ballistics/Unit5.h"

#include <QLineEdit>
#include <QPushButton>

namespace korvo {

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent)
    : TChromeWindow({QStringLiteral("Convertir fts/s -> m/s"),
                     QStringLiteral("Convertir fts/s -> m/s"),
                     {167, 86},
                     0,
                     134,
                     146},
                    parent),
      ValorFTS(new QLineEdit(this)), ConvertirFTS(new QPushButton(this)) {}

void TForm5::ConvertirAMetrosSegundos() {}
void TForm5::OnShowing() {}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/Unit5.h"

#include "ballistics/Unit2.h"
#include "ballistics/core/Calculators.h"
#include "chrome/Controls.h"
#include "chrome/Messages.h"

#include <QLineEdit>
#include <QPushButton>

namespace korvo {

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent)
    : TConverterWindow({.objectName = QStringLiteral("Form5"),
                        .title = QStringLiteral("Convertir fts/s -> m/s"),
                        .clientSize = {167, 86},
                        .stripTextWidth = 134,
                        .cerrarLeft = 146,
                        .captionLeft = 11,
                        .valueName = QStringLiteral("ValorFTS"),
                        .valueBox = {60, 30, 72, 21},
                        .manualSection = QStringLiteral("convertir-velocidad")},
                       parent),
      ValorFTS(Value()) {
    MakeLabel(this, QStringLiteral("ft/s"), {139, 32, 0, 0}, NormalFont());
    ConvertirFTS = MakeButton(this, QStringLiteral("ConvertirFTS"), QStringLiteral("Convertir a &m/s"),
                              {6, 53, 156, 25}, NormalFont());
    setTabOrder(ValorFTS, ConvertirFTS);
    connect(ConvertirFTS, &QPushButton::clicked, this, &TForm5::ConvertirFTSClick);
}

TForm5::~TForm5() = default;

void TForm5::ConvertirFTSClick() {
    Guarded(this, [&] {
        const std::string metros = ConvertirAMetrosSegundos(ToStdString(ValorFTS->text()));
        Deliver(&TForm2::ValorVelocidadInicial, metros);
    });
}

} // namespace korvo

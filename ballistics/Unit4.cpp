// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/Unit4.h"

#include "ballistics/Unit2.h"
#include "ballistics/core/Calculators.h"
#include "chrome/Controls.h"
#include "chrome/Messages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace korvo {

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent)
    : TConverterWindow({.objectName = QStringLiteral("Form4"),
                        .title = QStringLiteral("Convertir Unidades a Kilos"),
                        .clientSize = {185, 113},
                        .stripTextWidth = 164,
                        .cerrarLeft = 166,
                        .captionLeft = 16,
                        .valueName = QStringLiteral("ValorPeso"),
                        .valueBox = {65, 30, 80, 21},
                        .manualSection = QStringLiteral("convertir-masa")},
                       parent),
      ValorPeso(Value()) {
    BAyudaConvertir = MakeButton(this, QStringLiteral("BAyudaConvertir"), QStringLiteral("&?"),
                                 {149, 30, 21, 21}, BoldFont());
    BAyudaConvertir->setAccessibleDescription(QStringLiteral("Cómo se convierte la masa"));
    UnidadPeso = new QComboBox(this);
    UnidadPeso->setObjectName(QStringLiteral("UnidadPeso"));
    UnidadPeso->setGeometry(65, 54, 80, 21);
    UnidadPeso->addItem(QString::fromUtf8(kUnidadGrains));
    UnidadPeso->addItem(QString::fromUtf8(kUnidadGramos));
    // The list has no caption: it is the unit of the value above it.
    UnidadPeso->setAccessibleName(QStringLiteral("Unidad"));
    UnidadPeso->setAccessibleDescription(QStringLiteral("unidad de la masa que se convierte"));
    ValorPeso->setAccessibleDescription(QStringLiteral("en la unidad de la lista"));
    ConvertirPeso = MakeButton(this, QStringLiteral("ConvertirPeso"), QStringLiteral("Convertir a &Kilos"),
                               {13, 80, 156, 25}, NormalFont());

    setTabOrder(ValorPeso, BAyudaConvertir);
    setTabOrder(BAyudaConvertir, UnidadPeso);
    setTabOrder(UnidadPeso, ConvertirPeso);

    connect(ConvertirPeso, &QPushButton::clicked, this, &TForm4::ConvertirPesoClick);
    connect(BAyudaConvertir, &QPushButton::clicked, this, &TForm4::BAyudaConvertirClick);
}

TForm4::~TForm4() = default;

void TForm4::OnClosed() {
    if (Form2)
        Form2->ValorXo->setFocus();
}

void TForm4::ConvertirPesoClick() {
    Guarded(this, [&] {
        const std::optional<std::string> kilos =
            ConvertirAKilos(ToStdString(ValorPeso->text()), ToStdString(UnidadPeso->currentText()));
        if (kilos)
            Deliver(&TForm2::ValorMasa, *kilos);
    });
}

void TForm4::BAyudaConvertirClick() {
    Guarded(this, [&] {
        ShowMessage(this, ToQString(AyudaConvertirPeso()), QString::fromUtf8(kAyudaConvertirPesoCaption),
                    MessageIcon::Information);
    });
}

} // namespace korvo

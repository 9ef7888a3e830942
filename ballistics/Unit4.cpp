#include "ballistics/Unit4.h"

#include "app/chrome/Controls.h"
#include "app/chrome/Messages.h"
#include "ballistics/Unit2.h"
#include "ballistics/core/Calculators.h"

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
                    parent) {
    setObjectName(QStringLiteral("Form4"));
    const QString family = QStringLiteral("MS Sans Serif");
    const QFont normal = WindowFont(family, 8);
    const QFont bold = WindowFont(family, 8, true);
    setFont(normal);

    // Right-aligned beside its field, so that a wider font grows it to the left
    // instead of against the field.
    MakeLabel(this, QStringLiteral("Convertir:"), {16, 32, 45, 14}, normal,
              Qt::AlignRight | Qt::AlignVCenter);
    ValorPeso = MakeField(this, QStringLiteral("ValorPeso"), {65, 30, 80, 21}, QStringLiteral("0"), bold,
                          false, QColor(255, 250, 234));
    BAyudaConvertir =
        MakeButton(this, QStringLiteral("BAyudaConvertir"), QStringLiteral("&?"), {149, 30, 21, 21}, bold);
    UnidadPeso = new QComboBox(this);
    UnidadPeso->setObjectName(QStringLiteral("UnidadPeso"));
    UnidadPeso->setGeometry(65, 54, 80, 21);
    UnidadPeso->addItem(QString::fromUtf8(kUnidadGrains));
    UnidadPeso->addItem(QString::fromUtf8(kUnidadGramos));
    ConvertirPeso = MakeButton(this, QStringLiteral("ConvertirPeso"), QStringLiteral("Convertir a &Kilos"),
                               {13, 80, 156, 25}, normal);

    setTabOrder(ValorPeso, BAyudaConvertir);
    setTabOrder(BAyudaConvertir, UnidadPeso);
    setTabOrder(UnidadPeso, ConvertirPeso);

    connect(ConvertirPeso, &QPushButton::clicked, this, &TForm4::ConvertirPesoClick);
    connect(BAyudaConvertir, &QPushButton::clicked, this, &TForm4::BAyudaConvertirClick);
}

TForm4::~TForm4() = default;

void TForm4::OnShowing() {
    ValorPeso->setText(QStringLiteral("0"));
    ValorPeso->setFocus();
}

void TForm4::OnClosed() {
    if (Form2)
        Form2->ValorXo->setFocus();
}

void TForm4::ConvertirPesoClick() {
    Guarded(this, [&] {
        const std::optional<std::string> kilos =
            ConvertirAKilos(ToStdString(ValorPeso->text()), ToStdString(UnidadPeso->currentText()));
        if (!kilos)
            return;
        if (Form2)
            ShowText(Form2->ValorMasa, ToQString(*kilos));
        close();
    });
}

void TForm4::BAyudaConvertirClick() {
    Guarded(this, [&] {
        ShowMessage(this, ToQString(AyudaConvertirPeso()), QString::fromUtf8(kAyudaConvertirPesoCaption),
                    MessageIcon::Information);
    });
}

} // namespace korvo

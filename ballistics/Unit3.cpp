// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/Unit3.h"

#include "ballistics/Unit2.h"
#include "ballistics/core/Calculators.h"
#include "chrome/Controls.h"
#include "chrome/Messages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace korvo {

TForm3* Form3 = nullptr;

namespace {

const QString kSansSerif = QStringLiteral("MS Sans Serif");

QComboBox* MakeList(QWidget* parent, const QString& name, const QRect& box,
                    const std::vector<std::string>& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setGeometry(box);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items)
        list->addItem(ToQString(item));
    return list;
}

// Selects an item of an editable list and shows its text: selecting the item
// already current would leave a text typed over it in place.
void SelectItem(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    list->setEditText(list->itemText(index));
}

} // namespace

TForm3::TForm3(QWidget* parent)
    : TChromeWindow({.windowTitle = {},
                     .stripText = QStringLiteral("Calcular Constante de Proporcionalidad"),
                     .clientSize = {394, 235},
                     .stripTextWidth = 238,
                     .cerrarLeft = 372,
                     .manualSection = QStringLiteral("constante-d")},
                    parent) {
    setObjectName(QStringLiteral("Form3"));
    const QFont normal = WindowFont(kSansSerif, 8);
    const QFont bold = WindowFont(kSansSerif, 8, true);
    QFont italic = normal;
    italic.setItalic(true);
    setFont(normal);

    MakeLabel(this, QStringLiteral("P"), {10, 31, 0, 0}, italic);
    MakeLabel(this, QStringLiteral("(Densidad del Aire [Kg/m3]):"), {27, 31, 0, 0}, normal);
    MakeLabel(this, QStringLiteral("C   (Coeficiente de Arrastre):"), {10, 55, 0, 0}, normal);
    MakeLabel(this, QStringLiteral("R   (Diametro Base del Proyectil [mm]):"), {10, 79, 0, 0}, normal);
    MakeLabel(this, QStringLiteral("Pi   (Constante Matematica de Pi):"), {10, 105, 0, 0}, normal);

    VDensidadAire = MakeList(this, QStringLiteral("VDensidadAire"), {205, 28, 145, 21}, DensidadAireItems());
    VCoeficienteArrastre = MakeList(this, QStringLiteral("VCoeficienteArrastre"), {205, 52, 145, 21},
                                    CoeficienteArrastreItems());
    VRadioProyectil = MakeField(this, QStringLiteral("VRadioProyectil"), {205, 77, 145, 21},
                                ToQString(BuiltInNumberText("0.00")), normal, false);
    VPi = MakeField(this, QStringLiteral("VPi"), {205, 101, 145, 21}, ToQString(PiDefaultText()), normal,
                    false);
    SelectItem(VDensidadAire, kDensidadAireDefaultIndex);
    SelectItem(VCoeficienteArrastre, kCoeficienteArrastreDefaultIndex);

    const QString help = QStringLiteral("<- ?");
    BAyudaDensidadAire =
        MakeButton(this, QStringLiteral("BAyudaDensidadAire"), help, {354, 28, 31, 22}, normal);
    BAyudaCoeficienteArrastre =
        MakeButton(this, QStringLiteral("BAyudaCoeficienteArrastre"), help, {354, 52, 31, 22}, normal);
    BAyudaRadioProyectil =
        MakeButton(this, QStringLiteral("BAyudaRadioProyectil"), help, {354, 76, 31, 22}, normal);
    BAyudaValorPi = MakeButton(this, QStringLiteral("BAyudaValorPi"), help, {354, 100, 31, 22}, normal);

    // Four buttons read "<- ?": each says which value it explains.
    BAyudaDensidadAire->setAccessibleDescription(QStringLiteral("Valores de la densidad del aire"));
    BAyudaCoeficienteArrastre->setAccessibleDescription(
        QStringLiteral("Valores del coeficiente de arrastre"));
    BAyudaRadioProyectil->setAccessibleDescription(QStringLiteral("Qué es el diámetro de la base"));
    BAyudaValorPi->setAccessibleDescription(QStringLiteral("Qué es Pi"));

    MakeSeparator(this, 125);
    MakeLabel(this, QStringLiteral("D (Constante de Proporcionalidad):"), {4, 146, 217, 14}, bold,
              Qt::AlignRight | Qt::AlignVCenter);
    VConstanteProporcionalidad =
        MakeField(this, QStringLiteral("VConstanteProporcionalidad"), {224, 143, 152, 21},
                  QStringLiteral("0"), bold, true, QColor(255, 249, 230));
    MakeLabel(this, QStringLiteral("Resultado D, cifra significativa:"), {4, 171, 217, 14}, bold,
              Qt::AlignRight | Qt::AlignVCenter);
    VConstanteProporcionalidadSignificativa =
        MakeField(this, QStringLiteral("VConstanteProporcionalidadSignificativa"), {224, 167, 152, 21},
                  QStringLiteral("0"), bold, true);

    MakeSeparator(this, 189);
    CalularConstante =
        MakeButton(this, QStringLiteral("CalularConstante"),
                   QStringLiteral("&Calcular Constante de Proporcionalidad (D)"), {11, 202, 243, 25}, normal);
    Salir = MakeButton(this, QStringLiteral("Salir"), QStringLiteral("&Salir"), {269, 202, 113, 25}, normal);

    // Each help button right after its field.
    QWidget* const order[] = {VDensidadAire,
                              BAyudaDensidadAire,
                              VCoeficienteArrastre,
                              BAyudaCoeficienteArrastre,
                              VRadioProyectil,
                              BAyudaRadioProyectil,
                              VPi,
                              BAyudaValorPi,
                              CalularConstante,
                              Salir};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    const auto showHelp = [this](std::string (*text)()) {
        return [this, text] { Guarded(this, [&] { ShowMessage(this, ToQString(text())); }); };
    };
    connect(BAyudaDensidadAire, &QPushButton::clicked, this, showHelp(&AyudaDensidadAire));
    connect(BAyudaCoeficienteArrastre, &QPushButton::clicked, this, showHelp(&AyudaCoeficienteArrastre));
    connect(BAyudaRadioProyectil, &QPushButton::clicked, this, showHelp(&AyudaRadioProyectil));
    connect(BAyudaValorPi, &QPushButton::clicked, this, showHelp(&AyudaValorPi));
    connect(CalularConstante, &QPushButton::clicked, this, &TForm3::CalularConstanteClick);
    connect(Salir, &QPushButton::clicked, this, &TForm3::SalirClick);
}

TForm3::~TForm3() = default;

void TForm3::OnShowing() {
    Guarded(this, [&] {
        SelectItem(VDensidadAire, kDensidadAireDefaultIndex);
        SelectItem(VCoeficienteArrastre, kCoeficienteArrastreDefaultIndex);
        VRadioProyectil->setText(ToQString(BuiltInNumberText("0")));
        ShowText(VConstanteProporcionalidad, ToQString(BuiltInNumberText("0")));
        ShowText(VPi, ToQString(PiDefaultText()));
        VDensidadAire->setFocus();
    });
}

void TForm3::OnClosed() {
    if (Form2)
        Form2->VTiempoIteraciones->setFocus();
}

void TForm3::CalularConstanteClick() {
    Guarded(this, [&] {
        const ConstanteProporcionalidad d = CalcularConstanteProporcionalidad(
            ToStdString(VDensidadAire->currentText()), ToStdString(VCoeficienteArrastre->currentText()),
            ToStdString(VPi->text()), ToStdString(VRadioProyectil->text()));
        ShowText(VConstanteProporcionalidad, ToQString(d.VConstanteProporcionalidad));
        ShowText(VConstanteProporcionalidadSignificativa,
                 ToQString(d.VConstanteProporcionalidadSignificativa));
        if (Form2)
            ShowText(Form2->ValorConstanteProporcionalidad, VConstanteProporcionalidad->text());
        Salir->setFocus();
    });
}

void TForm3::SalirClick() {
    close();
}

} // namespace korvo

#include "ballistics/Unit5.h"

#include "app/chrome/Controls.h"
#include "app/chrome/Messages.h"
#include "ballistics/Unit2.h"
#include "ballistics/core/Calculators.h"

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
                    parent) {
    setObjectName(QStringLiteral("Form5"));
    const QString family = QStringLiteral("MS Sans Serif");
    const QFont normal = WindowFont(family, 8);
    setFont(normal);

    MakeLabel(this, QStringLiteral("Convertir:"), {11, 32, 45, 14}, normal,
              Qt::AlignRight | Qt::AlignVCenter);
    ValorFTS = MakeField(this, QStringLiteral("ValorFTS"), {60, 30, 72, 21}, QStringLiteral("0"),
                         WindowFont(family, 8, true), false, QColor(255, 250, 234));
    MakeLabel(this, QStringLiteral("ft/s"), {139, 32, 0, 0}, normal);
    ConvertirFTS = MakeButton(this, QStringLiteral("ConvertirFTS"), QStringLiteral("Convertir a &m/s"),
                              {6, 53, 156, 25}, normal);
    setTabOrder(ValorFTS, ConvertirFTS);
    connect(ConvertirFTS, &QPushButton::clicked, this, &TForm5::ConvertirFTSClick);
}

TForm5::~TForm5() = default;

void TForm5::OnShowing() {
    ValorFTS->setText(QStringLiteral("0"));
    ValorFTS->setFocus();
}

void TForm5::ConvertirFTSClick() {
    Guarded(this, [&] {
        const std::string metros = ConvertirAMetrosSegundos(ToStdString(ValorFTS->text()));
        if (Form2)
            ShowText(Form2->ValorVelocidadInicial, ToQString(metros));
        close();
    });
}

} // namespace korvo

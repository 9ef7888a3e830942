// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/Unit6.h"

#include "ballistics/Unit2.h"
#include "ballistics/core/Calculators.h"
#include "chrome/Controls.h"
#include "chrome/Messages.h"

#include <QLineEdit>

namespace korvo {

TForm6* Form6 = nullptr;

namespace {

QString LawLine(DragLaw law) {
    return QStringLiteral("Ley de arrastre: ") + QString::fromUtf8(DragLawCaption(law));
}

} // namespace

TForm6::TForm6(QWidget* parent)
    : TChromeWindow({.windowTitle = QStringLiteral("Resultados Obtenidos"),
                     .stripText = QStringLiteral("Resultados Obtenidos"),
                     .clientSize = {267, 137},
                     .stripTextWidth = 138,
                     .cerrarLeft = 247,
                     .manualSection = QStringLiteral("resultados")},
                    parent) {
    setObjectName(QStringLiteral("Form6"));
    const QFont bold = WindowFont(QStringLiteral("MS Sans Serif"), 8, true);
    struct Row {
        const char* label;
        int labelTop;
        QLabel*& panel;
        const char* name;
        int panelTop;
    };
    const Row rows[] = {
        {"Total de Iteraciones:", 35, TotalIteraciones, "TotalIteraciones", 33},
        {"Tiempo Total de Vuelo:", 59, TTotalVuelo, "TTotalVuelo", 56},
        {"Altura Maxima (Hmax):", 83, HMax, "HMax", 80},
        {"Alcance Maximo (Amax):", 107, DistanciaMax, "DistanciaMax", 104},
    };
    for (const Row& row : rows) {
        MakeLabel(this, QString::fromUtf8(row.label), {15, row.labelTop, 140, 14}, bold);
        row.panel = MakePanel(this, QString::fromUtf8(row.name), {157, row.panelTop, 100, 20},
                              QStringLiteral("0"), bold);
    }
    // The row left free under the last panel, to the window's edge.
    LeyArrastre = MakeLabel(this, LawLine(DragLaw::Linear), {15, 124, 242, 11},
                            WindowFont(QStringLiteral("MS Sans Serif"), 7));
    LeyArrastre->setObjectName(QStringLiteral("LeyArrastre"));
}

TForm6::~TForm6() = default;

void TForm6::OnShowing() {
    // A run the totals cannot be read from (an undefined or infinite X) shows
    // no figure at all: an earlier run's figures would pass for this run's.
    for (QLabel* panel : {TotalIteraciones, TTotalVuelo, HMax, DistanciaMax})
        ShowFittedText(panel, QStringLiteral("—"));
    Guarded(this, [&] {
        if (!Form2)
            return;
        const EstadoTrayectoria& estado = Form2->Trajectory().State();
        LeyArrastre->setText(LawLine(estado.Ley));
        const ResultadosTexts texts =
            ResultadosTrayectoriaReal(ToStdString(Form2->ValorX->text()), estado.Iteraciones,
                                      ToStdString(Form2->TiempoTotal->text()), estado.Hmax);
        ShowFittedText(TotalIteraciones, ToQString(texts.TotalIteraciones));
        ShowFittedText(TTotalVuelo, ToQString(texts.TTotalVuelo));
        ShowFittedText(DistanciaMax, ToQString(texts.DistanciaMax));
        ShowFittedText(HMax, ToQString(texts.HMax));
    });
}

} // namespace korvo

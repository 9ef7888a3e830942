// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/CaseTables.h"

#include "ballistics/core/NumberText.h"

#include <cmath>

namespace korvo {
namespace {

const char* const kCaptions[kCaseFigureCount] = {"Tiempo de vuelo (s)", "Altura máxima (m)", "Alcance (m)",
                                                 "Velocidad de impacto (m/s)", "Ángulo de impacto (grados)"};

std::string Pattern(const char* pattern, Real value) {
    return std::isnan(value) ? std::string("—") : NumberToPatternText(pattern, value);
}

std::string Figure(Real value) {
    return Pattern("0.000", value);
}

} // namespace

const char* CaseFigureCaption(CaseFigure which) {
    return kCaptions[which];
}

std::string CaseInputsText(const CaseInputs& in) {
    return "D=" + NumberToGeneralText(in.D) + "; M=" + NumberToGeneralText(in.M) +
           "; Vo=" + NumberToGeneralText(in.Vo) + "; Ángulo=" + NumberToGeneralText(in.Angulo);
}

CaseTable BandTable(const CaseBand& band) {
    CaseTable table;
    table.Header = {"Magnitud", "Mínimo", "Nominal", "Máximo", "Entradas del mínimo", "Entradas del máximo"};
    for (std::size_t f = 0; f < kCaseFigureCount; ++f) {
        const FigureBand& b = band.Figuras[f];
        table.Rows.push_back({kCaptions[f], Figure(b.Minimo.Valor), Figure(b.Nominal), Figure(b.Maximo.Valor),
                              CaseInputsText(b.Minimo.Entradas), CaseInputsText(b.Maximo.Entradas)});
    }
    if (band.AlgunoIndefinido)
        table.Note = "Algunas entradas de la caja no dieron cruce con el suelo (el proyectil no aterrizó): "
                     "la banda cubre solo las que lo dieron.";
    return table;
}

CaseTable FarthestTable(const FarthestReach& reach) {
    CaseTable table;
    table.Header = {"Entradas", "Ángulo (grados)", "Alcance (m)", "Datos que lo dan"};
    table.Rows.push_back({"Nominales", Pattern("0.00", reach.Angulo), Figure(reach.Alcance), ""});
    table.Rows.push_back({"Con las tolerancias", Pattern("0.00", reach.AnguloCaja), Figure(reach.AlcanceCaja),
                          CaseInputsText(reach.EntradasCaja)});
    return table;
}

CaseTable AnglesTable(const AnglesForDistance& angles) {
    CaseTable table;
    table.Header = {"Rama",
                    "Ángulo (grados)",
                    "Mínimo (grados)",
                    "Máximo (grados)",
                    "Tiempo de vuelo (s)",
                    "Velocidad de impacto (m/s)"};
    // A distance beyond the farthest reach is told once, not per branch.
    const bool beyond =
        !angles.Baja.Alcanza && !angles.Alta.Alcanza && angles.Baja.Mensaje == angles.Alta.Mensaje;
    for (const auto& [name, branch] : {std::pair{"Bajo", &angles.Baja}, std::pair{"Alto", &angles.Alta}}) {
        if (!branch->Alcanza) {
            table.Rows.push_back({name, beyond ? "—" : branch->Mensaje, "", "", "", ""});
            continue;
        }
        table.Rows.push_back({name, Pattern("0.000", branch->Angulo), Pattern("0.000", branch->AnguloMin),
                              Pattern("0.000", branch->AnguloMax), Figure(branch->TiempoVuelo),
                              Figure(branch->VelocidadImpacto)});
        if (!branch->EnTodaLaCaja)
            table.Note +=
                std::string(table.Note.empty() ? "" : " ") + "Ángulo " +
                (name == std::string("Bajo") ? "bajo" : "alto") +
                ": algunas entradas de la caja no alcanzan la distancia; su banda cubre solo las que la "
                "alcanzan.";
    }
    if (beyond)
        table.Note = angles.Alta.Mensaje;
    return table;
}

} // namespace korvo

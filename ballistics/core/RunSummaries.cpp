// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/RunSummaries.h"

#include "ballistics/core/NumberText.h"

namespace korvo {

std::string SummaryLine(const char* label, const std::string& value) {
    return std::string(label) + " " + value + "\n";
}

namespace {

std::string ImpactLines(const std::optional<Impact>& impact) {
    const auto figure = [&](Real Impact::*value, const char* unit) {
        return impact ? NumberToPatternText("0.000", (*impact).*value) + unit : std::string("—");
    };
    return SummaryLine("Velocidad de Impacto:", figure(&Impact::Velocidad, " m/s")) +
           SummaryLine("Angulo de Impacto:", figure(&Impact::Angulo, " grados"));
}

} // namespace

std::string RealRunSummary(const ResultadosTexts& texts, const std::optional<Impact>& impact, DragLaw law) {
    return SummaryLine("Total de Iteraciones:", texts.TotalIteraciones) +
           SummaryLine("Tiempo Total de Vuelo:", texts.TTotalVuelo) +
           SummaryLine("Altura Maxima (Hmax):", texts.HMax) +
           SummaryLine("Alcance Maximo (Amax):", texts.DistanciaMax) + ImpactLines(impact) +
           SummaryLine("Ley de arrastre:", DragLawCaption(law));
}

std::string IdealRunSummary(const IdealResultTexts& texts) {
    return SummaryLine("Tiempo Altura Max:", texts.TAlturaMaxima + " seg.") +
           SummaryLine("T. Caida Altura Max:", texts.TCaida + " seg.") +
           SummaryLine("Tiempo T. de Vuelo:", texts.TTVuelo + " seg.") +
           SummaryLine("Altura Maxima:", texts.AlturaMax + " m.") +
           SummaryLine("Alcance Maximo:", texts.AlcanceMax + " m.") +
           SummaryLine("Vel. Final al Impacto:", texts.VFinalImpacto + " m/s");
}

} // namespace korvo

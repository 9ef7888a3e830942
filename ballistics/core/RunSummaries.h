// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The summaries the command line prints for people: one "Label: value" line
// per figure, with the labels and the texts of the windows that show them.
//
//   RealRunSummary(texts, impact, DragLaw::Linear)
//     -> "Total de Iteraciones: 3481\nTiempo Total de Vuelo: 34.81 seg.\n..."
#include "ballistics/core/Calculators.h"
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/GroundImpact.h"

#include <optional>
#include <string>

namespace korvo {

// "<label> <value>" and a line feed.
std::string SummaryLine(const char* label, const std::string& value);

// The results window's four figures, the impact at the ground crossing
// interpolated between the last two steps ("—" for a run that never crossed:
// stopped in the air, or gone undefined) and the drag law.
std::string RealRunSummary(const ResultadosTexts& texts, const std::optional<Impact>& impact, DragLaw law);

// The ideal-trajectory window's six closed-form texts.
struct IdealResultTexts {
    std::string TAlturaMaxima, TCaida, TTVuelo, AlturaMax, AlcanceMax, VFinalImpacto;
};
// Those six, with the window's labels and units.
std::string IdealRunSummary(const IdealResultTexts& texts);

} // namespace korvo

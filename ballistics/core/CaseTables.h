// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The three tables of a case analysis as texts for people, under the decimal
// separator in force: the band, the farthest reach and the angles for a
// distance. The window shows them and the case report prints them, so that
// both say the same thing in the same words.
//
//   const CaseTable band = BandTable(*answer.Banda);
//   band.Header[1]   -> "Mínimo"
//   band.Rows[2][0]  -> "Alcance (m)"
//
// Figures with three decimals; the farthest-reaching angle, found to 0.01
// degrees, with two; the angles for a distance, found to 0.001 degrees, with
// three. A figure no input set gave (every run in the air) reads "—".
#include "ballistics/core/CaseAnalysis.h"

#include <string>
#include <vector>

namespace korvo {

struct CaseTable {
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
    // What a reader must know beside the rows (a part of the box that gave no
    // figure, a distance beyond reach); empty when nothing.
    std::string Note;
};

// Its row captions: "Tiempo de vuelo (s)", "Altura máxima (m)", ...
const char* CaseFigureCaption(CaseFigure which);

// An input set as people read it: "D=1,6788592601E-5; M=0,00745; Vo=345; Ángulo=79".
std::string CaseInputsText(const CaseInputs& inputs);

CaseTable BandTable(const CaseBand& band);
CaseTable FarthestTable(const FarthestReach& reach);
CaseTable AnglesTable(const AnglesForDistance& angles);

} // namespace korvo

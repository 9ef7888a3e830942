// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the report of a case analysis needs besides its layout, with no
// window: the inputs as they were typed, the tables for machines (full
// precision, "." as the decimal point: the command line's CSV), the byte
// layout of the digest input and the commands that repeat the analysis.
//
// The digest input follows the run report's convention (RunReport.h): records
// of netstrings, each record ended by a line feed. The records are, in order:
// the inputs (D, T, M, angle, Vo, the law's option name, H, the tolerances of
// D, M, Vo and the angle, the distance, each as typed, the distance empty when
// none was asked), then for each table computed (band, farthest reach, angles
// for the distance, in that order) its header and each of its rows, as the
// command line writes them to CSV.
//
//   CaseRequestTexts texts{...};
//   const std::string bytes = CaseDigestInput(texts, answer);   // SHA-256 over these
//   CaseReproduceCommands(texts, answer)   // {"KORVO band --d \"0,000016788592601\" ... --tol vo=\"5\""}
#include "ballistics/core/CaseAnalysis.h"
#include "ballistics/core/RunReport.h"

#include <string>
#include <vector>

namespace korvo {

// The inputs of an analysis as typed, in the separator in force.
struct CaseRequestTexts {
    std::string D, T, M, Angulo, Vo;
    DragLaw Ley = DragLaw::Linear;
    std::string Altura = "0";
    std::string TolD = "0", TolM = "0", TolVo = "0", TolAngulo = "0";
    std::string Distancia; // empty when no distance was asked
};

// A table for machines: its header and rows of fields.
struct CaseMachineTable {
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
};

// The layouts of the command line's CSV:
//   band      magnitud,minimo,nominal,maximo,entradas_minimo,entradas_maximo
//             (the inputs of an extreme as d=…;m=…;vo=…;angle=…)
//   farthest  ley,angulo,alcance,angulo_caja,alcance_caja
//   angles    rama,angulo,angulo_min,angulo_max,tiempo_vuelo,velocidad_impacto
//             (rows "baja" and "alta"; a branch that does not reach is empty)
CaseMachineTable BandMachineTable(const CaseBand& band);
CaseMachineTable FarthestMachineTable(DragLaw law, const FarthestReach& reach);
CaseMachineTable AnglesMachineTable(const AnglesForDistance& angles);

// Which tables an answer shows: the band when computed, the farthest reach
// when asked for itself (the angles compute it too, but do not show it), the
// angles when a distance was asked.
struct CaseTablesShown {
    bool Banda = false, Lejano = false, Angulos = false;
};
CaseTablesShown TablesShown(const CaseQuestion& question);

// The machine tables shown, in the report's order.
std::vector<CaseMachineTable> MachineTables(const CaseQuestion& question, const CaseAnswer& answer);

std::string CaseDigestInput(const CaseRequestTexts& texts, const CaseQuestion& question,
                            const CaseAnswer& answer);

// One command per table shown (band, farthest, angles), each with every
// input quoted for a POSIX shell as typed.
std::vector<std::string> CaseReproduceCommands(const CaseRequestTexts& texts, const CaseQuestion& question);

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A self-check a user can run in front of others: cases whose answers are known
// in closed form, computed by the program's own code, each with its expected
// value, the program's value, their difference and the tolerance it must meet.
//
// The cases:
//   - the ideal calculator's vacuum figures for 100 m/s at 30 degrees and
//     200 m/s straight up, against their values worked to 40 digits;
//   - the exact linear-drag flight time and range against the Lambert-W form
//     s = (1 + u) + W0(-(1 + u) e^-(1 + u)), W0 found here by Halley's method,
//     independently of the report's own root find;
//   - the stepped run of the default inputs: its error in the interpolated
//     flight time halves when T halves (a first-order method), checked as the
//     ratio of the errors at T = 0.01, 0.005 and 0.0025 s.
//
//   const std::vector<SelfCheckCase> cases = RunSelfCheck();
//   SelfCheckPassed(cases)   // true on a sound build
//   SelfCheckText(cases)     // one line per case, then the verdict
#include "ballistics/core/Real.h"

#include <string>
#include <vector>

namespace korvo {

struct SelfCheckCase {
    std::string Nombre;
    Real Esperado = 0;
    Real Obtenido = 0;
    // The largest |Obtenido - Esperado| accepted, relative to |Esperado|.
    Real ToleranciaRelativa = 0;
    bool Correcto() const;
};

std::vector<SelfCheckCase> RunSelfCheck();

bool SelfCheckPassed(const std::vector<SelfCheckCase>& cases);

// The verdict alone: "correcto (N casos)", or "falla: " and the first failing case.
std::string SelfCheckVerdict(const std::vector<SelfCheckCase>& cases);

// One line per case ("<name>: esperado E, KORVO V, diferencia E - V"), in the
// separator in force, then "Autocomprobación: " and the verdict.
std::string SelfCheckText(const std::vector<SelfCheckCase>& cases);

} // namespace korvo

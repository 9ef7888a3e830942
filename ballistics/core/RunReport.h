// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The arithmetic of a real-trajectory run's report: the exact solution of the
// same linear-drag equations the integrator steps, the ground crossing
// interpolated between the last two steps, the vacuum values for the same
// speed and angle, and the byte layout of the digest input.
//
// Symbols and units:
//   k    = (D / M) x Vo, the drag rate, 1/s   g  = 9.81 m/s^2
//   vx0, vy0  launch velocity, m/s            u  = k x vy0 / g (no unit)
//   s    = k x t, time in units of 1/k        E(s) = 1 - e^-s
//
// The equations dvx/dt = -k vx, dvy/dt = -g - k vy from (0, 0) have the exact
// solution
//   x(t) = vx0 E(kt) / k            y(t) = (vy0 + g/k) E(kt) / k - g t / k
// so the apex is at t = ln(1 + u) / k with height (g / k^2)(u - ln(1 + u)),
// and the flight time back to the launch height is s/k for the positive root s
// of (1 + u) E(s) = s, which lies between ln(1 + u) and 1 + u.
//
//   ExactLinearDrag(0.766190803267, 340, 78): apex at 4.300 s and 378.996 m, back
//   at the launch height at 35.206 s, 92.262 m away (the default run)
//
// Edge cases: k = 0 (no drag, D = 0) gives the vacuum values; a launch that
// does not rise (angle 0 or below) gives zeros; a negative, infinite or NaN k
// (a zero mass) has no solution here, and every value is NaN.
#include "ballistics/core/Calculators.h"
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/GroundImpact.h"
#include "ballistics/core/LawComparison.h"
#include "ballistics/core/NumberText.h"
#include "ballistics/core/RealTrajectory.h"
#include "ballistics/core/RunInputs.h"
#include "ballistics/core/TrajectoryRows.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvo {

// The four figures the report compares, s and m.
struct TrajectoryFigures {
    Real TiempoApice = 0; // time of the apex
    Real AlturaApice = 0; // greatest height
    Real TiempoVuelo = 0; // flight time back to the launch height
    Real Alcance = 0;     // horizontal distance at that time
};

// (D / M) x Vo, grouped as the integrator groups its drag term.
Real DragRate(Real d, Real m, Real vo);

// The exact motion for the drag rate k, the launch speed vo and the whole-degree
// angle, the launch velocity taken as the integrator takes it (vo x cos, vo x sin
// of the same radians).
TrajectoryFigures ExactLinearDrag(Real k, Real vo, std::int32_t anguloGrados);

// The ideal calculator's closed forms for the same speed and angle.
TrajectoryFigures VacuumFigures(Real vo, std::int32_t anguloGrados);

// The point where the line through the last two steps crosses height 0.
struct GroundCrossing {
    Real Tiempo = 0;
    Real X = 0;
};

// Linear between (tPrev, xPrev, yPrev) and (tLast, xLast, yLast); none unless the
// first is above 0 and the second at or below it (a run whose first step is
// already below, or whose values went NaN, has no crossing between them).
std::optional<GroundCrossing> InterpolateGroundCrossing(Real tPrev, Real xPrev, Real yPrev, Real tLast,
                                                        Real xLast, Real yLast);

// What a case file adds to a report, each optional (empty when not given).
struct RunCaseFields {
    std::string Expediente; // the case number
    std::string Perito;     // the examiner
    std::string Nota;       // a free note
};

// The one command line that repeats the run from the input texts exactly as
// they were, each quoted for a POSIX shell (between double quotes unless it
// holds a character the shell reads there, then between single quotes), and
// "--drag quadratic" after them for a run of the quadratic law (the linear
// law is the command's default, and its command line is as it always was):
//   KORVO real --d "0.000016788592601" --t "0.01" --m "0.00745" --xo "0" --yo "0" --angle "78" --vo "340"
std::string ReproduceCommand(const RunInputTexts& inputs);

// A text quoted for a POSIX shell as ReproduceCommand quotes each input.
std::string ShellQuoted(const std::string& text);

// What a finished run left: its state, and the texts the report needs from the
// window (the time display and the X display at the end, the time texts of the
// row before the last and of the row that raised Hmax; empty when there is no
// such row).
struct FinishedRun {
    EstadoTrayectoria Estado;
    std::string ValorX, TiempoTotal, TiempoAnterior, TiempoHmax;
};

struct RunReportFigures {
    ResultadosTexts Resultados;    // as the results window shows them
    DragLaw Ley = DragLaw::Linear; // the law the run stepped
    Real K = 0;
    // What the stepped run is measured against: for the linear law its exact
    // solution, for the quadratic law the reference solution
    // (ReferenceTrajectory.h) of the same equations.
    TrajectoryFigures Integrado, Exacto, Vacio;
    std::optional<GroundCrossing> Cruce;
    // The run's impact at that crossing: speed and angle below the horizontal.
    std::optional<Impact> Impacto;
    // The start's inputs under both laws, each from its exact or reference
    // solution (the linear law first); Leyes of the run's law holds the
    // impact its Exacto is compared with.
    std::array<LawFigures, 2> Leyes;
    // The vacuum's impact: at the launch speed and angle.
    Real VacioVelocidadImpacto = 0, VacioAnguloImpacto = 0;
    // Whether D, M, Vo or T read at the last step differ from the start's texts
    // (an edit during the run): the exact solution is that of the start's inputs.
    bool DatosCambiados = false;
    // Whether the last step is no longer above the launch height: a run stopped
    // at its step bound is still in the air, and has no flight time or range.
    bool Aterrizo = true;
    // k x T of the start's inputs, and whether it is past the warning threshold.
    Real KT = 0;
    bool PasoGrande = false;
};

// "no aterrizó en N pasos", what the report prints for a run still in the air.
std::string NotLandedText(std::int32_t steps);

// Every figure of the report. The inputs parsed at the start of the run, so they
// parse again; a results window that cannot read the X display back (NAN, -INF)
// shows the range as the pattern writes the last X instead.
RunReportFigures ComputeRunReportFigures(const RunInputTexts& inputs, const FinishedRun& run);

// stepped - exact, and (stepped - vacuum) / vacuum x 100.
inline Real Difference(Real stepped, Real exact) {
    return stepped - exact;
}
inline Real PercentChange(Real stepped, Real vacuum) {
    return ((stepped - vacuum) / vacuum) * 100;
}

// The digest input is a sequence of records, each a list of texts in UTF-8:
// every text is written as a netstring (its length in bytes in decimal
// digits, ":", the bytes, ","), and every record ends with a line feed. The
// records are, in order: the seven input texts (D, T, M, Xo, Yo, angle, Vo),
// the ten column captions, then each table row's ten texts. Lengths make the
// layout unambiguous whatever the texts hold.
//   AppendDigestText(out, "0.01") -> out gains "4:0.01,"
void AppendDigestText(std::string& out, std::string_view text);
void EndDigestRecord(std::string& out);

// The digest input's records in their order, each handed to `record` whole
// (ending in its line feed) with the number of table rows it follows: the
// inputs and the captions with 0, the first row with 1, and so on.
void DigestRecords(const RunInputTexts& inputs, const TPackedRows& rows,
                   const std::function<void(std::string_view record, int row)>& record);

// The run's texts the report reads from the table: the time of the row before
// the last and that of the row that raised Hmax (empty when there is none).
FinishedRun FinishedRunOf(const EstadoTrayectoria& state, const std::string& valorX,
                          const std::string& tiempoTotal, const TPackedRows& rows);

} // namespace korvo

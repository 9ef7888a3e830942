// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The questions of a case whose inputs are measurements with tolerances:
//   - the band: for each figure of the trajectory (flight time, greatest
//     height, range, impact speed, impact angle) its least and greatest value
//     over every input set within the tolerances, with the set that gives it;
//   - the farthest reach: the greatest range over launch angles 0 to 90
//     degrees, for the nominal inputs and over the tolerances of D, M and Vo;
//   - the angles for a distance: the low and the high launch angle whose range
//     is a given horizontal distance, each with its band over the tolerances.
//
// Symbols and units:
//   D  drag constant, kg/m       M  mass, kg        Vo  launch speed, m/s
//   Angulo  launch angle, degrees (any real number)   T  time step, s
//   H  height of the launch point above the ground where the projectile lands,
//      m (negative for a shot uphill)
//
// The analysis does not step trajectories itself: it asks a figures function
// for the figures of each input set it needs, so that it works alike for any
// way of computing a trajectory. That function must be a pure function of its
// inputs, safe to call from several threads at once.
//
//   CaseQuestion question;
//   question.Nominal = {...};  question.Tolerancias.Vo = 5;  question.Distancia = 300;
//   CaseAnswer answer = AnalyzeCase(question, figures, options);
//   answer.Banda->Figuras[Alcance].Maximo.Valor
//
// The work is split over `Jobs` threads in rounds of independent trajectories;
// every choice is made between rounds, on the results in a fixed order, so the
// answer has the same bits for any number of threads. A raised cancel flag is
// seen before the next trajectory starts, and the analysis then raises
// AnalysisCancelled: a cancelled analysis never returns a partial answer.
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/Real.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace korvo {

struct CaseInputs {
    Real D = 0, M = 0, Vo = 0, Angulo = 0, T = 0, H = 0;
    DragLaw Ley = DragLaw::Linear;
    bool operator==(const CaseInputs&) const = default;
};

// The figures at the ground crossing: s, m, m, m/s, degrees below the horizontal.
struct CaseFigures {
    Real TiempoVuelo = 0, AlturaMaxima = 0, Alcance = 0, VelocidadImpacto = 0, AnguloImpacto = 0;
};

enum CaseFigure : std::size_t { TiempoVuelo, AlturaMaxima, Alcance, VelocidadImpacto, AnguloImpacto };
inline constexpr std::size_t kCaseFigureCount = 5;
Real FigureOf(const CaseFigures& figures, CaseFigure which);
// The figure's name for machine output: "tiempo_vuelo", "altura_maxima",
// "alcance", "velocidad_impacto", "angulo_impacto".
const char* CaseFigureName(CaseFigure which);

using FiguresFunction = std::function<CaseFigures(const CaseInputs&)>;

// Plus or minus, in the inputs' units. T is the method, not a measurement, and
// has none.
struct CaseTolerances {
    Real D = 0, M = 0, Vo = 0, Angulo = 0;
};

// How the band is searched, for the outputs to state.
extern const char* const kMetodoBanda;
inline constexpr const char* kAnalisisCancelado = "Análisis cancelado.";

class AnalysisCancelled : public std::runtime_error {
public:
    AnalysisCancelled() : std::runtime_error(kAnalisisCancelado) {}
};

struct AnalysisOptions {
    unsigned Jobs = 1;
    const std::atomic<bool>* Cancel = nullptr;
    // Called on the calling thread between rounds with the share of the work
    // done so far (never less than the time before, 1 at the end).
    std::function<void(double)> Progress;
};

struct CaseExtreme {
    Real Valor = 0;
    CaseInputs Entradas;
};

struct FigureBand {
    CaseExtreme Minimo, Maximo;
    Real Nominal = 0;
};

struct CaseBand {
    std::array<FigureBand, kCaseFigureCount> Figuras;
    bool AlgunoIndefinido = false; // some input set in the box gave a NaN figure
};

struct FarthestReach {
    Real Angulo = 0, Alcance = 0;         // the nominal inputs
    Real AnguloCaja = 0, AlcanceCaja = 0; // over the tolerances of D, M and Vo
    CaseInputs EntradasCaja;
};

struct DistanceBranch {
    bool Alcanza = false;
    std::string Mensaje; // why no angle of this branch reaches, when none does
    Real Angulo = 0, TiempoVuelo = 0, VelocidadImpacto = 0;
    // The angle's band over the tolerances of D, M and Vo. EnTodaLaCaja is false
    // when some input sets in the box reach the distance on no angle of the
    // branch: the band then covers only those that do.
    Real AnguloMin = 0, AnguloMax = 0;
    CaseInputs EntradasMin, EntradasMax;
    bool EnTodaLaCaja = true;
};

struct AnglesForDistance {
    Real Distancia = 0;
    DistanceBranch Baja, Alta;
};

struct CaseQuestion {
    CaseInputs Nominal;
    CaseTolerances Tolerancias;
    bool Banda = true;
    bool Lejano = true;
    std::optional<Real> Distancia; // the angles for this distance, when given
};

struct CaseAnswer {
    std::optional<CaseBand> Banda;
    std::optional<FarthestReach> Lejano; // computed whenever a distance is asked too
    std::optional<AnglesForDistance> Angulos;
    std::uint64_t Trayectorias = 0; // how many trajectories were computed
};

// Raises std::invalid_argument with a Spanish message for a tolerance that is
// negative or not a number, one that takes D or Vo below 0 or M to 0 or below,
// and a distance that is not a positive number. A window asks before it starts
// the work, so that a refused field is reported before anything runs.
void CheckCaseQuestion(const CaseQuestion& question);

// Raises what CheckCaseQuestion raises; AnalysisCancelled when the flag is
// raised; and whatever the figures function raises, unchanged.
CaseAnswer AnalyzeCase(const CaseQuestion& question, const FiguresFunction& figures,
                       const AnalysisOptions& options);

} // namespace korvo

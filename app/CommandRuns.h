// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The runs of the command line, without any window: the real trajectory as the
// real-trajectory window steps it (minus the 1 ms pacing), a sweep of one of its
// inputs over a range of values on several threads, and the ideal trajectory as
// the ideal-trajectory window computes and plots it. The arithmetic is the
// windows' own core: the inputs are handed over as the texts a window's fields
// would hold, and every value comes back as the text the window would show.
//
//   RealInputs inputs;                    // the window's defaults
//   inputs.Angulo = "45";
//   RealRun run = RunRealTrajectory(inputs, {});
//   run.Estado.Iteraciones                // number of steps
//
// Texts use the decimal separator in force, as the windows' fields do;
// FieldText() turns a number written with "." or that separator into it.
#include "ballistics/core/CsvText.h"
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/GroundImpact.h"
#include "ballistics/core/RealTrajectory.h"
#include "ballistics/core/RunReport.h"
#include "ballistics/core/RunSummaries.h"
#include "ballistics/core/TrajectoryRows.h"

#include "base/ParallelFor.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// A real number typed on the command line as a field would hold it: "." and the
// regional separator both read as the separator in force. A text that does not
// read as a number either way is kept as typed, so that the window's own
// message quotes what the user wrote. (The whole-degree angle is handed over as
// typed: a fraction there is refused whichever separator it has.)
std::string FieldText(std::string_view typed);

// The inputs of the real-trajectory window, as its fields' texts. "Xo:" and
// "Yo:" are never read by the run (the window's run starts at its X and Y
// displays, which read "0"); they are kept so that a sweep over them shows it.
// The drag law is not a field: it is the run's choice (--drag), the designed
// linear law unless asked otherwise.
struct RealInputs : RunInputTexts {
    RealInputs() : RunInputTexts(DefaultRunInputTexts()) {}
};

// The inputs a sweep can vary, by the names of the command line (RunInputs.h).
using RealInput = RunInput;

// What a real run leaves: its state, the displays at the end, the table rows
// and chart points when asked for, and the ground crossing between the last two
// steps (none unless the step before the last is above 0 and the last at or
// below it).
struct RealRun {
    EstadoTrayectoria Estado;
    std::string ValorX;      // the X display at the end (15 significant digits)
    std::string TiempoTotal; // the time display at the end
    // Every step's ten texts when asked for, packed as the window keeps them.
    std::shared_ptr<TrajectoryRows> Rows;
    std::vector<std::pair<double, double>> Points;
    // False for a run stopped at its step limit (kTrayectoriaSinFin).
    bool Landed = true;
    std::optional<GroundCrossing> Cruce;
    // The impact at that crossing: its speed and its angle below the horizontal.
    std::optional<Impact> Impacto;
};

struct RealRunKeep {
    bool Rows = false;
    bool Points = false;
};

// Runs the integrator from the window's first-showing state with these inputs to
// the end of the run. Raises what the window would report: EConvertError for an
// input that is not a number (or an angle with a fraction), and
// std::runtime_error for a negative D or M. A run that has not landed after
// kMostTrajectorySteps steps stops there, as the window's does (Landed false).
RealRun RunRealTrajectory(const RealInputs& inputs, RealRunKeep keep);

// One row of a sweep: the value given to the varied input (as its field would
// hold it) and either the run's figures or the message that refused it (a run
// stopped at its step limit has both its figures and the stop's message).
struct SweepRow {
    std::string Valor;
    std::string Mensaje; // empty when the run went through
    std::int32_t Iteraciones = 0;
    std::string TiempoVuelo, AlturaMaxima, Alcance, CruceTiempo, CruceX;
    std::string VelocidadImpacto, AnguloImpacto; // empty without a crossing
};

// The values FROM, FROM + STEP, ... up to TO (both ends included, within a
// millionth of a step, and none past TO), as field texts. Raises
// std::invalid_argument with a message for a zero or non-finite step, a step
// that leads away from TO, more than `most` values, or a step too small for
// two values to differ in their 15-digit texts.
std::vector<std::string> SweepValues(Real from, Real to, Real step, std::size_t most);

// The most threads a sweep starts, whatever it is asked for.
inline constexpr std::size_t kMostSweepJobs = kMostParallelJobs;

// The threads a command runs on: --jobs N when given (refused with
// ERefused unless a whole number from 1 to kMostSweepJobs), else the cores.
class CommandArguments;
unsigned JobsOption(const CommandArguments& arguments);

// The drag law of --drag ("linear", the default, or "quadratic"), for every
// command that steps a trajectory; anything else is refused with ERefused.
DragLaw DragOption(const CommandArguments& arguments);

// Runs one real trajectory per value on `jobs` threads (at most kMostSweepJobs,
// and no more than there are values). The rows come back in the
// order of the values and do not depend on `jobs`; a value that is refused gets
// the refusal's message in its row and the others go on. The runs share nothing
// but the regional settings, which they only read.
std::vector<SweepRow> RunSweep(const RealInputs& inputs, RealInput varied,
                               const std::vector<std::string>& values, unsigned jobs);

// The ideal trajectory's inputs, as the ideal window's fields' texts.
struct IdealInputs {
    std::string VelocidadInicial = "340", Angulo = "78", AlturaDisparo = "0", DistanciaDisparo = "0",
                IntervaloIteraciones = "50";
};

// The six closed-form texts ("&Calcular") and, when asked for, the point table
// the plot fills ("&Generar Grafica" to its end), each row X, Y, time.
struct IdealRun : IdealResultTexts {
    std::vector<std::array<std::string, 3>> Rows;
};

// The most points a plot may take before it is stopped as one that never ends.
inline constexpr std::int32_t kMostPlotPoints = 1000000;

// Raises what the window would report (a conversion error, a refused interval,
// an evaluator error), or std::runtime_error when the plot does not end within
// kMostPlotPoints points.
IdealRun RunIdealTrajectory(const IdealInputs& inputs, bool plot);

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// The questions of the default case with tolerances on D, M, Vo and the angle
// (the band, the farthest reach and the angles for 300 m together) over a
// figures function of realistic cost: a trajectory stepped from numbers as the
// real run steps it, about 3,500 steps for the default angle. Run on one and
// on two threads; the ratio of the two is the speed-up.
#include "ballistics/core/TrajectoryFigures.h"

#include <benchmark/benchmark.h>

namespace {

void BM_CaseAnalysis(benchmark::State& state) {
    korvo::CaseQuestion question;
    question.Nominal = {0.000016788592601L, 0.00745L, 340, 78, 0.01L, 0, korvo::DragLaw::Linear};
    question.Tolerancias = {0.0000017L, 0.0001L, 5, 1};
    question.Distancia = 300;
    const korvo::AnalysisOptions options{static_cast<unsigned>(state.range(0)), nullptr, {}};
    std::uint64_t trajectories = 0;
    for (auto _ : state) {
        const korvo::CaseAnswer answer = korvo::AnalyzeCase(question, korvo::TrajectoryFigures, options);
        trajectories = answer.Trayectorias;
        benchmark::DoNotOptimize(answer.Angulos->Alta.Angulo);
    }
    state.counters["trajectories"] = static_cast<double>(trajectories);
}
BENCHMARK(BM_CaseAnalysis)->ArgName("jobs")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// One trajectory of the plug-in, to relate the analysis to its trajectories.
void BM_SteppedTrajectory(benchmark::State& state) {
    const korvo::CaseInputs inputs{0.000016788592601L, 0.00745L, 340, 78, 0.01L, 0, korvo::DragLaw::Linear};
    for (auto _ : state)
        benchmark::DoNotOptimize(korvo::TrajectoryFigures(inputs).Alcance);
}
BENCHMARK(BM_SteppedTrajectory)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

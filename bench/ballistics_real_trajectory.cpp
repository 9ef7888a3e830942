// SPDX-License-Identifier: GPL-3.0-or-later

// One integration step with everything a tick does outside the window: five
// field parses, every display text, the ten texts of the table row; under
// each drag law, since the window keeps one step per 1 ms tick for both.
#include "MemoryTrajectoryView.h"

#include <benchmark/benchmark.h>

namespace {

using korvo::test::LatestRowView;

void BM_OneStep(benchmark::State& state, korvo::DragLaw ley) {
    LatestRowView view;
    korvo::RealTrajectory run;
    run.Start(view, ley);
    for (auto _ : state) {
        run.Calcular(view);
        benchmark::DoNotOptimize(view.latest);
        if (!run.GoesOn()) {
            state.PauseTiming();
            view = LatestRowView();
            run = korvo::RealTrajectory();
            run.Start(view, ley);
            state.ResumeTiming();
        }
    }
}
BENCHMARK_CAPTURE(BM_OneStep, linear, korvo::DragLaw::Linear)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_OneStep, quadratic, korvo::DragLaw::Quadratic)->Unit(benchmark::kMicrosecond);

void BM_DefaultRun(benchmark::State& state, korvo::DragLaw ley) {
    for (auto _ : state) {
        LatestRowView view;
        korvo::RealTrajectory run;
        run.RunToEnd(view, ley);
        benchmark::DoNotOptimize(view.latest);
    }
}
BENCHMARK_CAPTURE(BM_DefaultRun, linear, korvo::DragLaw::Linear)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultRun, quadratic, korvo::DragLaw::Quadratic)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// SPDX-License-Identifier: GPL-3.0-or-later

// The arithmetic of a run without its texts, under each drag law: the bare
// step (the quadratic law adds a square root on the step's critical path),
// the run from numbers of the default case (what the analyses repeat
// thousands of times), and the reference solution of the default case.
#include "ballistics/core/NumericRun.h"
#include "ballistics/core/ReferenceTrajectory.h"
#include "ballistics/core/StepKernel.h"

#include <benchmark/benchmark.h>

namespace {

using korvo::DragLaw;

// One step of the default case, from launch to landing and again.
void BM_KernelStep(benchmark::State& state, DragLaw ley) {
    const korvo::NumericRunInputs defaults;
    const korvo::StepInputs inputs{defaults.D, defaults.M, korvo::kGravity, defaults.Vo, defaults.T, ley};
    const korvo::Motion launch{70.6899748780382L, 332.570184249494L, 0, 0};
    korvo::Motion motion = launch;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvo::AdvanceStep(inputs, motion));
        if (!(motion.Y > 0))
            motion = launch;
    }
}
BENCHMARK_CAPTURE(BM_KernelStep, linear, DragLaw::Linear);
BENCHMARK_CAPTURE(BM_KernelStep, quadratic, DragLaw::Quadratic);

void BM_NumericDefaultRun(benchmark::State& state, DragLaw ley) {
    korvo::NumericRunInputs in;
    in.Ley = ley;
    for (auto _ : state)
        benchmark::DoNotOptimize(korvo::RunNumeric(in));
}
BENCHMARK_CAPTURE(BM_NumericDefaultRun, linear, DragLaw::Linear)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NumericDefaultRun, quadratic, DragLaw::Quadratic)->Unit(benchmark::kMicrosecond);

void BM_ReferenceDefaultCase(benchmark::State& state, DragLaw ley) {
    const korvo::NumericRunInputs defaults;
    const korvo::ReferenceInputs in{defaults.D, defaults.M, defaults.Vo, defaults.AnguloGrados, ley};
    for (auto _ : state)
        benchmark::DoNotOptimize(korvo::ReferenceSolution(in));
}
BENCHMARK_CAPTURE(BM_ReferenceDefaultCase, linear, DragLaw::Linear)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReferenceDefaultCase, quadratic, DragLaw::Quadratic)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// One integration step with everything a tick does outside the window: five
// field parses, every display text, the ten texts of the table row.
#include "MemoryTrajectoryView.h"

#include <benchmark/benchmark.h>

namespace {

// Keeps only the latest row, so that memory stays flat however many steps run.
class LatestRowView : public korvo::test::MemoryTrajectoryView {
public:
    void AppendRow(const std::array<std::string, 10>& row) override { latest = row; }
    void AddChartPoint(double, double) override {}
    std::array<std::string, 10> latest;
};

void BM_OneStep(benchmark::State& state) {
    LatestRowView view;
    korvo::RealTrajectory run;
    run.Start(view);
    for (auto _ : state) {
        run.Calcular(view);
        benchmark::DoNotOptimize(view.latest);
        if (!run.GoesOn()) {
            state.PauseTiming();
            view = LatestRowView();
            run = korvo::RealTrajectory();
            run.Start(view);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_OneStep)->Unit(benchmark::kMicrosecond);

void BM_DefaultRun(benchmark::State& state) {
    for (auto _ : state) {
        LatestRowView view;
        korvo::RealTrajectory run;
        run.RunToEnd(view);
        benchmark::DoNotOptimize(view.latest);
    }
}
BENCHMARK(BM_DefaultRun)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// SPDX-License-Identifier: GPL-3.0-or-later

// Runs on the offscreen platform unless a display platform is asked for.
//
// LongRun/N: the real-trajectory window shown, a run of N steps on the real
// 1 ms timer with the event loop in between (repaints of the fields, the
// table and the chart included). "T:" is 1E-9, so the projectile stays in the
// air for the whole run and the chart keeps growing. The run keeps its pace
// when steps_per_ms stays at 1 (within 5 %) and last_tenth_steps_per_ms, the
// pace over the last tenth of the run, is no lower: drawing must not cost
// more as the chart fills.
//
// Counters: the pace, the longest tick (the tick handler alone, which may
// catch up on several late steps), the longest gap between two tick starts
// (everything the event loop did in between included), the heap the run's
// rows hold (table, chart series, drawn line) per row, and the peak resident
// memory of the process.
//
// LongRun/1000000 takes about 17 minutes; LongRun/20000 is the quick check:
//   bench_long_run --benchmark_filter=LongRun/20000
#include "app/Startup.h"
#include "ballistics/Unit2.h"
#include "bench/WindowBenchSupport.h"
#include "chrome/Chrome.h"
#include "chrome/Messages.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <malloc.h>
#include <memory>
#include <sys/resource.h>

namespace {

using korvo::bench::Clock;
using korvo::bench::Milliseconds;
using korvo::bench::ShowExposed;
using korvo::bench::TickWatch;

double HeapBytes() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd);
}

double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void LongRun(benchmark::State& state) {
    const auto steps = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<korvo::TForm2>();
        korvo::Form2 = form.get();
        ShowExposed(*form, state);
        form->VTiempoIteraciones->setText(QStringLiteral("1E-9"));
        TickWatch watch;
        form->Timer1->installEventFilter(&watch);
        QEventLoop loop;
        Clock::time_point lastTenth{};
        QObject::connect(form->Timer1, &QTimer::timeout, &watch, [&] {
            watch.Ended();
            const std::int32_t done = form->Trajectory().State().Iteraciones;
            if (lastTenth == Clock::time_point{} && done >= steps - steps / 10)
                lastTenth = Clock::now();
            if (done >= steps) {
                form->DetenerProceso();
                loop.quit();
            }
        });
        int reports = 0;
        const korvo::MessagePresenter previous =
            korvo::SetMessagePresenter([&](const korvo::MessageRequest&) {
                ++reports;
                loop.quit();
            });
        const double heapBefore = HeapBytes();
        state.ResumeTiming();

        const Clock::time_point begin = Clock::now();
        QTest::mouseClick(form->IniciarCalculos, Qt::LeftButton);
        loop.exec();
        const Clock::time_point end = Clock::now();

        state.PauseTiming();
        QTest::qWait(2 * korvo::TForm2::kRunPaintMilliseconds); // the last redraw of the chart
        const double heapAfter = HeapBytes();
        korvo::SetMessagePresenter(previous);
        const std::int32_t done = form->Trajectory().State().Iteraciones;
        if (reports != 0 || done < steps)
            state.SkipWithError("the run ended before its steps were done");
        const double lastSteps = steps / 10;
        state.counters["steps"] = done;
        state.counters["steps_per_ms"] = done / Milliseconds(end - begin);
        state.counters["last_tenth_steps_per_ms"] = lastSteps / Milliseconds(end - lastTenth);
        state.counters["longest_tick_ms"] = Milliseconds(watch.longestTick);
        state.counters["longest_gap_ms"] = Milliseconds(watch.longestGap);
        state.counters["ticks_over_16ms"] = static_cast<double>(watch.slowTicks);
        state.counters["heap_bytes_per_row"] = (heapAfter - heapBefore) / done;
        state.counters["peak_resident_MB"] = PeakResidentMegabytes();
        korvo::Form2 = nullptr;
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(LongRun)->Arg(20000)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    korvo::TKorvoApplication application(argc, argv);
    korvo::InstallFontSubstitutions();
    korvo::ReadRegionalSettings();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

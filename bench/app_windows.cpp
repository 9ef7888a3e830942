// SPDX-License-Identifier: GPL-3.0-or-later

// Runs on the offscreen platform unless a display platform is asked for.
//
// DefaultRun: from the click on "Iniciar &Proceso" to "Proceso Finalizado.",
// with the window shown, on the real 1 ms timer and the event loop in between
// (so repaints of the fields, table and chart are included). Counters: the
// longest tick (the step handler alone) and the longest gap between two tick
// starts (everything the event loop did in between included).
//
// TableRowAfter/N: one more row appended to a shown table of N rows, with the
// table painted; smooth means about the same at 100,000 rows as at 1,000.
//
// StartupToMainWindowShown: creating the eight windows and showing the main
// window until it is exposed; the application object is made once before, and
// the time it took is the counter application_ms.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit2.h"
#include "chrome/Chrome.h"
#include "chrome/Messages.h"

#include "bench/WindowBenchSupport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

using korvo::bench::Clock;
using korvo::bench::Milliseconds;
using korvo::bench::ShowExposed;
using korvo::bench::TickWatch;

void DefaultRun(benchmark::State& state) {
    double longestTick = 0, longestGap = 0;
    long ticks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<korvo::TForm2>();
        korvo::Form2 = form.get();
        ShowExposed(*form, state);
        TickWatch watch;
        form->Timer1->installEventFilter(&watch);
        QObject::connect(form->Timer1, &QTimer::timeout, &watch, [&watch] { watch.Ended(); });
        QEventLoop loop;
        const korvo::MessagePresenter previous =
            korvo::SetMessagePresenter([&loop](const korvo::MessageRequest&) { loop.quit(); });
        state.ResumeTiming();

        QTest::mouseClick(form->IniciarCalculos, Qt::LeftButton);
        loop.exec();

        state.PauseTiming();
        korvo::SetMessagePresenter(previous);
        if (form->State() != korvo::TForm2::RunState::Finished ||
            form->Trajectory().State().Iteraciones != 3481)
            state.SkipWithError("the default run did not finish with 3481 steps");
        longestTick = std::max(longestTick, Milliseconds(watch.longestTick));
        longestGap = std::max(longestGap, Milliseconds(watch.longestGap));
        ticks = watch.ticks;
        korvo::Form2 = nullptr;
        form.reset();
        state.ResumeTiming();
    }
    state.counters["longest_tick_ms"] = longestTick;
    state.counters["longest_gap_ms"] = longestGap;
    state.counters["ticks"] = static_cast<double>(ticks);
}
BENCHMARK(DefaultRun)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void TableRowAfter(benchmark::State& state) {
    korvo::TForm2 form;
    ShowExposed(form, state);
    const std::array<std::string, 10> row{"100000", "1000",  "91.201",  "-0.106", "-0.001",
                                          "-9.806", "0.000", "-12.804", "0.611",  "0.062"};
    for (int i = 0; i < state.range(0); ++i)
        form.ListModel->AppendRow(row);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        form.ListModel->AppendRow(row);
        form.ListView1->viewport()->repaint();
    }
}
BENCHMARK(TableRowAfter)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// How long the application object took to make, once, before any benchmark.
double applicationMilliseconds = 0;

void StartupToMainWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        korvo::CreateWindows();
        korvo::Form1->show();
        if (!QTest::qWaitForWindowExposed(korvo::Form1))
            state.SkipWithError("the main window was never exposed");
        state.PauseTiming();
        korvo::DestroyWindows();
        state.ResumeTiming();
    }
    state.counters["application_ms"] = applicationMilliseconds;
}
BENCHMARK(StartupToMainWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const Clock::time_point begin = Clock::now();
    korvo::TKorvoApplication application(argc, argv);
    korvo::InstallFontSubstitutions();
    korvo::ReadRegionalSettings();
    applicationMilliseconds = Milliseconds(Clock::now() - begin);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

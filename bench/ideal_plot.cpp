// SPDX-License-Identifier: GPL-3.0-or-later

// Runs on the offscreen platform unless a display platform is asked for.
//
// DefaultPlot: from the click on "&Generar Grafica" to the tick that ends the
// plot, with the window shown, on the real 1 ms timer and the event loop in
// between (so repaints of the fields, table and chart are included). The
// default plot has 1357 ticks, so about 1357 ms is the floor. Counters: the
// longest tick (the tick handler alone), the longest gap between two tick
// starts (everything the event loop did in between included) and the rows.
#include "ballistics/Unit7.h"
#include "bench/WindowBenchSupport.h"
#include "chrome/Chrome.h"
#include "chrome/Messages.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

using korvo::bench::Milliseconds;
using korvo::bench::ShowExposed;
using korvo::bench::TickWatch;

void DefaultPlot(benchmark::State& state) {
    double longestTick = 0, longestGap = 0;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<korvo::TForm7>();
        korvo::Form7 = form.get();
        ShowExposed(*form, state);
        int reports = 0;
        const korvo::MessagePresenter previous =
            korvo::SetMessagePresenter([&reports](const korvo::MessageRequest&) { ++reports; });
        QTest::mouseClick(form->CalcularResultados, Qt::LeftButton);
        QCoreApplication::processEvents();
        TickWatch watch;
        form->Timer1->installEventFilter(&watch);
        QEventLoop loop;
        // Connected after the window's own handler, so it runs after each tick.
        QObject::connect(form->Timer1, &QTimer::timeout, &watch, [&] {
            watch.Ended();
            if (!form->Timer1->isActive())
                loop.quit();
        });
        state.ResumeTiming();

        QTest::mouseClick(form->Graficar, Qt::LeftButton);
        loop.exec();

        state.PauseTiming();
        korvo::SetMessagePresenter(previous);
        rows = form->ListModel->rowCount();
        if (reports != 0 || rows != 1357)
            state.SkipWithError("the default plot did not end with 1357 rows");
        longestTick = std::max(longestTick, Milliseconds(watch.longestTick));
        longestGap = std::max(longestGap, Milliseconds(watch.longestGap));
        korvo::Form7 = nullptr;
        form.reset();
        state.ResumeTiming();
    }
    state.counters["longest_tick_ms"] = longestTick;
    state.counters["longest_gap_ms"] = longestGap;
    state.counters["rows"] = rows;
}
BENCHMARK(DefaultPlot)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return korvo::bench::RunWindowBenchmarks(argc, argv);
}

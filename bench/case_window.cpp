// SPDX-License-Identifier: GPL-3.0-or-later

// Runs on the offscreen platform unless a display platform is asked for.
//
// CaseWindow/<step in ms>: the case-analysis window with the default case and
// tolerances on D, M, Vo and the angle and a distance of 300 m, from
// "Calcular" to the tables shown, on the machine's cores. A 10 ms timer runs
// meanwhile; the counter longest_gap_ms is the longest time between two of its
// ticks: how long the window went without handling its events.
// CaseWindowCancel/<step>: "Cancelar" pressed 300 ms into the same work; the
// time measured is from the press to the window ready again (cancel_ms).
#include "ballistics/CaseAnalysisWindow.h"
#include "ballistics/Unit2.h"
#include "chrome/Messages.h"

#include "bench/WindowBenchSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

using korvo::bench::Clock;
using korvo::bench::Milliseconds;

struct Windows {
    explicit Windows(const char* step) {
        korvo::Form2 = &real;
        korvo::FormCaso = &form;
        real.VTiempoIteraciones->setText(QString::fromUtf8(step));
        form.ShowModal();
        form.TolD->setText(QStringLiteral("0.0000017"));
        form.TolM->setText(QStringLiteral("0.0001"));
        form.TolVo->setText(QStringLiteral("5"));
        form.TolAngulo->setText(QStringLiteral("1"));
        form.Distancia->setText(QStringLiteral("300"));
    }
    ~Windows() {
        form.close();
        korvo::FormCaso = nullptr;
        korvo::Form2 = nullptr;
    }
    // Lets the event loop run until the work has ended; the longest gap
    // between two ticks of a 10 ms timer meanwhile.
    Clock::duration WaitForEnd() {
        korvo::bench::GapTimer ticker(10);
        while (form.Running())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        return ticker.Longest();
    }
    korvo::TForm2 real;
    korvo::TCaseAnalysisWindow form;
};

void BM_CaseWindow(benchmark::State& state, const char* step) {
    const korvo::MessagePresenter previous = korvo::SetMessagePresenter([](const korvo::MessageRequest&) {});
    Windows w(step);
    double longest = 0;
    for (auto _ : state) {
        w.form.Calcular->click();
        longest = std::max(longest, Milliseconds(w.WaitForEnd()));
        if (!w.form.Answer())
            state.SkipWithError("the analysis did not end with an answer");
    }
    state.counters["longest_gap_ms"] = longest;
    korvo::SetMessagePresenter(previous);
}
BENCHMARK_CAPTURE(BM_CaseWindow, step_0_01, "0.01")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CaseWindow, step_0_001, "0.001")
    ->UseRealTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

void BM_CaseWindowCancel(benchmark::State& state, const char* step) {
    const korvo::MessagePresenter previous = korvo::SetMessagePresenter([](const korvo::MessageRequest&) {});
    Windows w(step);
    double longest = 0;
    for (auto _ : state) {
        w.form.Calcular->click();
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(300);
        while (Clock::now() < until)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (!w.form.Running()) {
            state.SkipWithError("the work ended before it could be cancelled");
            break;
        }
        const Clock::time_point pressed = Clock::now();
        w.form.Cancelar->click();
        w.WaitForEnd();
        const Clock::duration delay = Clock::now() - pressed;
        state.SetIterationTime(std::chrono::duration<double>(delay).count());
        longest = std::max(longest, Milliseconds(delay));
    }
    state.counters["cancel_ms"] = longest;
    korvo::SetMessagePresenter(previous);
}
BENCHMARK_CAPTURE(BM_CaseWindowCancel, step_0_001, "0.001")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return korvo::bench::RunWindowBenchmarks(argc, argv);
}

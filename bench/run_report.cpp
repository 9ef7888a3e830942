// SPDX-License-Identifier: GPL-3.0-or-later

// Runs on the offscreen platform unless a display platform is asked for.
//
// RunReport/<step>: the PDF report of a finished run of the real-trajectory
// window, shown, from the menu command to the file written (the figures, the
// digest, the chart as vectors, every table row). The step 0.01 gives the
// default run's 3481 rows, 0.000352 some 100,000. The run itself is not timed.
// Counters: rows, pages-worth of bytes (kB), and the longest gap between two
// ticks of a 5 ms timer running meanwhile: how long the window went without
// handling its events while the report was written.
#include "ballistics/RunReportPdf.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit2.h"
#include "ballistics/core/OutputFiles.h"
#include "chrome/Chrome.h"
#include "chrome/Messages.h"

#include "bench/WindowBenchSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using korvo::bench::Milliseconds;
using korvo::bench::ShowExposed;

void RunReport(benchmark::State& state, const char* step) {
    korvo::TForm2 form;
    korvo::Form2 = &form;
    ShowExposed(form, state);
    const korvo::MessagePresenter previous = korvo::SetMessagePresenter([](const korvo::MessageRequest&) {});
    form.VTiempoIteraciones->setText(QString::fromUtf8(step));
    form.IniciarCalculosClick();
    while (form.Timer1->isActive())
        form.Timer1Timer();
    if (form.State() != korvo::TForm2::RunState::Finished)
        state.SkipWithError("the run did not finish");

    QTemporaryDir directory;
    const QString path = QDir(directory.path()).filePath(korvo::kRunReportFileName);
    double longestGap = 0;
    for (auto _ : state) {
        korvo::bench::GapTimer ticker(5);
        ticker.Restart();
        form.SaveRunReport(path);
        longestGap = std::max(longestGap, Milliseconds(ticker.Longest()));
    }
    state.counters["rows"] = form.ListModel->rowCount();
    state.counters["kB"] = static_cast<double>(QFileInfo(path).size()) / 1024;
    state.counters["longest_gap_ms"] = longestGap;
    korvo::SetMessagePresenter(previous);
    korvo::Form2 = nullptr;
}
BENCHMARK_CAPTURE(RunReport, default_3481_rows, "0.01")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(RunReport, about_100000_rows, "0.000352")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    return korvo::bench::RunWindowBenchmarks(argc, argv);
}

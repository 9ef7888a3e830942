// SPDX-License-Identifier: GPL-3.0-or-later

// KORVO from the command line. `real --xls` with the defaults as a whole
// process (start, run, workbook, exit), timed on the wall clock; and a 101-point
// sweep of the angle run in this process on one and on two threads, whose
// ratio is the speed-up.
#include "app/CommandRuns.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Runs KORVO with the arguments, its output thrown away; returns its exit status.
int RunKorvo(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), KORVO_PROGRAM);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, KORVO_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_RealXlsProcess(benchmark::State& state) {
    const std::string path = "/tmp/korvo_bench_" + std::to_string(getpid()) + ".xls";
    for (auto _ : state)
        if (RunKorvo({"real", "--xls", path}) != 0)
            state.SkipWithError("KORVO real --xls failed");
    std::remove(path.c_str());
}
BENCHMARK(BM_RealXlsProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Angles 0 to 100: from the two-step run at 0 up to the long runs near 90.
void BM_SweepAngle101(benchmark::State& state) {
    const std::vector<std::string> values = korvo::SweepValues(0, 100, 1, 100000);
    const korvo::RealInputs inputs;
    for (auto _ : state) {
        auto rows =
            korvo::RunSweep(inputs, korvo::RealInput::Angulo, values, static_cast<unsigned>(state.range(0)));
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_SweepAngle101)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

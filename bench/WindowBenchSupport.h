// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Timing helpers of the window benchmarks, which drive a window's 1 ms timer
// for real on the event loop.
#include "chrome/Chrome.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

namespace korvo::bench {

using Clock = std::chrono::steady_clock;

inline double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Notes when each tick starts (the timer's event arrives before the handler
// runs, so install it as an event filter on the timer) and, through Ended()
// connected after the window's own handler, how long the longest tick took.
// The longest gap between two tick starts includes everything the event loop
// did in between. Ticks longer than a 60 Hz frame are counted.
class TickWatch : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer) {
            const Clock::time_point now = Clock::now();
            if (started != Clock::time_point{})
                longestGap = std::max(longestGap, now - started);
            started = now;
        }
        return false;
    }
    void Ended() {
        const Clock::duration tick = Clock::now() - started;
        longestTick = std::max(longestTick, tick);
        if (tick > kFrame)
            ++slowTicks;
        ++ticks;
    }
    // A frame at 60 Hz: a tick longer than this holds up the window visibly.
    static constexpr Clock::duration kFrame = std::chrono::milliseconds(16);
    Clock::time_point started{};
    Clock::duration longestTick{};
    Clock::duration longestGap{};
    long ticks = 0;
    long slowTicks = 0; // ticks longer than kFrame
};

// A timer that ticks every `interval` ms while the event loop runs and keeps
// the longest time between two ticks: how long the window went without
// handling its events. Restart() begins a new measurement from now.
class GapTimer {
public:
    explicit GapTimer(int interval) {
        QObject::connect(&ticker_, &QTimer::timeout, [this] { Note(); });
        ticker_.start(interval);
    }
    void Restart() {
        last_ = Clock::now();
        gap_ = {};
    }
    // The longest gap so far, counting the time since the last tick.
    Clock::duration Longest() {
        Note();
        return gap_;
    }

private:
    void Note() {
        const Clock::time_point now = Clock::now();
        gap_ = std::max(gap_, now - last_);
        last_ = now;
    }
    QTimer ticker_;
    Clock::time_point last_ = Clock::now();
    Clock::duration gap_{};
};

// Shows `window` and waits until the platform has exposed it; a window never
// exposed fails the benchmark.
inline void ShowExposed(korvo::TChromeWindow& window, benchmark::State& state) {
    window.ShowModal();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("the window was never exposed");
}

// The main program of a window benchmark: the offscreen platform unless a
// display platform is asked for, one application object, the font
// substitutions of the windows, then every benchmark asked for.
inline int RunWindowBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    korvo::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace korvo::bench

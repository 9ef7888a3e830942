// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Paces a run that a window drives from a 1 ms timer, one step per tick.
//
// The timer's waits are rounded up to whole milliseconds by the event loop, so
// its ticks come a little later than every millisecond and a repaint can hold
// one back further; a late 1 ms timer does not catch up by itself. A late tick
// therefore also runs the steps that have fallen due since the run started, at
// most kMostStepsPerTick of them so that a tick stays short: the run keeps its
// pace of one step per millisecond of wall time.
//
// A step changes several fields, a table row and the chart; painting the
// window after each one would take longer than the step itself and stretch the
// run. While the timer runs, the window repaints at most once per
// kPaintMilliseconds: the changes of all steps in between are painted together.
//
// Use: make it in the window's constructor with the step handler, keep
// Ticker() as the window's timer, call Start() to begin a run, stop the ticker
// to end it, and let the window's event() return true for events that
// HoldsUpdate() claims.
#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QEvent;
class QTimer;
class QWidget;

namespace korvo {

class TRunPacer : public QObject {
public:
    static constexpr int kPaintMilliseconds = 40;
    static constexpr int kMostStepsPerTick = 8;

    // Makes the 1 ms precise timer "Timer1", a child of `window`, that calls
    // `step` once per tick and more often when the tick is late.
    TRunPacer(QWidget* window, std::function<void()> step);

    QTimer* Ticker() const { return ticker_; }
    // Starts the run's clock and the timer; the first tick runs the first step.
    void Start();
    // True when `event` is a repaint of the window that waits for the next
    // paint slot; the window then drops it, and one repaint follows later.
    bool HoldsUpdate(QEvent* event);

private:
    void OnTick();

    QWidget* window_;
    std::function<void()> step_;
    QTimer* ticker_;
    QTimer* paintPacer_;
    QElapsedTimer clock_;
    qint64 steps_ = 0;
    bool paintHeld_ = false;
};

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/RunPacing.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace korvo {

TRunPacer::TRunPacer(QWidget* window, std::function<void()> step)
    : QObject(window), window_(window), step_(std::move(step)) {
    ticker_ = new QTimer(window);
    ticker_->setObjectName(QStringLiteral("Timer1"));
    ticker_->setTimerType(Qt::PreciseTimer);
    ticker_->setInterval(1);
    connect(ticker_, &QTimer::timeout, this, &TRunPacer::OnTick);

    paintPacer_ = new QTimer(this);
    paintPacer_->setSingleShot(true);
    paintPacer_->setInterval(kPaintMilliseconds);
    connect(paintPacer_, &QTimer::timeout, this, [this] {
        if (std::exchange(paintHeld_, false))
            QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });
}

void TRunPacer::Start() {
    clock_.start();
    steps_ = 0;
    ticker_->start();
}

bool TRunPacer::HoldsUpdate(QEvent* event) {
    if (event->type() != QEvent::UpdateRequest || !ticker_->isActive())
        return false;
    if (paintPacer_->isActive()) {
        paintHeld_ = true;
        return true;
    }
    paintPacer_->start();
    return false;
}

void TRunPacer::OnTick() {
    const qint64 due = clock_.elapsed();
    int budget = kMostStepsPerTick;
    do {
        ++steps_;
        step_();
    } while (ticker_->isActive() && steps_ < due && --budget > 0);
}

} // namespace korvo

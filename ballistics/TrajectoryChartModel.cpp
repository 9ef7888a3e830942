#include "ballistics/TrajectoryChartModel.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace korvo {
namespace {

// An axis over a single value (one point, or a flat run) still needs a span.
void SetAxisRange(QValueAxis* axis, double low, double high) {
    if (!(low < high)) {
        low -= 1.0;
        high += 1.0;
    }
    axis->setRange(low, high);
}

} // namespace

TrajectoryChartModel::TrajectoryChartModel(QLineSeries* series, QValueAxis* axisX, QValueAxis* axisY,
                                           QObject* parent)
    : QObject(parent), series_(series), axisX_(axisX), axisY_(axisY) {
    refresh_.setSingleShot(true);
    refresh_.setInterval(kRefreshMilliseconds);
    connect(&refresh_, &QTimer::timeout, this, &TrajectoryChartModel::Flush);
    FitAxes();
}

bool TrajectoryChartModel::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    {
        // The chart hears of the new point at the next refresh.
        const QSignalBlocker quiet(series_);
        if (xs_.empty() || xs_.back() <= x) {
            xs_.push_back(x);
            series_->append(x, y);
        } else {
            const auto slot = std::upper_bound(xs_.begin(), xs_.end(), x);
            const int at = static_cast<int>(slot - xs_.begin());
            xs_.insert(slot, x);
            series_->insert(at, QPointF(x, y));
        }
    }
    minX_ = std::min(minX_, x);
    maxX_ = std::max(maxX_, x);
    minY_ = std::min(minY_, y);
    maxY_ = std::max(maxY_, y);
    dirty_ = true;
    if (!refresh_.isActive())
        refresh_.start();
    return true;
}

void TrajectoryChartModel::Clear() {
    refresh_.stop();
    dirty_ = false;
    series_->clear();
    xs_.clear();
    minX_ = minY_ = std::numeric_limits<double>::infinity();
    maxX_ = maxY_ = -std::numeric_limits<double>::infinity();
    FitAxes();
}

void TrajectoryChartModel::Flush() {
    refresh_.stop();
    if (!dirty_)
        return;
    dirty_ = false;
    FitAxes();
    emit series_->pointsReplaced();
}

void TrajectoryChartModel::FitAxes() {
    if (xs_.empty()) {
        axisX_->setRange(0.0, 1.0);
        axisY_->setRange(0.0, 1.0);
        return;
    }
    SetAxisRange(axisX_, minX_, maxX_);
    SetAxisRange(axisY_, minY_, maxY_);
}

TrajectoryChart MakeTrajectoryChart(QWidget* window, const QRect& box) {
    auto* chart = new QChart();
    chart->setPlotAreaBackgroundVisible(false);
    chart->legend()->hide();
    auto* series = new QLineSeries();
    series->setObjectName(QStringLiteral("Series1"));
    series->setPen(QPen(Qt::red, 1));
    series->setPointsVisible(false);
    chart->addSeries(series);
    auto* axisX = new QValueAxis();
    auto* axisY = new QValueAxis();
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisX);
    series->attachAxis(axisY);
    auto* model = new TrajectoryChartModel(series, axisX, axisY, window);

    auto* view = new QChartView(chart, window);
    view->setObjectName(QStringLiteral("Chart1"));
    view->setGeometry(box);
    return {view, series, model};
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/TrajectoryChartModel.h"

#include "ballistics/core/ChartAxis.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QColor>
#include <QLineSeries>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace korvo {

namespace {

// A chart view that shows when it has the keyboard focus (a dotted rectangle
// inside its edge), so that a keyboard user sees where Tab and the context
// menu key went. The mark is painted on the screen only: a bitmap or report
// rendered from the chart never holds it.
class TFocusChartView : public QChartView {
public:
    using QChartView::QChartView;

protected:
    bool viewportEvent(QEvent* event) override {
        const bool handled = QChartView::viewportEvent(event);
        if (event->type() == QEvent::Paint && hasFocus()) {
            QPainter painter(viewport());
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.drawRect(viewport()->rect().adjusted(2, 2, -3, -3));
        }
        return handled;
    }
    void focusInEvent(QFocusEvent* event) override {
        QChartView::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QChartView::focusOutEvent(event);
        viewport()->update();
    }
};

} // namespace

TrajectoryChartModel::TrajectoryChartModel(QLineSeries* series, QLineSeries* line, QCategoryAxis* axisX,
                                           QCategoryAxis* axisY, int columns, QObject* parent)
    : QObject(parent), series_(series), line_(line), axisX_(axisX), axisY_(axisY), columns_(columns) {
    for (QCategoryAxis* axis : {axisX_, axisY_})
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    refresh_.setSingleShot(true);
    refresh_.setInterval(kRefreshMilliseconds);
    connect(&refresh_, &QTimer::timeout, this, &TrajectoryChartModel::Flush);
    FitAxes();
}

int TrajectoryChartModel::Count() const {
    return series_->count();
}

int TrajectoryChartModel::DrawnCount() const {
    return line_->count();
}

bool TrajectoryChartModel::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    {
        // Nobody draws the data series: its signals would only cost time.
        const QSignalBlocker quiet(series_);
        const int count = series_->count();
        if (count == 0 || series_->at(count - 1).x() <= x) {
            series_->append(x, y);
        } else {
            // The first point with a larger X: the new one goes after its equals.
            int low = 0, high = count - 1;
            while (low < high) {
                const int middle = low + (high - low) / 2;
                if (series_->at(middle).x() <= x)
                    low = middle + 1;
                else
                    high = middle;
            }
            series_->insert(low, QPointF(x, y));
        }
    }
    columns_.Add(x, y);
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
    columns_.Clear();
    line_->clear();
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
    const std::vector<ChartPoint> drawn = columns_.Points();
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(drawn.size()));
    for (const ChartPoint& point : drawn)
        points.append(QPointF(point.X, point.Y));
    line_->replace(points);
}

void TrajectoryChartModel::FitAxes() {
    const bool empty = series_->count() == 0;
    ShowAxis(axisX_, empty ? EmptyAxis() : FitAxis(minX_, maxX_));
    ShowAxis(axisY_, empty ? EmptyAxis() : FitAxis(minY_, maxY_));
}

void TrajectoryChartModel::ShowAxis(QCategoryAxis* axis, const AxisFit& fit) {
    // The ticks change far less often than the range, which grows with nearly
    // every step of a run: the labels are rebuilt only when they change.
    QStringList labels;
    for (const AxisTick& tick : fit.Ticks)
        labels.append(QString::fromStdString(tick.Label));
    if (axis->categoriesLabels() != labels) {
        for (const QString& label : axis->categoriesLabels())
            axis->remove(label);
        axis->setStartValue(fit.Low);
        for (const AxisTick& tick : fit.Ticks)
            axis->append(QString::fromStdString(tick.Label), tick.Value);
    }
    axis->setStartValue(fit.Low);
    axis->setRange(fit.Low, fit.High);
}

TrajectoryChart MakeTrajectoryChart(QWidget* window, const QRect& box) {
    auto* chart = new QChart();
    chart->setPlotAreaBackgroundVisible(false);
    chart->legend()->hide();
    auto* series = new QLineSeries(window);
    series->setObjectName(QStringLiteral("Series1"));
    auto* line = new QLineSeries();
    line->setObjectName(QStringLiteral("Series1Drawn"));
    for (QLineSeries* s : {series, line}) {
        s->setPen(QPen(Qt::red, 1));
        s->setPointsVisible(false);
    }
    chart->addSeries(line);
    auto* axisX = new QCategoryAxis();
    auto* axisY = new QCategoryAxis();
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    line->attachAxis(axisX);
    line->attachAxis(axisY);
    auto* model = new TrajectoryChartModel(series, line, axisX, axisY, box.width(), window);

    auto* view = new TFocusChartView(chart, window);
    view->setObjectName(QStringLiteral("Chart1"));
    view->setGeometry(box);
    return {view, series, model};
}

TrajectoryChart MakeRealTrajectoryChart(QWidget* window, const QRect& box) {
    const TrajectoryChart made = MakeTrajectoryChart(window, box);
    made.view->chart()->setBackgroundBrush(QColor(231, 230, 232));
    made.view->chart()->setBackgroundRoundness(0);
    return made;
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Keeps the points of a trajectory chart in ascending X, the line that is
// drawn of them, and the chart's two axes fitted to them.
//
// Points nearly always arrive in ascending X, so an append is the common case;
// a point with a smaller X than earlier ones is inserted before them (after
// any point with the same X), found by binary search over the series. The
// axes follow the smallest and largest coordinates seen, tracked here, so no
// step ever scans the points.
//
// The data series holds every point and is not drawn itself; the chart draws
// a second series holding, of each pixel column, the first, lowest, highest
// and last point (TPixelColumns): the same line at a cost bound by the chart's
// width, not by the run's length. That line and the axes are redrawn at most
// once per refresh interval, as a redraw of every 1 ms step would slow the run
// itself down. Flush() redraws at once (before the chart is saved as a picture).
//
// The axes carry their own ticks and labels (FitAxis): round values, at most
// about six significant digits, the decimal separator in force. Clear() leaves
// the chart as a fresh one, whatever it held before (a chart that once showed
// 1e80 labels its next points as a new chart would).
//
// A point with an infinite or NaN coordinate cannot be drawn or ordered (a NaN
// compares false with everything and would break the ordering), so it is left
// out of the series; the table still shows such a step.
#include "ballistics/core/PixelColumns.h"

#include <QObject>
#include <QSize>
#include <QTimer>
#include <limits>

class QCategoryAxis;
class QChartView;
class QLineSeries;
class QRect;
class QWidget;

namespace korvo {

struct AxisFit;

class TrajectoryChartModel : public QObject {
    Q_OBJECT
public:
    static constexpr int kRefreshMilliseconds = 40;

    // `series` receives every point and stays out of the chart; `line` is the
    // chart's drawn series, on `axisX` and `axisY`, drawn `columns` pixels wide.
    TrajectoryChartModel(QLineSeries* series, QLineSeries* line, QCategoryAxis* axisX, QCategoryAxis* axisY,
                         int columns, QObject* parent = nullptr);

    // Adds the point at its place in X order; returns false when it was left out.
    bool Add(double x, double y);
    void Clear();
    // Brings the drawn line and the axes up to date with the points now.
    void Flush();
    int Count() const;
    // The points the chart draws (at most four per pixel column once flushed).
    int DrawnCount() const;

private:
    void FitAxes();
    static void ShowAxis(QCategoryAxis* axis, const AxisFit& fit);

    QLineSeries* series_;
    QLineSeries* line_;
    QCategoryAxis* axisX_;
    QCategoryAxis* axisY_;
    TPixelColumns columns_;
    QTimer refresh_;
    bool dirty_ = false;
    double minX_ = std::numeric_limits<double>::infinity();
    double maxX_ = -std::numeric_limits<double>::infinity();
    double minY_ = std::numeric_limits<double>::infinity();
    double maxY_ = -std::numeric_limits<double>::infinity();
};

// The trajectory chart of a window: a view named "Chart1" in `window` at `box`,
// the data series "Series1" (a child of `window`), the drawn line
// "Series1Drawn", red, one pixel wide, without point marks, on axes along the
// bottom and the left, with no legend and no plot-area background, and the
// model that keeps them (a child of `window`). The chart's own background is
// left to the window.
struct TrajectoryChart {
    QChartView* view;
    QLineSeries* series;
    TrajectoryChartModel* model;
};
TrajectoryChart MakeTrajectoryChart(QWidget* window, const QRect& box);

// The real-trajectory window's chart size: its bitmap and the report's chart
// have it too.
inline constexpr QSize kRealTrajectoryChartSize{588, 413};

// The real-trajectory window's chart: the trajectory chart on the window's
// grey background with square corners, at `box` of `window`. The command line
// draws its bitmap and report through the same chart, in a window of its own.
TrajectoryChart MakeRealTrajectoryChart(QWidget* window, const QRect& box);

} // namespace korvo

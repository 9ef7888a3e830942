#pragma once
// Keeps a line series' points in ascending X and its two axes fitted to them.
//
// Points nearly always arrive in ascending X, so an append is the common case;
// a point with a smaller X than earlier ones is inserted before them (after
// any point with the same X), found by binary search over a copy of the Xs.
// The axes follow the smallest and largest coordinates seen, tracked here, so
// no step ever scans the points.
//
// The series always holds every point at once, but the chart redraws its line
// at most once per refresh interval: the chart rebuilds and strokes the whole
// line whenever a point or an axis range changes, so redrawing at every 1 ms
// step would cost time growing with the run and slow the run itself down.
// Flush() redraws at once (before the chart is saved as a picture).
//
// A point with an infinite or NaN coordinate cannot be drawn or ordered (a NaN
// compares false with everything and would break the ordering), so it is left
// out of the series; the table still shows such a step.
#include <QObject>
#include <QTimer>
#include <limits>
#include <vector>

class QChartView;
class QLineSeries;
class QRect;
class QValueAxis;
class QWidget;

namespace korvo {

class TrajectoryChartModel : public QObject {
    Q_OBJECT
public:
    static constexpr int kRefreshMilliseconds = 40;

    TrajectoryChartModel(QLineSeries* series, QValueAxis* axisX, QValueAxis* axisY,
                         QObject* parent = nullptr);

    // Adds the point at its place in X order; returns false when it was left out.
    bool Add(double x, double y);
    void Clear();
    // Brings the drawn line and the axes up to date with the points now.
    void Flush();
    int Count() const { return static_cast<int>(xs_.size()); }

private:
    void FitAxes();

    QLineSeries* series_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    QTimer refresh_;
    bool dirty_ = false;
    std::vector<double> xs_;
    double minX_ = std::numeric_limits<double>::infinity();
    double maxX_ = -std::numeric_limits<double>::infinity();
    double minY_ = std::numeric_limits<double>::infinity();
    double maxY_ = -std::numeric_limits<double>::infinity();
};

// The trajectory chart of a window: a view named "Chart1" in `window` at `box`,
// holding one line series "Series1" drawn red, one pixel wide, without point
// marks, on value axes along the bottom and the left, with no legend and no
// plot-area background, and the model that keeps them (a child of `window`).
// The chart's own background is left to the window.
struct TrajectoryChart {
    QChartView* view;
    QLineSeries* series;
    TrajectoryChartModel* model;
};
TrajectoryChart MakeTrajectoryChart(QWidget* window, const QRect& box);

} // namespace korvo

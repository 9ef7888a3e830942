// SPDX-License-Identifier: GPL-3.0-or-later

// The chart keeps its points in ascending X and its axes around them, draws a
// line whose size does not grow with the points, and recovers from any values.
#include "GuiTest.h"
#include "ballistics/TrajectoryChartModel.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLineEdit>
#include <QLineSeries>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace korvo {
namespace {

struct Chart {
    Chart() : model(&series, &line, &axisX, &axisY, 1024) {}
    std::vector<double> Xs() const {
        std::vector<double> xs;
        for (const QPointF& point : series.points())
            xs.push_back(point.x());
        return xs;
    }
    QLineSeries series;
    QLineSeries line;
    QCategoryAxis axisX;
    QCategoryAxis axisY;
    TrajectoryChartModel model;
};

TEST(TrajectoryChart, KeepsPointsInAscendingX) {
    test::Application();
    struct Case {
        const char* name;
        std::vector<double> added;
        std::vector<double> kept;
    };
    const std::vector<Case> cases = {
        {"ascending", {0, 1, 2, 3}, {0, 1, 2, 3}},  {"one behind", {0, 2, 1}, {0, 1, 2}},
        {"before all", {5, 6, -1}, {-1, 5, 6}},     {"equal X goes after its equals", {1, 3, 1}, {1, 1, 3}},
        {"descending", {3, 2, 1, 0}, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        Chart chart;
        for (std::size_t i = 0; i < c.added.size(); ++i)
            EXPECT_TRUE(chart.model.Add(c.added[i], static_cast<double>(i)));
        EXPECT_EQ(chart.Xs(), c.kept) << c.name;
    }
}

TEST(TrajectoryChart, EqualXKeepsArrivalOrder) {
    test::Application();
    Chart chart;
    chart.model.Add(1, 10);
    chart.model.Add(2, 20);
    chart.model.Add(1, 11);
    const QList<QPointF> points = chart.series.points();
    ASSERT_EQ(points.size(), 3);
    EXPECT_EQ(points[0], QPointF(1, 10));
    EXPECT_EQ(points[1], QPointF(1, 11));
    EXPECT_EQ(points[2], QPointF(2, 20));
}

TEST(TrajectoryChart, LeavesOutPointsThatCannotBeDrawn) {
    test::Application();
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Chart chart;
    EXPECT_TRUE(chart.model.Add(1, 1));
    EXPECT_FALSE(chart.model.Add(-inf, 0));
    EXPECT_FALSE(chart.model.Add(nan, nan));
    EXPECT_FALSE(chart.model.Add(2, inf));
    EXPECT_TRUE(chart.model.Add(0.5, 2));
    chart.model.Flush();
    EXPECT_EQ(chart.Xs(), (std::vector<double>{0.5, 1}));
    EXPECT_EQ(chart.axisX.min(), 0.5);
    EXPECT_EQ(chart.axisX.max(), 1.0);
}

TEST(TrajectoryChart, AxesFollowTheExtremesAndResetOnClear) {
    test::Application();
    Chart chart;
    chart.model.Add(0, 0);
    chart.model.Flush();
    // A single point still gets an axis span around it.
    EXPECT_LT(chart.axisX.min(), 0.0);
    EXPECT_GT(chart.axisX.max(), 0.0);
    chart.model.Add(10, 50);
    chart.model.Add(20, -3);
    chart.model.Add(15, 20); // inside: no change
    chart.model.Flush();
    EXPECT_EQ(chart.axisX.min(), 0.0);
    EXPECT_EQ(chart.axisX.max(), 20.0);
    EXPECT_EQ(chart.axisY.min(), -3.0);
    EXPECT_EQ(chart.axisY.max(), 50.0);

    chart.model.Clear();
    EXPECT_EQ(chart.series.count(), 0);
    EXPECT_EQ(chart.model.Count(), 0);
    chart.model.Add(100, 7);
    chart.model.Add(101, 8);
    chart.model.Flush();
    EXPECT_EQ(chart.axisX.min(), 100.0);
    EXPECT_EQ(chart.axisY.max(), 8.0);
}

TEST(TrajectoryChart, DrawsAFewPointsPerColumnOfAnyNumber) {
    test::Application();
    Chart chart;
    for (int i = 0; i < 100000; ++i) {
        const double t = i * 1e-3;
        chart.model.Add(70 * t, 330 * t - 4.9 * t * t);
    }
    chart.model.Flush();
    EXPECT_EQ(chart.model.Count(), 100000);
    EXPECT_GT(chart.model.DrawnCount(), 1024);
    EXPECT_LE(chart.model.DrawnCount(), 4 * (2 * 1024 + 2));
    // Ticks at round values, with labels the reader can read off.
    EXPECT_EQ(chart.axisX.categoriesLabels(),
              (QStringList{"0", "1000", "2000", "3000", "4000", "5000", "6000"}));
}

// What a reader sees of a chart: its axis labels and where its plot lies.
struct Look {
    QStringList labels;
    QRectF plot;
    friend bool operator==(const Look&, const Look&) = default;
};

Look LookAt(QChartView& view) {
    QCoreApplication::processEvents();
    Look look;
    for (QGraphicsItem* item : view.scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            look.labels.append(text->toPlainText());
    look.plot = view.chart()->plotArea();
    return look;
}

TEST(TrajectoryChart, ClearingGivesAChartAsGoodAsAFreshOne) {
    test::Application();
    QWidget window;
    window.resize(600, 430);
    const TrajectoryChart chart = MakeTrajectoryChart(&window, {0, 0, 588, 413});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto drawDefaultRun = [&] {
        for (int i = 0; i <= 3481; ++i)
            chart.model->Add(0.0262 * i, 3.3 * i - 0.001 * i * i);
        chart.model->Flush();
    };
    drawDefaultRun();
    const Look fresh = LookAt(*chart.view);
    ASSERT_FALSE(fresh.labels.isEmpty());

    for (double huge : {1e60, 1e80, 1e100, 1.7e308}) {
        chart.model->Clear();
        chart.model->Add(-huge, -huge);
        chart.model->Add(huge, huge);
        chart.model->Flush();
        const Look big = LookAt(*chart.view);
        for (const QString& label : big.labels)
            EXPECT_LE(label.size(), 8) << label.toStdString();
        EXPECT_GT(big.plot.width(), 400) << huge;

        chart.model->Clear();
        drawDefaultRun();
        EXPECT_EQ(LookAt(*chart.view), fresh) << huge;
    }
}

} // namespace
} // namespace korvo

namespace korvo {
namespace {

TEST(TrajectoryChart, FocusIsMarkedOnScreenButNeverInARenderedBitmap) {
    test::Application();
    QWidget window;
    QLineEdit other(&window);
    const TrajectoryChart made = MakeTrajectoryChart(&window, {0, 30, 300, 200});
    made.view->setFocusPolicy(Qt::StrongFocus);
    window.show();
    QApplication::setActiveWindow(&window);
    const auto rendered = [&] {
        QImage image(made.view->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        made.view->render(&painter);
        return image;
    };
    other.setFocus();
    const QImage unfocused = made.view->viewport()->grab().toImage();
    const QImage bitmap = rendered();
    made.view->setFocus();
    ASSERT_TRUE(made.view->hasFocus());
    EXPECT_NE(made.view->viewport()->grab().toImage(), unfocused);
    EXPECT_EQ(rendered(), bitmap);
}

} // namespace
} // namespace korvo

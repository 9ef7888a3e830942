// SPDX-License-Identifier: GPL-3.0-or-later

#include "chrome/Accessibility.h"

#include "chrome/Chrome.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineSeries>
#include <algorithm>

namespace korvo {
namespace {

class ClickLabelAccessible : public QAccessibleWidget {
public:
    explicit ClickLabelAccessible(TClickLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            const auto* label = static_cast<const TClickLabel*>(widget());
            if (!label->accessibleName().isEmpty())
                return label->accessibleName();
            return label->text();
        }
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction())
            emit static_cast<TClickLabel*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(action);
    }
};

class ChartAccessible : public QAccessibleWidget {
public:
    explicit ChartAccessible(QChartView* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Description)
            return ChartDescription(static_cast<const QChartView*>(widget()));
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* label = qobject_cast<TClickLabel*>(object))
        return new ClickLabelAccessible(label);
    if (auto* chart = qobject_cast<QChartView*>(object))
        return new ChartAccessible(chart);
    return nullptr;
}

bool IsContextMenuKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

// Opens the focus widget's context menu from the keyboard.
class KeyboardContextMenus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu && !sending_ &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard)
            return dropPlatformEvent_; // the platform's echo of a Menu key already handled
        if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu)
            dropPlatformEvent_ = false;
        if (event->type() != QEvent::KeyPress || !IsContextMenuKey(static_cast<QKeyEvent*>(event)))
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        // A key press reaches the focus widget first and then its parents; only
        // the first delivery opens a menu, and only for a widget that has one.
        if (!widget || widget != QApplication::focusWidget() || QApplication::activePopupWidget())
            return false;
        const Qt::ContextMenuPolicy policy = widget->contextMenuPolicy();
        if (policy == Qt::NoContextMenu || policy == Qt::PreventContextMenu)
            return false;
        dropPlatformEvent_ = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu;
        const QPoint at = widget->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, widget->mapToGlobal(at));
        sending_ = true;
        QApplication::sendEvent(widget, &menu);
        sending_ = false;
        return true;
    }

private:
    bool sending_ = false;
    bool dropPlatformEvent_ = false;
};

QString Number(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

QString ChartDescription(const QChartView* chart) {
    QString description = chart->accessibleDescription();
    if (!description.isEmpty() && !description.endsWith(u' '))
        description += u' ';
    // The data series, which holds every point, stays out of the chart (the
    // chart draws a thinned line of it); it is the window's "Series1".
    const QLineSeries* line = chart->window()->findChild<const QLineSeries*>(QStringLiteral("Series1"));
    if (!line) {
        const QList<QAbstractSeries*> series = chart->chart()->series();
        line = series.isEmpty() ? nullptr : qobject_cast<const QLineSeries*>(series.front());
    }
    if (!line || line->count() == 0)
        return description + QStringLiteral("Sin puntos todavía.");
    const QList<QPointF> points = line->points();
    const auto [minX, maxX] = std::minmax_element(
        points.begin(), points.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    const auto [minY, maxY] = std::minmax_element(
        points.begin(), points.end(), [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    return description + QStringLiteral("X de %1 a %2 m; Y de %3 a %4 m (%5 puntos).")
                             .arg(Number(minX->x()), Number(maxX->x()), Number(minY->y()), Number(maxY->y()),
                                  QString::number(points.size()));
}

void InstallKeyboardSupport() {
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    QAccessible::installFactory(&Factory);
    qApp->installEventFilter(new KeyboardContextMenus(qApp));
}

} // namespace korvo

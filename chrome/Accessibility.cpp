// SPDX-License-Identifier: GPL-3.0-or-later

#include "chrome/Accessibility.h"

#include "base/RegionalSettings.h"
#include "chrome/Chrome.h"
#include "chrome/Controls.h"
#include "chrome/HelpWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessibleWidget>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <algorithm>
#include <vector>

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

// A value panel (a framed label that shows a result) is read as its caption
// followed by the value it shows now: "Total de Iteraciones: 3481".
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(QLabel* panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        const QString value = static_cast<const QLabel*>(widget())->text();
        const QString caption = widget()->accessibleName();
        return caption.isEmpty() ? value : caption + u' ' + value;
    }
};

// The children a screen reader is given, as Qt lists them, less decorations.
QList<QWidget*> PresentedChildren(const QWidget* parent) {
    QList<QWidget*> children;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow() && !qobject_cast<QFocusFrame*>(child) &&
            !qobject_cast<QMenu*>(child) && child->objectName() != QLatin1String("qt_rubberband") &&
            !IsDecoration(child))
            children.append(child);
    }
    return children;
}

// A window, or a plain page of controls, without its decorations. A window is
// named by the text of its title strip.
class ContainerAccessible : public QAccessibleWidget {
public:
    ContainerAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            if (const auto* chrome = qobject_cast<const TChromeWindow*>(widget()))
                return chrome->Label1->text().simplified();
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return PresentedChildren(widget()).size(); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = PresentedChildren(widget());
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index])
                                                     : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? PresentedChildren(widget()).indexOf(qobject_cast<QWidget*>(child->object())) : -1;
    }
};

// The program's own windows: every one names its manual section.
bool IsProgramWindow(const QWidget* widget) {
    return widget->isWindow() &&
           (qobject_cast<const TChromeWindow*>(widget) || DeclaresManualSection(widget));
}

bool IsValuePanel(const QObject* object) {
    return qobject_cast<const TValuePanel*>(object);
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (auto* label = qobject_cast<TClickLabel*>(object))
        return new ClickLabelAccessible(label);
    if (auto* chart = qobject_cast<QChartView*>(object))
        return new ChartAccessible(chart);
    if (IsValuePanel(object))
        return new PanelAccessible(static_cast<QLabel*>(object));
    if (!object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (IsProgramWindow(widget))
        return new ContainerAccessible(widget, QAccessible::Window);
    // A plain page of controls (a tab's), which may hold a decoration made
    // after it was first presented; only a widget of that very class, so that
    // no widget with an interface of its own is taken.
    if (className == QLatin1String("QWidget") && widget->metaObject() == &QWidget::staticMetaObject)
        return new ContainerAccessible(widget, QAccessible::Client);
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

// Six significant digits, with the program's decimal separator: what a reader
// hears is what the windows show.
QString Number(double value) {
    return QString::number(value, 'g', 6)
        .replace(u'.', QChar::fromLatin1(CurrentRegionalSettings().DecimalSeparator));
}

// Naming fields by their captions. Geometry decides, among the children of one
// parent, which labels caption which field: the labels on the field's row just
// before it, back to the previous control (or, with none there, the nearest
// label just above it); the first label after a field on its row, when it does
// not end in ':', is the field's unit, never the next field's caption.

const char* const kNamedFromLabels = "korvoNamedFromLabels";
const char* const kDescribedFromLabel = "korvoDescribedFromLabel";

bool IsField(const QWidget* widget) {
    if (IsValuePanel(widget) || qobject_cast<const QComboBox*>(widget) ||
        qobject_cast<const QAbstractSpinBox*>(widget))
        return true;
    if (qobject_cast<const QLineEdit*>(widget)) {
        // A combo box's or a spin box's own line edit is named with its owner.
        const QWidget* owner = widget->parentWidget();
        return !qobject_cast<const QComboBox*>(owner) && !qobject_cast<const QAbstractSpinBox*>(owner);
    }
    return false;
}

bool IsControl(const QWidget* widget) {
    return IsField(widget) || qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QTextEdit*>(widget);
}

bool IsCaption(const QWidget* widget) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    return label && !qobject_cast<const TClickLabel*>(label) && !qobject_cast<const TTitleStrip*>(label) &&
           !IsValuePanel(label) && !label->text().trimmed().isEmpty();
}

// What a caption says: blanks collapsed, a mnemonic's '&' dropped.
QString CaptionText(const QLabel* label) {
    QString text = label->text().simplified();
    text.replace(QLatin1String("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
    return text;
}

// The extent of a widget along its row: for a label, that of its text, which
// may be much narrower than its box.
struct Extent {
    int left;
    int right; // one past the last column
};

Extent Across(const QWidget* widget) {
    const QRect box = widget->geometry();
    const auto* label = qobject_cast<const QLabel*>(widget);
    if (!label || IsValuePanel(label))
        return {box.left(), box.right() + 1};
    const int width = std::min(label->fontMetrics().horizontalAdvance(label->text()), box.width());
    const Qt::Alignment alignment = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
    if (alignment & Qt::AlignRight)
        return {box.right() + 1 - width, box.right() + 1};
    if (alignment & Qt::AlignHCenter)
        return {box.center().x() - width / 2, box.center().x() - width / 2 + width};
    return {box.left(), box.left() + width};
}

bool OnRowOf(const QWidget* widget, const QWidget* field) {
    const int middle = widget->geometry().center().y();
    return middle >= field->geometry().top() && middle <= field->geometry().bottom();
}

// The slack allowed where a caption's box touches its field.
constexpr int kTouch = 2;
// How far above a field a caption over it may stand.
constexpr int kAboveReach = 24;
constexpr int kFarAway = 1 << 24;

struct Captions {
    std::vector<QLabel*> name; // left to right
    QLabel* unit = nullptr;
};

void Apply(QWidget* field, const Captions& captions) {
    QStringList parts;
    for (QLabel* label : captions.name) {
        parts << CaptionText(label);
        // The buddy gives the "labelled by" relation; a caption with a mnemonic
        // would take a shortcut with it, so it only names the field.
        if (!label->text().contains(u'&') && !label->buddy())
            label->setBuddy(field);
    }
    const QString name = parts.join(u' ');
    // An editable list's own line edit is what takes the keys: it is named too.
    QLineEdit* typed = nullptr;
    if (auto* list = qobject_cast<QComboBox*>(field))
        typed = list->lineEdit();
    const QVariant named = field->property(kNamedFromLabels);
    if (!name.isEmpty() &&
        (field->accessibleName().isEmpty() || field->accessibleName() == named.toString())) {
        for (QWidget* named : {field, static_cast<QWidget*>(typed)})
            if (named) {
                named->setAccessibleName(name);
                named->setProperty(kNamedFromLabels, name);
            }
    }
    const QString unit = captions.unit ? CaptionText(captions.unit) : QString();
    const QVariant described = field->property(kDescribedFromLabel);
    if (!unit.isEmpty() && (field->accessibleDescription().isEmpty() ||
                            field->accessibleDescription() == described.toString())) {
        field->setAccessibleDescription(unit);
        field->setProperty(kDescribedFromLabel, unit);
    }
}

void NameSiblings(QWidget* parent) {
    std::vector<QWidget*> fields, controls;
    std::vector<QLabel*> labels;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || child->isHidden())
            continue;
        if (IsField(child))
            fields.push_back(child);
        if (IsControl(child))
            controls.push_back(child);
        else if (IsCaption(child))
            labels.push_back(static_cast<QLabel*>(child));
    }
    std::vector<std::pair<QWidget*, Captions>> found;
    std::vector<const QLabel*> units;
    for (QWidget* field : fields) {
        const Extent at = Across(field);
        // Beyond any window, with room for the slack.
        int before = -kFarAway, after = kFarAway;
        for (const QWidget* control : controls) {
            if (control == field || !(OnRowOf(control, field) || OnRowOf(field, control)))
                continue;
            const Extent other = Across(control);
            if (other.right <= at.left + kTouch)
                before = std::max(before, other.right);
            else if (other.left >= at.right - kTouch)
                after = std::min(after, other.left);
        }
        Captions captions;
        for (QLabel* label : labels) {
            if (!OnRowOf(label, field))
                continue;
            const Extent text = Across(label);
            if (text.right <= at.left + kTouch && text.left >= before - kTouch)
                captions.name.push_back(label);
            else if (text.left >= at.right - kTouch && text.right <= after + kTouch &&
                     !CaptionText(label).endsWith(u':') &&
                     (!captions.unit || text.left < Across(captions.unit).left))
                captions.unit = label;
        }
        if (captions.unit)
            units.push_back(captions.unit);
        found.emplace_back(field, std::move(captions));
    }
    for (auto& [field, captions] : found) {
        std::erase_if(captions.name, [&](const QLabel* label) {
            return std::find(units.begin(), units.end(), label) != units.end();
        });
        if (captions.name.empty()) {
            // Nothing before it on its row: the nearest caption just above it.
            const QRect box = field->geometry();
            QLabel* above = nullptr;
            for (QLabel* label : labels) {
                const Extent text = Across(label);
                const int bottom = label->geometry().bottom();
                if (bottom <= box.top() + kTouch && box.top() - bottom <= kAboveReach &&
                    text.left < box.right() + 1 && text.right > box.left() &&
                    (!above || bottom > above->geometry().bottom()))
                    above = label;
            }
            if (above && std::find(units.begin(), units.end(), above) == units.end())
                captions.name.push_back(above);
        }
        std::sort(captions.name.begin(), captions.name.end(),
                  [](const QLabel* a, const QLabel* b) { return Across(a).left < Across(b).left; });
        Apply(field, captions);
    }
}

// A table is named by the caption of the frame or the tab it stands in.
void NameTable(QAbstractItemView* table) {
    if (!table->accessibleName().isEmpty())
        return;
    for (QWidget* inner = table; inner && !inner->isWindow(); inner = inner->parentWidget()) {
        QWidget* outer = inner->parentWidget();
        if (auto* group = qobject_cast<QGroupBox*>(outer); group && !group->title().trimmed().isEmpty()) {
            table->setAccessibleName(group->title().simplified());
            return;
        }
        if (qobject_cast<QStackedWidget*>(outer))
            if (auto* tabs = qobject_cast<QTabWidget*>(outer->parentWidget());
                tabs && tabs->indexOf(inner) >= 0) {
                table->setAccessibleName(tabs->tabText(tabs->indexOf(inner)).remove(u'&').simplified());
                return;
            }
    }
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

bool IsDecoration(const QWidget* widget) {
    if (!widget->accessibleName().isEmpty() || qobject_cast<const TClickLabel*>(widget))
        return false;
    if (qobject_cast<const TTitleStrip*>(widget))
        return true;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().isEmpty() && !label->pixmap().isNull();
    // A bare frame: an outline, a panel under controls, a separating line.
    return widget->metaObject() == &QFrame::staticMetaObject &&
           widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
}

void NameFieldsByTheirCaptions(QWidget* window) {
    NameSiblings(window);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window)
            continue;
        if (!widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty())
            NameSiblings(widget);
        if (auto* table = qobject_cast<QAbstractItemView*>(widget))
            NameTable(table);
    }
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

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/TrajectoryTableModel.h"

#include <QHeaderView>
#include <QTableView>

namespace korvo {

QTableView* MakeTrajectoryTableView(QWidget* parent, QAbstractItemModel* model, const QRect& box,
                                    const QFont& font) {
    auto* view = new QTableView(parent);
    view->setObjectName(QStringLiteral("ListView1"));
    view->setGeometry(box);
    view->setFont(font);
    view->setModel(model);
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    // Tab leaves the table for the next control; the arrow keys move inside it.
    // (Moving cell by cell, Tab would need thousands of presses to get past a run.)
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(17);
    return view;
}

const std::array<TrajectoryTableModel::Column, TrajectoryTableModel::kColumnCount>&
TrajectoryTableModel::Columns() {
    static const std::array<Column, kColumnCount> columns = [] {
        std::array<Column, kColumnCount> made{};
        for (int c = 0; c < kColumnCount; ++c) {
            const TrajectoryColumn& column = TrajectoryColumns()[c];
            made[c] = {column.Caption, column.Width, column.Centred ? Qt::AlignHCenter : Qt::AlignLeft};
        }
        return made;
    }();
    return columns;
}

void TrajectoryTableModel::AppendRow(const std::array<std::string, kColumnCount>& texts) {
    std::array<std::string_view, kColumnCount> cells;
    for (int column = 0; column < kColumnCount; ++column)
        cells[column] = texts[column];
    AppendCells(cells);
}

QString TrajectoryTableModel::ColumnCaption(int column) const {
    return QString::fromUtf8(Columns()[column].caption);
}

Qt::Alignment TrajectoryTableModel::ColumnAlignment(int column) const {
    return Columns()[column].alignment;
}

int TrajectoryListSource::ColumnWidth(int column) const {
    return view_->columnWidth(column);
}

int TrajectoryListSource::ItemCount() const {
    return model_->rowCount();
}

std::string TrajectoryListSource::ItemCaption(int item) const {
    return std::string(model_->CellText(item, 0));
}

std::string TrajectoryListSource::SubItem(int item, int index) const {
    return std::string(model_->CellText(item, index + 1));
}

void TrajectoryListSource::SelectItem(int item) {
    view_->selectRow(item);
}

void TrajectoryListSource::BeginUpdate() {
    if (updateDepth_++ == 0)
        view_->setUpdatesEnabled(false);
}

void TrajectoryListSource::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0)
        view_->setUpdatesEnabled(true);
}

} // namespace korvo

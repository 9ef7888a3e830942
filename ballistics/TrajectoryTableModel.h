// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The read-only text tables of the trajectory windows, and the table of a
// real-trajectory run: ten columns of texts already formatted by the
// integrator, one row per step, appended one per timer tick and all removed by
// the reset.
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/TrajectoryExport.h"
#include "ballistics/core/TrajectoryRows.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class QFont;
class QRect;
class QTableView;
class QWidget;

namespace korvo {

// A read-only table of `Columns` text columns whose rows are only ever appended
// one at a time, the last removed, or all removed. Each change tells the view
// about exactly the rows it touches, so a view over 100,000 rows repaints only
// what it shows. The texts and captions a view reads (data, headerData, flags)
// are the derived model's.
template <int Columns> class TTextTableModel : public QAbstractTableModel {
public:
    using Row = std::array<QString, Columns>;
    using QAbstractTableModel::QAbstractTableModel;

    void AppendRow(const Row& row) {
        std::array<QByteArray, Columns> utf8;
        std::array<std::string_view, Columns> cells;
        for (int column = 0; column < Columns; ++column) {
            utf8[column] = row[column].toUtf8();
            cells[column] = std::string_view(utf8[column].constData(), utf8[column].size());
        }
        AppendCells(cells);
    }
    void AppendCells(const std::array<std::string_view, Columns>& cells) {
        const int at = rows_.Count();
        beginInsertRows(QModelIndex(), at, at);
        rows_.Append(cells.data(), Columns);
        endInsertRows();
    }
    void RemoveLastRow() {
        if (rows_.Count() == 0)
            return;
        const int last = rows_.Count() - 1;
        beginRemoveRows(QModelIndex(), last, last);
        rows_.RemoveLast();
        endRemoveRows();
    }
    void Clear() {
        beginResetModel();
        rows_.Clear();
        endResetModel();
    }
    // A cell's text; column 0 is the row's caption. Throws std::out_of_range
    // for a row or column that does not exist.
    std::string_view CellText(int row, int column) const {
        if (column < 0 || column >= Columns)
            throw std::out_of_range("no such column");
        return rows_.Cell(row, column);
    }
    // The packed texts, as the Qt-free code reads them.
    const TPackedRows& Packed() const { return rows_; }
    QString Cell(int row, int column) const {
        const std::string_view text = CellText(row, column);
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    Row At(int row) const {
        Row texts;
        for (int column = 0; column < Columns; ++column)
            texts[column] = Cell(row, column);
        return texts;
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : rows_.Count();
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : Columns;
    }

    // The cells' texts and the captions, each centred vertically in its
    // column's alignment; cells can be selected, not edited.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (role == Qt::DisplayRole)
            return Cell(index.row(), index.column());
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(ColumnAlignment(index.column()) | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= Columns)
            return {};
        if (role == Qt::DisplayRole)
            return ColumnCaption(section);
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(ColumnAlignment(section) | Qt::AlignVCenter);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                               : Qt::NoItemFlags;
    }

protected:
    // A column's caption and horizontal alignment, for 0 <= column < Columns.
    virtual QString ColumnCaption(int column) const = 0;
    virtual Qt::Alignment ColumnAlignment(int column) const = 0;

private:
    TPackedRows rows_;
};

// The table view of a trajectory window: "ListView1" in `parent` at `box`
// over `model`, with a grid, whole single rows selected, no editing, no word
// wrap and no row captions. Its rows have one fixed height, so the view never
// measures rows, however many there are.
QTableView* MakeTrajectoryTableView(QWidget* parent, QAbstractItemModel* model, const QRect& box,
                                    const QFont& font);

// The real-trajectory window's table over the run's packed rows; its columns'
// captions and widths are the core's (TrajectoryColumns), aligned for the view.
class TrajectoryTableModel : public TTextTableModel<kTrajectoryColumnCount> {
    Q_OBJECT
public:
    static constexpr int kColumnCount = kTrajectoryColumnCount;

    struct Column {
        const char* caption; // UTF-8
        int width;           // pixels
        Qt::Alignment alignment;
    };
    static const std::array<Column, kColumnCount>& Columns();

    using TTextTableModel::TTextTableModel;

    using TTextTableModel::AppendRow;
    void AppendRow(const std::array<std::string, kColumnCount>& texts);

protected:
    QString ColumnCaption(int column) const override;
    Qt::Alignment ColumnAlignment(int column) const override;
};

// The table as the export engine reads it: the model's texts, the view's
// current column widths and selection, and the view's repainting suspended
// between BeginUpdate and the matching EndUpdate.
class TrajectoryListSource : public TrajectoryColumnsSource {
public:
    TrajectoryListSource(QTableView* view, const TrajectoryTableModel* model) : view_(view), model_(model) {}

    int ColumnWidth(int column) const override;
    int ItemCount() const override;
    std::string ItemCaption(int item) const override;
    std::string SubItem(int item, int index) const override;
    void SelectItem(int item) override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    QTableView* view_;
    const TrajectoryTableModel* model_;
    int updateDepth_ = 0;
};

} // namespace korvo

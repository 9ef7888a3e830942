#pragma once
// The table of a real-trajectory run: ten columns of texts already formatted by
// the integrator, one row per step, read-only.
//
// Rows are only ever appended (one per timer tick) or all removed, so they live
// in one vector and each append tells the view about exactly one new row; a
// view over 100,000 rows repaints only what it shows.
#include "export/ListViewSource.h"

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <string>
#include <vector>

class QTableView;

namespace korvo {

class TrajectoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 10;
    using Row = std::array<QString, kColumnCount>;

    struct Column {
        const char* caption; // UTF-8
        int width;           // pixels
        Qt::Alignment alignment;
    };
    static const std::array<Column, kColumnCount>& Columns();

    using QAbstractTableModel::QAbstractTableModel;

    void AppendRow(const std::array<std::string, kColumnCount>& texts);
    void Clear();
    // The text of a cell; column 0 is the row's caption, the others its sub-items.
    const QString& Cell(int row, int column) const { return rows_.at(row).at(column); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<Row> rows_;
};

// The table as the export engine reads it: the model's texts, the view's
// current column widths and selection, and the view's repainting suspended
// between BeginUpdate and the matching EndUpdate.
class TrajectoryListSource : public IListViewSource {
public:
    TrajectoryListSource(QTableView* view, const TrajectoryTableModel* model) : view_(view), model_(model) {}

    int ColumnCount() const override;
    std::string ColumnCaption(int column) const override;
    int ColumnWidth(int column) const override;
    TListColumnAlign ColumnAlignment(int column) const override;
    int ItemCount() const override;
    std::string ItemCaption(int item) const override;
    int SubItemCount(int item) const override;
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

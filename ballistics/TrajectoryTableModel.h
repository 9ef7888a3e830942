#pragma once
// The read-only text tables of the trajectory windows, and the table of a
// real-trajectory run: ten columns of texts already formatted by the
// integrator, one row per step, appended one per timer tick and all removed by
// the reset.
#include "export/ListViewSource.h"

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <string>
#include <utility>
#include <vector>

class QFont;
class QRect;
class QTableView;
class QWidget;

namespace korvo {

class TTableExportXLS;

// A read-only table of `Columns` text columns whose rows are only ever appended
// one at a time, the last removed, or all removed. They live in one vector and
// each change tells the view about exactly the rows it touches, so a view over
// 100,000 rows repaints only what it shows. The texts and captions a view
// reads (data, headerData, flags) are the derived model's.
template <int Columns> class TTextTableModel : public QAbstractTableModel {
public:
    using Row = std::array<QString, Columns>;
    using QAbstractTableModel::QAbstractTableModel;

    void AppendRow(Row row) {
        const int at = static_cast<int>(rows_.size());
        beginInsertRows(QModelIndex(), at, at);
        rows_.push_back(std::move(row));
        endInsertRows();
    }
    void RemoveLastRow() {
        if (rows_.empty())
            return;
        const int last = static_cast<int>(rows_.size()) - 1;
        beginRemoveRows(QModelIndex(), last, last);
        rows_.pop_back();
        endRemoveRows();
    }
    void Clear() {
        beginResetModel();
        rows_.clear();
        endResetModel();
    }
    const Row& At(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : Columns;
    }

private:
    std::vector<Row> rows_;
};

// The table view of a trajectory window: "ListView1" in `parent` at `box`
// over `model`, with a grid, whole single rows selected, no editing, no word
// wrap and no row captions. Its rows have one fixed height, so the view never
// measures rows, however many there are.
QTableView* MakeTrajectoryTableView(QWidget* parent, QAbstractItemModel* model, const QRect& box,
                                    const QFont& font);

class TrajectoryTableModel : public TTextTableModel<10> {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 10;

    struct Column {
        const char* caption; // UTF-8
        int width;           // pixels
        Qt::Alignment alignment;
    };
    static const std::array<Column, kColumnCount>& Columns();

    using TTextTableModel::TTextTableModel;

    void AppendRow(const std::array<std::string, kColumnCount>& texts);
    // The text of a cell; column 0 is the row's caption, the others its sub-items.
    const QString& Cell(int row, int column) const { return At(row).at(column); }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
};

// The ten columns as the export engine reads them: captions, alignment and the
// design widths; the items are the derived source's.
class TrajectoryColumnsSource : public IListViewSource {
public:
    int ColumnCount() const override;
    std::string ColumnCaption(int column) const override;
    int ColumnWidth(int column) const override;
    TListColumnAlign ColumnAlignment(int column) const override;
    int SubItemCount(int item) const override;
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

// The rows of a run kept without any table view (the command line's run): the
// same columns at their design widths, nothing to select or repaint.
class TrajectoryRowsSource : public TrajectoryColumnsSource {
public:
    explicit TrajectoryRowsSource(const std::vector<std::array<std::string, 10>>& rows) : rows_(rows) {}

    int ItemCount() const override { return static_cast<int>(rows_.size()); }
    std::string ItemCaption(int item) const override { return rows_.at(item)[0]; }
    std::string SubItem(int item, int index) const override { return rows_.at(item).at(index + 1); }
    void SelectItem(int) override {}
    void BeginUpdate() override {}
    void EndUpdate() override {}

private:
    const std::vector<std::array<std::string, 10>>& rows_;
};

// The file the real-trajectory window exports its table to, in the current directory.
inline constexpr const char* kTrajectoryWorkbookName = "DatosTrayectoriaRealCalculada.xls";

// The export settings of a run's table, shared by the window and the command
// line so that both write the same workbook: the table as a list-view source,
// the file name, the sheet "Trayectoria", the page footer "Page &P of &N", and
// every other option at its default (the caption row in bold).
void SetUpTrajectoryExport(TTableExportXLS& exporter, IListViewSource* table, const std::string& fileName);

} // namespace korvo

#include "ballistics/TrajectoryTableModel.h"

#include "export/TableExportXLS.h"

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
    static const std::array<Column, kColumnCount> columns{{
        {"Iteración:", 56, Qt::AlignLeft},
        {"T (seg)", 65, Qt::AlignHCenter},
        {"X (m)", 65, Qt::AlignHCenter},
        {"Y (m)", 65, Qt::AlignHCenter},
        {"Ax (m/s)", 65, Qt::AlignHCenter},
        {"Ay (m/s)", 65, Qt::AlignHCenter},
        {"Vfx (m/s)", 65, Qt::AlignHCenter},
        {"Vfy (m/s)", 65, Qt::AlignHCenter},
        {"Ec (Joules)", 80, Qt::AlignHCenter},
        {"Ec (kg·m2/s2)", 80, Qt::AlignHCenter},
    }};
    return columns;
}

void TrajectoryTableModel::AppendRow(const std::array<std::string, kColumnCount>& texts) {
    Row row;
    for (int column = 0; column < kColumnCount; ++column)
        row[column] = QString::fromStdString(texts[column]);
    TTextTableModel::AppendRow(std::move(row));
}

QVariant TrajectoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return At(index.row())[index.column()];
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(Columns()[index.column()].alignment | Qt::AlignVCenter);
    return {};
}

QVariant TrajectoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(Columns()[section].caption);
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(Columns()[section].alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TrajectoryTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

int TrajectoryColumnsSource::ColumnCount() const {
    return TrajectoryTableModel::kColumnCount;
}

std::string TrajectoryColumnsSource::ColumnCaption(int column) const {
    return TrajectoryTableModel::Columns().at(column).caption;
}

int TrajectoryColumnsSource::ColumnWidth(int column) const {
    return TrajectoryTableModel::Columns().at(column).width;
}

TListColumnAlign TrajectoryColumnsSource::ColumnAlignment(int column) const {
    return TrajectoryTableModel::Columns().at(column).alignment & Qt::AlignHCenter ? TListColumnAlign::Center
                                                                                   : TListColumnAlign::Left;
}

int TrajectoryColumnsSource::SubItemCount(int) const {
    return TrajectoryTableModel::kColumnCount - 1;
}

int TrajectoryListSource::ColumnWidth(int column) const {
    return view_->columnWidth(column);
}

int TrajectoryListSource::ItemCount() const {
    return model_->rowCount();
}

std::string TrajectoryListSource::ItemCaption(int item) const {
    return model_->Cell(item, 0).toStdString();
}

std::string TrajectoryListSource::SubItem(int item, int index) const {
    return model_->Cell(item, index + 1).toStdString();
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

void SetUpTrajectoryExport(TTableExportXLS& exporter, IListViewSource* table, const std::string& fileName) {
    exporter.ExportSource = esListView;
    exporter.ListView = table;
    exporter.FileName = fileName;
    exporter.Options.PageFooter = "Page &P of &N";
    exporter.Options.SetSheetTitle("Trayectoria");
}

} // namespace korvo

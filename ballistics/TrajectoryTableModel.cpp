#include "ballistics/TrajectoryTableModel.h"

namespace korvo {

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
    const int at = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), at, at);
    rows_.push_back(std::move(row));
    endInsertRows();
}

void TrajectoryTableModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int TrajectoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TrajectoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TrajectoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
        return {};
    if (role == Qt::DisplayRole)
        return rows_[index.row()][index.column()];
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

} // namespace korvo

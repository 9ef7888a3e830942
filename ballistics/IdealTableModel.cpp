#include "ballistics/IdealTableModel.h"

namespace korvo {

QVariant TIdealTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return Cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(index.column() == 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant TIdealTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const captions[] = {"X", "Y", "T (Seg.)"};
    if (orientation != Qt::Horizontal || section < 0 || section > 2)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(captions[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(section == 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TIdealTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace korvo

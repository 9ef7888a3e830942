#pragma once
// The ideal-trajectory window's point table: three text columns, "X", "Y" and
// "T (Seg.)", one row appended per plot tick. The time column is centred, the
// other two left-aligned; rows can be selected but not edited.
#include "ballistics/TrajectoryTableModel.h"

namespace korvo {

class TIdealTableModel : public TTextTableModel<3> {
    Q_OBJECT
public:
    using TTextTableModel::TTextTableModel;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
};

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The ideal-trajectory window's point table: three text columns, "X", "Y" and
// "T (Seg.)", one row appended per plot tick. The time column is centred, the
// other two left-aligned.
#include "ballistics/TrajectoryTableModel.h"

namespace korvo {

class TIdealTableModel : public TTextTableModel<3> {
    Q_OBJECT
public:
    using TTextTableModel::TTextTableModel;

protected:
    QString ColumnCaption(int column) const override;
    Qt::Alignment ColumnAlignment(int column) const override;
};

} // namespace korvo

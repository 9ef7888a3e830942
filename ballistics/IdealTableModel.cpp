// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/IdealTableModel.h"

namespace korvo {

QString TIdealTableModel::ColumnCaption(int column) const {
    static const char* const captions[] = {"X", "Y", "T (Seg.)"};
    return QString::fromUtf8(captions[column]);
}

Qt::Alignment TIdealTableModel::ColumnAlignment(int column) const {
    return column == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

} // namespace korvo

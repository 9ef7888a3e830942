// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/TrajectoryExport.h"

#include "export/TableExportXLS.h"

namespace korvo {

int TrajectoryColumnsSource::ColumnCount() const {
    return kTrajectoryColumnCount;
}

std::string TrajectoryColumnsSource::ColumnCaption(int column) const {
    return TrajectoryColumns().at(column).Caption;
}

int TrajectoryColumnsSource::ColumnWidth(int column) const {
    return TrajectoryColumns().at(column).Width;
}

TListColumnAlign TrajectoryColumnsSource::ColumnAlignment(int column) const {
    return TrajectoryColumns().at(column).Centred ? TListColumnAlign::Center : TListColumnAlign::Left;
}

int TrajectoryColumnsSource::SubItemCount(int) const {
    return kTrajectoryColumnCount - 1;
}

void SetUpTrajectoryExport(TTableExportXLS& exporter, IListViewSource* table, const std::string& fileName) {
    exporter.ExportSource = esListView;
    exporter.ListView = table;
    exporter.FileName = fileName;
    exporter.Options.PageFooter = "Page &P of &N";
    exporter.Options.SetSheetTitle("Trayectoria");
}

void SetTrajectoryExportLaw(TTableExportXLS& exporter, DragLaw law) {
    exporter.Header.clear();
    if (law != DragLaw::Linear)
        exporter.Header.push_back(std::string("Ley de arrastre:\t") + DragLawCaption(law));
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A run's table as the export engine reads it, and the export's settings, so
// that the window and the command line write the same workbook: the window
// through its table view (TrajectoryListSource), the command line from the
// run's rows alone (TrajectoryRowsSource).
#include "ballistics/core/DragLaw.h"
#include "ballistics/core/TrajectoryRows.h"
#include "export/ListViewSource.h"

#include <string>

namespace korvo {

class TTableExportXLS;

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

// The rows of a run kept without any table view (the command line's run): the
// same columns at their design widths, nothing to select or repaint.
class TrajectoryRowsSource : public TrajectoryColumnsSource {
public:
    explicit TrajectoryRowsSource(const TPackedRows& rows) : rows_(rows) {}

    int ItemCount() const override { return rows_.Count(); }
    std::string ItemCaption(int item) const override { return std::string(rows_.Cell(item, 0)); }
    std::string SubItem(int item, int index) const override {
        return std::string(rows_.Cell(item, index + 1));
    }
    void SelectItem(int) override {}
    void BeginUpdate() override {}
    void EndUpdate() override {}

private:
    const TPackedRows& rows_;
};

// The export settings of a run's table, shared by the window and the command
// line so that both write the same workbook: the table as a list-view source,
// the file name, the sheet "Trayectoria", the page footer "Page &P of &N", and
// every other option at its default (the caption row in bold).
void SetUpTrajectoryExport(TTableExportXLS& exporter, IListViewSource* table, const std::string& fileName);

// The law of the run whose table is exported. The designed linear law's
// workbook is the table alone, as it has always been. Any other law is stated
// in the first row, above the captions: "Ley de arrastre:" in A1 and the law's
// caption ("Cuadrática (|V|)") in B1, the first cells anyone opening the file
// reads, so that its numbers are never taken for the designed law's.
void SetTrajectoryExportLaw(TTableExportXLS& exporter, DragLaw law);

} // namespace korvo

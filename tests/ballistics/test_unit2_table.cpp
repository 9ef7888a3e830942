// SPDX-License-Identifier: GPL-3.0-or-later

// The table of steps: the model's rows, and the table as the export engine
// reads it (texts, current widths, selection, suspended repainting).
#include "GuiTest.h"
#include "ballistics/TrajectoryTableModel.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <gtest/gtest.h>
#include <stdexcept>

namespace korvo {
namespace {

std::array<std::string, 10> Row(int n) {
    std::array<std::string, 10> row;
    for (int column = 0; column < 10; ++column)
        row[column] = std::to_string(n) + "." + std::to_string(column);
    return row;
}

struct Table {
    Table() : source(&view, &model) {
        view.setModel(&model);
        for (int column = 0; column < TrajectoryTableModel::kColumnCount; ++column)
            view.setColumnWidth(column, TrajectoryTableModel::Columns()[column].width);
    }
    QApplication& application = test::Application();
    TrajectoryTableModel model;
    QTableView view;
    TrajectoryListSource source;
};

TEST(TrajectoryTable, AppendsOneRowAtATimeAndClears) {
    Table table;
    QAbstractItemModelTester tester(&table.model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&table.model, &QAbstractItemModel::rowsInserted);
    for (int n = 1; n <= 3; ++n)
        table.model.AppendRow(Row(n));
    ASSERT_EQ(inserted.count(), 3);
    EXPECT_EQ(inserted[2][1].toInt(), 2);
    EXPECT_EQ(inserted[2][2].toInt(), 2);
    EXPECT_EQ(table.model.data(table.model.index(1, 4)).toString(), QStringLiteral("2.4"));
    EXPECT_FALSE(table.model.flags(table.model.index(0, 0)) & Qt::ItemIsEditable);
    table.model.Clear();
    EXPECT_EQ(table.model.rowCount(), 0);
    EXPECT_THROW(table.model.Cell(0, 0), std::out_of_range);
}

TEST(TrajectoryTable, ExportSourceReadsCaptionsSubItemsAndCurrentWidths) {
    Table table;
    table.model.AppendRow(Row(1));
    table.model.AppendRow(Row(2));
    ASSERT_EQ(table.source.ColumnCount(), 10);
    EXPECT_EQ(table.source.ColumnCaption(0), "Iteración:");
    EXPECT_EQ(table.source.ColumnCaption(9), "Ec (kg·m2/s2)");
    EXPECT_EQ(table.source.ColumnAlignment(0), TListColumnAlign::Left);
    EXPECT_EQ(table.source.ColumnAlignment(5), TListColumnAlign::Center);
    EXPECT_EQ(table.source.ColumnWidth(0), 56);
    EXPECT_EQ(table.source.ColumnWidth(8), 80);
    table.view.setColumnWidth(2, 120); // the user widened a column
    EXPECT_EQ(table.source.ColumnWidth(2), 120);

    EXPECT_EQ(table.source.ItemCount(), 2);
    EXPECT_EQ(table.source.ItemCaption(1), "2.0");
    ASSERT_EQ(table.source.SubItemCount(1), 9);
    EXPECT_EQ(table.source.SubItem(1, 0), "2.1");
    EXPECT_EQ(table.source.SubItem(1, 8), "2.9");
    EXPECT_THROW(table.source.SubItem(2, 0), std::out_of_range);
}

TEST(TrajectoryTable, ExportSourceSelectsAndSuspendsRepaintingNested) {
    Table table;
    for (int n = 1; n <= 5; ++n)
        table.model.AppendRow(Row(n));
    table.source.SelectItem(3);
    const QModelIndexList rows = table.view.selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), 3);

    table.source.BeginUpdate();
    table.source.BeginUpdate();
    EXPECT_FALSE(table.view.updatesEnabled());
    table.source.EndUpdate();
    EXPECT_FALSE(table.view.updatesEnabled());
    table.source.EndUpdate();
    EXPECT_TRUE(table.view.updatesEnabled());
    table.source.EndUpdate(); // one too many changes nothing
    EXPECT_TRUE(table.view.updatesEnabled());
}

} // namespace
} // namespace korvo

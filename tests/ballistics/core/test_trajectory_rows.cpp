// SPDX-License-Identifier: GPL-3.0-or-later

// A run's table without any window: the packed rows keep every text as given
// (lengths past one length byte, a row larger than a storage block), the CSV
// writes "." whatever the separator, and the digest's records come in their
// order with the rows they follow.
#include "SeparatorGuard.h"
#include "ballistics/core/CsvText.h"
#include "ballistics/core/RunReport.h"
#include "ballistics/core/TrajectoryRows.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace korvo {
namespace {

std::array<std::string, kTrajectoryColumnCount> Row(const std::string& first) {
    return {first, "0,01", "", "3", "4", "5", "6", "7", "8", "9"};
}

TEST(TrajectoryRows, KeepEveryTextAsGiven) {
    TrajectoryRows rows;
    const std::string long200(200, 'x');     // two length bytes
    const std::string huge(300 * 1024, 'y'); // a row larger than a block
    rows.AppendRow(Row("1"));
    rows.AppendRow(Row(long200));
    rows.AppendRow(Row(huge));
    rows.AppendRow(Row("4"));
    ASSERT_EQ(rows.Count(), 4);
    EXPECT_EQ(rows.Cell(0, 0), "1");
    EXPECT_EQ(rows.Cell(1, 0), long200);
    EXPECT_EQ(rows.Cell(1, 2), "");
    EXPECT_EQ(rows.Cell(2, 0), huge);
    EXPECT_EQ(rows.Cell(3, 9), "9");
    EXPECT_THROW(rows.Cell(4, 0), std::out_of_range);
    EXPECT_THROW(rows.Cell(-1, 0), std::out_of_range);
    // The last row's room is written again.
    rows.RemoveLast();
    rows.AppendRow(Row("again"));
    EXPECT_EQ(rows.Cell(3, 0), "again");
    EXPECT_EQ(rows.Cell(2, 0), huge);
    rows.Clear();
    EXPECT_EQ(rows.Count(), 0);
}

TEST(TrajectoryRows, CsvHasTheCaptionsAndDotsUnderEitherSeparator) {
    const test::SeparatorGuard comma(',');
    TrajectoryRows rows;
    rows.AppendRow(Row("1"));
    EXPECT_EQ(TrajectoryCsv(rows), "Iteración:,T (seg),X (m),Y (m),Ax (m/s),Ay (m/s),Vfx (m/s),Vfy (m/s),"
                                   "Ec (Joules),Ec (kg·m2/s2)\r\n"
                                   "1,0.01,,3,4,5,6,7,8,9\r\n");
    EXPECT_EQ(CsvRecord({"a", "b,c", "say \"no\"", "x\r\ny", ""}),
              "a,\"b,c\",\"say \"\"no\"\"\",\"x\r\ny\",\r\n");
}

TEST(TrajectoryRows, DigestRecordsComeInputsCaptionsThenEachRow) {
    TrajectoryRows rows;
    rows.AppendRow(Row("1"));
    rows.AppendRow(Row("2"));
    const RunInputTexts inputs{"0.000016788592601", "0.01", "0.00745", "0", "0", "78", "340"};
    std::vector<std::pair<std::string, int>> records;
    DigestRecords(inputs, rows, [&](std::string_view record, int row) { records.emplace_back(record, row); });
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].first, "17:0.000016788592601,4:0.01,7:0.00745,1:0,1:0,2:78,3:340,\n");
    EXPECT_EQ(records[1].first.substr(0, 15), "11:Iteración:,");
    EXPECT_EQ(records[2].first, "1:1,4:0,01,0:,1:3,1:4,1:5,1:6,1:7,1:8,1:9,\n");
    EXPECT_EQ(records[3].first.substr(0, 4), "1:2,");
    EXPECT_EQ((std::vector<int>{records[0].second, records[1].second, records[2].second, records[3].second}),
              (std::vector<int>{0, 0, 1, 2}));
}

} // namespace
} // namespace korvo

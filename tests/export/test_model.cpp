// SPDX-License-Identifier: GPL-3.0-or-later

// The export's column list, row, formats and source operations over a list view.
#include "export/ExportColumns.h"
#include "tests/export/FakeListView.h"

#include <gtest/gtest.h>

namespace korvo {
namespace {

using test::TFakeListView;
using test::TFixedSettings;
using test::TrajectoryTable;

TExportSettings ListSettings(TFakeListView& list) {
    TExportSettings s;
    s.ExportSource = esListView;
    s.ListView = &list;
    return s;
}

TEST(Columns, TheRealTrajectoryTable) {
    TFixedSettings fixed;
    TFakeListView list = TrajectoryTable(3);
    list.Items[0] = {"1",      "0.010",  "0.000",  "0.000",  "-0.001",
                     "-9.810", "70.690", "70.600", "41.945", "0.001"};
    TExportColumns columns;
    columns.Rebuild(ListSettings(list));
    ASSERT_EQ(10u, columns.Count());
    const int widths[] = {7, 8, 8, 8, 8, 8, 8, 8, 10, 10};
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(ectString, columns[i].ColType);
        EXPECT_EQ(list.Columns[i].Caption, columns[i].Name);
        EXPECT_EQ(list.Columns[i].Caption, columns[i].Caption);
        EXPECT_EQ("", columns[i].Format);
        EXPECT_EQ(widths[i], columns[i].Width);
        EXPECT_EQ(255, columns[i].Length);
        EXPECT_TRUE(columns[i].IsText);
    }

    // Numeric-looking texts stay as they are.
    TExportRow row;
    row.Build(columns);
    FillRow(ListSettings(list), columns, 0, row);
    EXPECT_EQ("0.010", row[1].Text);
    EXPECT_EQ("-9.810", row[5].Text);
}

TEST(Columns, Overrides) {
    TFixedSettings fixed;
    TFakeListView list = TrajectoryTable(1);
    list.Columns[3].Width = 100;
    TExportSettings s = ListSettings(list);
    s.Captions = {"t (SEG)=Tiempo"};
    s.ColumnsWidth = {"Ec (Joules)=20", "X (m)=ancho"};
    s.UserFormats = {"Y (m)=0.00"};
    TExportColumns columns;
    columns.Rebuild(s);
    EXPECT_EQ("Tiempo", columns[1].Caption);
    EXPECT_EQ("T (seg)", columns[1].Name);
    EXPECT_EQ(12, columns[3].Width) << "100 pixels at eight pixels a character";
    EXPECT_EQ(20, columns[8].Width);
    EXPECT_EQ(0, columns[2].Width) << "a width that is not a number";
    EXPECT_EQ("0.00", columns[3].Format);

    s.ExportedFields = {"x (M)", "ITERACIÓN:", "missing"};
    columns.Rebuild(s);
    ASSERT_EQ(2u, columns.Count());
    EXPECT_EQ(2, columns[0].SourceIndex);
    EXPECT_EQ(0, columns[1].SourceIndex);
    EXPECT_EQ(1, columns.IndexOf("iteración:"));
    EXPECT_EQ(-1, columns.IndexOf("nothing"));
}

TEST(Columns, EmptyListAndTypeGuess) {
    TFixedSettings fixed;
    TFakeListView list = TrajectoryTable(0);
    TExportSettings s = ListSettings(list);
    TExportColumns columns;
    columns.Rebuild(s);
    EXPECT_EQ(10u, columns.Count());
    SourceFirst(s);
    EXPECT_EQ(-1, list.Selected);
    EXPECT_TRUE(SourceIsEnd(s, 0));

    s.AutoCalcStrType = true;
    columns.Rebuild(s);
    EXPECT_EQ(ectInteger, columns[0].ColType) << "an empty list guesses integers";
    EXPECT_EQ("#,###,##0", columns[0].Format);

    list.Items = {{"12", "1.5", "true", "3/4/2020", "13:30", "3/4/2020 1:02 pm", "", "abc", "12:00 am", "x"}};
    columns.Rebuild(s);
    const TExportColType expected[] = {ectInteger,  ectFloat,  ectBoolean, ectDate, ectTime,
                                       ectDateTime, ectString, ectString,  ectDate, ectString};
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(expected[i], columns[i].ColType) << list.Items[0][i];
    EXPECT_EQ("#,###,##0.00", columns[1].Format);
    EXPECT_EQ("m/d/yyyy", columns[3].Format);
    EXPECT_TRUE(columns[1].IsNumber);
    EXPECT_TRUE(columns[3].IsNumericOrDate);
    EXPECT_FALSE(columns[3].IsNumber);
}

TEST(SourceCell, NonTextCellsUseTheFormatsSeparatorsAndRestoreThem) {
    TFixedSettings fixed;
    TFakeListView list = TrajectoryTable(0);
    list.Items = {{"1234567", "1234.5", "x", "12/25/2020 6:05 pm", "", "", "", "", "", ""}};
    TExportSettings s = ListSettings(list);
    s.AutoCalcStrType = true;
    s.Formats.DecimalSeparator = ',';
    s.Formats.ThousandSeparator = '.';
    s.Formats.DateSeparator = '-';
    TExportColumns columns;
    columns.Rebuild(s);
    std::string text;
    TExportValue value = 7;
    SourceCell(s, 0, columns[0], text, value);
    EXPECT_EQ("1.234.567", text);
    EXPECT_EQ(TExportValue(std::int32_t{1234567}), value);
    SourceCell(s, 0, columns[1], text, value);
    EXPECT_EQ("1.234,50", text);
    EXPECT_EQ(TExportValue(1234.5), value);
    SourceCell(s, 0, columns[3], text, value);
    EXPECT_EQ("12-25-2020 6:05 PM", text);
    value = 7;
    SourceCell(s, 0, columns[2], text, value);
    EXPECT_EQ("x", text);
    EXPECT_EQ(TExportValue(7), value) << "a text column leaves the value alone";
    EXPECT_EQ('.', CurrentRegionalSettings().DecimalSeparator);
    EXPECT_EQ(',', CurrentRegionalSettings().ThousandSeparator);
    EXPECT_EQ('/', CurrentRegionalSettings().DateSeparator);

    // An unreadable float keeps its text and empties the value.
    list.Items[0][1] = "1,5";
    SourceCell(s, 0, columns[1], text, value);
    EXPECT_EQ("1,5", text);
    EXPECT_EQ(TExportValue(), value);
}

TEST(SourceIsEnd, SkipAndLimit) {
    TFakeListView list = TrajectoryTable(10);
    TExportSettings s = ListSettings(list);
    struct Case {
        int skip, limit, counter;
        bool end;
    } cases[] = {{0, 0, 9, false}, {0, 0, 10, true}, {3, 5, 4, false},  {3, 5, 5, true},
                 {8, 5, 2, true},  {20, 0, 0, true}, {0, 100, 10, true}};
    for (const Case& c : cases) {
        s.SkipRecCount = c.skip;
        s.ExportRecCount = c.limit;
        EXPECT_EQ(c.end, SourceIsEnd(s, c.counter)) << c.skip << " " << c.limit << " " << c.counter;
    }
}

TEST(Row, SetValueByNameIgnoringCase) {
    TExportColumns none;
    TExportRow row;
    row.Add("  Zeta ", 0);
    row.Add("alfa", 1);
    row.Add("Ñandú", 2);
    row.SetValue("ZETA", "z", 1.5);
    row.SetValue("ñANDÚ", "n", std::int64_t{4});
    row.SetValue("missing", "m", 0);
    EXPECT_EQ("Zeta", row[0].Name);
    EXPECT_EQ("z", row[0].Text);
    EXPECT_EQ(TExportValue(1.5), row[0].Value);
    EXPECT_EQ("", row[1].Text);
    EXPECT_EQ("n", row[2].Text);
    EXPECT_EQ(2, row[2].Position);
}

TEST(Formats, DefaultsAndSetters) {
    RegionalSettings r;
    r.DecimalSeparator = ',';
    r.ShortDateFormat = "dd/mm/yyyy";
    r.ShortTimeFormat = "hh:nn";
    r.CurrencyString = "€";
    const std::pair<int, std::string> currency[] = {
        {0, "€#,###,##0.00"}, {1, "#,###,##0.00€"}, {2, "€ #,###,##0.00"}, {3, "#,###,##0.00 €"}, {7, ""}};
    for (const auto& [placement, text] : currency) {
        r.CurrencyFormat = placement;
        TFixedSettings fixed(r);
        EXPECT_EQ(text, TExportFormats().CurrencyFormat());
    }
    TFixedSettings fixed(r);
    TExportFormats f;
    EXPECT_EQ(',', f.DecimalSeparator);
    EXPECT_EQ("dd/mm/yyyy hh:nn", f.DateTimeFormat());
    f.SetIntegerFormat("");
    EXPECT_EQ("#,###,##0", f.IntegerFormat());
    f.SetFloatFormat("");
    EXPECT_EQ("", f.FloatFormat());
    f.SetDateFormat("");
    EXPECT_EQ("dd/mm/yyyy", f.DateFormat());
    f.SetBooleanTrue("");
    EXPECT_EQ("true", f.BooleanTrue());
    f.SetNullString("  (nulo) ");
    EXPECT_EQ("(nulo)", f.NullString());

    TExportFormats copy;
    f.DecimalSeparator = ';';
    f.SetTimeFormat("h");
    copy = f;
    EXPECT_EQ(';', copy.DecimalSeparator);
    EXPECT_EQ("h", copy.TimeFormat());
    EXPECT_EQ("(nulo)", copy.NullString());
}

TEST(Conversions, NumbersAndDates) {
    RegionalSettings r;
    struct NumberCase {
        const char* pattern;
        double value;
        const char* text;
    } numbers[] = {{"#,###,##0.00", 1234567.891, "1,234,567.89"},
                   {"#,###,##0", -0.4, "0"},
                   {"0.000", 374.21952, "374.220"},
                   {"00.00", 0.05, "00.05"},
                   {"$#,##0.00", -12.5, "-$12.50"},
                   {"#,##0", 1e300 * 1e10, "INF"}};
    for (const NumberCase& c : numbers)
        EXPECT_EQ(c.text, FormatNumber(c.pattern, c.value, r)) << c.pattern << " " << c.value;

    EXPECT_EQ("12/30/1899", FormatDateTime("mm/dd/yyyy", 0, r));
    EXPECT_EQ("2/29/2000 12:00 AM", FormatDateTime("m/d/yyyy h:nn ampm", 36585, r));
    EXPECT_EQ(36585.75, ReadDateTime("2/29/2000 6:00 pm", r));
    EXPECT_FALSE(ReadDateTime("2/30/2000", r));
    EXPECT_FALSE(ReadDateTime("12", r));
    EXPECT_EQ(0.5, ReadDateTime("12:00:00", r));
    EXPECT_FALSE(ReadInt32("2147483648"));
    EXPECT_EQ(-5, ReadInt32("  -5"));
    EXPECT_FALSE(ReadInt32("78.5"));
    EXPECT_EQ(0.5, ReadReal(" 0,5 ", ','));
    EXPECT_FALSE(ReadReal("0.5", ','));
    EXPECT_FALSE(ReadReal("", '.'));
}

TEST(SourceNames, EveryKind) {
    EXPECT_EQ("DataSet", SourceName(esDataSet));
    EXPECT_EQ("ListView", SourceName(esListView));
    EXPECT_EQ("DBGrid", SourceName(esDBGrid));
    EXPECT_EQ("StringGrid", SourceName(esStringGrid));
    EXPECT_EQ("CustomSource", SourceName(esCustom));
    EXPECT_EQ("", SourceName(static_cast<TExportSource>(9)));
}

} // namespace
} // namespace korvo

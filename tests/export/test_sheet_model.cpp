// SPDX-License-Identifier: GPL-3.0-or-later

// The options, sheet and sheet-collection defaults and their copy rules.
#include "export/XlsSheet.h"

#include <gtest/gtest.h>

namespace korvo {
namespace {

TEST(Options, DefaultsAndCopy) {
    TXLSOptions o;
    EXPECT_EQ("Sheet 1", o.SheetTitle());
    EXPECT_EQ("Page &P of &N", o.PageFooter);
    EXPECT_EQ("", o.PageHeader);
    o.SetSheetTitle("");
    EXPECT_EQ("Sheet1", o.SheetTitle());

    TxlsFormat bold;
    bold.Font.Style.Bold = true;
    EXPECT_TRUE(o.CaptionsFormat.Font == bold.Font);
    EXPECT_TRUE(IsDefault(o.DataFormat));
    TxlsFormat link = o.HyperlinkFormat;
    EXPECT_EQ(clrBlue, link.Font.Color);
    EXPECT_EQ(fulSingle, link.Font.Underline);
    link.Font.Color = clrBlack;
    link.Font.Underline = fulNone;
    EXPECT_TRUE(IsDefault(link));

    TXLSOptions source;
    source.SetSheetTitle("Origen");
    source.PageHeader = "arriba";
    source.PageFooter = "abajo";
    source.DataFormat.Rotation = 90;
    TXLSOptions target;
    target.SetSheetTitle("Destino");
    target = source;
    EXPECT_EQ("Destino", target.SheetTitle());
    EXPECT_EQ("", target.PageHeader);
    EXPECT_EQ("Page &P of &N", target.PageFooter);
    EXPECT_EQ(90, target.DataFormat.Rotation);
}

TEST(Sheets, TitlesAndDefaults) {
    TxlsSheets sheets;
    TxlsSheet& first = sheets.Add();
    EXPECT_EQ("Sheet 1", first.Title);
    EXPECT_EQ("Sheet 2", sheets.Add().Title);
    EXPECT_EQ(2u, sheets.Count());
    sheets.Remove(0);
    EXPECT_EQ("Sheet 2", sheets[0].Title);
    const TxlsSheet& s = sheets[0];
    EXPECT_TRUE(s.Exported);
    EXPECT_TRUE(s.OnlyVisibleFields);
    EXPECT_TRUE(s.AllowCaptions);
    EXPECT_TRUE(s.GoToFirstRecord);
    EXPECT_EQ(-1, s.CaptionRow);
    EXPECT_EQ(8, s.DefColWidth);
    EXPECT_DOUBLE_EQ(12.75, s.DefRowHeight);
    EXPECT_EQ(esDataSet, s.ExportSource);
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// The style registry and its FONT, FORMAT and XF records, byte for byte.
#include "tests/xls/ByteCompare.h"
#include "xls/BiffRecord.h"
#include "xls/Styles.h"

#include <gtest/gtest.h>

namespace korvo {
namespace {

using test::BytesEqual;
using test::TBytes;
using test::TByteVector;

TByteVector Bytes(const TByteStream& s) {
    TByteVector out(s.Size());
    s.Read(0, out.data(), out.size());
    return out;
}

TByteVector Record(std::uint16_t id, const TByteVector& data) {
    return TBytes().Record(id, data).Bytes();
}

TByteVector ArialName() {
    return TBytes().U16('a').U16('r').U16('i').U16('a').U16('l').Bytes();
}

TEST(FontRecord, ResetAndBoldCaptionFonts) {
    const TByteVector reset = TBytes()
                                  .Raw({0xC8, 0x00, 0x00, 0x00, 0x08, 0x00, 0x90, 0x01, 0x00, 0x00, 0x00,
                                        0x00, 0x01, 0x00, 0x05, 0x01})
                                  .Append(ArialName())
                                  .Bytes();
    EXPECT_EQ(26u, reset.size());
    EXPECT_TRUE(BytesEqual(reset, FontRecordData(TxlsFont{})));

    TxlsFont bold;
    bold.Style.Bold = true;
    TByteVector expected = reset;
    expected[6] = 0xBC;
    expected[7] = 0x02;
    EXPECT_TRUE(BytesEqual(expected, FontRecordData(bold)));
}

TEST(FontRecord, EveryFieldFromItsProperty) {
    TxlsFont f;
    f.Size = 12;
    f.Style = {false, true, true};
    f.Color = clrRed;
    f.Script = fscSubscript;
    f.Underline = fulDoubleAccounting;
    f.Charset = 0xEE;
    f.Name = u"Ab";
    const TByteVector expected = TBytes()
                                     .U16(240)
                                     .U16(0x000A)
                                     .U16(10)
                                     .U16(400)
                                     .U16(2)
                                     .Raw({0x22, 0x00, 0xEE, 0x00, 0x02, 0x01})
                                     .U16('A')
                                     .U16('b')
                                     .Bytes();
    EXPECT_TRUE(BytesEqual(expected, FontRecordData(f)));
}

TEST(CellFormatRecords, SixteenFixedRecords) {
    TxlsStyleRegistry styles;
    TByteStream out;
    styles.SaveCellFormatRecords(out);
    TBytes expected;
    for (int i = 0; i < 16; ++i) {
        const std::uint16_t font = (i == 1 || i == 2 || i == 15) ? 1 : (i == 3 || i == 4) ? 2 : 0;
        const std::uint8_t used = (i == 0 || i == 15) ? 0x00 : 0xF4;
        expected.Append(Record(0x00E0, TBytes()
                                           .U16(font)
                                           .U16(0)
                                           .U16(i == 15 ? 0x0001 : 0xFFF5)
                                           .Raw({0x20, 0, 0, used})
                                           .Fill(0, 8)
                                           .U16(0x20C0)
                                           .Bytes()));
    }
    EXPECT_TRUE(BytesEqual(expected.Bytes(), Bytes(out)));
}

TByteVector LastXf(const TxlsStyleRegistry& styles) {
    TByteStream out;
    styles.SaveCellFormatRecords(out);
    const TByteVector all = Bytes(out);
    return TByteVector(all.end() - 20, all.end());
}

TEST(CellFormatRecords, NumberFormatAndBoldCaption) {
    const TxlsFont dataFont;
    TxlsStyleRegistry styles;
    EXPECT_EQ(16, styles.StyleIndexFor("#,###,##0.00", nullptr, dataFont));
    EXPECT_TRUE(BytesEqual(TByteVector{0x01, 0x00, 0x32, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x50,
                                       0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x04},
                           LastXf(styles)));

    TxlsFormat caption;
    caption.Font.Style.Bold = true;
    EXPECT_EQ(17, styles.StyleIndexFor("General", &caption, dataFont));
    EXPECT_TRUE(BytesEqual(TByteVector{0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x58,
                                       0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x04},
                           LastXf(styles)));
}

TEST(CellFormatRecords, BordersFillAlignmentAndIndent) {
    TxlsFormat f;
    f.Borders.Left = {bstThin, clrRed};       // style 1, colour 10
    f.Borders.Bottom = {bstThick, clrBlue};   // style 5, colour 12
    f.Borders.DiagUp = {bstDashed, clrGreen}; // style 3, colour 17
    f.Fill = {clrYellow, ptSolid, clrBlack};  // 13, pattern 1, 8
    f.Alignment = {halLeft, valCenter};
    f.Wrap = true;
    f.Rotation = 45;
    f.Indent = 0x13; // only the low four bits are written
    TxlsStyleRegistry styles;
    styles.StyleIndexFor("General", &f, TxlsFont{});
    const std::uint32_t offset14 = (1u << 26) | (12u << 7) | (17u << 14) | (3u << 21);
    const TByteVector expected = TBytes()
                                     .U16(1)
                                     .U16(0)
                                     .U16(0x0001)
                                     .Raw({0x19, 45, 0x03, 0x70})
                                     .U16(0x5001)
                                     .U16(static_cast<std::uint16_t>(10 | (1u << 15)))
                                     .U32(offset14)
                                     .U16(static_cast<std::uint16_t>(13 | (8 << 7)))
                                     .Bytes();
    EXPECT_TRUE(BytesEqual(expected, LastXf(styles)));
}

TEST(StyleIndexFor, RegistrationRules) {
    const TxlsFont dataFont;
    TxlsStyleRegistry styles;
    EXPECT_EQ(15, styles.StyleIndexFor("General", nullptr, dataFont));
    EXPECT_EQ(0u, styles.CellFormatCount());

    const std::uint16_t plain = styles.StyleIndexFor("", nullptr, dataFont);
    EXPECT_EQ(16, plain);
    EXPECT_EQ(plain, styles.StyleIndexFor("", nullptr, dataFont));
    EXPECT_EQ(0u, styles.NumberFormatCount());

    TxlsFormat a, b;
    a.Rotation = 0;
    b.Rotation = 90;
    const std::uint16_t ia = styles.StyleIndexFor("0.00", &a, dataFont);
    EXPECT_EQ(ia, styles.StyleIndexFor("0.00", &a, dataFont));
    const std::uint16_t ib = styles.StyleIndexFor("0.00", &b, dataFont);
    EXPECT_NE(ia, ib);
    EXPECT_EQ(1u, styles.NumberFormatCount()) << "one FORMAT shared by two cell formats";

    // A font equal to the data font is not registered; a bold one is, once for two formats.
    EXPECT_EQ(0u, styles.FontCount());
    TxlsFormat bold1, bold2;
    bold1.Font.Style.Bold = bold2.Font.Style.Bold = true;
    bold2.Fill.Pattern = ptGray50;
    styles.StyleIndexFor("General", &bold1, dataFont);
    styles.StyleIndexFor("General", &bold2, dataFont);
    EXPECT_EQ(1u, styles.FontCount());
    TByteStream fonts;
    styles.SaveFontRecords(fonts);
    EXPECT_EQ(5u * (4 + 26), fonts.Size());
}

TEST(StyleRegistry, TheSystemsExport) {
    TxlsStyleRegistry styles;
    TxlsSheetStyles sheet;
    sheet.Formats = {"$#,###,##0.00", "m/d/yyyy h:nn ampm", "#,###,##0.00", "#,###,##0", "h:nn ampm"};
    for (const char* name : {"Iteración:", "T (seg)", "X (m)", "Y (m)", "Ax (m/s)", "Ay (m/s)", "Vfx (m/s)",
                             "Vfy (m/s)", "Ec (Joules)", "Ec (kg·m2/s2)"})
        sheet.Columns.push_back({name, ""});
    styles.RegisterSheetStyles(sheet);
    TxlsFormat caption;
    caption.Font.Style.Bold = true;
    EXPECT_EQ(22, styles.StyleIndexFor("General", &caption, TxlsFont{}));
    EXPECT_EQ(21, styles.ColumnDataStyle(0, "x (M)"));
    EXPECT_EQ(15, styles.ColumnDataStyle(1, "X (m)"));
    EXPECT_EQ(7u, styles.CellFormatCount());

    TByteStream formats;
    styles.SaveFormatRecords(formats);
    const TByteVector all = Bytes(formats);
    // The first FORMAT: index 50, "$#,###,##0.00" (13 characters).
    TBytes first;
    first.U16(0x041E).U16(5 + 26).U16(50).U16(13).U8(1);
    for (char c : std::string("$#,###,##0.00"))
        first.U16(static_cast<std::uint8_t>(c));
    const TByteVector expectedFirst = first.Bytes();
    EXPECT_TRUE(BytesEqual(expectedFirst,
                           TByteVector(all.begin(), all.begin() + static_cast<long>(expectedFirst.size()))));
    // Five records with the indices 50 to 54.
    std::size_t at = 0;
    for (std::uint16_t index = 50; index <= 54; ++index) {
        ASSERT_LT(at + 6, all.size());
        EXPECT_EQ(index, all[at + 4] | (all[at + 5] << 8));
        at += 4 + (all[at + 2] | (all[at + 3] << 8));
    }
    EXPECT_EQ(all.size(), at);
}

TEST(CellFormat, DefaultsCopiesAndColours) {
    TxlsFormat f;
    EXPECT_TRUE(IsDefault(f));
    f.Rotation = 30; // not part of the default test
    EXPECT_TRUE(IsDefault(f));
    f.Wrap = true;
    EXPECT_FALSE(IsDefault(f));

    TxlsFieldFormat field;
    field.FieldName = "X (m)";
    TxlsFormat plain;
    plain.FieldName = "kept";
    plain = field;
    EXPECT_EQ("kept", plain.FieldName);
    TxlsFieldFormat other = field;
    EXPECT_EQ("X (m)", other.FieldName);

    const std::pair<TxlsColor, int> colours[] = {{clrBlack, 8},    {clrBrown, 60},        {clrBlue, 12},
                                                 {clrWhite, 9},    {clrLavender, 46},     {clrColor1, 24},
                                                 {clrColor16, 39}, {clrGray25Percent, 22}};
    for (const auto& [colour, index] : colours)
        EXPECT_EQ(index, PaletteIndex(colour)) << static_cast<int>(colour);
    EXPECT_EQ(39, static_cast<int>(clrWhite));
}

} // namespace
} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The look of a cell as the export describes it: font, borders, fill, alignment, wrap, rotation and
// indent, with the values a freshly reset format has, and the 56 palette colour names with the palette
// index each is written as. Plain values: copying a format copies everything but FieldName.
//
//     korvo::TxlsFormat caption;                  // reset values
//     caption.Font.Style.Bold = true;             // the bold caption format
//     korvo::IsDefault(caption);                  // false
//     korvo::PaletteIndex(korvo::clrBlue);        // 12
#include <cstdint>
#include <string>

namespace korvo {

// In the order of the published colour names: clrBlack first, clrWhite the 40th, then clrColor1..16.
enum TxlsColor : std::uint8_t {
    clrBlack,
    clrBrown,
    clrOliveGreen,
    clrDarkGreen,
    clrDarkTeal,
    clrDarkBlue,
    clrIndigo,
    clrGray80Percent,
    clrDarkRed,
    clrOrange,
    clrDarkYellow,
    clrGreen,
    clrTeal,
    clrBlue,
    clrBlueGray,
    clrGray50Percent,
    clrRed,
    clrLightOrange,
    clrLime,
    clrSeaGreen,
    clrAqua,
    clrLightBlue,
    clrViolet,
    clrGray40Percent,
    clrPink,
    clrGold,
    clrYellow,
    clrBrightGreen,
    clrTurquoise,
    clrSkyBlue,
    clrPlum,
    clrGray25Percent,
    clrRose,
    clrTan,
    clrLightYellow,
    clrLihtGreen,
    clrLightTurquoise,
    clrPaleBlue,
    clrLavender,
    clrWhite,
    clrColor1,
    clrColor2,
    clrColor3,
    clrColor4,
    clrColor5,
    clrColor6,
    clrColor7,
    clrColor8,
    clrColor9,
    clrColor10,
    clrColor11,
    clrColor12,
    clrColor13,
    clrColor14,
    clrColor15,
    clrColor16,
};
inline constexpr int kColorCount = 56;

// The palette index a colour name is written as (8..63).
std::uint8_t PaletteIndex(TxlsColor color);

enum TxlsFontScript : std::uint8_t { fscNone, fscSuperscript, fscSubscript };
enum TxlsFontUnderline : std::uint8_t {
    fulNone,
    fulSingle,
    fulDouble,
    fulSingleAccounting,
    fulDoubleAccounting
};
// BIFF8 line styles, in their published order.
enum TxlsBorderStyle : std::uint8_t {
    bstNone,
    bstThin,
    bstMedium,
    bstDashed,
    bstDotted,
    bstThick,
    bstDouble,
    bstHair,
    bstMediumDashed,
    bstDashDot,
    bstMediumDashDot,
    bstDashDotDot,
    bstMediumDashDotDot,
    bstSlantedDashDot
};
// BIFF8 fill patterns, in their published order.
enum TxlsFillPattern : std::uint8_t {
    ptNone,
    ptSolid,
    ptGray50,
    ptGray75,
    ptGray25,
    ptHorzStripe,
    ptVertStripe,
    ptRevDiagStripe,
    ptDiagStripe,
    ptDiagCrosshatch,
    ptThickDiagCrosshatch,
    ptThinHorzStripe,
    ptThinVertStripe,
    ptThinRevDiagStripe,
    ptThinDiagStripe,
    ptThinHorzCrosshatch,
    ptThinDiagCrosshatch,
    ptGray12,
    ptThinThinSpots
};
enum TxlsHorzAlignment : std::uint8_t { halGeneral, halLeft, halCenter, halRight, halFill };
enum TxlsVertAlignment : std::uint8_t { valTop, valCenter, valBottom, valJustify };

// The set of xfsBold, xfsItalic, xfsStrikeOut.
struct TxlsFontStyles {
    bool Bold = false;
    bool Italic = false;
    bool StrikeOut = false;
    bool operator==(const TxlsFontStyles&) const = default;
};

struct TxlsFont {
    std::int32_t Size = 10; // points
    TxlsFontStyles Style;
    TxlsColor Color = clrBlack;
    TxlsFontScript Script = fscNone;
    TxlsFontUnderline Underline = fulNone;
    std::uint8_t Charset = 1;
    std::u16string Name = u"arial";
    // The seven properties, names compared exactly.
    bool operator==(const TxlsFont&) const = default;
};

struct TxlsBorder {
    TxlsBorderStyle Style = bstNone;
    TxlsColor Color = clrBlack;
    bool operator==(const TxlsBorder&) const = default;
};

struct TxlsBorders {
    TxlsBorder Left, Right, Top, Bottom, DiagDown, DiagUp;
    bool operator==(const TxlsBorders&) const = default;
};

struct TxlsFill {
    TxlsColor Background = clrWhite;
    TxlsFillPattern Pattern = ptNone;
    TxlsColor Foreground = clrBlack;
    bool operator==(const TxlsFill&) const = default;
};

struct TxlsAlignment {
    TxlsHorzAlignment Horizontal = halGeneral;
    TxlsVertAlignment Vertical = valBottom;
    bool operator==(const TxlsAlignment&) const = default;
};

// What a copy of a format carries: everything that shapes a cell.
struct TxlsCellStyle {
    TxlsFont Font;
    TxlsBorders Borders;
    TxlsFill Fill;
    TxlsAlignment Alignment;
    bool Wrap = false;
    std::uint8_t Rotation = 0;
    std::uint8_t Indent = 0;
    bool operator==(const TxlsCellStyle&) const = default;
};

class TxlsFormat : public TxlsCellStyle {
public:
    std::string FieldName; // UTF-8; not carried by a copy

    TxlsFormat() = default;
    TxlsFormat(const TxlsFormat& other) : TxlsCellStyle(other) {}
    TxlsFormat& operator=(const TxlsFormat& other) {
        Assign(other);
        return *this;
    }
    virtual ~TxlsFormat() = default;

    // Copies everything except FieldName.
    void Assign(const TxlsFormat& other) { static_cast<TxlsCellStyle&>(*this) = other; }
};

enum TxlsAggregate : std::uint8_t { aggNone, aggSum, aggAvg, aggMin, aggMax };

// A format for the column whose name equals FieldName (ignoring case); its copy carries FieldName too.
class TxlsFieldFormat : public TxlsFormat {
public:
    std::int32_t Width = 0;
    TxlsAggregate Aggregate = aggNone;

    TxlsFieldFormat() = default;
    TxlsFieldFormat(const TxlsFieldFormat& other) : TxlsFormat(other) { CopyOwn(other); }
    TxlsFieldFormat& operator=(const TxlsFieldFormat& other) {
        TxlsFormat::Assign(other);
        CopyOwn(other);
        return *this;
    }

private:
    void CopyOwn(const TxlsFieldFormat& other) {
        FieldName = other.FieldName;
        Width = other.Width;
        Aggregate = other.Aggregate;
    }
};

// True when every property of the format (font, border styles, fill, alignment, wrap) has its reset
// value. A caption format for which this holds is written with the default cell format 15.
bool IsDefault(const TxlsFormat& format);

} // namespace korvo

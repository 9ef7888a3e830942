// SPDX-License-Identifier: GPL-3.0-or-later

#include "xls/Styles.h"

#include "xls/BiffRecord.h"
#include "xls/TextEncoding.h"

#include <algorithm>

namespace korvo {

struct TxlsStyleRegistry::Font {
    TxlsFont Value;
    std::uint16_t Index = 0;
};

struct TxlsStyleRegistry::NumberFormat {
    std::string Text; // UTF-8
    std::uint16_t Index = 0;
};

struct TxlsStyleRegistry::CellFormat {
    std::uint16_t Index = 0;
    // While a candidate, the font and number format are owned values; once registered they point at
    // the registered items.
    const Font* RegisteredFont = nullptr;
    const NumberFormat* RegisteredNumberFormat = nullptr;
    // The cell's look; its font counts only with HasFont (otherwise it stays the
    // default value, so that two formats without a font of their own compare equal).
    TxlsCellStyle Style;
    bool HasFont = false;
    bool HasNumberFormat = false;
    std::string NumberFormatText; // empty without HasNumberFormat

    bool SameLook(const CellFormat& o) const {
        return HasNumberFormat == o.HasNumberFormat && NumberFormatText == o.NumberFormatText &&
               HasFont == o.HasFont && Style == o.Style;
    }
};

struct TxlsStyleRegistry::ColumnEntry {
    std::int32_t SheetIndex = 0;
    std::string Name;
    std::uint16_t CellFormat = kDefaultCellFormat;
};

namespace {

constexpr std::uint16_t kFontRecord = 0x0031;
constexpr std::uint16_t kFormatRecord = 0x041E;
constexpr std::uint16_t kXfRecord = 0x00E0;

void AppendRecord(TByteStream& out, std::uint16_t id, const std::vector<std::uint8_t>& data) {
    WriteRecordHeader(out, id, static_cast<std::uint16_t>(data.size()));
    out.Write(data.data(), data.size());
}

std::uint8_t UnderlineByte(TxlsFontUnderline u) {
    switch (u) {
    case fulSingle:
        return 0x01;
    case fulDouble:
        return 0x02;
    case fulSingleAccounting:
        return 0x21;
    case fulDoubleAccounting:
        return 0x22;
    default:
        return 0x00;
    }
}

void PutBits32(std::uint8_t* p, std::uint32_t value, int shift, std::uint32_t mask) {
    std::uint32_t v = GetU32(p);
    v = (v & ~(mask << shift)) | ((value & mask) << shift);
    PutU32(p, v);
}

void PutBits16(std::uint8_t* p, std::uint32_t value, int shift, std::uint32_t mask) {
    std::uint32_t v = GetU16(p);
    v = (v & ~(mask << shift)) | ((value & mask) << shift);
    PutU16(p, static_cast<std::uint16_t>(v));
}

} // namespace

std::string FoldCase(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (b >= 'A' && b <= 'Z') {
            out[i] = static_cast<char>(b + 32);
        } else if (b == 0xC3 && i + 1 < out.size()) {
            // Latin-1 capitals À..Þ (but not ×) are C3 80..C3 9E.
            const auto n = static_cast<unsigned char>(out[i + 1]);
            if (n >= 0x80 && n <= 0x9E && n != 0x97)
                out[i + 1] = static_cast<char>(n + 0x20);
            ++i;
        }
    }
    return out;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

std::vector<std::uint8_t> FontRecordData(const TxlsFont& font) {
    const std::size_t n = std::min<std::size_t>(font.Name.size(), 255);
    std::vector<std::uint8_t> d(16 + 2 * n, 0);
    PutU16(&d[0], static_cast<std::uint16_t>(font.Size * 20));
    PutU16(&d[2], static_cast<std::uint16_t>((font.Style.Italic ? 0x0002 : 0) |
                                             (font.Style.StrikeOut ? 0x0008 : 0)));
    PutU16(&d[4], PaletteIndex(font.Color));
    PutU16(&d[6], font.Style.Bold ? 700 : 400);
    PutU16(&d[8], static_cast<std::uint16_t>(font.Script));
    d[10] = UnderlineByte(font.Underline);
    d[11] = 0;
    d[12] = font.Charset;
    d[13] = 0;
    d[14] = static_cast<std::uint8_t>(n);
    d[15] = 0x01;
    for (std::size_t i = 0; i < n; ++i)
        PutU16(&d[16 + 2 * i], font.Name[i]);
    return d;
}

std::vector<std::uint8_t> FixedCellFormatData(int index) {
    std::vector<std::uint8_t> d(20, 0);
    std::uint16_t font = 0;
    if (index == 1 || index == 2 || index == 15)
        font = 1;
    else if (index == 3 || index == 4)
        font = 2;
    PutU16(&d[0], font);
    PutU16(&d[4], index == 15 ? 0x0001 : 0xFFF5);
    d[6] = 0x20;
    d[9] = (index == 0 || index == 15) ? 0x00 : 0xF4;
    PutU16(&d[18], 0x20C0);
    return d;
}

TxlsStyleRegistry::TxlsStyleRegistry() = default;
TxlsStyleRegistry::~TxlsStyleRegistry() = default;

std::uint16_t TxlsStyleRegistry::StyleIndexFor(const std::string& numberFormat, const TxlsFormat* format,
                                               const TxlsFont& dataFont) {
    if (numberFormat == "General" && format == nullptr)
        return kDefaultCellFormat;
    const std::string text = numberFormat.empty() ? std::string("General") : numberFormat;

    auto candidate = std::make_unique<CellFormat>();
    if (text != "General") {
        candidate->HasNumberFormat = true;
        candidate->NumberFormatText = text;
    }
    if (format != nullptr) {
        candidate->Style = *format;
        candidate->HasFont = !(format->Font == dataFont);
        if (!candidate->HasFont)
            candidate->Style.Font = TxlsFont{};
    }

    for (const auto& registered : cellFormats_)
        if (registered->SameLook(*candidate))
            return registered->Index;

    if (candidate->HasFont) {
        auto found = std::find_if(fonts_.begin(), fonts_.end(),
                                  [&](const auto& f) { return f->Value == candidate->Style.Font; });
        if (found == fonts_.end()) {
            auto font = std::make_unique<Font>();
            font->Value = candidate->Style.Font;
            font->Index = ++lastFont_;
            fonts_.push_back(std::move(font));
            found = std::prev(fonts_.end());
        }
        candidate->RegisteredFont = found->get();
    }
    if (candidate->HasNumberFormat) {
        // Texts are compared as the 8-bit strings they are written from.
        const std::string bytes = Utf8ToCp1252(candidate->NumberFormatText);
        auto found = std::find_if(numberFormats_.begin(), numberFormats_.end(),
                                  [&](const auto& f) { return Utf8ToCp1252(f->Text) == bytes; });
        if (found == numberFormats_.end()) {
            auto nf = std::make_unique<NumberFormat>();
            nf->Text = candidate->NumberFormatText;
            nf->Index = ++lastNumberFormat_;
            numberFormats_.push_back(std::move(nf));
            found = std::prev(numberFormats_.end());
        }
        candidate->RegisteredNumberFormat = found->get();
    }
    candidate->Index = ++lastCellFormat_;
    cellFormats_.push_back(std::move(candidate));
    return lastCellFormat_;
}

void TxlsStyleRegistry::RegisterSheetStyles(const TxlsSheetStyles& sheet) {
    for (const std::string* text :
         {&sheet.Formats.CurrencyFormat, &sheet.Formats.DateTimeFormat, &sheet.Formats.FloatFormat,
          &sheet.Formats.IntegerFormat, &sheet.Formats.TimeFormat})
        StyleIndexFor(*text, nullptr, sheet.DataFont);
    for (const TxlsStyleColumn& column : sheet.Columns)
        RegisterColumnStyle(sheet.SheetIndex, column, sheet.FieldFormats, sheet.DataFont);
}

void TxlsStyleRegistry::RegisterColumnStyle(std::int32_t sheetIndex, const TxlsStyleColumn& column,
                                            const std::vector<TxlsFieldFormat>* fieldFormats,
                                            const TxlsFont& dataFont) {
    const TxlsFormat* fieldFormat = nullptr;
    if (fieldFormats != nullptr)
        for (const TxlsFieldFormat& f : *fieldFormats)
            if (SameTextIgnoringCase(f.FieldName, column.Name)) {
                fieldFormat = &f;
                break;
            }
    const std::uint16_t index = StyleIndexFor(column.Format, fieldFormat, dataFont);
    if (index == kDefaultCellFormat)
        return;
    for (const ColumnEntry& e : columns_)
        if (e.SheetIndex == sheetIndex && SameTextIgnoringCase(e.Name, column.Name))
            return;
    columns_.push_back({sheetIndex, column.Name, index});
}

std::uint16_t TxlsStyleRegistry::ColumnDataStyle(std::int32_t sheetIndex,
                                                 const std::string& columnName) const {
    for (const ColumnEntry& e : columns_)
        if (e.SheetIndex == sheetIndex && SameTextIgnoringCase(e.Name, columnName))
            return e.CellFormat;
    return kDefaultCellFormat;
}

void TxlsStyleRegistry::SaveFontRecords(TByteStream& out) const {
    const std::vector<std::uint8_t> reset = FontRecordData(TxlsFont{});
    for (int i = 0; i < 4; ++i)
        AppendRecord(out, kFontRecord, reset);
    for (const auto& f : fonts_)
        AppendRecord(out, kFontRecord, FontRecordData(f->Value));
}

void TxlsStyleRegistry::SaveFormatRecords(TByteStream& out) const {
    for (const auto& f : numberFormats_) {
        const std::u16string text = Cp1252ToUtf16(Utf8ToCp1252(f->Text));
        std::vector<std::uint8_t> d(5 + 2 * text.size(), 0);
        PutU16(&d[0], f->Index);
        PutU16(&d[2], static_cast<std::uint16_t>(text.size()));
        d[4] = 0x01;
        for (std::size_t i = 0; i < text.size(); ++i)
            PutU16(&d[5 + 2 * i], text[i]);
        AppendRecord(out, kFormatRecord, d);
    }
}

void TxlsStyleRegistry::SaveCellFormatRecords(TByteStream& out) const {
    for (int i = 0; i <= 15; ++i)
        AppendRecord(out, kXfRecord, FixedCellFormatData(i));
    for (const auto& cf : cellFormats_) {
        std::vector<std::uint8_t> d = FixedCellFormatData(15);
        d[9] |= 0x40;
        PutU16(&d[18], static_cast<std::uint16_t>(PaletteIndex(cf->Style.Fill.Background) |
                                                  (PaletteIndex(cf->Style.Fill.Foreground) << 7)));
        PutU32(&d[14], static_cast<std::uint32_t>(cf->Style.Fill.Pattern) << 26);
        if (cf->RegisteredFont != nullptr) {
            d[9] |= 0x08;
            PutU16(&d[0], cf->RegisteredFont->Index);
        }
        if (cf->RegisteredNumberFormat != nullptr)
            PutU16(&d[2], cf->RegisteredNumberFormat->Index);
        const TxlsBorders& b = cf->Style.Borders;
        const bool anyBorder =
            !(b.Left.Style == bstNone && b.Right.Style == bstNone && b.Top.Style == bstNone &&
              b.Bottom.Style == bstNone && b.DiagDown.Style == bstNone && b.DiagUp.Style == bstNone);
        if (anyBorder) {
            d[9] |= 0x20;
            PutU16(&d[10], 0);
            struct Side {
                const TxlsBorder& border;
                int styleShift;
                std::uint8_t* colourField;
                int colourShift;
                bool wide;
            };
            const Side sides[] = {{b.Left, 0, &d[12], 0, false},
                                  {b.Right, 4, &d[12], 7, false},
                                  {b.Top, 8, &d[14], 0, true},
                                  {b.Bottom, 12, &d[14], 7, true}};
            for (const Side& s : sides) {
                if (s.border.Style == bstNone)
                    continue;
                PutBits16(&d[10], s.border.Style, s.styleShift, 0x0F);
                if (s.wide)
                    PutBits32(s.colourField, PaletteIndex(s.border.Color), s.colourShift, 0x7F);
                else
                    PutBits16(s.colourField, PaletteIndex(s.border.Color), s.colourShift, 0x7F);
            }
            if (b.DiagDown.Style != bstNone)
                PutBits16(&d[12], 1, 14, 1);
            if (b.DiagUp.Style != bstNone)
                PutBits16(&d[12], 1, 15, 1);
            const TxlsBorder* diagonal =
                b.DiagDown.Style != bstNone ? &b.DiagDown : (b.DiagUp.Style != bstNone ? &b.DiagUp : nullptr);
            if (diagonal != nullptr) {
                PutBits32(&d[14], diagonal->Style, 21, 0x0F);
                PutBits32(&d[14], PaletteIndex(diagonal->Color), 14, 0x7F);
            }
        }
        d[9] |= 0x10;
        d[6] = static_cast<std::uint8_t>((cf->Style.Alignment.Horizontal & 0x07) |
                                         ((cf->Style.Alignment.Vertical & 0x07) << 4) |
                                         (cf->Style.Wrap ? 0x08 : 0));
        d[7] = cf->Style.Rotation;
        if (cf->Style.Alignment.Horizontal == halLeft)
            d[8] = static_cast<std::uint8_t>(d[8] + (cf->Style.Indent & 0x0F));
        AppendRecord(out, kXfRecord, d);
    }
}

} // namespace korvo

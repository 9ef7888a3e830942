// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/ExportColumns.h"

#include "xls/Styles.h"

#include <algorithm>
#include <cmath>

namespace korvo {

std::string SourceName(TExportSource source) {
    switch (source) {
    case esDataSet:
        return "DataSet";
    case esListView:
        return "ListView";
    case esDBGrid:
        return "DBGrid";
    case esStringGrid:
        return "StringGrid";
    case esCustom:
        return "CustomSource";
    }
    return {};
}

TExportColType DetectColType(const std::string& text, const std::string& trueText,
                             const std::string& falseText, const RegionalSettings& settings) {
    if (text.empty())
        return ectString;
    const std::string folded = FoldCase(text);
    if (folded == FoldCase(trueText) || folded == FoldCase(falseText))
        return ectBoolean;
    if (ReadInt32(text))
        return ectInteger;
    if (ReadReal(text, settings.DecimalSeparator))
        return ectFloat;
    if (const auto v = ReadDateTime(text, settings)) {
        const double day = std::trunc(*v);
        if (*v == day)
            return ectDate;
        if (day == 0)
            return ectTime;
        return ectDateTime;
    }
    return ectString;
}

std::optional<std::string> FindValue(const TNameValueList& list, const std::string& name) {
    const std::string key = FoldCase(name);
    for (const std::string& line : list) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && FoldCase(line.substr(0, eq)) == key)
            return line.substr(eq + 1);
    }
    return std::nullopt;
}

void TExportColumns::Rebuild(const TExportSettings& s) {
    items_.clear();
    if (s.ExportSource != esListView || s.ListView == nullptr)
        return;
    const IListViewSource& list = *s.ListView;
    const int count = list.ColumnCount();
    std::vector<int> chosen;
    if (!s.ExportedFields.empty()) {
        for (const std::string& field : s.ExportedFields) {
            int found = -1;
            const std::string key = FoldCase(field);
            for (int c = 0; c < count; ++c)
                if (FoldCase(list.ColumnCaption(c)) == key)
                    found = c; // the last of equal captions
            if (found >= 0)
                chosen.push_back(found);
        }
    } else {
        for (int c = 0; c < count; ++c)
            chosen.push_back(c);
    }
    for (const int c : chosen) {
        TExportColumn col;
        col.SourceIndex = c;
        col.Name = list.ColumnCaption(c);
        if (!s.AutoCalcStrType) {
            col.ColType = ectString;
        } else if (list.ItemCount() > 0) {
            const std::string first = c == 0                         ? list.ItemCaption(0)
                                      : c - 1 < list.SubItemCount(0) ? list.SubItem(0, c - 1)
                                                                     : std::string();
            col.ColType = DetectColType(first, s.Formats.BooleanTrue(), s.Formats.BooleanFalse(),
                                        CurrentRegionalSettings());
        } else {
            col.ColType = ectInteger;
        }
        const auto caption = FindValue(s.Captions, col.Name);
        col.Caption = caption ? *caption : col.Name;
        if (const auto width = FindValue(s.ColumnsWidth, col.Name))
            col.Width = ReadInt32(*width).value_or(0);
        else
            col.Width = list.ColumnWidth(c) / 8;
        switch (col.ColType) {
        case ectInteger:
        case ectBigint:
            col.Format = s.Formats.IntegerFormat();
            break;
        case ectFloat:
            col.Format = s.Formats.FloatFormat();
            break;
        case ectCurrency:
            col.Format = s.Formats.CurrencyFormat();
            break;
        case ectDate:
            col.Format = s.Formats.DateFormat();
            break;
        case ectTime:
            col.Format = s.Formats.TimeFormat();
            break;
        case ectDateTime:
            col.Format = s.Formats.DateTimeFormat();
            break;
        default:
            break;
        }
        if (const auto format = FindValue(s.UserFormats, col.Name))
            col.Format = *format;
        col.IsText = col.ColType == ectString;
        col.Length = col.IsText ? 255 : 0;
        col.IsNumericOrDate = col.ColType <= ectDateTime;
        col.IsNumber = col.ColType <= ectCurrency;
        items_.push_back(std::move(col));
    }
}

int TExportColumns::IndexOf(const std::string& name) const {
    const std::string key = FoldCase(name);
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (FoldCase(items_[i].Name) == key)
            return static_cast<int>(i);
    return -1;
}

void TExportColumns::ClearAggregateRefs() {
    for (TExportColumn& c : items_)
        c.AggregateRef = 0;
}

std::optional<double> ValueAsDouble(const TExportValue& value) {
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return *i;
    if (const auto* l = std::get_if<std::int64_t>(&value))
        return static_cast<double>(*l);
    if (const auto* d = std::get_if<double>(&value))
        return *d;
    if (const auto* t = std::get_if<TDateTimeValue>(&value))
        return t->Days;
    return std::nullopt;
}

void TExportRow::Build(const TExportColumns& columns) {
    Clear();
    for (std::size_t i = 0; i < columns.Count(); ++i)
        Add(columns[i].Name, static_cast<std::int32_t>(i));
}

void TExportRow::Add(const std::string& name, std::int32_t position) {
    TExportCol cell;
    cell.Name = TrimBlanks(name);
    cell.Position = position;
    index_.emplace_back(FoldCase(cell.Name), static_cast<std::int32_t>(cells_.size()));
    cells_.push_back(std::move(cell));
    SortIndex();
}

void TExportRow::SortIndex() {
    std::stable_sort(index_.begin(), index_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

void TExportRow::Clear() {
    cells_.clear();
    index_.clear();
}

int TExportRow::Lookup(const std::string& name) const {
    const std::string key = FoldCase(TrimBlanks(name));
    const auto it = std::lower_bound(index_.begin(), index_.end(), key,
                                     [](const auto& entry, const std::string& k) { return entry.first < k; });
    return it == index_.end() || it->first != key ? -1 : it->second;
}

void TExportRow::SetValueAt(int position, const std::string& text, const TExportValue& value) {
    if (position < 0 || static_cast<std::size_t>(position) >= cells_.size())
        return;
    TExportCol& cell = cells_[static_cast<std::size_t>(position)];
    cell.Text = text;
    cell.Value = value;
}

void TExportRow::SetValue(const std::string& name, const std::string& text, const TExportValue& value) {
    SetValueAt(Lookup(name), text, value);
}

bool SourceIsAssigned(const TExportSettings& s) {
    switch (s.ExportSource) {
    case esListView:
        return s.ListView != nullptr;
    case esDataSet:
        return s.DataSet != nullptr;
    case esDBGrid:
        return s.DBGrid != nullptr;
    case esStringGrid:
        return s.StringGrid != nullptr;
    case esCustom:
        return s.CustomSource != nullptr;
    }
    return false;
}

bool SourceIsActive(const TExportSettings&) {
    return true;
}

int SourceItemCount(const TExportSettings& s) {
    return s.ExportSource == esListView && s.ListView != nullptr ? s.ListView->ItemCount() : 0;
}

bool SourceIsEmpty(const TExportSettings& s) {
    return SourceItemCount(s) == 0;
}

void SourceFirst(const TExportSettings& s) {
    if (s.ExportSource == esListView && s.ListView != nullptr && s.ListView->ItemCount() > 0)
        s.ListView->SelectItem(0);
}

bool SourceIsEnd(const TExportSettings& s, std::int32_t counter) {
    const std::int64_t available = static_cast<std::int64_t>(SourceItemCount(s)) - s.SkipRecCount;
    std::int64_t n = s.ExportRecCount <= 0 ? available : std::min<std::int64_t>(s.ExportRecCount, available);
    if (n < 0)
        n = 0;
    return counter >= n;
}

void SourceBeginUpdate(const TExportSettings& s) {
    if (s.ExportSource == esListView && s.ListView != nullptr)
        s.ListView->BeginUpdate();
}

void SourceEndUpdate(const TExportSettings& s) {
    if (s.ExportSource == esListView && s.ListView != nullptr)
        s.ListView->EndUpdate();
}

namespace {
// Applies the formats' separators for one conversion and puts the saved ones back on every way out.
class TSeparatorSwap {
public:
    explicit TSeparatorSwap(const TExportFormats& f) : formats_(f) { formats_.ApplySeparators(); }
    ~TSeparatorSwap() { formats_.RestoreSeparators(); }
    TSeparatorSwap(const TSeparatorSwap&) = delete;
    TSeparatorSwap& operator=(const TSeparatorSwap&) = delete;

private:
    const TExportFormats& formats_;
};
} // namespace

void SourceCell(const TExportSettings& s, std::int32_t counter, const TExportColumn& column,
                std::string& text, TExportValue& value) {
    if (s.ExportSource != esListView || s.ListView == nullptr)
        return;
    const IListViewSource& list = *s.ListView;
    const int item = s.SkipRecCount + counter;
    // A missing sub-item reads as the empty text.
    if (column.SourceIndex == 0)
        text = list.ItemCaption(item);
    else
        text = column.SourceIndex - 1 < list.SubItemCount(item) ? list.SubItem(item, column.SourceIndex - 1)
                                                                : std::string();
    const RegionalSettings& system = CurrentRegionalSettings();
    switch (column.ColType) {
    case ectInteger:
    case ectBigint: {
        std::int64_t v = 0;
        if (column.ColType == ectInteger) {
            const auto r = ReadInt32(text);
            v = r.value_or(0);
            value = static_cast<std::int32_t>(v);
        } else {
            const auto r = ReadInt64(text);
            v = r.value_or(0);
            value = v;
        }
        TSeparatorSwap swap(s.Formats);
        text = FormatNumber(column.Format, static_cast<double>(v), CurrentRegionalSettings());
        break;
    }
    case ectFloat:
    case ectCurrency: {
        const auto r = ReadReal(text, system.DecimalSeparator);
        if (!r) {
            value = std::monostate{};
            break;
        }
        value = *r;
        TSeparatorSwap swap(s.Formats);
        text = FormatNumber(column.Format, *r, CurrentRegionalSettings());
        break;
    }
    case ectDate:
    case ectTime:
    case ectDateTime: {
        const auto r = ReadDateTime(text, system);
        if (!r) {
            value = std::monostate{};
            break;
        }
        value = TDateTimeValue{*r};
        TSeparatorSwap swap(s.Formats);
        text = FormatDateTime(column.Format, *r, CurrentRegionalSettings());
        break;
    }
    default:
        break; // texts keep the value the caller held
    }
}

void FillRow(const TExportSettings& s, const TExportColumns& columns, std::int32_t counter, TExportRow& row) {
    std::vector<int> targets;
    for (std::size_t i = 0; i < columns.Count(); ++i)
        targets.push_back(row.Lookup(columns[i].Name));
    FillRow(s, columns, targets, counter, row);
}

void FillRow(const TExportSettings& s, const TExportColumns& columns, const std::vector<int>& targets,
             std::int32_t counter, TExportRow& row) {
    std::string text;
    TExportValue value;
    for (std::size_t i = 0; i < columns.Count() && i < targets.size(); ++i) {
        SourceCell(s, counter, columns[i], text, value);
        row.SetValueAt(targets[i], text, value);
    }
}

} // namespace korvo

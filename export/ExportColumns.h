// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The export's view of its source: the source kinds, the column list built from the owner's settings,
// the row that carries one record's texts and values to the writer, and the source operations of the
// record loop (given in full for a list view; the other kinds have a name only).
//
//     korvo::TExportSettings s;             // what a component or a sheet publishes
//     s.ExportSource = korvo::esListView;
//     s.ListView = &table;
//     korvo::TExportColumns columns;
//     columns.Rebuild(s);                   // one column per list column: name, caption, width, type
//     korvo::TExportRow row;
//     row.Build(columns);
//     korvo::FillRow(s, columns, /*counter*/ 0, row);   // the texts of record SkipRecCount + 0
#include "export/ExportFormats.h"
#include "export/ListViewSource.h"
#include "xls/Styles.h" // FoldCase

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace korvo {

enum TExportSource : std::uint8_t { esDataSet, esListView, esDBGrid, esStringGrid, esCustom };
// "DataSet", "ListView", "DBGrid", "StringGrid", "CustomSource"; any other value the empty text.
std::string SourceName(TExportSource source);

enum TExportColType : std::uint8_t {
    ectInteger,
    ectBigint,
    ectFloat,
    ectCurrency,
    ectDate,
    ectTime,
    ectDateTime,
    ectString,
    ectBoolean,
    ectUnknown
};

// The type guess of AutoCalcStrType: empty text string; the true or false text Boolean; a 32-bit whole
// number integer; a real float; a date-time date, time or date-time by its parts; anything else string.
TExportColType DetectColType(const std::string& text, const std::string& trueText,
                             const std::string& falseText, const RegionalSettings& settings);

// A list of "name=value" lines; names are looked up ignoring case, the first match counts.
using TNameValueList = std::vector<std::string>;
std::optional<std::string> FindValue(const TNameValueList& list, const std::string& name);

// The settings a column list and the record loop read from their owner (the component or a sheet).
struct TExportSettings {
    TExportSource ExportSource = esDataSet;
    // The source objects; only the one of ExportSource is used. Not owned. A list view is the only kind
    // this system reads; the others are placeholders for their references.
    const void* DataSet = nullptr;
    const void* CustomSource = nullptr;
    IListViewSource* ListView = nullptr;
    const void* DBGrid = nullptr;
    const void* StringGrid = nullptr;
    std::vector<std::string> ExportedFields;
    bool OnlyVisibleFields = false;
    TExportFormats Formats;
    bool AutoCalcStrType = false;
    std::int32_t CaptionRow = -1;
    TNameValueList UserFormats;
    TNameValueList ColumnsWidth;
    TNameValueList Captions;
    bool GoToFirstRecord = true;
    std::int32_t SkipRecCount = 0;
    std::int32_t ExportRecCount = 0;
    bool CurrentRecordOnly = false;
};

struct TExportColumn {
    std::int32_t SourceIndex = 0;
    TExportColType ColType = ectString;
    std::uint8_t FieldDataType = 0;
    std::string Name;
    std::string Caption;
    std::int32_t Width = 0;     // characters
    std::uint8_t Alignment = 0; // 0 left, 1 center, 2 right
    std::string Format;
    std::string SqlType;
    std::int32_t Length = 0;
    std::int32_t AggregateRef = 0;
    bool IsNumericOrDate = false, IsNumber = false, IsText = false, IsBlob = false, IsMemo = false;
    bool Visible = true;
};

class TExportColumns {
public:
    // Clears the list and builds it from the settings (list-view sources; other kinds give no column).
    void Rebuild(const TExportSettings& settings);
    void Clear() { items_.clear(); }
    std::size_t Count() const { return items_.size(); }
    TExportColumn& operator[](std::size_t i) { return items_[i]; }
    const TExportColumn& operator[](std::size_t i) const { return items_[i]; }
    // The first column whose Name equals the text ignoring case, or -1.
    int IndexOf(const std::string& name) const;
    void ClearAggregateRefs();

private:
    std::vector<TExportColumn> items_;
};

// Days since 30 December 1899 with the time of day as the fraction.
struct TDateTimeValue {
    double Days = 0;
    bool operator==(const TDateTimeValue&) const = default;
};
using TExportValue = std::variant<std::monostate, std::int32_t, std::int64_t, double, TDateTimeValue>;
// The value as a number (date-times as days); absent for an empty value.
std::optional<double> ValueAsDouble(const TExportValue& value);

struct TExportCol {
    std::string Name;
    std::string Text;
    std::int32_t Position = -1;
    TExportValue Value;
};

class TExportRow {
public:
    // One cell per column, in column order, with the sorted name index.
    void Build(const TExportColumns& columns);
    void Add(const std::string& name, std::int32_t position);
    void Clear();
    // The cell named so (ignoring case) gets the text and the value; an unknown name does nothing.
    void SetValue(const std::string& name, const std::string& text, const TExportValue& value);
    // The position of the cell named so (ignoring case), or -1: what SetValue looks up.
    int Lookup(const std::string& name) const;
    // Sets the cell at a position found by Lookup.
    void SetValueAt(int position, const std::string& text, const TExportValue& value);
    std::size_t Count() const { return cells_.size(); }
    TExportCol& operator[](std::size_t i) { return cells_[i]; }
    const TExportCol& operator[](std::size_t i) const { return cells_[i]; }

private:
    void SortIndex();
    std::vector<TExportCol> cells_;
    std::vector<std::pair<std::string, std::int32_t>> index_; // folded name, position; sorted
};

// Source operations of the record loop.
bool SourceIsAssigned(const TExportSettings& s);
bool SourceIsActive(const TExportSettings& s);
bool SourceIsEmpty(const TExportSettings& s);
int SourceItemCount(const TExportSettings& s); // list view: its items; other kinds 0
void SourceFirst(const TExportSettings& s);
// The number of records to export is reached.
bool SourceIsEnd(const TExportSettings& s, std::int32_t counter);
void SourceBeginUpdate(const TExportSettings& s);
void SourceEndUpdate(const TExportSettings& s);

// The text and value of one column of record SkipRecCount + counter. Non-text columns are read as their
// type and their text reformatted with the column's format under the formats' separators; the saved
// separators are put back afterwards, also when formatting fails. An unreadable text keeps the source
// text and gives an empty value. A text column leaves the value as it was.
void SourceCell(const TExportSettings& s, std::int32_t counter, const TExportColumn& column,
                std::string& text, TExportValue& value);
// Every column's SourceCell, stored by the column's name.
void FillRow(const TExportSettings& s, const TExportColumns& columns, std::int32_t counter, TExportRow& row);
// The same with the row positions of the columns' names looked up once (Lookup of each column's Name),
// for the record loop.
void FillRow(const TExportSettings& s, const TExportColumns& columns, const std::vector<int>& targets,
             std::int32_t counter, TExportRow& row);

} // namespace korvo

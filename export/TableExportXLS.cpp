// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/TableExportXLS.h"

#include "export/SheetRows.h"
#include "xls/Styles.h"
#include "xls/WorkbookGlobals.h"
#include "xls/WorkbookWriter.h"
#include "xls/WorksheetRecords.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <thread>

namespace korvo {

namespace {
// Resumes a source's repainting on every way out of a sheet.
class TSourceUpdate {
public:
    explicit TSourceUpdate(const TExportSettings& s) : s_(s) { SourceBeginUpdate(s_); }
    ~TSourceUpdate() { SourceEndUpdate(s_); }
    TSourceUpdate(const TSourceUpdate&) = delete;
    TSourceUpdate& operator=(const TSourceUpdate&) = delete;

private:
    const TExportSettings& s_;
};

void ClampListViewCounts(TExportSettings& s) {
    if (s.ExportSource != esListView)
        return;
    const int items = SourceItemCount(s);
    s.SkipRecCount = std::min(s.SkipRecCount, items);
    if (s.ExportRecCount > 0)
        s.ExportRecCount = std::min(s.ExportRecCount, items);
}

// Rows a sheet will take: header lines, the caption row, the records and the footer lines.
std::int64_t RowsNeeded(const TxlsSheet& sheet) {
    TExportSettings s = sheet;
    ClampListViewCounts(s);
    std::int64_t records =
        std::max<std::int64_t>(0, static_cast<std::int64_t>(SourceItemCount(s)) - s.SkipRecCount);
    if (s.ExportRecCount > 0)
        records = std::min<std::int64_t>(records, s.ExportRecCount);
    if (s.CurrentRecordOnly)
        records = std::min<std::int64_t>(records, 1);
    return HeaderLineCount(sheet) + (sheet.AllowCaptions ? 1 : 0) + records + FooterLineCount(sheet);
}
} // namespace

TTableExportXLS::TTableExportXLS() = default;
TTableExportXLS::~TTableExportXLS() = default;

void TTableExportXLS::CopyIntoSheet(TxlsSheet& sheet) const {
    sheet.Title = Options.SheetTitle();
    sheet.Options = Options; // the seven formats only
    static_cast<TExportSettings&>(sheet) = static_cast<const TExportSettings&>(*this);
    sheet.AutoCalcColWidth = AutoCalcColWidth;
    sheet.FieldFormats = FieldFormats;
    sheet.StripType = StripType;
    sheet.StripStyles = StripStyles;
    sheet.HeaderRows = HeaderRows;
    sheet.StartDataCol = StartDataCol;
    sheet.FooterRows = FooterRows;
    sheet.Header = Header;
    sheet.Footer = Footer;
    sheet.AllowCaptions = AllowCaptions;
    sheet.SubAggControlColumn = SubAggControlColumn;
}

void TTableExportXLS::CopyBackFromSheet(const TxlsSheet& sheet) {
    Options.SetSheetTitle(sheet.Title);
    Options = sheet.Options;
    static_cast<TExportSettings&>(*this) = static_cast<const TExportSettings&>(sheet);
    AutoCalcColWidth = sheet.AutoCalcColWidth;
    FieldFormats = sheet.FieldFormats;
    StripType = sheet.StripType;
    StripStyles = sheet.StripStyles;
    HeaderRows = sheet.HeaderRows;
    StartDataCol = sheet.StartDataCol;
    FooterRows = sheet.FooterRows;
    Header = sheet.Header;
    Footer = sheet.Footer;
    AllowCaptions = sheet.AllowCaptions;
    SubAggControlColumn = sheet.SubAggControlColumn;
}

void TTableExportXLS::Execute() {
    CheckResultFile();
    TWorkbookWriter w;
    w.OpenWorkbookFile(FileName);
    TxlsStyleRegistry styles;
    temporarySheet_ = false;

    std::exception_ptr error;
    bool complete = false;
    try {
        complete = RunFlow(w, styles) == TFlowEnd::Complete;
    } catch (...) {
        error = std::current_exception();
    }
    // The file is closed before the end event, so that the event can tell whether it reached the disk.
    try {
        w.CloseWorkbookFile();
    } catch (...) {
        if (!error)
            error = std::current_exception();
    }
    complete = complete && !error;
    try {
        EndExport(complete);
    } catch (...) {
        if (!error)
            error = std::current_exception();
    }
    // The temporary sheet is the last one; it hands its clamped counts back and goes, also when
    // configured sheets that were not exported stand before it (they would otherwise gather one
    // temporary sheet per export).
    if (temporarySheet_ && Sheets.Count() > 0) {
        CopyBackFromSheet(Sheets[Sheets.Count() - 1]);
        Sheets.Remove(Sheets.Count() - 1);
    }
    temporarySheet_ = false;
    if (error)
        std::rethrow_exception(error);
    ShowResult();
}

void TTableExportXLS::CheckSources() {
    for (std::size_t p = 0; p < Sheets.Count(); ++p) {
        TxlsSheet& sheet = Sheets[p];
        if (!sheet.Exported)
            continue;
        const std::string name = SourceName(sheet.ExportSource);
        if (!SourceIsAssigned(sheet)) {
            std::string inner;
            try {
                RaiseMessage(34014, {name});
            } catch (const std::runtime_error& e) {
                inner = e.what();
            }
            RaiseMessage(34015, {sheet.Title, inner});
        }
        if (!SourceIsActive(sheet))
            RaiseMessage(34016, {name});
        if (!ExportEmpty && SourceIsEmpty(sheet))
            RaiseMessage(34017, {name});
        // Cell records hold 16-bit row numbers: a longer sheet would overwrite its first rows.
        const std::int64_t rows = RowsNeeded(sheet);
        if (rows > kMaxSheetRows)
            throw std::runtime_error(FormatMessage("Sheet %s needs %d rows; a worksheet holds at most 65536",
                                                   {sheet.Title, std::to_string(rows)}));
    }
}

TTableExportXLS::TFlowEnd TTableExportXLS::RunFlow(TWorkbookWriter& w, TxlsStyleRegistry& styles) {
    BeginWorkbook(w);
    const bool anyExported = [&] {
        for (std::size_t p = 0; p < Sheets.Count(); ++p)
            if (Sheets[p].Exported)
                return true;
        return false;
    }();
    if (!anyExported) {
        CopyIntoSheet(Sheets.Add());
        temporarySheet_ = true;
    }
    ExportedCount = 0;
    CheckSources();
    BeginExport();
    PrepareExport();
    if (StopRequested)
        return TFlowEnd::Stopped;
    for (std::size_t p = 0; p < Sheets.Count(); ++p) {
        TxlsSheet& sheet = Sheets[p];
        if (!sheet.Exported)
            continue;
        const auto position = static_cast<std::int32_t>(p);
        if (OnBeforeExportSheet)
            OnBeforeExportSheet(*this, position);
        if (!ExportSheet(w, styles, sheet, position))
            return TFlowEnd::Stopped;
        if (OnAfterExportSheet)
            OnAfterExportSheet(*this, position);
    }
    EndWorkbook(w, styles, kDefaultPalette);
    AfterExport();
    return TFlowEnd::Complete;
}

bool TTableExportXLS::ExportSheet(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet,
                                  std::int32_t position) {
    TSourceUpdate update(sheet);
    sheet.SheetPosition = position;
    sheet.RowCounter = 0;
    sheet.RecordCounter = 0;
    sheet.ColumnBound = 0;
    sheet.Columns.Rebuild(sheet);
    sheet.Row.Build(sheet.Columns);
    RegisterSheetStyles(styles, sheet, position);
    sheet.RowTargets.clear();
    sheet.DataCellFormats.clear();
    for (std::size_t k = 0; k < sheet.Columns.Count(); ++k) {
        sheet.RowTargets.push_back(sheet.Row.Lookup(sheet.Columns[k].Name));
        sheet.DataCellFormats.push_back(styles.ColumnDataStyle(position, sheet.Columns[k].Name));
    }
    sheet.HasImages = false;
    StopRequested = false;

    TxlsSheetSetup setup;
    setup.SheetIndex = position;
    setup.Title = sheet.Title;
    setup.DefColWidth = sheet.DefColWidth;
    setup.DefRowHeight = sheet.DefRowHeight;
    setup.PageHeader = sheet.Options.PageHeader;
    setup.PageFooter = sheet.Options.PageFooter;
    setup.StartDataCol = sheet.StartDataCol;
    for (std::size_t k = 0; k < sheet.Columns.Count(); ++k)
        setup.ColumnWidths.push_back(sheet.Columns[k].Width);

    ClampListViewCounts(sheet);
    sheet.ColumnBound = sheet.StartDataCol + static_cast<std::int32_t>(sheet.Columns.Count());
    BeginSheet(w, setup);

    WriteHeaderLines(w, styles, sheet);
    if (StopRequested)
        return false;
    if (sheet.AllowCaptions) {
        WriteCaptionRow(w, styles, sheet);
        if (StopRequested)
            return false;
    }
    if (sheet.GoToFirstRecord)
        SourceFirst(sheet);
    for (std::int32_t i = 0; i < sheet.SkipRecCount; ++i) {
        ++sheet.RecordCounter;
        if (OnSkippedRecord)
            OnSkippedRecord(*this, sheet.RecordCounter);
    }
    if (StopRequested)
        return false;

    const TCellTextHook hook = [&](int column, std::string& text) {
        if (OnGetExportText)
            OnGetExportText(*this, column, text);
        if (OnAdvancedGetExportText)
            OnAdvancedGetExportText(sheet, position, column, text);
    };
    const bool anyTextHook = OnGetExportText || OnAdvancedGetExportText;
    sheet.RecordCounter = 0;
    for (;;) {
        if (SourceIsEnd(sheet, sheet.RecordCounter))
            break;
        if (sheet.ExportRecCount != 0 && sheet.RecordCounter >= sheet.ExportRecCount)
            break;
        if (StopRequested) {
            bool canContinue = false;
            if (OnStopExport)
                OnStopExport(*this, canContinue);
            if (!canContinue)
                break;
            StopRequested = false;
        }
        FillRow(sheet, sheet.Columns, sheet.RowTargets, sheet.RecordCounter, sheet.Row);
        bool accept = true;
        if (OnBeforeExportRow)
            OnBeforeExportRow(*this, sheet.Row, accept);
        if (accept && OnAdvancedBeforeExportRow)
            OnAdvancedBeforeExportRow(*this, position, sheet.Row, accept);
        if (accept)
            WriteDataRow(w, styles, sheet, anyTextHook ? hook : TCellTextHook());
        if (sheet.CurrentRecordOnly)
            break;
        ++sheet.RecordCounter;
        ++ExportedCount;
        if (OnExportedRecord)
            OnExportedRecord(*this, ExportedCount);
        if (OnAdvancedExportedRecord)
            OnAdvancedExportedRecord(*this, position, sheet.RecordCounter);
        // Give the processor away now and then: once per record costs a tenth of a long export.
        if ((sheet.RecordCounter & 0xFF) == 0)
            std::this_thread::yield();
    }
    if (sheet.AutoCalcColWidth)
        ApplyColumnWidths(w);
    WriteFooterLines(w, styles, sheet);
    EndSheet(w);
    return true;
}

} // namespace korvo

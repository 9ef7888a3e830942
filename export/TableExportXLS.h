// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The spreadsheet exporter: writes its source as a workbook with one worksheet per exported sheet. With
// no sheet configured it is its own single sheet (a temporary sheet carries its settings during the
// export and hands the clamped counts back).
//
//     korvo::TTableExportXLS x;
//     x.ExportSource = korvo::esListView;
//     x.ListView = &table;
//     x.FileName = "DatosTrayectoriaRealCalculada.xls";
//     x.Options.SetSheetTitle("Trayectoria");
//     x.Execute();
//
// A workbook reaches the disk only when it is complete: a stopped or failed export leaves the earlier
// file of that name as it was and no partial file. A sheet that would need more than 65,536 rows is
// refused before anything is written.
#include "export/TableExport.h"
#include "export/XlsSheet.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvo {

class TWorkbookWriter;
class TxlsStyleRegistry;

inline constexpr std::int32_t kMaxSheetRows = 65536;

class TTableExportXLS : public TTableExportFormatText {
public:
    TTableExportXLS();
    ~TTableExportXLS() override;

    TXLSOptions Options;
    bool AutoCalcColWidth = false;
    std::uint16_t HeaderRows = 0;
    std::uint8_t StartDataCol = 0;
    std::uint16_t FooterRows = 0;
    TxlsSheets Sheets;
    std::vector<TxlsFieldFormat> FieldFormats;
    std::vector<TxlsFormat> StripStyles;
    TxlsStripType StripType = ssNone;
    std::string SubAggControlColumn;

    std::function<void(TTableExportXLS&, std::int32_t sheetIndex)> OnBeforeExportSheet;
    std::function<void(TTableExportXLS&, std::int32_t sheetIndex)> OnAfterExportSheet;
    std::function<void(TTableExportXLS&, std::int32_t sheet, TExportRow& row, bool& accept)>
        OnAdvancedBeforeExportRow;
    std::function<void(TTableExportXLS&, std::int32_t sheet, std::int32_t recNo)> OnAdvancedExportedRecord;
    std::function<void(TxlsSheet&, std::int32_t sheet, std::int32_t colNo, std::string& text)>
        OnAdvancedGetExportText;

    // Checks the file name and directory, writes the workbook, fires OnEndExport, then ShowResult.
    void Execute() override;

private:
    enum class TFlowEnd { Complete, Stopped };
    TFlowEnd RunFlow(TWorkbookWriter& w, TxlsStyleRegistry& styles);
    // True when the sheet was finished; false when a stop ends the whole export.
    bool ExportSheet(TWorkbookWriter& w, TxlsStyleRegistry& styles, TxlsSheet& sheet, std::int32_t position);
    void CheckSources();
    void CopyIntoSheet(TxlsSheet& sheet) const;
    void CopyBackFromSheet(const TxlsSheet& sheet);

    bool temporarySheet_ = false;
};

} // namespace korvo

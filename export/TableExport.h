// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The export engine common to every exporter: settings and events, the checks on the result file, the
// record loop's counters and stop protocol, the message texts, and the layers the spreadsheet exporter
// builds on.
//
//     korvo::TTableExportXLS x;                  // see TableExportXLS.h
//     x.OnEndExport = [](korvo::TTableExport&, bool complete) { if (complete) ...; };
//     x.Execute();                               // throws std::runtime_error with the message
#include "export/ExportColumns.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

// The program's string table entries of the engine, by number.
class TExportLocale {
public:
    static TExportLocale& Instance();
    // The entry's text (at most 1023 characters); the empty text for an unknown number.
    std::string LoadMessage(int number) const;
};

// The text with each "%s" and "%d" replaced by the next argument, in order.
std::string FormatMessage(const std::string& pattern, const std::vector<std::string>& args);
// std::runtime_error with entry `number` of the string table, formatted with the arguments.
[[noreturn]] void RaiseMessage(int number, const std::vector<std::string>& args = {});

// The desktop's document actions ("open", "print") on a finished file, supplied by the program; the
// engine stays free of any toolkit. Without a hook the actions do nothing.
using TShellDocumentAction = std::function<void(const std::string& verb, const std::string& fileName)>;
void SetShellDocumentAction(TShellDocumentAction action);

class TExportWriter;

class TTableExport : public TExportSettings {
public:
    TTableExport();
    virtual ~TTableExport();
    TTableExport(const TTableExport&) = delete;
    TTableExport& operator=(const TTableExport&) = delete;

    bool ExportEmpty = true;

    // Events; each is called only when set. OnEndExport fires once at the end of every run that got past
    // the opening of the file; `complete` tells a fully written file from a stopped or failed export.
    std::function<void(TTableExport&)> OnBeginExport;
    std::function<void(TTableExport&, bool complete)> OnEndExport;
    std::function<void(TTableExport&, std::int32_t recNo)> OnSkippedRecord;
    std::function<void(TTableExport&, std::int32_t recNo)> OnExportedRecord;
    std::function<void(TTableExport&, bool& canContinue)> OnStopExport;
    std::function<void(TTableExport&, std::int32_t colNo, std::string& text)> OnGetExportText;
    std::function<void(TTableExport&, TExportRow& row, bool& accept)> OnBeforeExportRow;

    // Requests a stop; honoured before the next record and at the checkpoints of a sheet.
    virtual void Abort() { StopRequested = true; }
    virtual void Execute() {}

    bool StopRequested = false;
    std::int32_t ExportedCount = 0;
    std::uint8_t TextEncoding() const { return textEncoding_; }
    virtual void SetTextEncoding(std::uint8_t code) {
        if (code != textEncoding_)
            textEncoding_ = code;
    }
    // The writer text exporters write through; the spreadsheet exporter never makes one.
    virtual std::unique_ptr<TExportWriter> CreateWriter(std::vector<std::uint8_t>& out);

    TExportColumns& Columns() { return columns_; }
    TExportRow& Row() { return row_; }

protected:
    // Builds the component's own columns and row, clears the stop request, clamps a list view's counts,
    // fires OnBeginExport.
    virtual void BeginExport();
    virtual void PrepareExport() {}
    // Puts back the separators saved by Formats.
    virtual void AfterExport() { Formats.RestoreSeparators(); }
    virtual void EndExport(bool complete) {
        if (OnEndExport)
            OnEndExport(*this, complete);
    }

    TExportColumns columns_;
    TExportRow row_;

private:
    std::uint8_t textEncoding_ = 27;
};

class TTableExportText : public TTableExport {
public:
    std::string FileName;
    bool ShowFile = false;
    bool PrintFile = false;

protected:
    // The entry checks on FileName: not empty, and its directory exists or can be made (an empty
    // directory part means the folder of the running program).
    void CheckResultFile() const;
    // "open" and "print" through the program's hook, when asked and no stop is left standing.
    virtual void ShowResult();
};

class TTableExportAdvancedText : public TTableExportText {
public:
    std::vector<std::string> Header, Footer; // UTF-8 lines
};

class TTableExportFormatText : public TTableExportAdvancedText {
public:
    bool AllowCaptions = true;
};

// The folder of the running program, with its trailing separator.
std::string ProgramFolder();

} // namespace korvo

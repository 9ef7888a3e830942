// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/TableExport.h"

#include "export/ExportWriter.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace korvo {

namespace {
TShellDocumentAction& ShellAction() {
    static TShellDocumentAction action;
    return action;
}
} // namespace

TExportLocale& TExportLocale::Instance() {
    static TExportLocale locale;
    return locale;
}

std::string TExportLocale::LoadMessage(int number) const {
    switch (number) {
    case 34014:
        return "Export source (%s) is not assigned";
    case 34015:
        return "Sheet %s define with error: %s";
    case 34016:
        return "Export source (%s) is closed";
    case 34017:
        return "Export source (%s) is empty";
    case 34023:
        return "Result file name not present";
    case 34025:
        return "Directory \"%s\" not found and cannot be created";
    default:
        return {};
    }
}

std::string FormatMessage(const std::string& pattern, const std::vector<std::string>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
            if (next < args.size())
                out += args[next++];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

void RaiseMessage(int number, const std::vector<std::string>& args) {
    throw std::runtime_error(FormatMessage(TExportLocale::Instance().LoadMessage(number), args));
}

void SetShellDocumentAction(TShellDocumentAction action) {
    ShellAction() = std::move(action);
}

std::string ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string folder = ec ? std::filesystem::current_path(ec).string() : exe.parent_path().string();
    folder.push_back('/');
    return folder;
}

TTableExport::TTableExport() = default;
TTableExport::~TTableExport() = default;

std::unique_ptr<TExportWriter> TTableExport::CreateWriter(std::vector<std::uint8_t>& out) {
    return std::make_unique<TExportWriter>(this, out);
}

void TTableExport::BeginExport() {
    columns_.Rebuild(*this);
    row_.Build(columns_);
    StopRequested = false;
    if (ExportSource == esListView) {
        const int items = SourceItemCount(*this);
        SkipRecCount = std::min(SkipRecCount, items);
        if (ExportRecCount > 0)
            ExportRecCount = std::min(ExportRecCount, items);
    }
    if (OnBeginExport)
        OnBeginExport(*this);
}

void TTableExportText::CheckResultFile() const {
    if (FileName.empty())
        RaiseMessage(34023);
    const std::size_t slash = FileName.find_last_of('/');
    std::string directory;
    if (slash != std::string::npos)
        directory = FileName.substr(0, slash == 0 ? 1 : slash); // the root keeps its separator
    if (directory.empty())
        directory = ProgramFolder();
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec)) {
        std::filesystem::create_directories(directory, ec);
        if (!std::filesystem::is_directory(directory, ec))
            RaiseMessage(34025, {directory});
    }
}

void TTableExportText::ShowResult() {
    if (StopRequested || !ShellAction())
        return;
    if (ShowFile)
        ShellAction()("open", FileName);
    if (PrintFile)
        ShellAction()("print", FileName);
}

} // namespace korvo

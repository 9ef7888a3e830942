// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The files a command writes, and its texts on standard output and error.
// Every command checks its outputs before it runs (two options naming one
// file are refused, "-" is standard output, a folder or a file the user may
// not replace is refused), then writes them one by one, so that a failure
// costs only its own file (exit status 1, one message each).
//
//   Outputs outputs(arguments, kRealOutputOptions);   // throws ERefused
//   outputs.Save("csv", [&] { return csv; });
//   outputs.PrintSummary([&] { return text; });       // stderr when "-" is taken
//   outputs.Finish();                                  // throws EWritesFailed
#include "app/CommandArguments.h"

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Outputs that failed while the others were written (exit status 1), one
// message each.
class EWritesFailed : public std::runtime_error {
public:
    explicit EWritesFailed(std::vector<std::string> messages)
        : std::runtime_error(messages.front()), messages_(std::move(messages)) {}
    const std::vector<std::string>& Messages() const { return messages_; }

private:
    std::vector<std::string> messages_;
};

// "KORVO: " and the message as the windows' error report words it, on
// standard error.
void PrintError(const std::string& message);

// Writes to standard output or error and says why it could not ("-" is the
// name of standard output in every message).
void Print(std::FILE* stream, std::string_view text);

// The outputs of one command: checked before anything runs, then written one
// by one so that a failure costs only its own file.
class Outputs {
public:
    Outputs(const CommandArguments& arguments, std::span<const CommandOption> options);

    std::optional<std::string> Path(const std::string& option) const {
        const auto found = paths_.find(option);
        return found == paths_.end() ? std::nullopt : std::optional(found->second);
    }
    // Whether an output goes to standard output, which then carries it alone.
    bool ToStandardOutput() const { return toStandardOutput_; }

    // Runs one write; its failure is kept and the next write goes on.
    void Attempt(const std::function<void()>& write) {
        try {
            write();
        } catch (const std::exception& error) {
            failures_.emplace_back(error.what());
        }
    }
    // Bytes to the option's file (its missing folders made) or to standard output.
    void Save(const std::string& option, const std::function<std::string()>& bytes);
    // The summary for people: on standard output unless an output is there.
    void PrintSummary(const std::function<std::string()>& text) {
        Attempt([&] { Print(toStandardOutput_ ? stderr : stdout, text()); });
    }
    // Throws EWritesFailed when a write failed.
    void Finish() const {
        if (!failures_.empty())
            throw EWritesFailed(failures_);
    }

private:
    std::map<std::string, std::string> paths_;
    bool toStandardOutput_ = false;
    std::vector<std::string> failures_;
};

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The seven inputs of a real-trajectory run, described once: the command
// line's option, the window's field and its caption and unit label, the unit
// and the label the report prints, and the default text. Everything that lists
// the inputs (the command line's options and sweep names, the report's input
// rows, the digest's order, the reproduce command, the window's start
// snapshot) walks this table in its order: D, T, M, Xo, Yo, angle, Vo.
//
//   for (const RunInputInfo& input : RunInputTable())
//       std::cout << input.Option << " = " << InputText(texts, input.Input);   // "d = 0.000016788592601"
#include "ballistics/core/DragLaw.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace korvo {

enum class RunInput { D, T, M, Xo, Yo, Angulo, Vo };
inline constexpr int kRunInputCount = 7;

// The inputs as the fields held them when the run started, and the drag law
// chosen for it.
struct RunInputTexts {
    std::string D, T, M, Xo, Yo, Angulo, Vo;
    DragLaw Ley = DragLaw::Linear;
};

struct RunInputInfo {
    RunInput Input;
    const char* Option;       // the command line's option and sweep name, without "--"
    const char* FieldName;    // the window field's object name
    const char* Caption;      // the window field's caption
    const char* WindowUnit;   // the window's unit label beside the field (null: none)
    const char* Unit;         // the unit the report and the help print
    const char* ReportLabel;  // the report's name of the input
    const char* DefaultText;  // with "." as the decimal separator (BuiltInNumberText gives it in force)
    const char* HelpArgument; // the help's name of the option's value
    const char* Help;         // what the help says of it, with its unit
    const char* HelpNote;     // what the help adds after the default ("" for nothing)
    std::string RunInputTexts::*Text;
};

// The seven inputs in their order.
const std::array<RunInputInfo, kRunInputCount>& RunInputTable();
const RunInputInfo& RunInputOf(RunInput input);

// The input of a command-line name ("d", "angle"), or none.
std::optional<RunInput> RunInputNamed(std::string_view option);

std::string& InputText(RunInputTexts& texts, RunInput input);
const std::string& InputText(const RunInputTexts& texts, RunInput input);

// The window's defaults, in the decimal separator in force; the linear law.
RunInputTexts DefaultRunInputTexts();

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The questions of a case from the command line:
//
//   KORVO band --tol angle=1 --tol vo=5 --csv banda.csv
//   KORVO farthest --height 12
//   KORVO angles --distance 300 --tol vo=5
//
// The inputs of `real` (the angle here a real number of degrees), --drag,
// --height H, repeatable --tol NAME=PLUSMINUS, --jobs N, --csv FILE|- and
// --pdf FILE|- (the case report with the table computed, and the case fields
// of --expediente, --perito and --nota).
// Human output in Spanish under the regional separator; CSV with "." and full
// precision. Exit status as the other commands: 0 done, 2 refused, 1 a failed
// write.
#include <string>

namespace korvo {

class CommandArguments;

// The options of band, farthest and angles, and their --help text.
const char* CaseCommandHelp();

// Runs `band`, `farthest` or `angles`; throws ERefused for a refused input or
// option (exit status 2) and std::exception for a failed write (1).
int RunCaseCommand(const std::string& command, const CommandArguments& arguments);

} // namespace korvo

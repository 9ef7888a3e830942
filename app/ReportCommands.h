// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The command line's parts around the run report: `KORVO selfcheck`, the
// status of a run that did not land, the warning for a long step, the case
// fields of --expediente, --perito and --nota, and the --version text.
//
//   KORVO selfcheck        # every case with its expected value; exit 0 or 1
#include "ballistics/core/RunReport.h"

#include <string>

namespace korvo {

class CommandArguments;

// Exit status of `real` for a run that was computed but stopped at its step
// bound with the projectile still in the air.
inline constexpr int kNotLandedStatus = 3;

// Prints the self-check's cases and verdict on standard output; 0 when every
// case holds, 1 otherwise.
int RunSelfCheckCommand();

// Prints the large-step warning on standard error when the inputs' k x T is
// past its threshold. Inputs that do not read as numbers print nothing.
void WarnAboutLongStep(const RunInputTexts& inputs);

// The case fields of --expediente, --perito and --nota (empty when not given).
RunCaseFields CaseFieldsOption(const CommandArguments& arguments);

// "KORVO <version>" and the commit the build was made from, on two lines.
std::string VersionText();

} // namespace korvo

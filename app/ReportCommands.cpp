// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ReportCommands.h"

#include "app/CommandArguments.h"
#include "ballistics/core/RunChecks.h"
#include "ballistics/core/SelfCheck.h"
#include "base/BuildStamp.h"

#include <cstdio>

namespace korvo {

int RunSelfCheckCommand() {
    const std::vector<SelfCheckCase> cases = RunSelfCheck();
    const std::string text = SelfCheckText(cases);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return SelfCheckPassed(cases) ? 0 : 1;
}

void WarnAboutLongStep(const RunInputTexts& inputs) {
    try {
        if (StepIsLarge(StepDragProduct(ParseReal(inputs.D), ParseReal(inputs.M), ParseReal(inputs.Vo),
                                        ParseReal(inputs.T))))
            std::fprintf(stderr, "KORVO: %s\n", LargeStepWarning().c_str());
    } catch (const EConvertError&) {
    }
}

RunCaseFields CaseFieldsOption(const CommandArguments& arguments) {
    return {arguments.Value("expediente").value_or(""), arguments.Value("perito").value_or(""),
            arguments.Value("nota").value_or("")};
}

std::string VersionText() {
    return std::string("KORVO ") + ProgramVersion() + " (commit " + ProgramCommit() +
           ")\n"
           "Copyright (C) 2026 Korvatek\n"
           "Licencia GPL-3.0-or-later: GNU GPL versión 3 o posterior "
           "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
           "Esto es software libre: puede modificarlo y redistribuirlo. No hay NINGUNA GARANTÍA, en la "
           "medida\n"
           "en que lo permita la ley.\n";
}

} // namespace korvo

#include "app/ReportCommands.h"

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

std::string VersionText() {
    return std::string("KORVO ") + ProgramVersion() + "\nCompilado del commit " + ProgramCommit() + "\n";
}

} // namespace korvo

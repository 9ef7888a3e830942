// SPDX-License-Identifier: GPL-3.0-or-later

#include "parser/MathParser.h"

namespace korvo {

TMathParser::TMathParser() {
    for (std::size_t i = 0; i < MathFunctionTable.size(); ++i) {
        const TMathFunctionInfo& f = MathFunctionTable[i];
        AddFunction(FIndex[i], f.Name, f.LeftOperand, f.RightOperand, f.Foldable, f.ParamCount);
    }
}

void TMathParser::Parse(const std::string& Expression) {
    FScript.clear();
    CompileScript(Expression, FScript);
}

double TMathParser::Evaluate() {
    return ExecuteScript(FScript);
}

void TMathParser::CheckParameterCount(const TParameters& Parameters, int Count, TParameterCountMode Mode) {
    korvo::CheckParameterCount(Parameters, Count, Mode);
}

void TMathParser::CallFunction(TFunctionCall& Call) {
    TParser::CallFunction(Call);
    if (Call.Done || Call.FunctionIndex < 0)
        return;
    for (std::size_t i = 0; i < FIndex.size(); ++i) {
        if (FIndex[i] != Call.FunctionIndex)
            continue;
        const TMathFunctionInfo& f = MathFunctionTable[i];
        if (f.ParamCount > 0)
            CheckParameterCount(Call.Parameters, f.ParamCount, f.CountMode);
        Call.Value = CallMathFunction(static_cast<TMathFunction>(i), Call.LValue, Call.RValue,
                                      Call.Parameters, ExceptionTypes);
        Call.Done = true;
        return;
    }
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

// Arbitrary input for the evaluator. Every input must end in a value or in
// one of the evaluator's own errors: EParseError, or std::runtime_error with
// "Division by zero" or a parameter-count message. Anything else (a crash, a
// sanitizer report, another exception or message) is a finding.
//
// The first byte chooses what the rest is, when it is below 0x08:
//   bit 0 clear: a formula text for Parse, Evaluate (twice: the second run
//                reads the group values cached by the first), GetOptimized
//                and Optimize, then the compiled script with one bit flipped
//   bit 0 set:   bytes handed as a script to the executor and the optimizer
//   bit 1:       ExceptionTypes empty instead of [etZeroDivide]
//   bit 2:       ',' as the decimal separator
// Any other first byte starts a formula text with the default settings, so
// that plain texts work as seeds (corpus/parser).
#include "base/RegionalSettings.h"
#include "parser/MathParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

using korvo::TByteDynArray;

korvo::TMathParser& Parser() {
    static korvo::TMathParser parser;
    return parser;
}

bool IsLibraryError(const std::runtime_error& E) {
    return std::strcmp(E.what(), korvo::SNotEnoughParameters) == 0 ||
           std::strcmp(E.what(), korvo::STooManyParameters) == 0 ||
           std::strcmp(E.what(), "Division by zero") == 0;
}

// Runs Step; true when it ended without an error. Errors other than the
// evaluator's own abort, so that the fuzzer reports them.
template <typename F> bool Guarded(F&& Step) {
    try {
        Step();
        return true;
    } catch (const korvo::EParseError&) {
    } catch (const std::runtime_error& e) {
        if (!IsLibraryError(e))
            std::abort();
    }
    return false;
}

void RunScript(korvo::TMathParser& P, const TByteDynArray& Script) {
    TByteDynArray run = Script;
    Guarded([&] { P.ExecuteScript(run); });
    Guarded([&] { P.ExecuteScript(run); });
    TByteDynArray optimized;
    if (Guarded([&] { P.GetOptimized(Script, optimized); }))
        Guarded([&] { P.ExecuteScript(optimized); });
    TByteDynArray replaced = Script;
    Guarded([&] { P.Optimize(replaced); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    // One bit of the compiled script is flipped at a place that depends on
    // the whole input, so that the checks of sizes, offsets and item codes
    // meet scripts that are almost right.
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < Size; ++i)
        hash = (hash ^ Data[i]) * 16777619u;
    unsigned mode = 0;
    if (Size > 0 && Data[0] < 0x08) {
        mode = Data[0];
        ++Data;
        --Size;
    }
    korvo::TMathParser& p = Parser();
    p.ExceptionTypes = (mode & 2) ? korvo::TExceptionTypes{} : korvo::TExceptionTypes{korvo::etZeroDivide};
    korvo::SetDecimalSeparator((mode & 4) ? ',' : '.');

    if (mode & 1) {
        RunScript(p, TByteDynArray(Data, Data + Size));
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    const bool compiled = Guarded([&] { p.Parse(text); });
    Guarded([&] { p.Evaluate(); });
    Guarded([&] { p.Evaluate(); });
    if (!compiled)
        return 0;
    RunScript(p, p.Script());
    TByteDynArray damaged = p.Script();
    if (!damaged.empty()) {
        damaged[hash % damaged.size()] ^= static_cast<std::uint8_t>(1u << (hash >> 29));
        RunScript(p, damaged);
    }
    return 0;
}

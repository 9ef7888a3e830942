// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The evaluator's exception and its message texts.

#include <stdexcept>
#include <string>

namespace korvo {

// Raised for texts that do not compile and scripts that cannot be run.
class EParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* SNoData = "Expression contains no data";
inline constexpr const char* SInvalidChars = "\"%s\" contains invalid characters";
inline constexpr const char* SBracketExpected = "Bracket character expected";
inline constexpr const char* SExpressionExpected = "Function or expression expected";
inline constexpr const char* SUnknownIdentifier = "Unknown identifier: \"%s\"";
inline constexpr const char* SRequiresParameters = "Function \"%s\" requires parameters";
inline constexpr const char* SRequiresOperand = "Function \"%s\" requires expression before or after itself";
inline constexpr const char* SNoOperand =
    "Function \"%s\" does not require expression before or after itself";
inline constexpr const char* SNoParameters = "Function \"%s\" does not require parameters";
inline constexpr const char* SInvalidScript = "Invalid script";
inline constexpr const char* SUnknownFunction = "Unknown function: %d";
inline constexpr const char* SNestedTooDeeply = "Expression is nested too deeply";
// Raised as std::runtime_error by the function library's parameter check.
inline constexpr const char* SNotEnoughParameters = "Not enough actual parameters";
inline constexpr const char* STooManyParameters = "Too many actual parameters";

// Message with its one %s or %d placeholder replaced.
std::string FormatMessage(const char* Pattern, const std::string& Argument);
std::string FormatMessage(const char* Pattern, long long Argument);

[[noreturn]] void RaiseParseError(const char* Message);
[[noreturn]] void RaiseParseError(const char* Pattern, const std::string& Argument);

} // namespace korvo

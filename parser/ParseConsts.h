// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The character sets the evaluator's text scanning is defined by.

#include <array>
#include <string>
#include <vector>

namespace korvo {

struct TBracketPair {
    char Open;
    char Close;
};

// Delimit the references to compiled bracket groups written into a text
// while it compiles ("{n}", "{#n}"); a user's text may not contain them.
inline constexpr TBracketPair ScriptBrackets{'{', '}'};
inline constexpr TBracketPair ExpressionBrackets{'(', ')'};
inline constexpr TBracketPair ListBrackets{'[', ']'};
inline constexpr char QuoteChar = '\'';
inline constexpr char ListReferenceMark = '#';

inline const std::vector<std::string> TermSeparators{"-", "+"};
inline const std::vector<std::string> ParameterSeparators{",", ";"};
inline constexpr std::array<char, 2> SignChars{'-', '+'};
inline const std::vector<std::string> ReservedChars{std::string(1, ScriptBrackets.Open),
                                                    std::string(1, ScriptBrackets.Close)};

// Characters with codes 0 to 32 are blanks.
constexpr bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= 32;
}

} // namespace korvo

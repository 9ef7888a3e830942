// SPDX-License-Identifier: GPL-3.0-or-later

#include "parser/ParseErrors.h"

#include <string_view>

namespace korvo {

namespace {

std::string Substitute(std::string_view Pattern, std::string_view Placeholder, const std::string& Argument) {
    std::string out(Pattern);
    const std::size_t at = out.find(Placeholder);
    if (at != std::string::npos)
        out.replace(at, Placeholder.size(), Argument);
    return out;
}

} // namespace

std::string FormatMessage(const char* Pattern, const std::string& Argument) {
    return Substitute(Pattern, "%s", Argument);
}

std::string FormatMessage(const char* Pattern, long long Argument) {
    return Substitute(Pattern, "%d", std::to_string(Argument));
}

void RaiseParseError(const char* Message) {
    throw EParseError(Message);
}

void RaiseParseError(const char* Pattern, const std::string& Argument) {
    throw EParseError(FormatMessage(Pattern, Argument));
}

} // namespace korvo

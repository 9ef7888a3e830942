// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CommandArguments.h"

#include <algorithm>

namespace korvo {
namespace {

const CommandOption* Find(std::initializer_list<std::span<const CommandOption>> groups,
                          std::string_view name) {
    for (const std::span<const CommandOption> group : groups)
        for (const CommandOption& option : group)
            if (option.name == name)
                return &option;
    return nullptr;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

CommandArguments::CommandArguments(std::span<const std::string> arguments,
                                   std::initializer_list<std::span<const CommandOption>> groups) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word.size() < 2 || word[0] != '-' || word == "--")
            throw ERefused("Argumento de más: " + word);
        std::string_view name(word);
        name.remove_prefix(name.starts_with("--") ? 2 : 1);
        if (name == "h" || name == "help") {
            help_ = true;
            continue;
        }
        const std::size_t equals = name.find('=');
        std::optional<std::string> value;
        if (equals != std::string_view::npos) {
            value = std::string(name.substr(equals + 1));
            name = name.substr(0, equals);
        }
        const CommandOption* option = Find(groups, name);
        if (option == nullptr)
            throw ERefused("Opción desconocida: --" + std::string(name));
        if (!value) {
            if (i + 1 == arguments.size())
                throw ERefused("Falta el valor de --" + std::string(name));
            value = arguments[++i];
        }
        if (!option->repeats && IsSet(name))
            throw ERefused("La opción --" + std::string(name) + " se da dos veces");
        given_.emplace_back(std::string(name), std::move(*value));
    }
}

bool CommandArguments::IsSet(std::string_view name) const {
    return std::any_of(given_.begin(), given_.end(),
                       [&](const auto& option) { return option.first == name; });
}

std::optional<std::string> CommandArguments::Value(std::string_view name) const {
    for (const auto& [option, value] : given_)
        if (option == name)
            return value;
    return std::nullopt;
}

std::vector<std::string> CommandArguments::Values(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [option, value] : given_)
        if (option == name)
            values.push_back(value);
    return values;
}

VarySpec SplitVary(const std::string& varyText) {
    const std::size_t equals = varyText.find('=');
    VarySpec vary;
    vary.name = varyText.substr(0, equals);
    if (std::none_of(std::begin(kRealInputOptions), std::end(kRealInputOptions),
                     [&](const CommandOption& input) { return input.name == vary.name; }))
        throw ERefused("--vary varía una de d, t, m, xo, yo, angle o vo: " + varyText);
    const std::string_view values =
        equals == std::string::npos ? std::string_view() : std::string_view(varyText).substr(equals + 1);
    vary.range = values.find(':') != std::string_view::npos;
    vary.texts = Split(values, vary.range ? ':' : ',');
    if (equals == std::string::npos || (vary.range && vary.texts.size() != 3) ||
        std::any_of(vary.texts.begin(), vary.texts.end(),
                    [](const std::string& text) { return text.empty(); }))
        throw ERefused("--vary espera NOMBRE=DESDE:HASTA:PASO o NOMBRE=V1,V2,...: " + varyText);
    return vary;
}

} // namespace korvo

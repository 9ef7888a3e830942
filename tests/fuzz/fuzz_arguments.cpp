// SPDX-License-Identifier: GPL-3.0-or-later

// Arbitrary command lines for the argument reader. The input is the words
// after the command, separated by NUL bytes; its first byte chooses the
// command's options (real, ideal or sweep) and, with bit 2, ',' as the decimal
// separator. Every input must end in a reading or in ERefused; every value
// read must be one of the words, or the part after "=" of one, byte for byte;
// every --vary must split or be refused; the number conversions may only
// raise their own error. Nothing is run and no file is touched.
#include "app/CommandArguments.h"
#include "ballistics/core/NumberText.h"
#include "base/RegionalSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace {

using korvo::CommandOption;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A value must come from the words as typed.
bool IsTyped(const std::string& value, const std::vector<std::string>& words) {
    for (const std::string& word : words)
        if (word == value || (word.size() > value.size() && word.ends_with("=" + value)))
            return true;
    return false;
}

void ReadNumbers(const std::string& text) {
    try {
        korvo::ParseReal(text);
    } catch (const korvo::EConvertError&) {
    }
    try {
        korvo::ParseWhole(text);
    } catch (const korvo::EConvertError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size == 0)
        return 0;
    const std::uint8_t mode = Data[0];
    korvo::CurrentRegionalSettings().DecimalSeparator = (mode & 4) ? ',' : '.';
    std::vector<std::string> words;
    const std::string rest(reinterpret_cast<const char*>(Data + 1), Size - 1);
    for (std::size_t start = 0; start <= rest.size();) {
        const std::size_t end = std::min(rest.find('\0', start), rest.size());
        words.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    using Groups = std::initializer_list<std::span<const CommandOption>>;
    const Groups real{korvo::kRealInputOptions, korvo::kRealOutputOptions};
    const Groups ideal{korvo::kIdealOptions, korvo::kIdealOutputOptions};
    const Groups sweep{korvo::kRealInputOptions, korvo::kSweepOptions, korvo::kSweepOutputOptions};
    const Groups* groups[] = {&real, &ideal, &sweep};
    const Groups& chosen = *groups[(mode & 3) % 3];
    try {
        const korvo::CommandArguments arguments(words, chosen);
        for (const std::span<const CommandOption> group : chosen)
            for (const CommandOption& option : group) {
                const std::vector<std::string> values = arguments.Values(option.name);
                Check(arguments.IsSet(option.name) == !values.empty());
                Check(option.repeats || values.size() <= 1);
                for (const std::string& value : values) {
                    Check(IsTyped(value, words));
                    ReadNumbers(value);
                }
            }
        for (const std::string& varyText : arguments.Values("vary")) {
            try {
                const korvo::VarySpec vary = korvo::SplitVary(varyText);
                Check(!vary.texts.empty() && (!vary.range || vary.texts.size() == 3));
                for (const std::string& text : vary.texts)
                    ReadNumbers(text);
            } catch (const korvo::ERefused&) {
            }
        }
    } catch (const korvo::ERefused&) {
    }
    return 0;
}

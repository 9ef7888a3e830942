// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reading a command's arguments, with the standard library only: the options
// each command takes, and the refusals of what it does not take. The texts are
// kept byte for byte (a file name need not be UTF-8); what they mean as
// numbers is for the command to read.
//
//   const std::vector<std::string> words = {"--angle", "45", "--csv=out.csv"};
//   CommandArguments arguments(words, {kRealInputOptions, kRealOutputOptions});
//   arguments.Value("angle")      // "45"
//   arguments.Value("vo")         // std::nullopt: the command's default
//
// An option is written "--name VALUE", "--name=VALUE" or with one dash; its
// value is the next argument whatever it looks like ("--xo -5"). "-h" and
// "--help" ask for the help and take no value.
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvo {

// A refused command line (exit status 2), with the message shown for it.
class ERefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An option of a command and whether it may be given more than once (a
// repeated --vary adds a dimension to a sweep; any other option given twice
// is refused, since one of the two values would be dropped unseen).
struct CommandOption {
    std::string_view name;
    bool repeats = false;
};

// The real trajectory's seven inputs, by the names a sweep varies them by, in
// the order of the run's table of inputs (a test holds the two together).
inline constexpr CommandOption kRealInputOptions[] = {{"d"}, {"t"}, {"m"}, {"xo"}, {"yo"}, {"angle"}, {"vo"}};
// The drag law a real run or a sweep steps.
inline constexpr CommandOption kDragOptions[] = {{"drag"}};
// The files of `real`; every one of them may be "-", standard output.
inline constexpr CommandOption kRealOutputOptions[] = {{"csv"}, {"json"}, {"xls"}, {"bmp"}, {"pdf"}};
// The case fields that the report prints in its identification.
inline constexpr CommandOption kCaseFieldOptions[] = {{"expediente"}, {"perito"}, {"nota"}};
// The questions of a case: band, farthest, angles.
inline constexpr CommandOption kCaseOptions[] = {{"d"},    {"t"},      {"m"},         {"vo"},       {"angle"},
                                                 {"drag"}, {"height"}, {"tol", true}, {"distance"}, {"jobs"}};
// Their files; either may be "-", standard output.
inline constexpr CommandOption kCaseOutputOptions[] = {{"csv"}, {"pdf"}};
inline constexpr CommandOption kSweepOptions[] = {{"vary", true}, {"jobs"}};
inline constexpr CommandOption kSweepOutputOptions[] = {{"csv"}};
inline constexpr CommandOption kIdealOptions[] = {{"vo"}, {"angle"}, {"height"}, {"distance"}, {"interval"}};
inline constexpr CommandOption kIdealOutputOptions[] = {{"csv"}, {"json"}};

class CommandArguments {
public:
    // Reads the arguments after the command against its groups of options.
    // Throws ERefused for an unknown option, a missing value, an option given
    // twice that does not repeat, and an argument that is not an option.
    CommandArguments(std::span<const std::string> arguments,
                     std::initializer_list<std::span<const CommandOption>> groups);

    bool Help() const { return help_; }
    bool IsSet(std::string_view name) const;
    // The option's value, or none when it is not given.
    std::optional<std::string> Value(std::string_view name) const;
    // Every value of a repeating option, in the order given.
    std::vector<std::string> Values(std::string_view name) const;

private:
    std::vector<std::pair<std::string, std::string>> given_;
    bool help_ = false;
};

// A --vary value split into its parts: "angle=76:80:0.5" is a range (FROM, TO
// and STEP), "angle=45,60,78" a list of values ("," separates them, so that
// a list's decimals take "."; a range's may take either separator). Throws
// ERefused when it is neither, or names no input of kRealInputOptions.
struct VarySpec {
    std::string name;
    std::vector<std::string> texts;
    bool range = false;
};
VarySpec SplitVary(const std::string& varyText);

} // namespace korvo

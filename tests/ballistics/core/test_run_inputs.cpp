// SPDX-License-Identifier: GPL-3.0-or-later

// The one table of the run's inputs: every option name finds its own input and
// text, and the defaults are the window's, in the separator in force.
#include "SeparatorGuard.h"
#include "ballistics/core/RealTrajectory.h"
#include "ballistics/core/RunInputs.h"

#include <gtest/gtest.h>

#include <set>

namespace korvo {
namespace {

TEST(RunInputs, EachOptionAddressesItsOwnText) {
    RunInputTexts texts;
    std::set<std::string> options;
    for (const RunInputInfo& input : RunInputTable()) {
        ASSERT_EQ(RunInputNamed(input.Option), input.Input) << input.Option;
        InputText(texts, input.Input) = input.Option;
        options.insert(input.Option);
    }
    EXPECT_EQ(options.size(), static_cast<std::size_t>(kRunInputCount));
    EXPECT_EQ(
        (std::vector<std::string>{texts.D, texts.T, texts.M, texts.Xo, texts.Yo, texts.Angulo, texts.Vo}),
        (std::vector<std::string>{"d", "t", "m", "xo", "yo", "angle", "vo"}));
    EXPECT_FALSE(RunInputNamed("D"));
    EXPECT_FALSE(RunInputNamed("drag"));
}

TEST(RunInputs, DefaultsAreTheWindowsInTheSeparatorInForce) {
    const test::SeparatorGuard comma(',');
    const RunInputTexts defaults = DefaultRunInputTexts();
    EXPECT_EQ(defaults.D, "0,000016788592601");
    EXPECT_EQ(defaults.T, "0,01");
    EXPECT_EQ(defaults.M, "0,00745");
    EXPECT_EQ(defaults.Xo, "0");
    EXPECT_EQ(defaults.Angulo, "78");
    EXPECT_EQ(defaults.Vo, "340");
    EXPECT_EQ(defaults.Ley, DragLaw::Linear);
    for (const auto& [field, text] : DefaultTrajectoryTexts()) {
        if (field == TrajectoryField::T) {
            EXPECT_EQ(text, defaults.T);
        }
    }
}

} // namespace
} // namespace korvo

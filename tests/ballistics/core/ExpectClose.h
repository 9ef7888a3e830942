// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// EXPECT_CLOSE(a, b, relative): |a - b| / |b| is at most `relative`; a failure
// prints both values and the error in full precision.
#include "ballistics/core/NumberText.h"
#include "ballistics/core/Real.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvo::test {

inline ::testing::AssertionResult Close(const char* aText, const char*, const char*, Real a, Real b,
                                        Real relative) {
    const Real error = std::fabs(a - b) / std::fabs(b);
    if (error <= relative)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << aText << " = " << NumberToGeneralText(a) << ", expected " << NumberToGeneralText(b)
           << ": relative error " << NumberToGeneralText(error);
}

} // namespace korvo::test

#define EXPECT_CLOSE(a, b, relative) EXPECT_PRED_FORMAT3(::korvo::test::Close, a, b, relative)

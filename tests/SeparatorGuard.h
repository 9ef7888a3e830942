// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Sets the process-wide decimal separator for one test and puts back the
// regional settings it found when it goes out of scope, also when the test
// ends early at a failed assertion. Under "," the thousands separator becomes
// "." (as in a decimal-comma locale), under any other it is ",".
//
//   test::SeparatorGuard comma(',');   // before any window that writes its defaults
//   test::SeparatorGuard saved;        // the start-up reads the desktop's settings
#include "base/RegionalSettings.h"

namespace korvo::test {

class SeparatorGuard {
public:
    // Only saves the settings, for a test that lets the program set them.
    SeparatorGuard() : saved_(CurrentRegionalSettings()) {}
    explicit SeparatorGuard(char decimal) : saved_(CurrentRegionalSettings()) {
        CurrentRegionalSettings().DecimalSeparator = decimal;
        CurrentRegionalSettings().ThousandSeparator = decimal == ',' ? '.' : ',';
    }
    ~SeparatorGuard() { CurrentRegionalSettings() = saved_; }
    SeparatorGuard(const SeparatorGuard&) = delete;
    SeparatorGuard& operator=(const SeparatorGuard&) = delete;

private:
    RegionalSettings saved_;
};

} // namespace korvo::test

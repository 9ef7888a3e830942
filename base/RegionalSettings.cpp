// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/RegionalSettings.h"

namespace korvo {

RegionalSettings& CurrentRegionalSettings() {
    static RegionalSettings settings;
    return settings;
}

char DecimalSeparator() {
    return CurrentRegionalSettings().DecimalSeparator;
}

void SetDecimalSeparator(char separator) {
    CurrentRegionalSettings().DecimalSeparator = separator;
}

} // namespace korvo

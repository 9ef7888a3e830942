// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/RegionalSettings.h"

namespace korvo {

RegionalSettings& CurrentRegionalSettings() {
    static RegionalSettings settings;
    return settings;
}

} // namespace korvo

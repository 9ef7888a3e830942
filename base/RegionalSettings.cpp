#include "base/RegionalSettings.h"

namespace korvo {

RegionalSettings& CurrentRegionalSettings() {
    static RegionalSettings settings;
    return settings;
}

} // namespace korvo

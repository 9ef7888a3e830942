// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/ErrorText.h"

namespace korvo {

std::string ErrorReportText(std::string message) {
    // Any byte of a character past ASCII sorts after "." as well, as the
    // character itself does.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The text an error is reported with, in a message box or on standard error:
// the message with a "." added when its last character sorts after "." (a
// message that already ends in "." or ")" gets none). Standard library only,
// so that threads that must not touch Qt (the sweep's) word their rows alike.
//
//   ErrorReportText("'abc' is not a valid floating point value")
//       == "'abc' is not a valid floating point value."
#include <string>

namespace korvo {

std::string ErrorReportText(std::string message);

} // namespace korvo

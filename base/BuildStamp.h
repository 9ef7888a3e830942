// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The program's version and the commit it was built from, as the build stamps
// them (KORVO_VERSION and KORVO_COMMIT); a build that stamps no commit reports
// "desconocido" rather than guessing.
//   ProgramVersion() -> "1.0"     ProgramCommit() -> "desconocido"

namespace korvo {

const char* ProgramVersion();
const char* ProgramCommit();

} // namespace korvo

// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/BuildStamp.h"

#ifndef KORVO_VERSION
#define KORVO_VERSION "desconocida"
#endif
#ifndef KORVO_COMMIT
#define KORVO_COMMIT "desconocido"
#endif

namespace korvo {

const char* ProgramVersion() {
    return KORVO_VERSION;
}

const char* ProgramCommit() {
    return KORVO_COMMIT;
}

} // namespace korvo

// The identification module (IDEN): title, scale, profile and conformance. Reading it also
// shows the title and scale in the progress window and logs them; its document lines are
// those of the first record.
#pragma once

#include "sdts/modules/control_file.h"

namespace corvane::sdts {

using SDTSIdenFile = SDTSControlFile<IdenRecord>;

}  // namespace corvane::sdts

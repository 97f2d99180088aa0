// The process-wide registry of open ISO 8211 files, keyed by their stream handle.
// Single-threaded by design: all calls come from the one conversion thread.
#pragma once

#include <cstdio>
#include <memory>

#include "sdts/iso8211/iso_file_state.h"

namespace corvane::iso8211 {

// Registers `state` so that it is found first (newest first); returns it.
IsoFileState& Iso_Register_File(std::unique_ptr<IsoFileState> state);
// The state of `stream`, or null when the handle is not registered.
IsoFileState* Iso_Find_File(const std::FILE* stream);
// Releases the state of `stream` (closing the stream); false when it is not registered.
bool Iso_Unregister_File(const std::FILE* stream);

}  // namespace corvane::iso8211

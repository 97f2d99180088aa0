// One whole conversion, as the exported Display entry runs it.
#pragma once

namespace corvane::sdts {

// Converts the transfer whose catalog module (or .gz / .tar / _tar archive holding it) is
// `catalog_path` into a run directory under `output_parent`, then writes names.txt there.
// Returns 0 when the conversion completed, 1 when it failed; a fatal condition ends only
// this conversion.
int SDTS_Convert(const char* catalog_path, const char* output_parent);

}  // namespace corvane::sdts

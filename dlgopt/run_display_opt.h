// The whole conversion behind the exported DisplayOpt entry.
#pragma once

namespace corvane::dlgopt {

// Converts the DLG-3 optional-format file `input_path` into the run directory
// "<output_parent>/<base>shp", where <base> is the input's name without its extension and
// with "." made "_". 0 when the conversion completed, 1 when it failed (see the run's log).
int RunDisplayOpt(const char* input_path, const char* output_parent);

}  // namespace corvane::dlgopt

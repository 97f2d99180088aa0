// The whole conversion behind the exported DisplayOpt entry.
#pragma once

namespace corvane::dlgopt {

// Converts the DLG-3 optional-format file `input_path` into the run directory
// "<output_parent>/<base>shp", where <base> is the input's name without its extension and
// with "." made "_". 0 when everything was converted in full; 2 when outputs were written but
// something is missing or partial; 1 when the conversion failed, and when the input is no
// DLG-3 optional file (then nothing is made). Every reason is logged and shown, one line each.
int RunDisplayOpt(const char* input_path, const char* output_parent);

}  // namespace corvane::dlgopt

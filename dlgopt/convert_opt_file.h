// One conversion, after the run directory, log and window are set up: the header, the
// element sections with their shapefiles and tables, and the name tables.
#pragma once

#include "dlgopt/opt_progress_dialog.h"

namespace corvane::dlgopt {

// Converts the file named in the window's input field. False when the conversion stopped
// early (the reason is in the log); conditions that end it at once throw FatalError.
bool ConvertOptFile(OptProgressDialog& dialog);

}  // namespace corvane::dlgopt

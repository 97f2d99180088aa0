// One conversion, after the input was judged and the run directory, log and window are set
// up: the header, the element sections with their shapefiles and tables, and the name tables.
#pragma once

#include "dlgopt/dlg_input.h"
#include "dlgopt/opt_progress_dialog.h"

namespace corvane::dlgopt {

// Converts `input`. False when the conversion stopped early or converted no element at all
// (the reasons are reported); what it could not convert is reported and counted in
// g_opt_incomplete; conditions that end it at once throw FatalError.
bool ConvertOptFile(DlgInput& input, OptProgressDialog& dialog);

}  // namespace corvane::dlgopt

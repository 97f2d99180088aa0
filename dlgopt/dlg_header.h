// The header records of a DLG-3 optional-format file: banner, place and scale, reference
// system, projection parameters, control points and categories.
#pragma once

#include "dlgopt/dlg_record_reader.h"
#include "dlgopt/opt_progress_dialog.h"

namespace corvane::dlgopt {

// Reads the header into g_opt_header, g_opt_scale and the element counts, shows it in the
// window and logs it. False (with the reason logged) when the header is incomplete.
bool ReadDlgHeader(DlgRecordReader& reader, OptProgressDialog& dialog);

}  // namespace corvane::dlgopt

// The header records of a DLG-3 optional-format file: banner, place and scale, reference
// system, projection parameters, control points and categories.
#pragma once

#include <string>

#include "dlgopt/dlg_record_reader.h"
#include "dlgopt/opt_progress_dialog.h"
#include "dlgopt/run_state.h"

namespace corvane::dlgopt {

// Reads the header records from the reader's position into `header` and judges them: record 1
// is free text, record 4's numeric fields and every category record must be well formed, and
// there must be a category. The answer is empty for a plausible header (the reader then stands
// on its last record), else the reason it is not one. `plausible` counts the records read and
// found plausible, so that of two readings the one that got further can give its reason.
std::string ReadDlgHeader(DlgRecordReader& reader, DlgHeader& header, int& plausible);

// Shows the header in the window and logs it.
void ShowDlgHeader(const DlgHeader& header, OptProgressDialog& dialog);

}  // namespace corvane::dlgopt

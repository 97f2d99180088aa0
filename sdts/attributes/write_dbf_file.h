// Writing one attribute module of a transfer as a dBase table.
#pragma once

namespace corvane::sdts {

// Converts the attribute module at `file` (an A… or B… module of the catalog) into
// the table "<module file stem>.dbf" in the run directory, one row per attribute
// record, and its field-name table "<module file stem>(Name).dbf" (written as
// "..._Name_.dbf" by the output naming). Returns 0 when both tables were written,
// 1 when the module or a table could not be opened or read.
int SDTS_Write_DBF_File(const char* file);

}  // namespace corvane::sdts

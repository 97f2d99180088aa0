// The transfer pipeline: reads the catalog and walks it three times in catalog order,
// first the control modules, then the attribute modules, then the spatial modules.
#pragma once

#include <string>

namespace corvane::sdts {

class ProgressDialog;

// Converts the transfer whose catalog module is `catalog_path`. Module failures are
// traced or shown by the modules' own readers and writers and do not stop the walks; a
// module whose writer failed is also named in the log. Returns 0 when the whole catalog was
// read and every attribute and spatial module written, 1 when the catalog was missing,
// unreadable or cut short (the modules it did list are still converted) or a writer failed.
int SDTS_Process(const std::string& catalog_path, ProgressDialog* window);

}  // namespace corvane::sdts

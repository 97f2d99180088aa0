// The conversion entry of quoinlink.
#pragma once

// Converts the DLG-3 optional-format file `inputPath` into a run directory under
// `outputParentDir`. Returns 0 when everything was converted in full, 2 when outputs were
// written but something is missing or partial, 1 when the conversion failed or the input is
// no DLG-3 optional file.
extern "C" __attribute__((visibility("default"))) int DisplayOpt(const char* inputPath,
                                                                 const char* outputParentDir);

// The conversion entry of quoinlink.
#pragma once

// Converts the DLG-3 optional-format file `inputPath` into a run directory under
// `outputParentDir`. Returns 0 when the conversion completed, non-zero when it failed.
extern "C" __attribute__((visibility("default"))) int DisplayOpt(const char* inputPath,
                                                                 const char* outputParentDir);

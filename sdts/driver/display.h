// The conversion entry of ferrolink.
#pragma once

// Converts the SDTS transfer whose catalog module (or .gz/.tar archive of it) is
// `catalogPath` into a run directory under `outputParentDir`. Returns 0 when the
// conversion completed, non-zero when it failed.
extern "C" __attribute__((visibility("default"))) int Display(const char* catalogPath,
                                                              const char* outputParentDir);

#include "dlgopt/display_opt.h"

extern "C" int DisplayOpt(const char* /*inputPath*/, const char* /*outputParentDir*/) { return 1; }

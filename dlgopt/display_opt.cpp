#include "dlgopt/display_opt.h"

#include "dlgopt/run_display_opt.h"

extern "C" int DisplayOpt(const char* inputPath, const char* outputParentDir) {
  return corvane::dlgopt::RunDisplayOpt(inputPath, outputParentDir);
}

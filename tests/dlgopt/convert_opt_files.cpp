// convert_opt_files OUTPUT_PARENT INPUT... : converts each input through quoinlink's exported
// DisplayOpt entry and prints "<result> <input>" per input, for the GDAL cross-check.
#include <cstdio>

#include "dlgopt/display_opt.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: convert_opt_files OUTPUT_PARENT INPUT...\n");
    return 2;
  }
  for (int i = 2; i < argc; ++i) std::printf("%d %s\n", DisplayOpt(argv[i], argv[1]), argv[i]);
  return 0;
}

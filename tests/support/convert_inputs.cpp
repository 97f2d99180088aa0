// convert_inputs sdts|opt OUTPUT_PARENT INPUT... converts each input through the converters'
// exported entries (Display, DisplayOpt) and prints "<result> <input>" per input, for the
// cross-checks. A program rather than ctypes, so that sanitizer builds check them too.
#include <cstdio>
#include <cstring>

#include "dlgopt/display_opt.h"
#include "sdts/driver/display.h"

int main(int argc, char** argv) {
  const bool sdts = argc >= 3 && std::strcmp(argv[1], "sdts") == 0;
  if (argc < 3 || (!sdts && std::strcmp(argv[1], "opt") != 0)) {
    std::fprintf(stderr, "usage: %s sdts|opt OUTPUT_PARENT INPUT...\n", argv[0]);
    return 2;
  }
  for (int i = 3; i < argc; ++i)
    std::printf("%d %s\n", sdts ? Display(argv[i], argv[2]) : DisplayOpt(argv[i], argv[2]), argv[i]);
  return 0;
}

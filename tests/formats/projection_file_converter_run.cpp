// One whole conversion for the real-data projection check, through the exported entries:
//   projection_file_converter_run sdts <catalog> <output parent>
//   projection_file_converter_run opt <optional-format file> <output parent>
// A program rather than ctypes, so that sanitizer builds check the conversions too.
#include <cstdio>
#include <cstring>

#include "dlgopt/display_opt.h"
#include "sdts/driver/display.h"

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "sdts") == 0) return Display(argv[2], argv[3]) == 0 ? 0 : 1;
  if (argc == 4 && std::strcmp(argv[1], "opt") == 0) {
    DisplayOpt(argv[2], argv[3]);
    return 0;
  }
  std::fprintf(stderr, "usage: %s sdts|opt <input> <output parent>\n", argv[0]);
  return 2;
}

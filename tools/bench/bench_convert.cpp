// Converts one transfer through the library's exported entry, as the front end does; the
// benchmark times this whole process.
#include <iostream>

#include "sdts/driver/display.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: bench_convert <catalog> <output parent>\n";
    return 2;
  }
  return Display(argv[1], argv[2]);
}

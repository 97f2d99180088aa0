#include "sdts/driver/display.h"

#include "sdts/driver/conversion.h"

extern "C" int Display(const char* catalogPath, const char* outputParentDir) {
  return corvane::sdts::SDTS_Convert(catalogPath, outputParentDir);
}

#include "sdts/driver/display.h"

extern "C" int Display(const char* /*catalogPath*/, const char* /*outputParentDir*/) { return 1; }

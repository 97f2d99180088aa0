#include "frontend/cli/window_loader.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sibling_library.h"

namespace corvane::cli {

namespace {

bool has_display() {
  for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(var);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int run_window(int argc, char** argv) {
  if (!has_display()) {
    std::fprintf(stderr,
                 "corvane: no display for the window; to convert without one use\n"
                 "  corvane convert [-o DIR] INPUT...   (see corvane --help)\n");
    return 1;
  }
  std::string error;
  const auto entry = sibling_function<int(int, char**)>(kWindowLibrary, kWindowEntry, error);
  if (entry == nullptr) {
    std::fprintf(stderr,
                 "corvane: the window is not available (%s)\n"
                 "  use corvane convert [-o DIR] INPUT...   (see corvane --help)\n",
                 error.c_str());
    return 1;
  }
  // The library stays loaded: Qt registers exit handlers of its own.
  return entry(argc, argv);
}

}  // namespace corvane::cli

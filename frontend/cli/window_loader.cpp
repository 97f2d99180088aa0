#include "frontend/cli/window_loader.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "frontend/cli/self_path.h"
#include "platform/paths.h"

namespace corvane::cli {

namespace {

bool has_display() {
  for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(var);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

void* open_window_library(std::string& error) {
  const std::string beside = paths::join(paths::directory_part(self_path()), std::string("../lib/") + kWindowLibrary);
  if (void* handle = ::dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
  if (void* handle = ::dlopen(kWindowLibrary, RTLD_NOW | RTLD_LOCAL)) return handle;
  const char* reason = ::dlerror();
  error = reason != nullptr ? reason : "not found";
  return nullptr;
}

}  // namespace

int run_window(int argc, char** argv) {
  if (!has_display()) {
    std::fprintf(stderr, "corvane: no display for the window; to convert without one use\n"
                         "  corvane convert [-o DIR] INPUT...   (see corvane --help)\n");
    return 1;
  }
  std::string error;
  void* library = open_window_library(error);
  if (library == nullptr) {
    std::fprintf(stderr, "corvane: the window is not available (%s)\n"
                         "  use corvane convert [-o DIR] INPUT...   (see corvane --help)\n",
                 error.c_str());
    return 1;
  }
  using Entry = int (*)(int, char**);
  auto entry = reinterpret_cast<Entry>(::dlsym(library, kWindowEntry));
  if (entry == nullptr) {
    std::fprintf(stderr, "corvane: %s has no entry %s\n", kWindowLibrary, kWindowEntry);
    return 1;
  }
  // The library stays loaded: Qt registers exit handlers of its own.
  return entry(argc, argv);
}

}  // namespace corvane::cli

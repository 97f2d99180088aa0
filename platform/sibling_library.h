// Libraries of ours that only some runs need (PROJ's plugin, the gzip and tar libraries,
// the window) are loaded on first need instead of at start-up: a run that never needs one
// never maps it, nor the dozens of system libraries it pulls in.
#pragma once

#include <string>
#include <utility>

#include "platform/message_sink.h"

namespace corvane {

struct SiblingSymbol {
  void* address = nullptr;
  std::string error;  // why there is no address
};

// The symbol `symbol` of our library `library` (a file name such as "libthawmill.so"),
// loaded from the directory this platform library lies in (where the build and an install
// put all of ours), else by plain name from the library search path. A library loaded
// stays loaded for the rest of the process.
CORVANE_PLATFORM_API SiblingSymbol load_sibling_symbol(const char* library, const char* symbol);

// The same for a function whose type the caller knows from the library's header; null
// with `error` set when it cannot be had.
template <class Function>
Function* sibling_function(const char* library, const char* symbol, std::string& error) {
  SiblingSymbol found = load_sibling_symbol(library, symbol);
  error = std::move(found.error);
  return reinterpret_cast<Function*>(found.address);
}

}  // namespace corvane

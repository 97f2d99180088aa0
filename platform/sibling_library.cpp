#include "platform/sibling_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace corvane {

namespace {

std::string last_dl_error() {
  const char* reason = ::dlerror();
  return reason != nullptr ? reason : "unknown error";
}

// Our own directory, from the file the dynamic loader mapped this library from.
std::string this_library_directory() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&load_sibling_symbol), &info) == 0 ||
      info.dli_fname == nullptr)
    return {};
  return paths::directory_part(info.dli_fname);
}

// A library lying beside us is the one built with us; when it exists its own load error is
// the one worth reporting, not the search path's "not found".
void* open_library(const char* library, std::string& error) {
  const std::string directory = this_library_directory();
  std::error_code ec;
  const std::string beside = directory.empty() ? std::string() : paths::join(directory, library);
  const char* name =
      !beside.empty() && std::filesystem::exists(beside, ec) ? beside.c_str() : library;
  void* handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) error = last_dl_error();
  return handle;
}

}  // namespace

SiblingSymbol load_sibling_symbol(const char* library, const char* symbol) {
  SiblingSymbol found;
  void* handle = open_library(library, found.error);
  if (handle == nullptr) return found;
  ::dlerror();
  found.address = ::dlsym(handle, symbol);
  if (found.address == nullptr) found.error = last_dl_error();
  return found;
}

}  // namespace corvane

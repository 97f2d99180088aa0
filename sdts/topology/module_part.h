// The module part of a module file's name: the name without its directory and its first
// four characters (the transfer id), up to the name's first "." (…/1234LE01.DDF gives LE01).
#pragma once

#include <string>

#include "platform/paths.h"

namespace corvane::sdts {

inline std::string Module_Part(const std::string& module_path) {
  const std::string stem = corvane::paths::stem_to_first_dot(module_path);
  return stem.size() > 4 ? stem.substr(4) : std::string();
}

}  // namespace corvane::sdts

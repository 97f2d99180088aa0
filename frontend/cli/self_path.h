// Where the running program lies, to start copies of itself and find its libraries.
#pragma once

#include <string>

namespace corvane::cli {

std::string self_path();

}  // namespace corvane::cli

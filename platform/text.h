// Letter case of the ASCII names we compare (file names, extensions, archive endings).
#pragma once

#include <string>

namespace corvane {

// `text` with A-Z turned into a-z; every other byte, UTF-8 included, stays as it is.
inline std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace corvane

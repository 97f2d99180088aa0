// Owned C streams: the tables are composed with byte-exact writes, which C streams do simply.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace corvane::dlgopt {

struct CFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

inline CFile open_file(const std::string& path, const char* mode) { return CFile(std::fopen(path.c_str(), mode)); }

}  // namespace corvane::dlgopt

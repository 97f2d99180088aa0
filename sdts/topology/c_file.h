// An owned C stream, closed when it goes away.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

struct CFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

inline CFile open_c_file(const std::string& path, const char* mode) {
  return CFile(std::fopen(path.c_str(), mode));
}

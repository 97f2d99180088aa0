#include "platform/paths.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/fatal_error.h"

namespace corvane::paths {

namespace {
std::size_t last_separator(std::string_view path) { return path.find_last_of("/\\"); }
}  // namespace

std::string directory_part(std::string_view path) {
  const auto pos = last_separator(path);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos));
}

std::string name_part(std::string_view path) {
  const auto pos = last_separator(path);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string stem(std::string_view path) {
  std::string name = name_part(path);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string stem_to_first_dot(std::string_view path) {
  std::string name = name_part(path);
  return name.substr(0, name.find('.'));
}

std::string extension(std::string_view path) {
  std::string name = name_part(path);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string join(std::string_view dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  std::string out(dir);
  if (out.back() != '/' && out.back() != '\\') out += '/';
  out += name;
  return out;
}

std::string temp_directory() {
  for (const char* var : {"TEMP", "TMP", "TMPDIR"}) {
    const char* value = std::getenv(var);
    if (value != nullptr && *value != '\0') return value;
  }
  return "/tmp";
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::string resolve_case_insensitive(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return path;
  const std::string dir = directory_part(path);
  const std::string name = name_part(path);
  for (const auto& entry : std::filesystem::directory_iterator(dir.empty() ? "." : dir, ec)) {
    const std::string candidate = entry.path().filename().string();
    if (iequals(candidate, name)) return dir.empty() ? candidate : join(dir, candidate);
  }
  return path;
}

WorkDirectory::WorkDirectory(std::string_view prefix, const std::string& parent) {
  const interruption::HeldSignals held;
  std::string pattern = join(parent, std::string(prefix) + "XXXXXX");
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr)
    fatal("Cannot create a work directory in " + parent + ": " + std::strerror(errno));
  path_ = buffer.data();
  removed_on_signal_.emplace(path_);
}

WorkDirectory::~WorkDirectory() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace corvane::paths

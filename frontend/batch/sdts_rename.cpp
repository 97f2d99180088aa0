#include "frontend/batch/sdts_rename.h"

#include <fcntl.h>
#include <stdio.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/message_sink.h"
#include "platform/paths.h"

namespace corvane::batch {

namespace {

std::string without_trailing_space(std::string text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  return text;
}

// One component, so that names.txt cannot steer the rename out of the parent directory.
bool is_plain_name(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool rename_no_replace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // Filesystems without RENAME_NOREPLACE: rename(2) would replace an empty directory.
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::symlink_status(to, ec))) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

std::optional<NamesFile> take_names_file(const std::string& output_parent) {
  const std::string path = paths::join(output_parent, "names.txt");
  std::ifstream in(path);
  if (!in) return std::nullopt;
  NamesFile names;
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  names.run_directory = without_trailing_space(line);
  names.title = line;
  if (std::getline(in, line) && !line.empty()) names.title = line;
  in.close();
  std::remove(path.c_str());
  return names;
}

std::string run_directory_name(const std::string& title, const std::tm& t) {
  std::string name = title;
  for (char& c : name)
    if (c == ' ' || c == '/' || c == ',') c = '_';
  name = without_trailing_space(name);
  char time_text[64];
  std::snprintf(time_text, sizeof time_text, "%d_%d_%d_%02d_%02d", t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return without_trailing_space(name + time_text);
}

std::string rename_run_directory(const std::string& output_parent, const std::string& old_name,
                                 const std::string& new_name) {
  const std::string old_path = paths::join(output_parent, old_name);
  if (!is_plain_name(old_name) || !is_plain_name(new_name) ||
      !rename_no_replace(old_path, paths::join(output_parent, new_name))) {
    show_message("Warning--cannot rename output directory to " + new_name +
                 "\nDirectory will be named " + old_name);
    return old_path;
  }
  return paths::join(output_parent, new_name);
}

}  // namespace corvane::batch

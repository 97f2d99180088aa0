#include "frontend/batch/staging.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/message_sink.h"

namespace corvane::batch {

namespace fs = std::filesystem;

namespace {

constexpr int kMostSuffixes = 1000;

std::string without_trailing_space(std::string text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  return text;
}

// The title names.txt gives, if the converter left one.
std::optional<std::string> names_file_title(const std::string& staging) {
  std::ifstream in(paths::join(staging, "names.txt"));
  std::string run_name, title;
  if (!std::getline(in, run_name)) return std::nullopt;
  if (!std::getline(in, title) || title.empty()) title = run_name;
  return title;
}

// The one directory the converter made in the staging directory.
std::optional<std::string> made_directory(const std::string& staging) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(staging, ec))
    if (entry.is_directory(ec)) return entry.path().filename().string();
  return std::nullopt;
}

// Where renameat2 cannot refuse to replace, making the empty directory claims the name
// just as surely, and rename(2) replaces only that empty directory of ours.
int claim_and_rename(const std::string& from, const std::string& to) {
  if (::mkdir(to.c_str(), 0700) != 0) return errno;
  if (std::rename(from.c_str(), to.c_str()) == 0) return 0;
  const int error = errno;
  ::rmdir(to.c_str());
  return error;
}

int rename_no_replace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno == EINVAL || errno == ENOSYS) return claim_and_rename(from, to);
  return errno;
}

// Moves `from` to `parent`/`name`, or the first of name_2, name_3, ... not taken.
// Returns the final path, or the error that stopped it in `error`.
std::optional<std::string> move_to_free_name(const std::string& from, const std::string& parent,
                                             const std::string& name, int& error) {
  for (int n = 1; n <= kMostSuffixes; ++n) {
    const std::string to = paths::join(parent, n == 1 ? name : name + "_" + std::to_string(n));
    error = rename_no_replace(from, to);
    if (error == 0) return to;
    if (error != EEXIST && error != ENOTEMPTY) return std::nullopt;
  }
  return std::nullopt;
}

void log_final_path(const std::string& run_directory) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(run_directory, ec))
    if (entry.path().extension() == ".log" && entry.is_regular_file(ec))
      std::ofstream(entry.path(), std::ios::app)
          << "final run directory: " << run_directory << "\n";
}

}  // namespace

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

StagingDirectory::StagingDirectory(const std::string& output_parent)
    : output_parent_(output_parent), directory_(".corvane-staging-", output_parent) {}

std::optional<std::string> StagingDirectory::publish(const std::tm& local_time) const {
  const std::optional<std::string> made = made_directory(path());
  if (!made) {
    show_message("the converter made no run directory");
    return std::nullopt;
  }
  const std::string from = paths::join(path(), *made);
  int error = 0;
  std::optional<std::string> moved;
  if (const std::optional<std::string> title = names_file_title(path())) {
    const std::string wanted = run_directory_name(*title, local_time);
    moved = move_to_free_name(from, output_parent_, wanted, error);
    if (!moved)
      show_message("cannot name the run directory " + wanted + " (" + std::strerror(error) +
                   "); it keeps the name " + *made);
  }
  if (!moved) moved = move_to_free_name(from, output_parent_, *made, error);
  if (!moved) {
    show_message("cannot move the run directory into " + output_parent_ + ": " +
                 std::strerror(error));
    return std::nullopt;
  }
  log_final_path(*moved);
  return moved;
}

}  // namespace corvane::batch

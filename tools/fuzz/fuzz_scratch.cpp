#include "tools/fuzz/fuzz_scratch.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

namespace corvane::fuzz {

namespace fs = std::filesystem;

namespace {

std::string scratch_root() {
  if (const char* root = std::getenv("CORVANE_FUZZ_SCRATCH"); root != nullptr && *root != '\0')
    return root;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "fuzz-scratch";
  return (exe.parent_path().parent_path() / "fuzz-scratch").string();
}

[[noreturn]] void stray(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) std::fprintf(stderr, "left behind: %s\n", path.c_str());
  std::abort();
}

std::set<std::string> names_in(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory))
    names.insert(entry.path().filename().string());
  return names;
}

void empty_directory(const std::string& directory) {
  for (const auto& entry : fs::directory_iterator(directory)) fs::remove_all(entry.path());
}

}  // namespace

Scratch::Scratch(std::string_view target)
    : process_((fs::path(scratch_root()) / (std::string(target) + "-" + std::to_string(::getpid())))
                   .string()),
      work_(process_ + "/1/2/3"),
      input_(work_ + "/input"),
      output_(work_ + "/output"),
      temp_(work_ + "/temp") {
  fs::remove_all(process_);
  for (const std::string* dir : {&input_, &output_, &temp_}) fs::create_directories(*dir);
  ::setenv("TEMP", temp_.c_str(), 1);
  ::setenv("TMPDIR", temp_.c_str(), 1);
  ::unsetenv("TMP");
  ::unsetenv("CORVANE_TRACE");
  install_message_sink(&sink_);
}

Scratch::~Scratch() {
  install_message_sink(nullptr);
  std::error_code ec;
  fs::remove_all(process_, ec);
}

std::string Scratch::input(std::string_view name) const { return input_ + "/" + std::string(name); }

void Scratch::keep_inputs() { kept_ = names_in(input_); }

std::string Scratch::write_named_input(std::span<const char* const> names, const std::uint8_t* data,
                                       std::size_t size) {
  const Choice choice = choose(data, size, names.size());
  named_input_ = input(names[choice.index]);
  write_file(named_input_, choice.content);
  return named_input_;
}

void Scratch::finish_input(bool temp_must_be_empty) {
  if (!named_input_.empty()) fs::remove(named_input_);
  named_input_.clear();
  std::vector<std::string> found;
  if (temp_must_be_empty)
    for (const std::string& name : names_in(temp_)) found.push_back(temp_ + "/" + name);
  const std::pair<std::string, std::set<std::string>> allowed[] = {
      {process_, {"1"}},
      {process_ + "/1", {"2"}},
      {process_ + "/1/2", {"3"}},
      {work_, {"input", "output", "temp"}},
      {input_, kept_}};
  for (const auto& [dir, names] : allowed)
    for (const std::string& name : names_in(dir))
      if (!names.contains(name)) found.push_back(dir + "/" + name);
  if (!found.empty()) stray(found);
  empty_directory(output_);
  empty_directory(temp_);
}

void write_file(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
      std::fclose(file) != 0) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::abort();
  }
}

Choice choose(const std::uint8_t* data, std::size_t size, std::size_t choices) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.empty()) return {0, bytes};
  return {static_cast<std::uint8_t>(bytes[0]) % choices, bytes.substr(1)};
}

}  // namespace corvane::fuzz

// What the user asked for on the command line.
#pragma once

#include <string>
#include <vector>

namespace corvane::cli {

struct ConvertOptions {
  std::string output_dir;  // empty: each input's own directory
  int jobs = 1;
  bool trace = false;
  bool quiet = false;  // no progress display
  std::vector<std::string> inputs;
};

struct CommandLine {
  enum class Action { Window, Help, Version, Convert, UsageError } action = Action::Window;
  ConvertOptions convert;
  std::string error;  // for UsageError
};

CommandLine parse_command_line(
    const std::vector<std::string>& args);  // args without the program name

// The three ways to call corvane; printed after a usage error and before kHelp.
extern const char* const kSynopsis;
// What convert does, its options, what each line it prints means, and its exit statuses.
extern const char* const kHelp;
extern const char* const kVersionText;

}  // namespace corvane::cli

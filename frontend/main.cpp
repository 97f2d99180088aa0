// corvane: the batch window without arguments, the command line with them.
#include <cstdio>
#include <string>
#include <vector>

#include "frontend/cli/command_line.h"
#include "frontend/cli/convert_command.h"
#include "frontend/cli/self_path.h"
#include "frontend/cli/window_loader.h"

int main(int argc, char** argv) {
  using corvane::cli::CommandLine;
  const CommandLine line =
      corvane::cli::parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.action) {
    case CommandLine::Action::Window:
      return corvane::cli::run_window(argc, argv);
    case CommandLine::Action::Help:
      std::fputs(corvane::cli::kUsage, stdout);
      return 0;
    case CommandLine::Action::Version:
      std::fputs(corvane::cli::kVersionText, stdout);
      return 0;
    case CommandLine::Action::Convert:
      return corvane::cli::run_convert(line.convert, corvane::cli::self_path());
    case CommandLine::Action::UsageError:
      break;
  }
  std::fprintf(stderr, "corvane: %s\n%s", line.error.c_str(), corvane::cli::kUsage);
  return 2;
}

#include "frontend/cli/program.h"

#include <cstdio>
#include <string>
#include <vector>

#include "frontend/cli/command_line.h"
#include "frontend/cli/convert_command.h"
#include "frontend/cli/self_path.h"
#include "frontend/cli/window_loader.h"

namespace corvane::cli {

int run_program(int argc, char** argv, const batch::Converters& converters) {
  const CommandLine line = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.action) {
    case CommandLine::Action::Window:
      return run_window(argc, argv);
    case CommandLine::Action::Help:
      std::printf("%s\n%s", kSynopsis, kHelp);
      return 0;
    case CommandLine::Action::Version:
      std::fputs(kVersionText, stdout);
      return 0;
    case CommandLine::Action::Convert:
      return run_convert(line.convert, self_path(), converters);
    case CommandLine::Action::UsageError:
      break;
  }
  std::fprintf(stderr, "corvane: %s\n%sSee corvane convert --help.\n", line.error.c_str(),
               kSynopsis);
  return 2;
}

}  // namespace corvane::cli

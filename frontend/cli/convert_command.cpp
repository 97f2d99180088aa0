#include "frontend/cli/convert_command.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "frontend/batch/output_media.h"
#include "frontend/cli/child_jobs.h"
#include "platform/interruption.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "platform/progress_presenter.h"

namespace corvane::cli {

namespace fs = std::filesystem;

namespace {

std::string absolute_path(const std::string& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

// Creates the output directory when asked for one; refuses read-only media.
bool prepare_output_dir(const std::string& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir)) {
    show_message("Cannot create the output directory " + dir + (ec ? ": " + ec.message() : ""));
    return false;
  }
  if (batch::is_read_only_media(dir)) {
    show_message(batch::kCdRomRefusal);
    return false;
  }
  return true;
}

int run_in_process(const batch::BatchItem& item, const ConvertOptions& options,
                   const batch::Converters& converters) {
  const bool interactive = !options.quiet && ::isatty(STDERR_FILENO) == 1;
  std::unique_ptr<ProgressPresenter> presenter;
  if (options.quiet) {
    presenter = std::make_unique<NullProgressPresenter>();
  } else {
    presenter = std::make_unique<TerminalProgressPresenter>(interactive);
  }
  install_progress_presenter(presenter.get());
  batch::ItemRunner runner(converters);
  // A reason takes the progress bar's line; the bar is drawn again below it.
  runner.set_reason_sink([&](const std::string& line) {
    std::fprintf(stderr, "%s%s: %s\n", interactive ? "\r\033[K" : "", item.input_path.c_str(),
                 line.c_str());
  });
  if (options.trace)
    runner.set_listing_sink(
        [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
  const batch::ItemOutcome outcome = runner.run(item);
  install_progress_presenter(nullptr);
  std::printf("%s\n", batch::outcome_line(item.input_path, outcome).c_str());
  std::fflush(stdout);
  return exit_status(outcome.outcome);
}

}  // namespace

int exit_status(batch::Outcome worst) {
  switch (worst) {
    case batch::Outcome::Converted:
      return 0;
    case batch::Outcome::Incomplete:
      return kExitIncomplete;
    case batch::Outcome::Failed:
      break;
  }
  return 1;
}

int run_convert(const ConvertOptions& options, const std::string& self_exe,
                const batch::Converters& converters) {
  interruption::install_handler();
  if (options.trace) ::setenv("CORVANE_TRACE", "1", 1);
  const std::string output_dir =
      options.output_dir.empty() ? std::string() : absolute_path(options.output_dir);
  std::vector<batch::BatchItem> items;
  for (const std::string& input : options.inputs) {
    const std::string path = absolute_path(input);
    items.push_back({path, output_dir.empty() ? paths::directory_part(path) : output_dir});
  }
  if (!output_dir.empty() && !prepare_output_dir(output_dir)) {
    for (const batch::BatchItem& item : items)
      std::printf("%s\n", batch::outcome_line(item.input_path, {}).c_str());
    return exit_status(batch::Outcome::Failed);
  }
  if (items.size() == 1) return run_in_process(items.front(), options, converters);
  ChildJobOptions child_options{self_exe, options.jobs, options.quiet};
  return exit_status(run_child_jobs(items, child_options));
}

}  // namespace corvane::cli

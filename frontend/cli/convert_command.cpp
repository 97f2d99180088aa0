#include "frontend/cli/convert_command.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "frontend/batch/output_media.h"
#include "frontend/cli/child_jobs.h"
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

bool run_in_process(const batch::BatchItem& item, const ConvertOptions& options) {
  std::error_code ec;
  if (!fs::exists(item.input_path, ec)) {
    show_message("No such input: " + item.input_path);
    std::printf("%s\n", outcome_line(item.input_path, {}).c_str());
    return false;
  }
  std::unique_ptr<ProgressPresenter> presenter;
  if (options.quiet) {
    presenter = std::make_unique<NullProgressPresenter>();
  } else {
    presenter = std::make_unique<TerminalProgressPresenter>(::isatty(STDERR_FILENO) == 1);
  }
  install_progress_presenter(presenter.get());
  batch::ItemRunner runner(batch::linked_converters());
  if (options.trace)
    runner.set_listing_sink(
        [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
  const batch::ItemOutcome outcome = runner.run(item);
  install_progress_presenter(nullptr);
  std::printf("%s\n", outcome_line(item.input_path, outcome).c_str());
  std::fflush(stdout);
  return outcome.converted;
}

}  // namespace

std::string outcome_line(const std::string& input, const batch::ItemOutcome& outcome) {
  if (outcome.converted) return input + " -> " + outcome.run_directory;
  std::string line = input + ": conversion failed";
  if (!outcome.run_directory.empty()) line += " (see " + outcome.run_directory + ")";
  return line;
}

int run_convert(const ConvertOptions& options, const std::string& self_exe) {
  if (options.trace) ::setenv("CORVANE_TRACE", "1", 1);
  std::string output_dir;
  if (!options.output_dir.empty()) {
    output_dir = absolute_path(options.output_dir);
    if (!prepare_output_dir(output_dir)) return 1;
  }
  std::vector<batch::BatchItem> items;
  for (const std::string& input : options.inputs) {
    const std::string path = absolute_path(input);
    items.push_back({path, output_dir.empty() ? paths::directory_part(path) : output_dir});
  }
  if (items.size() == 1) return run_in_process(items.front(), options) ? 0 : 1;
  ChildJobOptions child_options{self_exe, options.jobs, options.quiet};
  return run_child_jobs(items, child_options) == 0 ? 0 : 1;
}

}  // namespace corvane::cli

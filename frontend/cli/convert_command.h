// `corvane convert`: the batch run for scripts and servers, without a window.
#pragma once

#include <string>

#include "frontend/batch/batch_item.h"
#include "frontend/batch/item_runner.h"
#include "frontend/cli/command_line.h"

namespace corvane::cli {

// Converts every input; returns the exit status (0 only when all were converted).
// Several inputs each run in a child process started from `self_exe`, because the
// converters keep process-wide state; a single input runs in this process.
int run_convert(const ConvertOptions& options, const std::string& self_exe);

// The line printed for one input: "INPUT -> RUN_DIRECTORY", or a failure line.
std::string outcome_line(const std::string& input, const batch::ItemOutcome& outcome);

}  // namespace corvane::cli

// `corvane convert`: the batch run for scripts and servers, without a window.
#pragma once

#include <string>

#include "frontend/batch/item_outcome.h"
#include "frontend/batch/item_runner.h"
#include "frontend/cli/command_line.h"

namespace corvane::cli {

inline constexpr int kExitIncomplete = 3;

// 0 for a batch converted in full, kExitIncomplete, or 1 when something failed.
int exit_status(batch::Outcome worst);

// Converts every input and returns the exit status. Several inputs each run in a child
// process started from `self_exe`, because the converters keep process-wide state; a
// single input runs in this process. SIGINT, SIGTERM and SIGHUP remove what the
// conversions keep privately before they end the process.
int run_convert(const ConvertOptions& options, const std::string& self_exe,
                const batch::Converters& converters);

}  // namespace corvane::cli

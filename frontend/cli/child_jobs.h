// Running batch items as child processes, up to N at once, with the output of each
// item kept together and printed in input order.
#pragma once

#include <string>
#include <vector>

#include "frontend/batch/batch_item.h"

namespace corvane::cli {

// Two items that must not run at the same time: the SDTS converter reports through
// names.txt in the output parent directory, and an unpacked archive's run directory is
// not known in advance, so they share nothing but plain optional-format inputs with
// distinct run directories in one parent directory.
bool items_conflict(const batch::BatchItem& a, const batch::BatchItem& b);

struct ChildJobOptions {
  std::string self_exe;
  int jobs = 1;
  bool quiet = false;
};

// Runs `corvane convert -o PARENT INPUT` for every item. With one job the children
// write straight to our stdout/stderr (a terminal keeps its progress bar); with more,
// their output is collected and replayed per item, in order.
// Returns the number of items that failed.
int run_child_jobs(const std::vector<batch::BatchItem>& items, const ChildJobOptions& options);

}  // namespace corvane::cli

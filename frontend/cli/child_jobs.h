// Running batch items as child processes, up to N at once, with the output of each
// item kept together and printed in input order.
#pragma once

#include <string>
#include <vector>

#include "frontend/batch/batch_item.h"
#include "frontend/batch/item_outcome.h"

namespace corvane::cli {

struct ChildJobOptions {
  std::string self_exe;
  int jobs = 1;
  bool quiet = false;
};

// Runs `corvane convert -o PARENT INPUT` for every item. With one job the children
// write straight to our stdout/stderr (a terminal keeps its progress bar); with more,
// their output is collected and replayed per item, in order. Each conversion stages its
// run directory privately, so any items may run at once. A signal that ends us is handed
// to the children first. Returns the worst outcome of the items.
batch::Outcome run_child_jobs(const std::vector<batch::BatchItem>& items,
                              const ChildJobOptions& options);

}  // namespace corvane::cli

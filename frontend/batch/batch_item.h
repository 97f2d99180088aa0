// One line of the batch list.
#pragma once

#include <string>

namespace corvane::batch {

struct BatchItem {
  std::string input_path;
  std::string output_parent;  // the run directory is made under it
};

}  // namespace corvane::batch

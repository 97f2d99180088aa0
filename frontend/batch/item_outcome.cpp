#include "frontend/batch/item_outcome.h"

namespace corvane::batch {

Outcome outcome_of_result(int result) {
  if (result == 0) return Outcome::Converted;
  return result == 2 ? Outcome::Incomplete : Outcome::Failed;
}

std::string outcome_line(const std::string& input, const ItemOutcome& outcome) {
  switch (outcome.outcome) {
    case Outcome::Converted:
      return input + " -> " + outcome.run_directory;
    case Outcome::Incomplete:
      return input + " -> " + outcome.run_directory + " (incomplete)";
    case Outcome::Failed:
      break;
  }
  return input + ": conversion failed";
}

}  // namespace corvane::batch

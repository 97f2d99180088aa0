// How one batch item ended, as the command line prints it and the window's summary shows it.
#pragma once

#include <string>
#include <vector>

namespace corvane::batch {

// In order of worth: a batch is as good as its worst item.
enum class Outcome {
  Converted,   // everything converted in full
  Incomplete,  // outputs written, but something is missing or partial
  Failed,      // nothing usable written; nothing is left in the output directory
};

// The converters' results: 0 converted, 2 incomplete, anything else failed.
Outcome outcome_of_result(int result);

struct ItemOutcome {
  Outcome outcome = Outcome::Failed;
  std::string run_directory;         // where the outputs are, unless it failed
  std::vector<std::string> reasons;  // every line shown while it ran, in order
};

// "INPUT -> DIR", "INPUT -> DIR (incomplete)" or "INPUT: conversion failed".
std::string outcome_line(const std::string& input, const ItemOutcome& outcome);

}  // namespace corvane::batch

// The program `corvane`: the batch window without arguments, the command line with them.
#pragma once

#include "frontend/batch/item_runner.h"

namespace corvane::cli {

// Runs what the arguments ask for with `converters` and returns the exit status.
int run_program(int argc, char** argv, const batch::Converters& converters);

}  // namespace corvane::cli

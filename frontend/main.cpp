// corvane: the batch window without arguments, the command line with them.
#include "frontend/batch/item_runner.h"
#include "frontend/cli/program.h"

int main(int argc, char** argv) {
  return corvane::cli::run_program(argc, argv, corvane::batch::linked_converters());
}

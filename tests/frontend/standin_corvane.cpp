// `corvane` with the stand-in converters, for the tests of the command line.
#include "frontend/cli/program.h"
#include "tests/frontend/standin_converters.h"

int main(int argc, char** argv) {
  return corvane::cli::run_program(argc, argv, corvane::test::stand_in_converters());
}

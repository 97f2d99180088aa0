// libFuzzer target: the DLG-3 optional-format converter. The first byte chooses the input's
// name, whose last two letters pick the series (MT and MS files at 1:2,000,000 get airport and
// place tables from a names file beside them); the rest is the file. The outputs and work
// files go after every input, and anything left elsewhere aborts.
#include <cstdint>
#include <string>

#include "dlgopt/display_opt.h"
#include "tools/fuzz/fuzz_scratch.h"

using namespace corvane::fuzz;

namespace {

constexpr const char* kNames[] = {"fuzzHY.opt", "fuzzMT.opt", "fuzzMS.opt"};

struct Target {
  Scratch scratch{"dlgopt_fuzz"};
  Target() {
    write_file(scratch.input("fuzzMT.txt"), "   12   Logan International\n   99   Nowhere\n");
    write_file(scratch.input("fuzzMS.txt"), "    7   Springfield" + std::string(31, ' ') +
                                                "  25     123456\n    8   Elsewhere\n");
    scratch.keep_inputs();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Target target;
  const std::string path = target.scratch.write_named_input(kNames, data, size);
  DisplayOpt(path.c_str(), target.scratch.output().c_str());
  target.scratch.finish_input();
  return 0;
}

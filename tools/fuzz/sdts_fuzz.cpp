// libFuzzer target: a whole SDTS conversion of a small transfer one of whose modules is the
// input. The first byte chooses the module (in the order of their file names, the catalog
// among them), the rest replaces its file; the conversion's outputs and work files go after
// every input, and anything it left elsewhere aborts.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sdts/driver/display.h"
#include "tools/fuzz/fuzz_scratch.h"
#include "tools/fuzz/fuzz_transfer.h"

using namespace corvane::fuzz;

namespace {

std::vector<std::string> contents(const std::vector<std::string>& files) {
  std::vector<std::string> out;
  for (const std::string& file : files) {
    std::ifstream in(file, std::ios::binary);
    out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return out;
}

struct Target {
  Scratch scratch{"sdts_fuzz"};
  FuzzTransfer transfer = write_fuzz_transfer(scratch.input_directory());
  std::vector<std::string> intact = contents(transfer.files);
  Target() { scratch.keep_inputs(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Target target;
  const Choice input = choose(data, size, target.transfer.files.size());
  const std::string& module = target.transfer.files[input.index];
  write_file(module, input.content);
  Display(target.transfer.catalog.c_str(), target.scratch.output().c_str());
  write_file(module, target.intact[input.index]);
  target.scratch.finish_input();
  return 0;
}

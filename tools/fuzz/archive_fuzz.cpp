// libFuzzer target: archive unpacking. The first byte chooses the archive's name (".tar",
// ".tar.gz" or ".gz"), the rest is the archive. It is unpacked into its private directory and
// the file to convert is picked as the front end picks it; once the unpacked archive is gone,
// anything left in the temporary directory or elsewhere aborts.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archives/unpacked_archive.h"
#include "tools/fuzz/fuzz_scratch.h"

using namespace corvane::fuzz;

namespace {

constexpr const char* kNames[] = {"input.tar", "input.tar.gz", "input.gz"};

struct Target {
  Scratch scratch{"archive_fuzz"};
  // Decompression bombs stop at 16 MiB instead of at the free space.
  Target() { ::setenv("CORVANE_UNPACK_LIMIT", "16777216", 1); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Target target;
  const std::string path = target.scratch.write_named_input(kNames, data, size);
  {
    corvane::archives::UnpackedArchive archive(path);
    archive.file_to_convert();
  }
  target.scratch.finish_input(true);
  return 0;
}

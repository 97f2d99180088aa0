// What every fuzz target shares: a private corner of the build directory for its inputs,
// outputs and temporary files, and the check that an input left nothing anywhere else.
//
//   <root>/<target>-<pid>/1/2/3/input    files the target converts
//                              /output   output parent, emptied after every input
//                              /temp     TEMP and TMPDIR, emptied after every input
//
// <root> is $CORVANE_FUZZ_SCRATCH, else fuzz-scratch beside the build's bin/ directory. The
// work area lies three directories deep so that anything escaping upwards from the temporary
// directory still lands where the check looks. The process directory goes at exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "platform/message_sink.h"

namespace corvane::fuzz {

// The converters' messages are expected on damaged input; showing them would bury the
// fuzzer's own output.
class QuietSink final : public MessageSink {
 public:
  void show(const std::string&) override {}
};

class Scratch {
 public:
  // Creates the directories, points TEMP and TMPDIR into them and silences messages.
  explicit Scratch(std::string_view target);
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::string input(std::string_view name) const;
  const std::string& input_directory() const { return input_; }
  const std::string& output() const { return output_; }

  // Takes what the input directory holds now as what it must hold after every input.
  void keep_inputs();
  // Writes the input into the input directory under the name its first byte chooses from
  // `names` (the rest is the content); returns the file's path. finish_input() removes it.
  std::string write_named_input(std::span<const char* const> names, const std::uint8_t* data,
                                std::size_t size);
  // Ends an input: aborts, naming them, when entries lie anywhere but in the output and
  // temporary directories or the kept inputs (and, when `temp_must_be_empty`, also when the
  // temporary directory holds anything); then empties the output and temporary directories.
  void finish_input(bool temp_must_be_empty = false);

 private:
  std::string process_;
  std::string work_;
  std::string input_;
  std::string output_;
  std::string temp_;
  std::set<std::string> kept_;
  std::string named_input_;
  QuietSink sink_;
};

// Writes `bytes` to `path`; aborts when it cannot (the fuzzer could not go on).
void write_file(const std::string& path, std::string_view bytes);

// An input whose first byte chooses one of `choices` variants; the rest is the content.
struct Choice {
  std::size_t index;
  std::string_view content;
};
Choice choose(const std::uint8_t* data, std::size_t size, std::size_t choices);

}  // namespace corvane::fuzz

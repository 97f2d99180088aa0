// What a conversion says it did: the intact outputs with result 0, result 2 with the section
// named in a logged message, or a refusal (result 1, nothing made); never 0 with other outputs.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/dlgopt/dlgopt_test_support.h"

namespace corvane::dlgopt::test {
namespace {

namespace fs = std::filesystem;
const std::string kRefused = "not an SDTS transfer or DLG-3 optional file: ";
using Outputs = std::map<std::string, std::string>;

class OutcomeTest : public ConversionTest {
 protected:
  std::string written(const std::string& bytes, const std::string& name = "x.opt") {
    write_file(path(name), bytes);
    return path(name);
  }
  // Converts `input` into an output directory of its own; every output but the log.
  Outputs convert_anew(const std::string& input) {
    out_dir_ = path("out" + std::to_string(++runs_));
    messages_.messages.clear();
    result_ = convert_path(input);
    Outputs files;
    for (const auto& file : fs::recursive_directory_iterator(out_dir_)) {
      std::string content = read_file(file.path());
      if (file.path().extension() == ".dbf") content.replace(1, 3, "YMD");
      if (file.is_regular_file() && file.path().extension() != ".log")
        files[file.path().filename()] = content;
    }
    return files;
  }
  // `expected`: "" the intact outputs and result 0; the opening of a refusal; or a section
  // ("lines: ") opening a message, result 2 and every message logged.
  void judge(const std::string& input, const std::string& expected, const Outputs& intact = {}) {
    std::error_code ec;  // a directory, or nothing
    SCOPED_TRACE(std::to_string(fs::file_size(input, ec)) + " bytes, expecting \"" + expected +
                 "\"");
    const Outputs outputs = convert_anew(input);
    if (expected.empty()) {
      EXPECT_EQ(result_, 0);
      EXPECT_TRUE(outputs == intact) << "other outputs";
    } else if (expected.starts_with(kRefused)) {
      EXPECT_EQ(result_, 1);
      ASSERT_EQ(messages_.messages.size(), 1u);
      EXPECT_TRUE(messages_.messages[0].starts_with(expected)) << messages_.messages[0];
      EXPECT_TRUE(fs::is_empty(out_dir_));
    } else {
      EXPECT_EQ(result_, 2);
      EXPECT_TRUE(has_message(expected));
      for (const std::string& message : messages_.messages) EXPECT_TRUE(logged(message + "\n"));
    }
  }
  int runs_ = 0, result_ = -1;
};

// The records as lines ending in `end`, trailing blanks stripped when `strip`.
std::string as_lines(const std::string& fixed, const std::string& end, bool strip = false) {
  std::string out;
  for (std::size_t at = 0; at < fixed.size(); at += 80) {
    std::string record = fixed.substr(at, 80);
    out += (strip ? record.erase(record.find_last_not_of(' ') + 1) : record) + end;
  }
  return out;
}

// Each real file in the other record forms, cut short, with header counts or a record type
// changed.
TEST_F(OutcomeTest, RealFilesSayWhatTheyConverted) {
  CORVANE_REQUIRE_SHARED_DATA();
  for (const auto& file : fs::directory_iterator(shared_data_dir() + "/dlg3-optional")) {
    if (file.path().extension() != ".opt") continue;
    SCOPED_TRACE(file.path().filename());
    const std::string fixed = read_file(file.path());
    const Outputs intact = convert_anew(written(fixed));
    ASSERT_EQ(result_, 0);
    // Header record 4 at byte 240; the category record after the control points.
    const std::size_t category = 80 * (10 + std::stoul(fixed.substr(240 + 54, 6)));
    const auto with = [&](std::size_t at, const std::string& text) {
      return std::string(fixed).replace(at, text.size(), text);
    };
    const auto count = [&](int column, int change) {
      const auto value = std::to_string(std::stoi(fixed.substr(category + column - 1, 6)) + change);
      return with(category + column - 1, std::string(6 - value.size(), ' ') + value);
    };
    // A cut inside a record hits the last section whose records begin before it.
    for (std::size_t at : {fixed.size() / 3, fixed.size() * 2 / 3, fixed.size() - 1}) {
      at = at / 80 * 80 + 41;
      std::string section = "nodes: ";
      for (std::size_t r = category; r < at; r += 80) {
        if (fixed[r] == 'A' || fixed[r] == 'L') section = fixed[r] == 'A' ? "areas: " : "lines: ";
      }
      judge(written(fixed.substr(0, at)), section);
    }
    judge(written(as_lines(fixed, "\n")), "", intact);
    judge(written(as_lines(fixed, "\n", true)), "", intact);
    judge(written(as_lines(fixed, std::string(20, ' ') + "\r\n")), "", intact);
    judge(written(count(63, -1)), "", intact);
    judge(written(count(31, 1)), "nodes: ");
    judge(written(with(category + 80, "X")), "nodes: ");  // the first node record
    judge(written(count(47, 1)), "areas: ");
    judge(written(count(63, 1)), "lines: ");
    for (const std::string& bytes :
         {as_lines(fixed, "  X\n"), fixed.substr(0, 80 * 5 + 7), with(240 + 60, "     0"),
          with(240 + 65, "2"), with(240 + 59, "5"), with(category + 35, "X")})
      judge(written(bytes), kRefused);
  }
}

TEST_F(OutcomeTest, ForeignInputsAreRefusedBeforeAnythingIsMade) {
  std::string noise;  // bytes in no order that means anything
  for (int k = 0; k < 4096; ++k) noise += static_cast<char>(k * 7919 % 251);
  fs::create_directory(path("folder.opt"));
  const std::pair<std::string, std::string> inputs[] = {
      {written(noise, "noise.opt"), ""},
      {written("Field notes\nday one\n", "notes.txt"), "the file ends before header record 3"},
      {written(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "image.png"),
       "the file ends before header record 4"},
      {written("", "empty.opt"), "it is empty"},
      {path("folder.opt"), "it is a directory"},
      {path("absent.opt"), "it cannot be read (No such file or directory)"}};
  for (const auto& [input, reason] : inputs) judge(input, kRefused + reason);
}

}  // namespace
}  // namespace corvane::dlgopt::test

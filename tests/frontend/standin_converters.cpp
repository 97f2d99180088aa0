#include "tests/frontend/standin_converters.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/message_sink.h"
#include "platform/paths.h"
#include "tests/support/output_files.h"

namespace corvane::test {

std::vector<StandInCall> g_stand_in_calls;

namespace {

int convert(char converter, const char* input, const char* parent) {
  g_stand_in_calls.push_back({converter, input});
  const std::string text = read_file(input);
  const int result = text.find("result=2") != std::string::npos   ? 2
                     : text.find("result=1") != std::string::npos ? 1
                                                                  : 0;
  if (result == 1) {
    show_message("refused: the stand-in was told to fail");
    return 1;
  }
  const std::string stem = paths::stem(input);
  const std::string run = paths::join(parent, stem + "shp");
  std::filesystem::create_directory(run);
  write_file(paths::join(run, stem + ".log"), "log\n");
  if (text.find("pause") != std::string::npos)
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  if (result == 2) show_message("LE01 (XX01LE01.DDF): converted in part: 20 of 41 records read");
  if (converter == 'D') write_file(paths::join(parent, "names.txt"), stem + "shp\nStand-in Title");
  return result;
}

int display(const char* input, const char* parent) { return convert('D', input, parent); }
int display_opt(const char* input, const char* parent) { return convert('O', input, parent); }

}  // namespace

batch::Converters stand_in_converters() { return {&display, &display_opt}; }

}  // namespace corvane::test

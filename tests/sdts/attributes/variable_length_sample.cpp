// Writes an attribute module whose values vary in length from record to record
// (OUT_DIR/1234ARDM.DDF) and converts it, for real_transfers_check.py:
//   variable_length_sample OUT_DIR
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "sdts/attributes/write_dbf_file.h"
#include "sdts/run/run_state.h"
#include "tools/iso8211_fixture/iso8211_fixture.h"

using namespace corvane::sdts;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
    return 2;
  }
  g_run_dir = argv[1];
  std::filesystem::create_directories(g_run_dir);
  g_log_path = corvane::paths::join(g_run_dir, "tables.log");

  using namespace corvane::iso_fixture;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("ATPR", "1600;&", "ATTRIBUTE PRIMARY", "MODN!RCID", "(A,I)")
      .field("ATTP", "1600;&", "PRIMARY ATTRIBUTES", "ROUTE_NUMBER!ROUTE_TYPE!LANES", "(A,A,I)");
  const char* rows[][3] = {
      {"SR 4", "State", "2"}, {"US 3 ALTERNATE", "", "12"}, {"I 495", "Interstate", "4"},
      {"", "Town", "1"}};
  int rcid = 1;
  for (const auto& r : rows) {
    b.record({{"0001", {std::to_string(rcid)}},
              {"ATPR", {"ARDM", std::to_string(rcid)}},
              {"ATTP", {r[0], r[1], r[2]}}});
    rcid *= 10;
  }
  const std::string module = corvane::paths::join(g_run_dir, "1234ARDM.DDF");
  b.write(module);
  return SDTS_Write_DBF_File(module.c_str());
}

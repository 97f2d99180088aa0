// Writes attribute tables for the GDAL cross-check:
//   attribute_tables_tool OUT_DIR MODULE.DDF...   the tables of the given modules
//   attribute_tables_tool --sample OUT_DIR         a module with values of varying length
//                                                  (OUT_DIR/1234ARDM.DDF) and its table
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "sdts/attributes/write_dbf_file.h"
#include "sdts/driver/run_state.h"
#include "tools/iso8211_fixture/iso8211_fixture.h"

namespace {

std::string write_sample_module(const std::string& dir) {
  using namespace corvane::iso_fixture;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("ATPR", "1600;&", "ATTRIBUTE PRIMARY", "MODN!RCID", "(A,I)")
      .field("ATTP", "1600;&", "PRIMARY ATTRIBUTES", "ROUTE_NUMBER!ROUTE_TYPE!LANES", "(A,A,I)");
  const char* rows[][3] = {{"SR 4", "State", "2"},
                           {"US 3 ALTERNATE", "", "12"},
                           {"I 495", "Interstate", "4"},
                           {"", "Town", "1"}};
  int rcid = 1;
  for (const auto& r : rows) {
    b.record({{"0001", {std::to_string(rcid)}},
              {"ATPR", {"ARDM", std::to_string(rcid)}},
              {"ATTP", {r[0], r[1], r[2]}}});
    rcid *= 10;
  }
  const std::string path = corvane::paths::join(dir, "1234ARDM.DDF");
  b.write(path);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  const bool sample = argc == 3 && std::strcmp(argv[1], "--sample") == 0;
  if (argc < 3 || (std::strcmp(argv[1], "--sample") == 0 && !sample)) {
    std::fprintf(stderr, "usage: %s OUT_DIR MODULE.DDF... | --sample OUT_DIR\n", argv[0]);
    return 2;
  }
  g_run_dir = sample ? argv[2] : argv[1];
  std::filesystem::create_directories(g_run_dir);
  g_log_path = corvane::paths::join(g_run_dir, "tables.log");
  g_work_path = corvane::paths::join(g_run_dir, "dlgsdts.tmp");
  if (sample) return SDTS_Write_DBF_File(write_sample_module(g_run_dir).c_str());
  int result = 0;
  for (int i = 2; i < argc; ++i) result |= SDTS_Write_DBF_File(argv[i]);
  return result;
}

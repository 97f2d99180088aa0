// Writes projection files for the GDAL cross-check (projection_file_check.py): each file is
// named after the EPSG code GDAL must find in it; "custom_albers" has none.
#include <cstdio>
#include <string>
#include <vector>

#include "formats/projection_file.h"

using namespace corvane::formats;

namespace {

// DLG-3 header records 1 to 10 with record 4's system, zone, units and datum fields and the
// first eight projection parameters.
std::vector<std::string> dlg_header(int system, int zone, int units, int datum,
                                    const std::vector<const char*>& parameters) {
  char record4[81];
  std::snprintf(record4, sizeof record4, "%6d%6d%6d%6d%18s%6d%6d%6d%6d%3d%3d", 3, system, zone,
                units, "0.635000000000D+00", 4, 0, 4, 1, datum, 0);
  std::vector<std::string> records(10, std::string(80, ' '));
  records[3] = record4;
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    char field[25];
    std::snprintf(field, sizeof field, "%24s", parameters[i]);
    records[4 + i / 3].replace(24 * (i % 3), 24, field);
  }
  return records;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s output-directory\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<const char*> no_parameters;
  std::vector<const char*> albers = {
      "0.0D+00", "0.0D+00", "0.290300000000000D+08", "0.450300000000000D+08",
      "-0.960000000000000D+08", "0.230000000000000D+08", "0.0D+00", "0.0D+00"};
  const std::vector<std::pair<std::string, ReferenceChoice>> samples = {
      {"26718", SDTS_Coordinate_Reference("UTM", "NAS", "18")},
      {"26918", SDTS_Coordinate_Reference("UTM", "NAX", "18")},
      {"32618", SDTS_Coordinate_Reference("UTM", "WGE", "18")},
      {"4267", SDTS_Coordinate_Reference("GEO", "NAS", "")},
      {"4269", SDTS_Coordinate_Reference("GEO", "NAX", "")},
      {"26986", SDTS_Coordinate_Reference("SPCS", "NAX", "2001")},
      {"26786", DLG_Coordinate_Reference(dlg_header(2, 2001, 1, 0, no_parameters))},
      {"26711", DLG_Coordinate_Reference(dlg_header(1, 11, 2, 0, no_parameters))},
      {"5069", DLG_Coordinate_Reference(dlg_header(3, 0, 2, 0, albers))},
      {"unknown", SDTS_Coordinate_Reference("UTM", "XYZ", "18")},
      {"custom_albers", [&] {
         albers[2] = "0.300000000000000D+08";
         return DLG_Coordinate_Reference(dlg_header(3, 0, 2, 1, albers));
       }()},
  };
  int failures = 0;
  for (const auto& [name, choice] : samples) {
    const ProjectionFileResult result = PRJ_Write_Projection_File(dir + "/" + name + ".shp", choice);
    std::printf("%s\n", result.log_line.c_str());
    if (result.written == (name == "unknown")) ++failures;
  }
  return failures == 0 ? 0 : 1;
}

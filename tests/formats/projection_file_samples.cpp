// Writes projection files for the GDAL cross-check (gdal_crosscheck.py): each file is
// named after the EPSG code GDAL must find in it; "custom_albers" has none.
#include <cstdio>
#include <string>

#include "formats/projection_file.h"

using namespace corvane::formats;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s output-directory\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  int failures = 0;
  const auto write = [&](const std::string& name, const ReferenceChoice& choice) {
    const ProjectionFileResult result =
        PRJ_Write_Projection_File(dir + "/" + name + ".shp", choice);
    std::printf("%s\n", result.log_line.c_str());
    if (!result.written) ++failures;
  };
  write("26718", SDTS_Coordinate_Reference("UTM", "NAS", "18"));
  write("26918", SDTS_Coordinate_Reference("UTM", "NAX", "18"));
  write("32618", SDTS_Coordinate_Reference("UTM", "WGE", "18"));
  write("4267", SDTS_Coordinate_Reference("GEO", "NAS", ""));
  write("4269", SDTS_Coordinate_Reference("GEO", "NAX", ""));
  write("26986", SDTS_Coordinate_Reference("SPCS", "NAX", "2001"));
  for (const int code : {26786, 5069})
    write(std::to_string(code), {CoordinateReference{code, {}, ""}, {}});
  const AlbersDefinition albers{4269, 30.0, 45.5, 23.0, -96.0, 0.0, 0.0};
  write("custom_albers", {CoordinateReference{0, albers, "NAD83 / test Albers"}, {}});
  return failures == 0 ? 0 : 1;
}

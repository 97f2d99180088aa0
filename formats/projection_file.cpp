#include "formats/projection_file.h"

#include <cstdio>

#include "formats/builtin_reference.h"
#include "formats/c_file.h"
#include "formats/proj_plugin.h"
#include "platform/paths.h"

namespace corvane::formats {

namespace {

std::string projection_file_path(std::string_view shp_path) {
  const std::string extension = paths::extension(shp_path);
  const std::string_view without =
      extension.empty() ? shp_path : shp_path.substr(0, shp_path.size() - extension.size() - 1);
  return std::string(without) + ".prj";
}

ProjectionFileResult not_written(std::string_view shp_path, const std::string& reason) {
  return {false, "No projection file written for " + std::string(shp_path) + ": " + reason};
}

// False when any byte failed to reach the disk; the file is then removed.
bool write_text_file(const std::string& path, const std::string& text) {
  CFile file = open_c_file(path, "wb");
  if (!file) return false;
  const bool complete = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  const bool closed = close_c_file(file);
  if (complete && closed) return true;
  std::remove(path.c_str());
  return false;
}

}  // namespace

std::string PRJ_Esri_Wkt(const CoordinateReference& reference) {
  if (auto wkt = builtin_esri_wkt(reference.epsg)) return *wkt;
  std::string reason;
  const ProjPlugin* proj = proj_plugin(reason);
  return proj != nullptr ? proj->esri_wkt(reference) : std::string();
}

ProjectionFileResult PRJ_Write_Projection_File(std::string_view shp_path,
                                               const ReferenceChoice& choice) {
  return PRJ_Write_Rendered_Projection_File(
      shp_path, choice, choice.reference ? PRJ_Esri_Wkt(*choice.reference) : std::string());
}

ProjectionFileResult PRJ_Write_Rendered_Projection_File(std::string_view shp_path,
                                                        const ReferenceChoice& choice,
                                                        const std::string& wkt) {
  if (!choice.reference) return not_written(shp_path, choice.reason);
  if (wkt.empty())
    return not_written(shp_path,
                       "PROJ cannot render " + choice.reference->label() + " as ESRI WKT");
  const std::string path = projection_file_path(shp_path);
  if (!write_text_file(path, wkt)) return not_written(shp_path, "cannot write " + path);
  return {true, "Projection file " + path + " written: " + choice.reference->label()};
}

}  // namespace corvane::formats

#include "formats/layer_reference.h"

#include <optional>

#include "formats/projection_file.h"

namespace corvane::formats {

namespace {

struct LayerReference {
  ReferenceChoice choice;
  LayerLog log = nullptr;
  std::string wkt;  // rendered once per conversion
};

std::optional<LayerReference> g_layer_reference;

}  // namespace

std::string PRJ_Reference_Line(const ReferenceChoice& choice) {
  if (choice.reference) return "Coordinate reference: " + choice.reference->label();
  return "Coordinate reference: none (" + choice.reason + ")";
}

LayerReferenceScope::LayerReferenceScope(const ReferenceChoice& choice, LayerLog log) {
  g_layer_reference = LayerReference{
      choice, log, choice.reference ? PRJ_Esri_Wkt(*choice.reference) : std::string()};
}

LayerReferenceScope::~LayerReferenceScope() { g_layer_reference.reset(); }

void PRJ_Finish_Layer(std::string_view shp_path) {
  if (!g_layer_reference) return;
  const ProjectionFileResult result = PRJ_Write_Rendered_Projection_File(
      shp_path, g_layer_reference->choice, g_layer_reference->wkt);
  if (g_layer_reference->log) g_layer_reference->log(result.log_line);
}

}  // namespace corvane::formats

#include "sdts/run/run_directory.h"

#include "platform/paths.h"

namespace corvane::sdts {

namespace {

// The name of the directory holding the catalog; empty for a root ("D:", "/" or none).
std::string catalog_folder(const std::string& catalog_path) {
  const std::string dir = corvane::paths::directory_part(catalog_path);
  if (dir.empty() || dir.back() == ':') return std::string();
  return corvane::paths::name_part(dir);
}

}  // namespace

RunLayout SDTS_Run_Layout(const std::string& catalog_path, const std::string& output_parent) {
  RunLayout layout;
  layout.base = corvane::paths::stem(catalog_path);
  std::string folder = catalog_folder(catalog_path);
  if (corvane::paths::iequals(folder, "unzipped")) folder.clear();
  layout.run_name = folder + layout.base + "shp";
  layout.run_dir = corvane::paths::join(output_parent, layout.run_name);
  layout.doc_path = corvane::paths::join(layout.run_dir, layout.base + ".doc");
  layout.log_path = corvane::paths::join(layout.run_dir, layout.base + ".log");
  layout.trace_path = corvane::paths::join(layout.run_dir, layout.base + ".dbg");
  return layout;
}

}  // namespace corvane::sdts

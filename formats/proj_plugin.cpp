#include "formats/proj_plugin.h"

#include "platform/sibling_library.h"

namespace corvane::formats {

const ProjPlugin* proj_plugin(std::string& reason) {
  std::string error;
  const auto entry = sibling_function<ProjPluginEntry>(kProjPluginLibrary, kProjPluginEntry, error);
  if (entry == nullptr) {
    reason = "PROJ cannot be loaded (" + error + ")";
    return nullptr;
  }
  return entry();
}

}  // namespace corvane::formats

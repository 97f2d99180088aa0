#include "sdts/iso8211/iso_registry.h"

#include <algorithm>
#include <vector>

namespace corvane::iso8211 {

namespace {

// Newest first, so that a lookup finds the most recently opened file first.
std::vector<std::unique_ptr<IsoFileState>>& open_files() {
  static std::vector<std::unique_ptr<IsoFileState>> files;
  return files;
}

// Every subfield call looks its file up, nearly always the same one as the call before.
IsoFileState* g_last_found = nullptr;

}  // namespace

IsoFileState& Iso_Register_File(std::unique_ptr<IsoFileState> state) {
  auto& files = open_files();
  files.insert(files.begin(), std::move(state));
  return *files.front();
}

IsoFileState* Iso_Find_File(const std::FILE* stream) {
  if (stream == nullptr) return nullptr;
  if (g_last_found != nullptr && g_last_found->stream.get() == stream) return g_last_found;
  for (auto& f : open_files()) {
    if (f->stream.get() == stream) return g_last_found = f.get();
  }
  return nullptr;
}

bool Iso_Unregister_File(const std::FILE* stream) {
  auto& files = open_files();
  const auto it = std::find_if(files.begin(), files.end(),
                               [stream](const auto& f) { return f->stream.get() == stream; });
  if (stream == nullptr || it == files.end()) return false;
  if (g_last_found == it->get()) g_last_found = nullptr;
  files.erase(it);
  return true;
}

}  // namespace corvane::iso8211

#include "sdts/run/work_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

using corvane::formats::buffered_c_file;
using corvane::formats::CFile;
using corvane::formats::kBulkStreamBuffer;
using corvane::formats::open_c_file;

namespace corvane::sdts {

WorkFiles::~WorkFiles() {
  for (const auto& [name, file] : memory_) ::close(file.descriptor);
}

WorkFiles::Created WorkFiles::create(const std::string& name, std::int64_t expected_bytes) {
  remove(name);
  const std::int64_t reserved = std::max<std::int64_t>(expected_bytes, 0);
  if (reserved <= memory_left_) {
    // A system without memory files still has the work directory.
    const int descriptor = ::memfd_create(name.c_str(), MFD_CLOEXEC);
    if (descriptor >= 0) {
      const int stream_descriptor = ::dup(descriptor);
      std::FILE* stream = stream_descriptor >= 0 ? ::fdopen(stream_descriptor, "wb+") : nullptr;
      if (stream == nullptr) {
        if (stream_descriptor >= 0) ::close(stream_descriptor);
        ::close(descriptor);
        return {};
      }
      memory_.emplace(name, MemoryFile{descriptor, reserved});
      memory_left_ -= reserved;
      return {buffered_c_file(stream, kBulkStreamBuffer), {}};
    }
  }
  std::string path = corvane::paths::join(directory(), name);
  CFile stream = open_c_file(path, "wb+", kBulkStreamBuffer);
  return {std::move(stream), std::move(path)};
}

int WorkFiles::open(const std::string& name) {
  if (const auto found = memory_.find(name); found != memory_.end())
    return ::dup(found->second.descriptor);
  if (!directory_) return -1;
  return ::open(directory_->file(name).c_str(), O_RDONLY | O_CLOEXEC);
}

void WorkFiles::remove(const std::string& name) {
  if (const auto found = memory_.find(name); found != memory_.end()) {
    ::close(found->second.descriptor);
    memory_left_ += found->second.reserved;
    memory_.erase(found);
  } else if (directory_) {
    std::error_code ignored;
    std::filesystem::remove(directory_->file(name), ignored);
  }
}

std::int64_t WorkFiles::input_bytes(const std::string& path) {
  std::error_code error;
  const auto bytes = std::filesystem::file_size(path, error);
  return error ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(bytes);
}

const std::string& WorkFiles::directory() {
  if (!directory_) directory_ = std::make_unique<corvane::paths::WorkDirectory>("ferrolink-");
  return directory_->path();
}

}  // namespace corvane::sdts

#include "sdts/topology/staging_file.h"

#include <system_error>
#include <filesystem>

#include "platform/paths.h"
#include "sdts/driver/run_state.h"

StagingFile::StagingFile(const std::string& name)
    : path_(corvane::paths::join(SDTS_Work_Directory(), name)), file_(open_c_file(path_, "wb+")) {
  if (file_) std::setvbuf(file_.get(), nullptr, _IOFBF, 1 << 16);
}

StagingFile::~StagingFile() {
  file_.reset();
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

bool StagingFile::write(std::span<const std::uint8_t> data) {
  return data.empty() || std::fwrite(data.data(), 1, data.size(), file_.get()) == data.size();
}

bool StagingFile::read(std::vector<std::uint8_t>& out, std::size_t size) {
  out.resize(size);
  return size == 0 || std::fread(out.data(), 1, size, file_.get()) == size;
}

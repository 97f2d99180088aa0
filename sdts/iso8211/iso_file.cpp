// Opening and closing ISO 8211 files and reading their DDR.
#include <cstring>
#include <string>

#include "sdts/iso8211/iso8211.h"
#include "sdts/iso8211/iso_ddr.h"
#include "sdts/iso8211/iso_registry.h"
#include "sdts/iso8211/iso_stream_io.h"

namespace corvane::iso8211 {

namespace {

// The bytes of the leader that ISO_Open_File looks at (positions 0 to 19).
constexpr std::size_t kLeaderPeek = 20;

std::int64_t file_size(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(f);
  std::rewind(f);
  return size;
}

}  // namespace

int ISO_Open_File(const char* path, const char* mode, int* level, char* inline_code,
                  char* ext_charset, std::FILE** stream) {
  if (stream == nullptr) return 0;
  *stream = nullptr;
  if (path == nullptr || mode == nullptr ||
      (std::strcmp(mode, "r") != 0 && std::strcmp(mode, "R") != 0))
    return 0;
  auto state = std::make_unique<IsoFileState>();
  state->stream.reset(std::fopen(path, "rb"));
  if (!state->stream) return 0;
  state->file_name = path;
  state->file_size = file_size(state->stream.get());
  if (state->file_size < 0) return 0;

  // A file that is not ISO 8211 at all is refused here, and nothing stays open for it.
  char peek[kLeaderPeek];
  if (std::fread(peek, 1, kLeaderPeek, state->stream.get()) != kLeaderPeek) return 0;
  const int interchange_level = peek[5] - '0';
  if (interchange_level < 1 || interchange_level > 3) return 0;
  std::rewind(state->stream.get());

  *level = interchange_level;
  *inline_code = peek[7];
  std::memcpy(ext_charset, peek + 17, 3);
  ext_charset[3] = '\0';
  *stream = Iso_Register_File(std::move(state)).stream.get();
  return 1;
}

int ISO_Read_DDR(std::FILE* stream, char* buffer, int buffer_size, int* status) {
  *status = ISO_STATUS_FAILED;
  IsoFileState* file = Iso_Find_File(stream);
  if (file == nullptr) return 0;
  if (!file->ddr_parsed && !Iso_Parse_DDR(*file)) {
    if (Iso_At_End(*file)) *status = ISO_STATUS_END_OF_FILE;
    return 0;
  }
  std::string ddr;
  if (file->ddr_length + 1 > buffer_size || !Iso_Seek(*file, 0) ||
      !Iso_Read_Exact(*file, file->ddr_length, ddr))
    return 0;
  std::memcpy(buffer, ddr.data(), ddr.size());
  buffer[ddr.size()] = '\0';
  *status = Iso_Peek_End(*file) ? ISO_STATUS_END_OF_FILE : ISO_STATUS_END_OF_RECORD;
  return 1;
}

int ISO_End_File(std::FILE** stream) {
  if (stream == nullptr || !Iso_Unregister_File(*stream)) return 0;
  *stream = nullptr;
  return 1;
}

}  // namespace corvane::iso8211

// libFuzzer target: any bytes, read as an ISO 8211 file the way the module readers read one.
// The reader opens files by path, so each input goes through a file in memory-backed storage.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sdts/iso8211/iso8211.h"

namespace {

std::string input_path() {
  const char* dir = std::getenv("ISO8211_FUZZ_DIR");
  std::string base = dir ? dir : (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
  return base + "/iso8211_fuzz_" + std::to_string(getpid()) + ".ddf";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = input_path();
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  int level = 0, status = 0, length = 0;
  char inline_code = 0, charset[4], tag[ISO_TAG_BUFFER_SIZE], leader = 0, label[100], format[100];
  std::FILE* stream = nullptr;
  if (!ISO_Open_File(path.c_str(), "r", &level, &inline_code, charset, &stream)) return 0;
  std::vector<char> buffer(10004);
  if (ISO_Read_DDR(stream, buffer.data(), static_cast<int>(buffer.size()), &status)) {
    while (status != ISO_STATUS_END_OF_FILE) {
      if (!ISO_Read_Subfield(stream, tag, &leader, buffer.data(), static_cast<int>(buffer.size()), &length, &status))
        break;
      if (!ISO_Check_Subfield(stream, tag, label, sizeof label, format, sizeof format)) break;
    }
  }
  ISO_End_File(&stream);
  return 0;
}

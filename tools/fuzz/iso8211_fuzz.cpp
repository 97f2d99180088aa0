// libFuzzer target: any bytes, read as an ISO 8211 file the way the module readers read one:
// value by value, and again with the rest of each record after a single read taken in runs.
// The runs must tell exactly what the single reads tell; a difference aborts.
// The reader opens files by path, so each input goes through a file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "sdts/iso8211/iso8211.h"
#include "tools/fuzz/fuzz_scratch.h"

using namespace corvane::iso8211;

namespace {

using Subfield = std::tuple<std::string, std::string, std::string, std::string, int>;

constexpr int kValueSize = 10004;

// Every subfield the reader hands out, and the last status.
std::vector<Subfield> read_file(const std::string& path, bool runs, int& final_status) {
  std::vector<Subfield> out;
  int level = 0, status = 0, length = 0;
  char inline_code = 0, charset[4], tag[ISO_TAG_BUFFER_SIZE], leader = 0, label[100], format[100];
  std::FILE* stream = nullptr;
  final_status = -1;
  if (!ISO_Open_File(path.c_str(), "r", &level, &inline_code, charset, &stream)) return out;
  std::vector<char> buffer(kValueSize);
  if (ISO_Read_DDR(stream, buffer.data(), static_cast<int>(buffer.size()), &status)) {
    while (status != ISO_STATUS_END_OF_FILE) {
      if (!ISO_Read_Subfield(stream, tag, &leader, buffer.data(), kValueSize, &length, &status))
        break;
      if (!ISO_Check_Subfield(stream, tag, label, sizeof label, format, sizeof format)) break;
      out.emplace_back(tag, label, format,
                       std::string(buffer.data(), static_cast<std::size_t>(length)), status);
      const bool record_ends =
          status == ISO_STATUS_END_OF_RECORD || status == ISO_STATUS_END_OF_FILE;
      if (!runs || record_ends) continue;
      IsoValueRef values[3];
      int count = 0;
      ISO_Read_Record_Values(stream, values, 3, kValueSize - 1, &count, &status);
      for (int i = 0; i < count; ++i)
        out.emplace_back(values[i].tag, std::string(values[i].label, values[i].label_length),
                         std::string(values[i].format, values[i].format_length),
                         std::string(values[i].bytes, static_cast<std::size_t>(values[i].length)),
                         values[i].status);
    }
  }
  ISO_End_File(&stream);
  final_status = status;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const corvane::fuzz::Scratch scratch("iso8211_fuzz");
  static const std::string path = scratch.input("input.ddf");
  corvane::fuzz::write_file(path, std::string_view(reinterpret_cast<const char*>(data), size));
  int single_status = 0, run_status = 0;
  const auto single = read_file(path, false, single_status);
  if (single.empty()) return 0;
  if (read_file(path, true, run_status) != single || run_status != single_status) std::abort();
  return 0;
}

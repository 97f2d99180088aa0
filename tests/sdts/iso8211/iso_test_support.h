// Reads fixture files back through the reader the way the module readers do.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/paths.h"
#include "sdts/iso8211/iso8211.h"
#include "tools/iso8211_fixture/iso8211_fixture.h"

namespace iso_test {

using namespace corvane::iso8211;

struct Subfield {
  std::string tag, label, format, value;
  int status = 0;
};

struct ReadResult {
  bool opened = false;
  bool ddr_read = false;
  int ddr_status = 0;
  std::vector<Subfield> subfields;
  bool failed = false;  // a subfield read or check returned 0
  int final_status = 0;
  int records() const {
    int n = 0;
    for (const auto& s : subfields) n += s.status == 3 || s.status == 4;
    return n;
  }
  std::vector<int> statuses() const {
    std::vector<int> out;
    for (const auto& s : subfields) out.push_back(s.status);
    return out;
  }
};

// A work directory holding the files of one test.
class Files {
 public:
  std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir_.file(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  std::string write(const std::string& name, const std::string& bytes) {
    return write(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }

 private:
  corvane::paths::WorkDirectory dir_{"iso8211-test-"};
};

// Opens, reads the DDR and every subfield until status 4 or a failure, then closes. With
// `run` > 0, the subfields after each single read are taken up to `run` at a time to the end
// of their record.
inline ReadResult read_all(const std::string& path, int max_subfields = 1000000, int run = 0) {
  ReadResult r;
  int level = 0;
  char inline_code = 0, charset[4];
  std::FILE* stream = nullptr;
  r.opened = ISO_Open_File(path.c_str(), "r", &level, &inline_code, charset, &stream) == 1;
  if (!r.opened) return r;
  std::vector<char> buffer(200000);
  r.ddr_read =
      ISO_Read_DDR(stream, buffer.data(), static_cast<int>(buffer.size()), &r.ddr_status) == 1;
  int status = r.ddr_status;
  while (r.ddr_read && status != ISO_STATUS_END_OF_FILE &&
         static_cast<int>(r.subfields.size()) < max_subfields) {
    char tag[ISO_TAG_BUFFER_SIZE], leader = 0, label[100], format[100];
    int length = 0;
    if (!ISO_Read_Subfield(stream, tag, &leader, buffer.data(), 10004, &length, &status) ||
        !ISO_Check_Subfield(stream, tag, label, 100, format, 100)) {
      r.failed = true;
      break;
    }
    r.subfields.push_back({tag, label, format, std::string(buffer.data(), length), status});
    while (run > 0 && status != ISO_STATUS_END_OF_RECORD && status != ISO_STATUS_END_OF_FILE) {
      std::vector<IsoValueRef> values(static_cast<std::size_t>(run));
      int count = 0;
      if (!ISO_Read_Record_Values(stream, values.data(), run, 10003, &count, &status))
        r.failed = true;
      if (count == 0) break;
      for (int i = 0; i < count; ++i)
        r.subfields.push_back(
            {values[i].tag, std::string(values[i].label, values[i].label_length),
             std::string(values[i].format, values[i].format_length),
             std::string(values[i].bytes, static_cast<std::size_t>(values[i].length)),
             values[i].status});
      if (values[count - 1].status != status) r.failed = true;
    }
  }
  r.final_status = status;
  ISO_End_File(&stream);
  return r;
}

// Runs of values must tell exactly what single reads tell.
inline void expect_same_subfields(const ReadResult& single, const ReadResult& runs,
                                  const std::string& what) {
  ASSERT_EQ(single.failed, runs.failed) << what;
  ASSERT_EQ(single.subfields.size(), runs.subfields.size()) << what;
  for (std::size_t i = 0; i < single.subfields.size(); ++i) {
    const auto& a = single.subfields[i];
    const auto& b = runs.subfields[i];
    ASSERT_EQ(std::tie(a.tag, a.label, a.format, a.value, a.status),
              std::tie(b.tag, b.label, b.format, b.value, b.status))
        << what << ", subfield " << i;
  }
}

inline std::string bytes_of(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += static_cast<char>(v);
  return s;
}

}  // namespace iso_test

// The base of every SDTS module reader: a module file's name split into its parts, and
// the ISO 8211 reader wrapped in traced steps that deliver one subfield at a time with
// its tag, label, format, value and status.
//
// This is where the two error conventions meet: the ISO 8211 routines return 1 for success
// and 0 for failure, SDTSFile and everything above it return 0 for success and 1 for
// failure. Two writers call the reader themselves, because they stream whole modules
// through the subfield buffers of the run state and take the reader's runs without a call
// per subfield: AttrModuleReader (sdts/attributes) and the line module writer
// (sdts/topology/line_shape.cpp). Each turns the reader's results into 0/1 where it calls it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sdts/run/module_file_name.h"

namespace corvane::sdts {

class SDTSFile {
 public:
  // Subfield values longer than this are refused by the reader rather than overrun.
  static constexpr std::size_t kValueCapacity = 10003;

  explicit SDTSFile(std::string path);
  virtual ~SDTSFile();
  SDTSFile(const SDTSFile&) = delete;
  SDTSFile& operator=(const SDTSFile&) = delete;

  // 0 on success, 1 on failure (traced). A module file named in another letter case than
  // on disk is found in its directory.
  int open_file_for_read();
  int read_ddr();
  // Reads the next subfield and describes it; on failure the subfield is skipped.
  int read_record();
  // 1 when a file was closed.
  int close_file();
  int parse_file_name();

  // Opens, reads the DDR, and hands every subfield to `on_subfield` (only those that
  // were read and described) and every record end (status 3 or 4) to `on_record_end`,
  // then closes. Stops at the end of the file, or at a record that cannot be read.
  // Returns 0 when the whole file was read.
  int read_module(const std::function<void()>& on_subfield,
                  const std::function<void()>& on_record_end);
  // The result of the last read_module: 1 until a module was read.
  int read_result() const { return m_read_result; }

  const std::string& path() const { return m_name.path; }
  bool is_open() const { return m_stream != nullptr; }

  // The subfield just read.
  std::string_view tag() const { return m_tag; }
  std::string_view label() const { return m_descr; }
  std::string_view format() const { return m_frmts; }
  // The value's bytes (binary values may contain zero bytes) and its text.
  std::string_view value_bytes() const;
  std::string value_text() const;
  // The value as the C library's decimal conversion reads it (atol).
  long value_long() const;
  // A coordinate or other integer by the subfield's format: binary ("B") most significant
  // byte first as the transfer's byte order says, otherwise decimal text.
  std::int32_t value_int() const;

 protected:
  SDTSFileName m_name;

 private:
  // The subfields that follow a delivered one in its record, taken from the reader in runs
  // and handed over one by one as read_record would.
  void read_value_runs(const std::function<void()>& on_subfield,
                       const std::function<void()>& on_record_end);

  std::FILE* m_stream = nullptr;
  int m_byte_order = 0;
  std::vector<char> m_value;
  int m_value_length = 0;
  int m_status = 0;
  bool m_subfield_read = false;  // the last read_record got a subfield, described or not
  int m_read_result = 1;
  char m_leader_id = 0;
  // The subfield's tag, label and format: the texts of a single read are kept here, those
  // of a run stay in the reader while the module is read.
  std::string_view m_tag, m_descr, m_frmts;
  std::string m_tag_text, m_descr_text, m_frmts_text;
};

}  // namespace corvane::sdts

// Reads an attribute module record by record: its identifier field (ATPR/ATSC) and its
// value fields (ATTP/ATTS), each subfield with its label, format and value as text.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sdts {

struct AttrSubfield {
  std::string label;   // trailing blanks of the module's padded labels removed
  std::string format;  // e.g. "A(7)", "I", "R(8)", "B(32)"
  std::string text;    // the value as read; 32-bit binary values as decimal text,
                       // other binary values as hexadecimal digits
};

struct AttrRecord {
  std::string module_name;  // the "MODN" value
  bool has_rcid = false;
  AttrSubfield rcid;
  std::vector<AttrSubfield> values;  // in module order
};

// Calls the ISO 8211 reader itself (see SDTSFile): its open() turns the reader's 1/0 into
// 0/1, read_record() into true/false.
class AttrModuleReader {
 public:
  explicit AttrModuleReader(std::string path);
  ~AttrModuleReader();
  AttrModuleReader(const AttrModuleReader&) = delete;
  AttrModuleReader& operator=(const AttrModuleReader&) = delete;

  // Opens the module (found in its directory in any letter case) and reads its DDR.
  // 0, or 1 (traced) when either fails.
  int open();
  // Reads the next record. False at the end of the module, or when a subfield cannot be
  // read (traced); a subfield that cannot be described is traced and left out.
  bool read_record(AttrRecord& record);

 private:
  void close();
  // After a single read, the values that follow in the record come in runs, taken as that
  // many single reads would have delivered them.
  void take_value_runs(AttrRecord& record, std::size_t& used);

  std::string m_path;
  std::FILE* m_stream = nullptr;
  bool m_at_end = false;
};

// The value of the subfield just read into the process-wide subfield buffers, as text.
std::string SDTS_Attr_Value_Text(const char* value, int length, std::string_view format);

}  // namespace corvane::sdts

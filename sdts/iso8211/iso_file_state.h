// Everything the reader keeps for one open ISO 8211 file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/unique_handle.h"
#include "sdts/iso8211/iso_data_field.h"
#include "sdts/iso8211/iso_field_description.h"
#include "sdts/iso8211/iso_leader.h"

namespace corvane::iso8211 {

using IsoStream = UniqueHandle<std::FILE, std::fclose>;

// The "0000" field of the DDR.
struct IsoFileControl {
  std::optional<std::string> file_title;
  std::vector<std::pair<std::string, std::string>> tag_pairs;
  std::optional<std::string> augmented_description;  // the "0002" field
};

// A directory entry of the current data record's layout.
struct IsoDirectoryEntry {
  std::string tag;
  const IsoFieldDescription* description = nullptr;  // set for a data record's fields
  std::int32_t field_length = 0;
  std::int32_t field_position = 0;
};

struct IsoFileState {
  IsoStream stream;
  std::string file_name;
  char open_mode = 'r';
  std::int64_t file_size = 0;  // bounds every length read from the file
  // The reader's own position and a window of the file's bytes around it: asking the stream
  // for its position or moving it costs a system call, and records are read a few bytes at a time.
  std::int64_t position = 0;
  std::int64_t window_start = 0;
  std::vector<char> window;

  bool ddr_parsed = false;
  std::int64_t ddr_length = 0;  // where the first data record starts
  IsoFileControl file_control;
  IsoLeader ddr_leader;
  std::vector<IsoFieldDescription> field_descriptions;  // in directory order

  IsoLeader record_leader;
  std::vector<IsoDirectoryEntry> record_directory;  // kept across records after an "R" leader
  std::string last_directory_bytes;                 // record_directory as read, while described
  bool reuse_leader = false;
  bool have_record = false;
  IsoRecordFields record_fields;
  IsoValueStore value_store;  // the bytes of record_fields' values
  std::size_t current_field = 0;
  const IsoFieldDescription* current_description = nullptr;

  // 0 fresh file, 1 field entered, 2 dimensions being delivered, 3 values being delivered,
  // 4 field used up.
  int step = 0;
  std::size_t next_value = 0;   // index of the value the next call delivers
  std::size_t next_extent = 0;  // index of the extent the next call delivers
  const IsoFormatNode* current_format = nullptr;
  bool delivering_extent = false;  // what ISO_Check_Subfield describes in step 2
};

}  // namespace corvane::iso8211

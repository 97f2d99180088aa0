#include "sdts/attributes/attr_module_reader.h"

#include <cstring>

#include "platform/paths.h"
#include "sdts/driver/run_state.h"
#include "sdts/driver/trace.h"
#include "sdts/iso8211/iso8211.h"
#include "sdts/modules/module_state.h"

namespace {

constexpr const char* kRoutine = "SDTS_Write_DBF_File";

bool is_id_tag(const char* tag) {
  return std::string_view(tag) == "ATPR" || std::string_view(tag) == "ATSC";
}
bool is_value_tag(const char* tag) {
  return std::string_view(tag) == "ATTP" || std::string_view(tag) == "ATTS";
}

// Module labels and names come padded with blanks.
std::string_view trimmed(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return text.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

void check_failed(const char* tag, const char* label, const char* format) {
  TRACE_PRINT(kRoutine, SDTS_Message("\nERROR CHECKING DATA RECORD SUBFIELD : tag = %s descr = %s "
                                     "frmts = %s",
                                     tag, label, format));
}

// Files the subfield in the record: the module name and record number of the identifier
// field, or one more attribute value.
void take(AttrRecord& record, const char* tag, const char* label_text, const char* format, const char* value,
          int length) {
  const std::string_view label = trimmed(label_text);
  if (is_id_tag(tag)) {
    if (label == "MODN") {
      const std::string text = SDTS_Attr_Value_Text(value, length, format);
      record.module_name = trimmed(text.c_str());
    } else if (label == "RCID") {
      record.has_rcid = true;
      record.rcid = {std::string(label), format, SDTS_Attr_Value_Text(value, length, format)};
    }
  } else if (is_value_tag(tag)) {
    // Built in place: a record holds many values, and each was built and then moved.
    AttrSubfield& subfield = record.values.emplace_back();
    subfield.label = label;
    subfield.format = format;
    subfield.text = SDTS_Attr_Value_Text(value, length, format);
  }
}

}  // namespace

std::string SDTS_Attr_Value_Text(const char* value, int length, std::string_view format) {
  if (format.empty() || format[0] != 'B') return std::string(value, length);
  if (format == "B(32)" && length == 4) {
    std::int32_t number = 0;
    ISO_Bytes_To_Int(value, &number, g_byte_order == 0);
    return std::to_string(number);
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (int i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    hex += kHex[byte >> 4];
    hex += kHex[byte & 0x0F];
  }
  return hex;
}

AttrModuleReader::AttrModuleReader(std::string path) : m_path(std::move(path)) {}

AttrModuleReader::~AttrModuleReader() { close(); }

void AttrModuleReader::close() {
  if (m_stream != nullptr) ISO_End_File(&m_stream);
}

int AttrModuleReader::open() {
  close();
  m_at_end = false;
  ISO_Byte_Order(&g_byte_order);
  int level = 0;
  char inline_code = 0;
  char ext_charset[4] = {};
  const std::string path = corvane::paths::resolve_case_insensitive(m_path);
  if (!ISO_Open_File(path.c_str(), "R", &level, &inline_code, ext_charset, &m_stream)) {
    TRACE_ERROR(kRoutine, "*** Open file failed ***", m_path);
    return 1;
  }
  int status = 0;
  if (!ISO_Read_DDR(m_stream, g_sf_value, sizeof g_sf_value, &status)) {
    TRACE_PRINT(kRoutine, SDTS_Message("\nERROR OPENING FILE %s", m_path.c_str()));
    close();
    return 1;
  }
  m_at_end = status == ISO_STATUS_END_OF_FILE;
  return 0;
}

void AttrModuleReader::take_value_runs(AttrRecord& record) {
  constexpr int kRunLength = 256;
  IsoValueRef run[kRunLength];
  int count = 0;
  do {
    int status = g_sf_status;
    ISO_Read_Values(m_stream, run, kRunLength, static_cast<int>(sizeof g_sf_value) - 1, &count, &status);
    for (int i = 0; i < count; ++i) {
      const IsoValueRef& value = run[i];
      // What the check of a single read would refuse for the subfield buffers.
      if (std::strlen(value.label) >= sizeof g_sf_descr || std::strlen(value.format) >= sizeof g_sf_frmts)
        check_failed(g_sf_tag, value.label, value.format);
      else
        take(record, g_sf_tag, value.label, value.format, value.bytes, value.length);
    }
    if (count > 0) g_sf_status = status;
  } while (count == kRunLength && g_sf_status == ISO_STATUS_OK);
}

bool AttrModuleReader::read_record(AttrRecord& record) {
  // Cleared member by member, so a record read into the same object reuses its value list.
  record.module_name.clear();
  record.has_rcid = false;
  record.rcid = AttrSubfield();
  record.values.clear();
  if (m_stream == nullptr || m_at_end) return false;
  bool any = false;
  for (;;) {
    if (!ISO_Read_Subfield(m_stream, g_sf_tag, &g_sf_leader, g_sf_value, sizeof g_sf_value,
                           &g_sf_length, &g_sf_status)) {
      // A module without data records ends here too; only a read inside a record is an error.
      if (any || g_sf_status != ISO_STATUS_END_OF_FILE)
        TRACE_PRINT(kRoutine,
                    SDTS_Message("\nERROR READING DATA RECORD SUBFIELD : tag = %s leadid = %d "
                                 "myString = %s str_len = %d status = %d",
                                 g_sf_tag, g_sf_leader, g_sf_value, g_sf_length, g_sf_status));
      m_at_end = true;
      return false;
    }
    any = true;
    if (!ISO_Check_Subfield(m_stream, g_sf_tag, g_sf_descr, sizeof g_sf_descr, g_sf_frmts,
                            sizeof g_sf_frmts)) {
      check_failed(g_sf_tag, g_sf_descr, g_sf_frmts);
    } else {
      take(record, g_sf_tag, g_sf_descr, g_sf_frmts, g_sf_value, g_sf_length);
    }
    if (g_sf_status == ISO_STATUS_OK) take_value_runs(record);
    if (g_sf_status == ISO_STATUS_END_OF_FILE) m_at_end = true;
    if (g_sf_status == ISO_STATUS_END_OF_RECORD || g_sf_status == ISO_STATUS_END_OF_FILE)
      return true;
  }
}

#include "sdts/attributes/attr_module_reader.h"

#include <cstring>

#include "platform/paths.h"
#include "sdts/iso8211/iso8211.h"
#include "sdts/iso8211/iso_value_runs.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

using namespace corvane::iso8211;

namespace {

constexpr const char* kRoutine = "SDTS_Write_DBF_File";

enum class FieldKind { identifier, values, other };

FieldKind field_kind(std::string_view tag) {
  if (tag == "ATPR" || tag == "ATSC") return FieldKind::identifier;
  if (tag == "ATTP" || tag == "ATTS") return FieldKind::values;
  return FieldKind::other;
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

void value_text_into(std::string& text, const char* value, int length, std::string_view format) {
  if (format.empty() || format[0] != 'B') {
    text.assign(value, static_cast<std::size_t>(length));
    return;
  }
  if (format == "B(32)" && length == 4) {
    std::int32_t number = 0;
    ISO_Bytes_To_Int(value, &number, g_byte_order == 0);
    text = std::to_string(number);
    return;
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  text.clear();
  for (int i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    text += kHex[byte >> 4];
    text += kHex[byte & 0x0F];
  }
}

void assign_if_other(std::string& text, std::string_view wanted) {
  if (text != wanted) text = wanted;
}

// Files the subfield in the record: the module name and record number of the identifier
// field, or one more attribute value. `used` counts the record's values so far: the value
// list keeps its entries from record to record, and each is overwritten in place, since
// labels and formats repeat from record to record and building every value afresh would be
// the costliest step of a table.
void take(AttrRecord& record, std::size_t& used, FieldKind kind, std::string_view label_text,
          std::string_view format, const char* value, int length) {
  const std::string_view label = trimmed(label_text);
  if (kind == FieldKind::identifier) {
    if (label == "MODN") {
      const std::string text = SDTS_Attr_Value_Text(value, length, format);
      record.module_name = trimmed(text.c_str());
    } else if (label == "RCID") {
      record.has_rcid = true;
      record.rcid = {std::string(label), std::string(format),
                     SDTS_Attr_Value_Text(value, length, format)};
    }
  } else if (kind == FieldKind::values) {
    if (used == record.values.size()) record.values.emplace_back();
    AttrSubfield& subfield = record.values[used++];
    assign_if_other(subfield.label, label);
    assign_if_other(subfield.format, format);
    value_text_into(subfield.text, value, length, format);
  }
}

}  // namespace

std::string SDTS_Attr_Value_Text(const char* value, int length, std::string_view format) {
  std::string text;
  value_text_into(text, value, length, format);
  return text;
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

void AttrModuleReader::take_value_runs(AttrRecord& record, std::size_t& used) {
  // The values of one field share their tag text while the record lasts.
  const char* field = nullptr;
  FieldKind kind = FieldKind::other;
  ISO_Take_Record_Values(
      m_stream, static_cast<int>(sizeof g_sf_value) - 1, [&](const IsoValueRef& value) {
        if (value.tag != field) {
          field = value.tag;
          kind = field_kind(field);
        }
        const std::string_view label(value.label, static_cast<std::size_t>(value.label_length));
        const std::string_view format(value.format, static_cast<std::size_t>(value.format_length));
        // What the check of a single read would refuse for the subfield buffers.
        if (label.size() >= sizeof g_sf_descr || format.size() >= sizeof g_sf_frmts)
          check_failed(field, value.label, value.format);
        else
          take(record, used, kind, label, format, value.bytes, value.length);
        g_sf_status = value.status;
        return true;
      });
}

bool AttrModuleReader::read_record(AttrRecord& record) {
  record.module_name.clear();
  record.has_rcid = false;
  record.rcid = AttrSubfield();
  std::size_t used = 0;
  const auto done = [&](bool read) {
    record.values.resize(used);
    return read;
  };
  if (m_stream == nullptr || m_at_end) return done(false);
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
      return done(false);
    }
    any = true;
    if (!ISO_Check_Subfield(m_stream, g_sf_tag, g_sf_descr, sizeof g_sf_descr, g_sf_frmts,
                            sizeof g_sf_frmts)) {
      check_failed(g_sf_tag, g_sf_descr, g_sf_frmts);
    } else {
      take(record, used, field_kind(g_sf_tag), g_sf_descr, g_sf_frmts, g_sf_value, g_sf_length);
    }
    if (!ISO_Ends_Record(g_sf_status)) take_value_runs(record, used);
    if (g_sf_status == ISO_STATUS_END_OF_FILE) m_at_end = true;
    if (ISO_Ends_Record(g_sf_status)) return done(true);
  }
}

}  // namespace corvane::sdts

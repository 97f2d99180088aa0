#include "sdts/modules/sdts_file.h"

#include <cstring>
#include <memory>

#include "platform/paths.h"
#include "sdts/iso8211/iso8211.h"
#include "sdts/iso8211/iso_value_runs.h"
#include "sdts/modules/decimal_text.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

using namespace corvane::iso8211;

namespace {

// A DDR's record length has five digits, so every DDR that states its length fits.
constexpr int kDdrCapacity = 100000;
constexpr int kTextCapacity = 101;

}  // namespace

SDTSFile::SDTSFile(std::string path) : m_value(kValueCapacity, '\0') {
  m_name.path = std::move(path);
  parse_file_name();
  ISO_Byte_Order(&m_byte_order);
}

SDTSFile::~SDTSFile() {
  if (m_stream != nullptr) ISO_End_File(&m_stream);
}

int SDTSFile::parse_file_name() {
  TRACE_BEGIN("SDTSFile::parse_file_name()");
  m_name.parse();
  TRACE_EXIT("SDTSFile::parse_file_name()", 0);
  return 0;
}

int SDTSFile::open_file_for_read() {
  TRACE_BEGIN("SDTSFile::open_file_for_read()");
  const std::string on_disk = corvane::paths::resolve_case_insensitive(m_name.path);
  int level = 0;
  char inline_code = 0;
  char ext_charset[4] = {};
  if (ISO_Open_File(on_disk.c_str(), "R", &level, &inline_code, ext_charset, &m_stream) == 0) {
    TRACE_ERROR("SDTSFile::open_file_for_read()", "*** Open file failed ***", m_name.path);
    TRACE_EXIT("SDTSFile::open_file_for_read()", 1);
    return 1;
  }
  TRACE_EXIT("SDTSFile::open_file_for_read()", 0);
  return 0;
}

int SDTSFile::read_ddr() {
  // The reader fills what it uses; nothing needs clearing first.
  const auto ddr = std::make_unique_for_overwrite<char[]>(kDdrCapacity);
  if (ISO_Read_DDR(m_stream, ddr.get(), kDdrCapacity, &m_status) == 0) {
    TRACE_ERROR("SDTSFile::read_ddr()", "*** ERROR READING DDR ***", m_name.path);
    return 1;
  }
  return 0;
}

int SDTSFile::read_record() {
  char tag[ISO_TAG_BUFFER_SIZE];
  tag[0] = '\0';
  m_descr = m_frmts = {};
  m_subfield_read =
      ISO_Read_Subfield(m_stream, tag, &m_leader_id, m_value.data(),
                        static_cast<int>(m_value.size()), &m_value_length, &m_status) != 0;
  m_tag_text = tag;
  m_tag = m_tag_text;
  if (!m_subfield_read) {
    m_value_length = 0;
    m_value[0] = '\0';
    SDTS_Message(" %s, %d %s %d %d", tag, m_leader_id, m_value.data(), m_value_length, m_status);
    TRACE_ERROR("SDTSFile::read_record()", "*** ERROR READING DATA RECORD SUBFIELD ***",
                m_name.path);
    return 1;
  }
  char label[kTextCapacity];
  char format[kTextCapacity];
  if (ISO_Check_Subfield(m_stream, tag, label, kTextCapacity, format, kTextCapacity) == 0) {
    TRACE_ERROR("SDTSFile::read_record()", "*** ERROR CHECKING DATA RECORD SUBFIELD ***",
                m_name.path);
    return 1;
  }
  m_descr = m_descr_text = label;
  m_frmts = m_frmts_text = format;
  return 0;
}

int SDTSFile::close_file() {
  TRACE_BEGIN("SDTSFile::close_file()");
  const int result = m_stream != nullptr ? ISO_End_File(&m_stream) : 0;
  TRACE_EXIT("SDTSFile::close_file()", result);
  return result;
}

int SDTSFile::read_module(const std::function<void()>& on_subfield,
                          const std::function<void()>& on_record_end) {
  int result = open_file_for_read();
  if (result == 0) result = read_ddr();
  // A module that ends after its DDR has no records to read.
  bool more = result == 0 && m_status != ISO_STATUS_END_OF_FILE;
  while (more) {
    const int read = read_record();
    if (read == 0) {
      on_subfield();
    } else if (!m_subfield_read) {
      // A record that cannot be read cannot be skipped either: keep what came before it.
      result = 1;
      break;
    }
    if (ISO_Ends_Record(m_status)) on_record_end();
    if (read == 0 && !ISO_Ends_Record(m_status)) read_value_runs(on_subfield, on_record_end);
    more = m_status != ISO_STATUS_END_OF_FILE;
  }
  close_file();
  // The texts of runs went with the reader.
  m_tag = m_descr = m_frmts = {};
  m_read_result = result;
  return result;
}

void SDTSFile::read_value_runs(const std::function<void()>& on_subfield,
                               const std::function<void()>& on_record_end) {
  ISO_Take_Record_Values(
      m_stream, static_cast<int>(m_value.size()) - 1, [&](const IsoValueRef& value) {
        std::memcpy(m_value.data(), value.bytes, static_cast<std::size_t>(value.length));
        m_value[static_cast<std::size_t>(value.length)] = '\0';
        m_value_length = value.length;
        if (value.tag != m_tag.data()) m_tag = value.tag;
        m_descr = {value.label, static_cast<std::size_t>(value.label_length)};
        m_frmts = {value.format, static_cast<std::size_t>(value.format_length)};
        m_status = value.status;
        // A label or format too long for a single read's check is skipped as that check would.
        if (value.label_length < kTextCapacity && value.format_length < kTextCapacity) {
          on_subfield();
        } else {
          TRACE_ERROR("SDTSFile::read_record()", "*** ERROR CHECKING DATA RECORD SUBFIELD ***",
                      m_name.path);
        }
        if (ISO_Ends_Record(m_status)) on_record_end();
        return true;
      });
}

std::string_view SDTSFile::value_bytes() const {
  return {m_value.data(), static_cast<std::size_t>(m_value_length)};
}

std::string SDTSFile::value_text() const { return std::string(m_value.data()); }

long SDTSFile::value_long() const { return SDTS_Decimal_Value(m_value.data()); }

std::int32_t SDTSFile::value_int() const {
  if (m_frmts.find('B') != std::string_view::npos) {
    if (m_value_length < 4) return 0;
    std::int32_t value = 0;
    ISO_Bytes_To_Int(m_value.data(), &value, m_byte_order == 0);
    return value;
  }
  return static_cast<std::int32_t>(SDTS_Decimal_Value(m_value.data()));
}

}  // namespace corvane::sdts

#include "sdts/attributes/write_dbf_file.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "formats/c_file.h"
#include "formats/dbf_writer.h"
#include "platform/paths.h"
#include "sdts/attributes/attr_module_reader.h"
#include "sdts/attributes/attr_table.h"
#include "sdts/attributes/record_staging.h"
#include "sdts/attributes/written_tables.h"
#include "sdts/run/output_names.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"
#include "sdts/run/work_files.h"

namespace corvane::sdts {

using corvane::formats::CFile;
using corvane::formats::DBF_Write_Field_Headers;
using corvane::formats::DBF_Write_Header;
using corvane::formats::kBulkStreamBuffer;
using corvane::formats::open_c_file;

namespace {

constexpr const char* kRoutine = "SDTS_Write_DBF_File";

// Where each subfield of a record goes: the record number's column and, in module order,
// the column of every attribute value. -1: no column.
struct ColumnMap {
  std::int32_t rcid = -1;
  std::vector<std::int32_t> values;
};

std::int32_t text_width(const std::string& text) { return static_cast<std::int32_t>(text.size()); }

// Digits after the point of a real value ("   36.00" has 2).
std::int32_t decimals_of(const AttrSubfield& subfield) {
  if (subfield.format.empty() || subfield.format[0] != 'R') return 0;
  const auto point = subfield.text.find('.');
  if (point == std::string::npos) return 0;
  const auto end = subfield.text.find_first_not_of("0123456789", point + 1);
  return static_cast<std::int32_t>((end == std::string::npos ? subfield.text.size() : end) - point -
                                   1);
}

// The columns in the order the first record lists its subfields.
ColumnMap discover_columns(const AttrRecord& first, SDTSAttrTable& table) {
  ColumnMap map;
  std::int32_t p = 0;
  if (first.has_rcid) {
    table.insert_field({p, first.module_name + "_" + first.rcid.label, first.rcid.format,
                        text_width(first.rcid.text), 0});
    map.rcid = p++;
  }
  for (const AttrSubfield& value : first.values) {
    table.insert_field({p, value.label, value.format, text_width(value.text), 0});
    map.values.push_back(p++);
  }
  return map;
}

// The widest value and the most decimals met in each column, indexed by position.
struct ColumnWidths {
  std::vector<std::int32_t> width, decimals;

  void widen(std::int32_t position, std::int32_t w, std::int32_t d) {
    const auto at = static_cast<std::size_t>(position);
    if (at >= width.size()) {
      width.resize(at + 1, 0);
      decimals.resize(at + 1, 0);
    }
    width[at] = std::max(width[at], w);
    decimals[at] = std::max(decimals[at], d);
  }
};

void widen_columns(const AttrRecord& record, const ColumnMap& map, ColumnWidths& widths) {
  if (record.has_rcid && map.rcid >= 0) widths.widen(map.rcid, text_width(record.rcid.text), 0);
  const std::size_t n = std::min(record.values.size(), map.values.size());
  for (std::size_t k = 0; k < n; ++k)
    widths.widen(map.values[k], text_width(record.values[k].text), decimals_of(record.values[k]));
}

// Puts `text` into its column of `width` characters: numbers to the right, text to the left,
// cut to the width.
void put_cell(char* column, std::string_view text, const corvane::formats::DBFFieldDef& field) {
  const std::size_t width = field.length;
  const std::size_t used = std::min(text.size(), width);
  char* at = field.type == 'N' ? column + (width - used) : column;
  std::memcpy(at, text.data(), used);
}

// The record's row: deletion flag, then every column padded to its width. A record
// without attribute values is kept in its place (the joins read rows by record number)
// but flagged deleted, since it holds no attribute record. `row` is reused from record to
// record; `offsets` gives each column's place in it.
void compose_row(const AttrRecord& record, const ColumnMap& map, const SDTSAttrTable& table,
                 const std::vector<std::size_t>& offsets, std::string& row) {
  const corvane::formats::DBFFieldDef* fields = table.dbf_fields();
  row.assign(offsets.back(), ' ');
  row[0] = record.values.empty() ? '*' : ' ';
  if (record.has_rcid && map.rcid >= 0)
    put_cell(&row[offsets[map.rcid]], record.rcid.text, fields[map.rcid]);
  const std::size_t n = std::min(record.values.size(), map.values.size());
  for (std::size_t k = 0; k < n; ++k) {
    const std::int32_t column = map.values[k];
    put_cell(&row[offsets[column]], record.values[k].text, fields[column]);
  }
  if (record.values.size() > map.values.size())
    TRACE_PRINT(kRoutine,
                SDTS_Message("record %s: %zu values beyond the first record's columns "
                             "left out",
                             record.rcid.text.c_str(), record.values.size() - map.values.size()));
}

// Where each column starts in a row, and (last) the row's length.
std::vector<std::size_t> column_offsets(const SDTSAttrTable& table) {
  std::vector<std::size_t> offsets{1};
  for (const auto* field = table.dbf_fields(); field->name != nullptr; ++field)
    offsets.push_back(offsets.back() + field->length);
  return offsets;
}

struct ModuleLayout {
  ColumnMap map;
  std::string module_name;
};

// First pass: the columns from the first record, every column as wide as its longest value
// in the whole module. The table learns each column's width once, after the last record.
// Each record is staged for the second pass; `staged` tells whether all of them were.
ModuleLayout scan_module(AttrModuleReader& reader, SDTSAttrTable& table, AttrRecordStaging& staging,
                         bool& staged) {
  ModuleLayout layout;
  AttrRecord record;
  ColumnWidths widths;
  bool first = true;
  staged = staging.is_open();
  while (reader.read_record(record)) {
    if (first) {
      layout.map = discover_columns(record, table);
      layout.module_name = record.module_name;
      first = false;
    }
    widen_columns(record, layout.map, widths);
    staged = staged && staging.put(record, layout.map.values.size());
  }
  for (std::size_t at = 0; at < widths.width.size(); ++at)
    table.widen(static_cast<std::int32_t>(at), widths.width[at], widths.decimals[at]);
  return layout;
}

// Second pass: one row per record, as `next` hands them out. Returns the rows written;
// `attribute_records` counts those that hold attribute values.
template <typename NextRecord>
std::uint32_t write_rows(NextRecord next, const ModuleLayout& layout, const SDTSAttrTable& table,
                         std::FILE* out, int& attribute_records) {
  std::uint32_t rows = 0;
  AttrRecord record;
  const std::vector<std::size_t> offsets = column_offsets(table);
  std::string row;
  while (next(record)) {
    compose_row(record, layout.map, table, offsets, row);
    if (std::fwrite(row.data(), 1, row.size(), out) != row.size()) {
      TRACE_ERROR(kRoutine, "*** Write failed ***", "");
      break;
    }
    ++rows;
    if (!record.values.empty()) ++attribute_records;
    g_progress->set_position(static_cast<int>(rows));
  }
  return rows;
}

int write_dbf_file(const std::string& path) {
  const long n = g_stat.count_records(path);
  TRACE_DETAIL(kRoutine, SDTS_Message("numOfRecords = %ld", n));
  g_progress->set_range(0, static_cast<int>(n));
  TRACE_PRINT(kRoutine, SDTS_Message("Write %s DBF file", path.c_str()));

  AttrModuleReader reader(path);
  if (reader.open() != 0) return 1;

  const std::string table_path =
      SDTS_Get_Output_File_Name(corvane::paths::stem_to_first_dot(path) + ".dbf");
  CFile out = open_c_file(table_path, "wb", kBulkStreamBuffer);
  if (!out) {
    TRACE_ERROR(kRoutine, "*** Open file failed ***", table_path);
    return 1;
  }

  SDTSAttrTable table(path);
  g_progress->set_status(SDTS_Message("Build %s DBF File", path.c_str()));
  // The staged texts take about as many bytes as the module holds.
  AttrRecordStaging staging(corvane::paths::name_part(table_path) + ".rows",
                            WorkFiles::input_bytes(path));
  bool staged = false;
  const ModuleLayout layout = scan_module(reader, table, staging, staged);
  if (table.make_dbf_structure() != 0) return 1;
  if (DBF_Write_Header(out.get(), 0, table.dbf_fields()) != 0 ||
      DBF_Write_Field_Headers(out.get(), table.dbf_fields()) != 0) {
    TRACE_ERROR(kRoutine, "*** Write failed ***", table_path);
    return 1;
  }

  int attribute_records = 0;
  std::uint32_t rows = 0;
  // Without the staged records (no room in the work directory) the module is read again.
  if (staged && staging.rewind()) {
    rows = write_rows([&](AttrRecord& r) { return staging.get(r); }, layout, table, out.get(),
                      attribute_records);
  } else if (reader.open() == 0) {
    rows = write_rows([&](AttrRecord& r) { return reader.read_record(r); }, layout, table,
                      out.get(), attribute_records);
  }
  std::rewind(out.get());
  int result = DBF_Write_Header(out.get(), rows, table.dbf_fields());
  out.reset();

  LOG_LINE(SDTS_Message("Wrote %d attribute records to file %s\n", attribute_records,
                        table_path.c_str()));
  const std::string stem = corvane::paths::stem_to_first_dot(path);
  const std::string module_name = layout.module_name.empty()
                                      ? stem.substr(std::min<std::size_t>(4, stem.size()))
                                      : layout.module_name;
  SDTS_Remember_Attribute_Table(module_name, table_path);
  result |= table.make_field_name_look_up_table(table_path);
  return result == 0 ? 0 : 1;
}

}  // namespace

int SDTS_Write_DBF_File(const char* file) {
  TRACE_BEGIN(kRoutine);
  const int result = write_dbf_file(file);
  TRACE_EXIT(kRoutine, result);
  return result;
}

}  // namespace corvane::sdts

#include "sdts/attributes/attr_table.h"

#include <algorithm>
#include <set>

#include "formats/c_file.h"
#include "platform/paths.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

using corvane::formats::CFile;
using corvane::formats::DBFFieldDef;
using corvane::formats::open_c_file;

namespace {

// `name` with "_<n>" appended, cut so that the result is at most `limit` characters.
std::string with_suffix(const std::string& name, int n, std::size_t limit) {
  const std::string suffix = "_" + std::to_string(n);
  return name.substr(0, limit > suffix.size() ? limit - suffix.size() : 0) + suffix;
}

std::uint8_t byte_width(std::int32_t width) {
  return static_cast<std::uint8_t>(std::clamp<std::int32_t>(width, 1, SDTSAttrTable::kMaxWidth));
}

}  // namespace

char SDTSAttrField::type() const {
  if (format.empty()) return 'C';
  switch (format[0]) {
    case 'I':
    case 'R':
      return 'N';
    case 'B':
      return is_binary_int() ? 'N' : 'C';
    default:
      return 'C';
  }
}

bool SDTSAttrField::is_binary_int() const { return format == "B(32)"; }

SDTSAttrTable::SDTSAttrTable(std::string base_path) : m_base_path(std::move(base_path)) {}

std::string SDTSAttrTable::insert_field(SDTSAttrField field) {
  if (field.is_binary_int()) field.width = std::max(field.width, kBinaryIntWidth);
  const std::string wanted = field.name;
  for (int n = 2; m_fields.count(field.name) != 0; ++n)
    field.name = wanted + "_" + std::to_string(n);
  std::string name = field.name;
  m_fields.emplace(name, std::move(field));
  return name;
}

void SDTSAttrTable::widen(std::int32_t position, std::int32_t width, std::int32_t decimals) {
  for (auto& [name, field] : m_fields) {
    if (field.position != position) continue;
    field.width = std::max(field.width, width);
    field.decimals = std::max(field.decimals, decimals);
  }
}

std::vector<std::string> SDTS_Unique_DBF_Names(const std::vector<std::string>& full_names) {
  constexpr std::size_t kLimit = 10;
  std::vector<std::string> names;
  std::set<std::string> taken;
  for (const std::string& full : full_names) {
    std::string name = full.substr(0, kLimit);
    for (int n = 2; taken.count(name) != 0; ++n) name = with_suffix(full, n, kLimit);
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}

int SDTSAttrTable::make_dbf_structure() {
  const std::size_t count = m_fields.size();
  m_columns.assign(count, nullptr);
  for (const auto& [name, field] : m_fields) {
    if (field.position < 0 || static_cast<std::size_t>(field.position) >= count ||
        m_columns[field.position] != nullptr) {
      TRACE_ERROR("SDTSAttrTable::make_dbf_structure", "ERROR: make_dbf_structure", m_base_path);
      m_columns.clear();
      return 1;
    }
    m_columns[field.position] = &field;
  }
  std::vector<std::string> full_names;
  for (const SDTSAttrField* column : m_columns) full_names.push_back(column->name);
  m_dbf_names = SDTS_Unique_DBF_Names(full_names);

  m_dbf_fields.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const SDTSAttrField& column = *m_columns[i];
    const std::uint8_t width = byte_width(column.width);
    // dBase keeps at most 15 decimals, and a value with decimals needs a digit and a point.
    const std::int32_t max_decimals = std::max(0, std::min(15, width - 2));
    const auto decimals = static_cast<std::uint8_t>(
        column.type() == 'N' ? std::clamp<std::int32_t>(column.decimals, 0, max_decimals) : 0);
    m_dbf_fields.push_back({m_dbf_names[i].c_str(), column.type(), width, decimals});
  }
  m_dbf_fields.push_back({nullptr, 0, 0, 0});
  return 0;
}

int SDTSAttrTable::make_field_name_look_up_table(const std::string& table_path) {
  std::size_t max_len = 1;
  for (const SDTSAttrField* column : m_columns) max_len = std::max(max_len, column->name.size());
  const auto alias_width = byte_width(static_cast<std::int32_t>(max_len));
  const DBFFieldDef fields[] = {
      {"Alias", 'C', alias_width, 0}, {"Field_Name", 'C', 10, 0}, {nullptr, 0, 0, 0}};

  const std::string directory = corvane::paths::directory_part(table_path);
  const std::string stem = corvane::paths::stem_to_first_dot(table_path);
  const std::string name = directory.empty() ? stem + "(Name).dbf"
                                             : corvane::paths::join(directory, stem + "(Name).dbf");
  LOG_LINE(SDTS_Message("Wrote full names for fields in file %s to dbf file %s\n",
                        (directory.empty() ? stem : corvane::paths::join(directory, stem)).c_str(),
                        name.c_str()));
  CFile file = open_c_file(name, "wb");
  if (!file) {
    TRACE_ERROR("SDTSAttrTable::make_field_name_look_up_table", "*** Open file failed ***", name);
    return 1;
  }
  using corvane::formats::DBF_Write_Field_Headers;
  using corvane::formats::DBF_Write_Header;
  int result =
      DBF_Write_Header(file.get(), 0, fields) | DBF_Write_Field_Headers(file.get(), fields);
  for (std::size_t i = 0; i < m_columns.size(); ++i) {
    std::string alias = m_columns[i]->name.substr(0, alias_width);
    alias.resize(alias_width, ' ');
    std::string field_name = m_dbf_names[i];
    field_name.resize(10, ' ');
    const std::string row = " " + alias + field_name;
    if (std::fwrite(row.data(), 1, row.size(), file.get()) != row.size()) result = 1;
  }
  std::rewind(file.get());
  result |= DBF_Write_Header(file.get(), static_cast<std::uint32_t>(m_columns.size()), fields);
  return result == 0 ? 0 : 1;
}

}  // namespace corvane::sdts

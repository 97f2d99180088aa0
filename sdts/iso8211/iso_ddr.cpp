#include "sdts/iso8211/iso_ddr.h"

#include <set>

#include "sdts/iso8211/iso_directory.h"
#include "sdts/iso8211/iso_limits.h"
#include "sdts/iso8211/iso_stream_io.h"
#include "sdts/iso8211/iso_text.h"

namespace corvane::iso8211 {

namespace {

std::optional<std::string> element(const std::vector<std::optional<std::string>>& elements,
                                   std::size_t i) {
  return i < elements.size() ? elements[i] : std::nullopt;
}

std::string without_trailing_terminators(std::string text) {
  while (!text.empty() &&
         (text.back() == ISO_FIELD_TERMINATOR || text.back() == ISO_UNIT_TERMINATOR))
    text.pop_back();
  return text;
}

bool parse_file_control(const IsoFileState& file, std::string_view body, IsoFileControl& control) {
  const auto elements = Iso_Split_Elements(body);
  control.file_title = element(elements, 0);
  if (control.file_title && control.file_title->empty()) control.file_title.reset();
  const std::string pairs = element(elements, 1).value_or("");
  const std::size_t tag_size = static_cast<std::size_t>(file.ddr_leader.size_of_field_tag);
  for (std::size_t i = 0; i + 2 * tag_size <= pairs.size(); i += 2 * tag_size)
    control.tag_pairs.emplace_back(pairs.substr(i, tag_size), pairs.substr(i + tag_size, tag_size));
  return true;
}

bool only_digits_and_commas(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789,") == std::string::npos;
}

bool parse_array_descriptor(const std::string& text, IsoFieldDescription& d) {
  d.array_descriptor_text = text;
  if (d.structure_code() == '2' && only_digits_and_commas(text)) {
    std::vector<std::int32_t> numbers;
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = text.find(',', start);
      numbers.push_back(Iso_Decimal(std::string_view(text).substr(start, comma - start)));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    if (numbers[0] < 2) return false;
    d.number_of_dimensions = numbers[0];
    d.dimension_extents.assign(numbers.begin() + 1, numbers.end());
    d.first_extent = d.dimension_extents.empty() ? 0 : d.dimension_extents[0];
    return true;
  }
  d.labels = Iso_Parse_Labels(text);
  return true;
}

bool parse_format_controls(const std::string& text, IsoFieldDescription& d) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return true;
  d.format_controls_text = text.substr(start);
  IsoFormatNode root;
  if (!Iso_Parse_Formats(std::string_view(text).substr(start), root)) return false;
  d.formats = std::move(root);
  return true;
}

bool parse_field_text(IsoFileState& file, IsoFieldDescription& d, const std::string& text) {
  const bool level_1 = file.ddr_leader.interchange_level == 1;
  const std::size_t control_length = static_cast<std::size_t>(file.ddr_leader.field_control_length);
  const bool numeric = Iso_Is_Numeric_Tag(d.tag);
  if (numeric && Iso_Decimal(d.tag) == 2) {
    file.file_control.augmented_description = text;
    return true;
  }
  if (level_1 && !(numeric && Iso_Decimal(d.tag) == 0)) {
    d.field_name = without_trailing_terminators(text);
    return true;
  }
  if (text.size() < control_length) return false;
  d.field_controls = text.substr(0, control_length);
  const std::string_view rest = std::string_view(text).substr(control_length);
  if (numeric && Iso_Decimal(d.tag) == 0) return parse_file_control(file, rest, file.file_control);

  const auto elements = Iso_Split_Elements(rest);
  std::optional<std::string> descriptor, formats;
  if (d.structure_code() == '0') {
    if (rest.size() < 2) return true;
    formats = element(elements, 1);
  } else {
    descriptor = element(elements, 1);
    formats = element(elements, 2);
  }
  d.field_name = element(elements, 0).value_or("");
  if (descriptor && !parse_array_descriptor(*descriptor, d)) return false;
  return !formats || parse_format_controls(*formats, d);
}

// Control tags (numeric 0 to 9) come first, in ascending order, "0001" among them; no tag twice.
bool control_tags_in_order(const std::vector<IsoFieldDescription>& descriptions) {
  std::set<std::string> seen;
  bool other_seen = false, has_record_identifier = false;
  std::int32_t last_control = -1;
  for (const auto& d : descriptions) {
    if (!seen.insert(d.tag).second) return false;
    const std::int32_t value = Iso_Is_Numeric_Tag(d.tag) ? Iso_Decimal(d.tag) : -1;
    if (value < 0 || value > 9) {
      other_seen = true;
      continue;
    }
    if (other_seen || value <= last_control) return false;
    last_control = value;
    has_record_identifier = has_record_identifier || value == 1;
  }
  return has_record_identifier;
}

}  // namespace

bool Iso_Parse_DDR(IsoFileState& file) {
  file.ddr_parsed = false;
  file.field_descriptions.clear();
  file.last_directory_bytes.clear();  // its entries point to the descriptions cleared here
  file.file_control = IsoFileControl{};
  std::string bytes;
  if (!Iso_Seek(file, 0) || !Iso_Read_Exact(file, 24, bytes) ||
      !Iso_Parse_DDR_Leader(bytes, file.ddr_leader))
    return false;
  std::vector<IsoDirectoryEntry> directory;
  if (!Iso_Read_Directory(file, file.ddr_leader, directory)) return false;
  for (const auto& entry : directory) {
    IsoFieldDescription d;
    d.tag = entry.tag;
    d.field_length = entry.field_length;
    d.field_position = entry.field_position;
    if (!Iso_Read_Exact(file, entry.field_length, bytes) || !parse_field_text(file, d, bytes))
      return false;
    file.field_descriptions.push_back(std::move(d));
  }
  if (file.ddr_leader.interchange_level < 3 && !control_tags_in_order(file.field_descriptions))
    return false;
  // Laid out only now: the sequences point into the descriptions' format trees.
  for (auto& d : file.field_descriptions)
    if (d.formats) d.format_sequence = Iso_Lay_Out_Formats(*d.formats);

  file.ddr_length = file.ddr_leader.record_length;
  if (file.ddr_length == 0 && !directory.empty())
    file.ddr_length = std::int64_t{file.ddr_leader.base_address} + directory.back().field_position +
                      directory.back().field_length;
  file.ddr_parsed = true;
  return Iso_Seek(file, file.ddr_length);
}

const IsoFieldDescription* Iso_Find_Description(const IsoFileState& file, std::string_view tag,
                                                std::size_t from, std::size_t* index) {
  for (std::size_t i = from; i < file.field_descriptions.size(); ++i) {
    if (file.field_descriptions[i].tag == tag) {
      if (index) *index = i;
      return &file.field_descriptions[i];
    }
  }
  return nullptr;
}

}  // namespace corvane::iso8211

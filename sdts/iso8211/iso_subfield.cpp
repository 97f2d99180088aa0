// Handing out the data records subfield by subfield, and describing the subfield just read.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "sdts/iso8211/iso8211.h"
#include "sdts/iso8211/iso_ddr.h"
#include "sdts/iso8211/iso_record_reader.h"
#include "sdts/iso8211/iso_registry.h"
#include "sdts/iso8211/iso_stream_io.h"

namespace corvane::iso8211 {

namespace {

// Copies `text` with a terminating zero; refuses what does not fit.
bool copy_out(std::string_view text, char* out, int out_size) {
  if (out == nullptr || out_size < 1 || text.size() + 1 > static_cast<std::size_t>(out_size))
    return false;
  if (!text.empty()) std::memcpy(out, text.data(), text.size());  // an empty view may hold no data
  out[text.size()] = '\0';
  return true;
}

// Enters the record's next field, reading the next record when this one is used up.
bool enter_next_field(IsoFileState& file, int& status) {
  file.step = 1;
  if (!file.have_record || file.current_field + 1 >= file.record_fields.size()) {
    if (!Iso_Read_Data_Record(file)) {
      status = Iso_At_End(file) ? ISO_STATUS_END_OF_FILE : ISO_STATUS_FAILED;
      return false;
    }
    status = ISO_STATUS_START_OF_RECORD;
    file.current_field = 0;
  } else {
    ++file.current_field;
  }
  file.current_description = file.record_fields[file.current_field].description;
  file.next_value = 0;
  file.next_extent = 0;
  file.current_format = nullptr;
  return file.current_description != nullptr;
}

// The label of the value just delivered, the `index`-th of its field.
bool copy_label(const IsoLabels& labels, std::size_t index, char* out, int out_size) {
  if (!labels.cycle.empty())
    return copy_out(labels.cycle[index % labels.cycle.size()], out, out_size);
  return copy_out(Iso_Label_Text(labels, index), out, out_size);
}

// The status of the field's last value, and the field is used up.
void end_field(IsoFileState& file, int& status) {
  if (file.current_field + 1 == file.record_fields.size())
    status = Iso_Peek_End(file) ? ISO_STATUS_END_OF_FILE : ISO_STATUS_END_OF_RECORD;
  else if (status != ISO_STATUS_START_OF_RECORD)
    status = ISO_STATUS_END_OF_FIELD;
  file.step = 4;
}

std::size_t longest_value(int max_length) {
  return static_cast<std::size_t>(std::max(max_length, 0));
}

// Runs hand out a field's values with their labels from the description's cycle; fields with
// dimensions, or with labels too many to keep, go value by value.
bool handed_out_by_runs(const IsoDataField& field) {
  if (field.description == nullptr || field.number_of_dimensions > 0) return false;
  return !field.description->labels || !field.description->labels->cycle.empty();
}

// What a value without a label or a format hands out for them.
const std::string kNoText;

// Takes up to `max_values` of the current field's values from the next one on, stopping
// before a value longer than `longest`; the first gets `first_status` unless it ends the
// field. `status` becomes the last one's. Returns how many were taken.
int take_values(IsoFileState& file, IsoValueRef* values, int max_values, std::size_t longest,
                int first_status, int& status) {
  if (max_values <= 0) return 0;
  const IsoDataField& field = file.record_fields[file.current_field];
  const auto& labels = field.description->labels;
  const std::size_t cycle = labels ? labels->cycle.size() : 0;
  const std::string* const label_texts = cycle > 0 ? labels->cycle.data() : &kNoText;
  std::size_t label = cycle > 0 ? file.next_value % cycle : 0;
  std::size_t next = file.next_value;
  const std::size_t end =
      std::min(field.values.size(), next + static_cast<std::size_t>(max_values));
  const char* const tag = field.tag.c_str();
  int taken = 0;
  for (; next < end; ++taken, ++next) {
    const IsoValue& v = field.values[next];
    const std::string_view bytes = file.value_store.text(v);
    if (bytes.size() > longest) break;
    const std::string& label_text = label_texts[label];
    const std::string& format_text = v.format != nullptr ? v.format->describe() : kNoText;
    values[taken] = {bytes.empty() ? "" : bytes.data(),
                     static_cast<int>(bytes.size()),
                     label_text.c_str(),
                     format_text.c_str(),
                     tag,
                     ISO_STATUS_OK,
                     static_cast<int>(label_text.size()),
                     static_cast<int>(format_text.size())};
    if (cycle > 0 && ++label == cycle) label = 0;
  }
  if (taken == 0) return 0;
  values[0].status = first_status;
  file.current_format = field.values[next - 1].format;
  file.next_value = next;
  status = values[taken - 1].status;
  if (next == field.values.size()) {
    end_field(file, status);
    values[taken - 1].status = status;
  }
  return taken;
}

// Delivers the dimensions read from a field's data: the count, then each extent. False when
// they are all delivered.
bool deliver_dimension(IsoFileState& file, const IsoDataField& field, std::string& value,
                       int& status) {
  if (file.step == 1) {
    value = std::to_string(field.number_of_dimensions);
    if (status != ISO_STATUS_START_OF_RECORD) status = ISO_STATUS_START_OF_FIELD;
    file.step = 2;
    return true;
  }
  if (file.next_extent < field.dimension_extents.size()) {
    value = std::to_string(field.dimension_extents[file.next_extent++]);
    return true;
  }
  file.step = 3;
  return false;
}

}  // namespace

int ISO_Read_Subfield(std::FILE* stream, char* tag, char* leader_id, char* value, int value_size,
                      int* length, int* status) {
  *status = ISO_STATUS_FAILED;
  IsoFileState* file = Iso_Find_File(stream);
  if (file == nullptr) return 0;
  if (value != nullptr && value_size > 0) value[0] = '\0';
  *length = 0;
  *status = ISO_STATUS_OK;
  if (!file->ddr_parsed && !Iso_Parse_DDR(*file)) {
    *status = Iso_At_End(*file) ? ISO_STATUS_END_OF_FILE : ISO_STATUS_FAILED;
    return 0;
  }
  if ((file->step == 0 || file->step == 4) && !enter_next_field(*file, *status)) return 0;

  const IsoDataField& field = file->record_fields[file->current_field];
  if (!copy_out(field.tag, tag, ISO_TAG_BUFFER_SIZE)) return 0;
  *leader_id = file->record_leader.leader_identifier;

  std::string text;
  if (field.number_of_dimensions > 0 && file->step <= 2 &&
      deliver_dimension(*file, field, text, *status)) {
    if (!copy_out(text, value, value_size)) return 0;
    *length = static_cast<int>(text.size());
    return 1;
  }
  if (file->step != 3) {
    file->step = 3;
    if (*status != ISO_STATUS_START_OF_RECORD) *status = ISO_STATUS_START_OF_FIELD;
  }

  if (file->next_value >= field.values.size()) {
    *status = ISO_STATUS_FAILED;
    return 0;
  }
  const IsoValue& v = field.values[file->next_value++];
  file->current_format = v.format;
  const std::string_view bytes = file->value_store.text(v);
  if (!copy_out(bytes, value, value_size)) {
    *status = ISO_STATUS_FAILED;
    return 0;
  }
  *length = static_cast<int>(bytes.size());

  if (file->next_value == field.values.size()) end_field(*file, *status);
  return 1;
}

int ISO_Read_Record_Values(std::FILE* stream, IsoValueRef* values, int max_values, int max_length,
                           int* count, int* status) {
  *count = 0;
  IsoFileState* file = Iso_Find_File(stream);
  if (file == nullptr) return 0;
  const std::size_t longest = longest_value(max_length);
  if (file->step == 3 && handed_out_by_runs(file->record_fields[file->current_field]))
    *count = take_values(*file, values, max_values, longest, ISO_STATUS_OK, *status);
  // Each later field of the record, while the one before was used up.
  while (file->step == 4 && *count < max_values &&
         file->current_field + 1 < file->record_fields.size()) {
    const IsoDataField& next = file->record_fields[file->current_field + 1];
    if (!handed_out_by_runs(next) || next.values.empty() ||
        file->value_store.text(next.values[0]).size() > longest)
      break;
    ++file->current_field;
    file->current_description = next.description;
    file->next_value = 0;
    file->next_extent = 0;
    file->step = 3;
    *count += take_values(*file, values + *count, max_values - *count, longest,
                          ISO_STATUS_START_OF_FIELD, *status);
  }
  return 1;
}

int ISO_Check_Subfield(std::FILE* stream, const char* tag, char* label, int label_size,
                       char* format, int format_size) {
  IsoFileState* file = Iso_Find_File(stream);
  if (file == nullptr || tag == nullptr) return 0;
  // Callers nearly always name the field just read, whose description is at hand.
  const bool current = file->current_description != nullptr &&
                       std::strcmp(file->current_description->tag.c_str(), tag) == 0;
  if (!current && Iso_Find_Description(*file, tag) == nullptr) return 0;
  if (!copy_out("", label, label_size) || !copy_out("", format, format_size)) return 0;
  if (file->step == 2) {
    const char* what = file->next_extent == 0 ? "NUMBER OF DIMENSIONS" : "DIMENSION LENGTH";
    return copy_out(what, label, label_size) && copy_out("I", format, format_size) ? 1 : 0;
  }
  if (file->current_description == nullptr) return 1;
  if (file->current_format != nullptr &&
      !copy_out(file->current_format->describe(), format, format_size))
    return 0;
  // The label belongs to a value: none before the field's first value is delivered.
  if (file->current_description->labels && file->step >= 3 && file->next_value > 0 &&
      !copy_label(*file->current_description->labels, file->next_value - 1, label, label_size))
    return 0;
  return 1;
}

}  // namespace corvane::iso8211

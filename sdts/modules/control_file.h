// What the control modules' readers share. They fill plain records subfield by subfield: a
// table per record type says which label goes into which member, so each reader states only
// what is its own.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sdts/modules/sdts_file.h"
#include "sdts/run/control_records.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

// One labelled subfield: kept as text, or as a number read the way atol reads it. A text may
// also be shown in a field of the progress window and logged after a heading.
template <typename Record>
struct RecordField {
  std::string_view label;
  std::string Record::*text = nullptr;
  int Record::*number = nullptr;
  void (ProgressDialog::*shown)(const std::string& text) = nullptr;
  const char* logged = nullptr;
};

// Keeps the subfield `module` just read in `record` when `fields` names its label.
template <typename Record>
bool SDTS_Take_Field(const SDTSFile& module, std::span<const RecordField<Record>> fields,
                     Record& record) {
  for (const RecordField<Record>& field : fields) {
    if (module.label() != field.label) continue;
    if (field.number != nullptr) {
      record.*field.number = static_cast<int>(module.value_long());
    } else {
      record.*field.text = module.value_text();
      if (field.shown != nullptr) (g_progress->*field.shown)(record.*field.text);
      if (field.logged != nullptr) LOG_LINE(std::string(field.logged) + record.*field.text + "\n");
    }
    return true;
  }
  return false;
}

// Reads `module` whole, traced as `routine`: the subfields of field `tag` fill a record as
// `fields` say, every other subfield goes to `other`, and each record's end keeps a copy.
// The record is not cleared between records: one lacking a subfield keeps the value before.
template <typename Record>
void SDTS_Read_Records(SDTSFile& module, const char* routine, std::string_view tag,
                       std::span<const RecordField<Record>> fields, std::vector<Record>& records,
                       const std::function<void(Record&)>& other = nullptr) {
  TRACE_BEGIN(routine);
  Record work;
  const int result = module.read_module(
      [&] {
        if (module.tag() == tag && SDTS_Take_Field(module, fields, work)) return;
        if (other) other(work);
      },
      [&] { records.push_back(work); });
  TRACE_EXIT(routine, result);
}

// A document file line: a heading followed by a member's text.
template <typename Record>
struct DocumentLine {
  const char* heading;
  std::string Record::*text;
};

template <typename Record>
void SDTS_Write_Document_Lines(const Record& record, std::span<const DocumentLine<Record>> lines) {
  for (const DocumentLine<Record>& line : lines) DOC_LINE(line.heading + record.*line.text);
}

// A reader of a control module whose records are kept whole: return_records reads the module,
// write_document puts the first record's lines into the document file. Each record type
// defines both in the file of its module (identification, spatial_reference).
template <typename Record>
class SDTSControlFile : public SDTSFile {
 public:
  using SDTSFile::SDTSFile;
  const std::vector<Record>& return_records();
  int write_document() const;

 private:
  std::vector<Record> m_records;
};

template <>
const std::vector<IdenRecord>& SDTSControlFile<IdenRecord>::return_records();
template <>
int SDTSControlFile<IdenRecord>::write_document() const;
template <>
const std::vector<XrefRecord>& SDTSControlFile<XrefRecord>::return_records();
template <>
int SDTSControlFile<XrefRecord>::write_document() const;
template <>
const std::vector<SpdmRecord>& SDTSControlFile<SpdmRecord>::return_records();
template <>
int SDTSControlFile<SpdmRecord>::write_document() const;

}  // namespace corvane::sdts

// The element sections of a DLG-3 file, node records, then area records, then line records,
// each read against the count the header states. A section ends where records of a later
// section begin or the file ends; a record that opens no element of the section where one
// should begin is a damaged element, skipped with its continuation records.
#pragma once

#include <vector>

#include "dlgopt/dlg_elements.h"
#include "dlgopt/dlg_record_reader.h"
#include "dlgopt/section_account.h"

namespace corvane::dlgopt {

class SectionReader {
 public:
  // `reader` stands on the header's last record.
  explicit SectionReader(DlgRecordReader& reader);

  // Each reads its section into `elements` and accounts for it in `account`.
  void read_nodes(SectionAccount& account, std::vector<DlgNode>& elements);
  void read_areas(SectionAccount& account, std::vector<DlgArea>& elements);
  void read_lines(SectionAccount& account, std::vector<DlgLine>& elements);

  // After the line section: how many records remain that are not blank (they belong to no
  // section), a record the file ends inside counted too.
  long leftover_records();

 private:
  template <typename Element, typename Read>
  void read(SectionAccount& account, char type, std::vector<Element>& elements, Read read);
  // Why a section that read `number` elements ended early at the end of the file.
  std::string file_end(const SectionAccount& account, int number);

  DlgRecordReader& reader_;
  bool end_told_ = false;  // a section has said where the file ends
};

}  // namespace corvane::dlgopt

#include "dlgopt/dlg_sections.h"

#include <string>
#include <string_view>

#include "dlgopt/dlg_field.h"

namespace corvane::dlgopt {

namespace {

// The record types of the sections in the order of the file, and their elements' names.
constexpr std::string_view kSectionTypes = "NAL";
constexpr const char* kElementNames[] = {"node", "area", "line"};

bool blank_record(const std::string& record) {
  return record.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

SectionReader::SectionReader(DlgRecordReader& reader) : reader_(reader) { reader_.next(); }

template <typename Element, typename Read>
void SectionReader::read(SectionAccount& account, char type, std::vector<Element>& elements,
                         Read read) {
  const std::string_view later = kSectionTypes.substr(kSectionTypes.find(type) + 1);
  const std::string element = account.element();
  elements.reserve(bounded_count(account.stated(), reader_, 1));
  int number = 0;
  while (reader_.has_record()) {
    const char first = reader_.record()[0];
    if (first == type) {
      ++number;
      const ElementRead outcome = read(reader_, number, elements.emplace_back());
      if (outcome.result == ElementRead::kRead) continue;
      elements.pop_back();
      if (outcome.result == ElementRead::kCut) {
        end_told_ = true;
        account.ended("the file ends inside " + element + " " + std::to_string(number));
        account.converted(static_cast<int>(elements.size()));
        return;
      }
      account.skipped(number, "is damaged (" + outcome.reason + ") and was skipped");
      continue;
    }
    if (const std::size_t next = later.find(first); next != std::string_view::npos) {
      if (number < account.stated()) {
        const std::size_t section = kSectionTypes.find(later[next]);
        account.ended(std::string(kElementNames[section]) + " records begin " +
                      (number == 0 ? "where the first " + element + " belongs"
                                   : "after " + element + " " + std::to_string(number)));
      }
      break;
    }
    // What follows the stated elements and opens none of them belongs to what comes next.
    if (number >= account.stated()) break;
    ++number;
    account.skipped(number, "is damaged (its record begins with " +
                                Quoted(reader_.record().substr(0, 1)) + ", not \"" + type +
                                "\") and was skipped");
    SkipToElementRecord(reader_);
  }
  if (!reader_.has_record() && number < account.stated()) account.ended(file_end(account, number));
  account.converted(static_cast<int>(elements.size()));
}

std::string SectionReader::file_end(const SectionAccount& account, int number) {
  const bool inside = reader_.ended_inside_record() && !end_told_;
  end_told_ = true;
  const std::string element = account.element();
  if (inside) return "the file ends inside " + element + " " + std::to_string(number + 1);
  return number == 0 ? "the file ends before the first " + element
                     : "the file ends after " + element + " " + std::to_string(number);
}

void SectionReader::read_nodes(SectionAccount& account, std::vector<DlgNode>& elements) {
  read(account, 'N', elements, ReadNodeRecord);
}

void SectionReader::read_areas(SectionAccount& account, std::vector<DlgArea>& elements) {
  read(account, 'A', elements, ReadAreaRecord);
}

void SectionReader::read_lines(SectionAccount& account, std::vector<DlgLine>& elements) {
  read(account, 'L', elements, ReadLineRecord);
}

long SectionReader::leftover_records() {
  long records = 0;
  for (; reader_.has_record(); reader_.next()) {
    if (!blank_record(reader_.record())) ++records;
  }
  return records + (reader_.ended_inside_record() && !end_told_ ? 1 : 0);
}

}  // namespace corvane::dlgopt

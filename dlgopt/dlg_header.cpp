#include "dlgopt/dlg_header.h"

#include <algorithm>
#include <span>
#include <string>

#include "dlgopt/dlg_field.h"

namespace corvane::dlgopt {

namespace {

constexpr int kScale2M = 2000000;
constexpr int kUtm = 1;
constexpr int kMeters = 2;
constexpr int kParameterRecords = 6;  // records 5 to 10

// The log lines of the datum codes, by code.
constexpr const char* kHorizontalDatumLines[] = {
    "DLG horizontal datum NAD 27\n", "DLG horizontal datum NAD 83\n",
    "DLG horizontal datum Puerto Rico\n", "DLG horizontal datum Old Hawaiian\n",
    "DLG horizontal datum Local (Astro)\n"};
constexpr const char* kVerticalDatumLines[] = {"DLG vertical datum NGVD 29\n",
                                               "DLG vertical datum NAVD 88\n",
                                               "DLG vertical datum Local Mean Sea Level\n"};

const char* datum_line(std::span<const char* const> lines, int code, const char* unknown) {
  return code >= 0 && static_cast<std::size_t>(code) < lines.size()
             ? lines[static_cast<std::size_t>(code)]
             : unknown;
}

constexpr NamedField kRecord4Integers[] = {{1, 6, "DLG level"},
                                           {7, 6, "reference system code"},
                                           {13, 6, "zone"},
                                           {19, 6, "units code"},
                                           {43, 6, "number of transformation parameters"},
                                           {49, 6, "number of accuracy records"},
                                           {55, 6, "number of control points"},
                                           {61, 6, "number of categories", true},
                                           {67, 3, "horizontal datum code"},
                                           {70, 3, "vertical datum code"}};
constexpr NamedField kResolution = {25, 18, "resolution"};
constexpr NamedField kCategoryName = {1, 20, "category name"};
constexpr NamedField kCategoryIntegers[] = {
    {21, 4, "attribute format code"}, {25, 6, "largest node id"},
    {31, 6, "number of nodes", true}, {41, 6, "largest area id"},
    {47, 6, "number of areas", true}, {57, 6, "largest line id"},
    {63, 6, "number of lines", true}, {69, 4, "coordinate list flag"}};

bool printable(char c) { return c >= ' ' && c <= '~'; }

// "header record 4: number of categories in columns 61-66 reads "  X   "".
std::string field_fault(const std::string& where, const std::string& record,
                        const NamedField& field) {
  return where + ": " + DescribeField(record, field);
}

// The reading of one header: each step either goes on or keeps the reason the records are no
// DLG-3 optional header.
class HeaderReading {
 public:
  HeaderReading(DlgRecordReader& reader, DlgHeader& header) : reader_(reader), header_(header) {}

  std::string read() {
    for (std::size_t k = 0; k < 4; ++k) {
      if (!next(header_.records[k])) return fault_;
    }
    const std::string& record2 = header_.records[1];
    header_.place = CopyField(record2, 0, 40);
    header_.dates = CopyField(record2, 41, 10);
    ParseField(record2, 52, 8, header_.scale);
    if (!record4()) return fault_;
    for (int k = 0; k < kParameterRecords; ++k) {
      if (!next(header_.records[static_cast<std::size_t>(4 + k)])) return fault_;
    }
    // Control points (label and four reals) are not used by the conversion.
    std::string record;
    for (int k = 0; k < header_.control_points; ++k) {
      if (!next(record)) return fault_;
    }
    for (int k = 1; k <= header_.categories; ++k) {
      if (!next(record) || !category(record, k)) return fault_;
    }
    return {};
  }

  int plausible() const { return plausible_; }

 private:
  // The next record; a file that ends first, or a record (other than the free-text banner)
  // holding more than blanks beyond column 80, ends the reading.
  bool next(std::string& record) {
    const int number = plausible_ + 1;
    if (!reader_.next()) {
      fault_ = number == 1
                   ? "it is shorter than one 80-character record"
                   : "the file ends before header record " + std::to_string(number) + expected();
      return false;
    }
    if (number > 1 && reader_.overlong()) {
      fault_ =
          "header record " + std::to_string(number) + " holds more than blanks beyond column 80";
      return false;
    }
    record = reader_.record();
    ++plausible_;
    return true;
  }

  // " (the header has 16 records)" once record 4 told how many there are.
  std::string expected() const {
    if (plausible_ < 4) return "";
    return " (the header has " + std::to_string(10L + header_.control_points + header_.categories) +
           " records)";
  }

  bool record4() {
    const std::string& record = header_.records[3];
    int values[std::size(kRecord4Integers)] = {};
    for (std::size_t k = 0; k < std::size(kRecord4Integers); ++k) {
      if (!ParseField(record, kRecord4Integers[k], values[k]))
        return refuse(field_fault("header record 4", record, kRecord4Integers[k]));
    }
    double resolution = 0.0;
    if (!ParseField(record, kResolution.column - 1, kResolution.width, resolution))
      return refuse(field_fault("header record 4", record, kResolution));
    header_.reference_system = values[1];
    header_.zone = values[2];
    header_.units = values[3];
    header_.control_points = values[6];
    header_.categories = values[7];
    header_.horizontal_datum = values[8];
    header_.vertical_datum = values[9];
    if (header_.control_points < 0)
      return refuse(field_fault("header record 4", record, kRecord4Integers[6]));
    if (header_.categories < 1) {
      return refuse(field_fault("header record 4", record, kRecord4Integers[7]) +
                    "; a DLG-3 file has at least one category");
    }
    return true;
  }

  bool category(const std::string& record, int k) {
    const std::string where = "header record " + std::to_string(plausible_) + " (category " +
                              std::to_string(k) + " of " + std::to_string(header_.categories) + ")";
    const std::string name = CopyField(record, 0, 20);
    if (name.find_first_not_of(' ') == std::string::npos ||
        !std::all_of(name.begin(), name.end(), printable)) {
      return refuse(field_fault(where, record, kCategoryName));
    }
    int values[std::size(kCategoryIntegers)] = {};
    for (std::size_t f = 0; f < std::size(kCategoryIntegers); ++f) {
      if (!ParseField(record, kCategoryIntegers[f], values[f]) || values[f] < 0)
        return refuse(field_fault(where, record, kCategoryIntegers[f]));
    }
    header_.category_records.push_back({name, values[2], values[4], values[6]});
    return true;
  }

  // The record just read is not plausible after all.
  bool refuse(std::string fault) {
    --plausible_;
    fault_ = std::move(fault);
    return false;
  }

  DlgRecordReader& reader_;
  DlgHeader& header_;
  int plausible_ = 0;
  std::string fault_;
};

void show_reference_system(const DlgHeader& header, OptProgressDialog& dialog) {
  if (header.reference_system == kUtm) {
    g_opt_log.printf("DLG reference system is UTM\n");
    g_opt_log.printf("UTM zone is %d\n", header.zone);
    dialog.projection = "UTM Zone " + std::to_string(header.zone);
  } else {
    g_opt_log.printf("DLG reference system is Area Conic\n");
    dialog.projection = "Area Conic";
  }
  if (header.units == kMeters) {
    g_opt_log.printf("DLG units are meters\n");
    dialog.units = "Meters";
  } else {
    g_opt_log.printf("DLG units are unknown\n");
    dialog.units = "Unknown";
  }
  // Only the 1:2,000,000 files are known to fill the datum fields.
  if (header.scale == kScale2M) {
    g_opt_log.printf("%s", datum_line(kHorizontalDatumLines, header.horizontal_datum,
                                      "DLG horizontal datum is unknown\n"));
    g_opt_log.printf("%s", datum_line(kVerticalDatumLines, header.vertical_datum,
                                      "DLG vertical datum is unknown\n"));
  }
}

}  // namespace

std::string ReadDlgHeader(DlgRecordReader& reader, DlgHeader& header, int& plausible) {
  header = DlgHeader{};
  HeaderReading reading(reader, header);
  std::string fault = reading.read();
  plausible = reading.plausible();
  return fault;
}

void ShowDlgHeader(const DlgHeader& header, OptProgressDialog& dialog) {
  dialog.place = header.place;
  dialog.dates = header.dates;
  dialog.scale = "1:" + std::to_string(header.scale);
  dialog.update();
  g_opt_log.printf("Processing DLG for %s\n", header.place.c_str());
  g_opt_log.printf("Dates of source material: %s\n", header.dates.c_str());
  g_opt_log.printf("Scale is 1:%d\n", header.scale);
  show_reference_system(header, dialog);
  dialog.update();
  for (const DlgCategory& category : header.category_records) {
    dialog.category = category.name;
    dialog.nodes = category.nodes;
    dialog.areas = category.areas;
    dialog.lines = category.lines;
    dialog.update();
    g_opt_log.printf("Category is %s\n", dialog.category.c_str());
  }
}

}  // namespace corvane::dlgopt

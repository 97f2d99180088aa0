#include "dlgopt/dlg_header.h"

#include <span>
#include <string>

#include "dlgopt/dlg_field.h"
#include "dlgopt/run_state.h"

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

// The next record; when the file ends first, `failure` is logged and the answer is false.
bool read_or_log(DlgRecordReader& reader, std::string& record, const char* failure) {
  if (reader.read(record)) return true;
  g_opt_log.printf("%s", failure);
  return false;
}

bool read_record(DlgRecordReader& reader, std::string& record, int number) {
  if (reader.read(record)) return true;
  g_opt_log.printf("Cannot read record %d\nQuitting", number);
  return false;
}

void show_reference_system(OptProgressDialog& dialog) {
  const DlgHeader& header = g_opt_header;
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
  if (g_opt_scale == kScale2M) {
    g_opt_log.printf("%s", datum_line(kHorizontalDatumLines, header.horizontal_datum,
                                      "DLG horizontal datum is unknown\n"));
    g_opt_log.printf("%s", datum_line(kVerticalDatumLines, header.vertical_datum,
                                      "DLG vertical datum is unknown\n"));
  }
}

}  // namespace

bool ReadDlgHeader(DlgRecordReader& reader, OptProgressDialog& dialog) {
  DlgHeader& header = g_opt_header;
  if (!read_or_log(reader, header.records[0], "Cannot read banner from DLG file\nQuitting") ||
      !read_or_log(reader, header.records[1], "Cannot read record 2 from DLG file\nQuitting")) {
    return false;
  }
  const std::string& record2 = header.records[1];
  header.place = CopyField(record2, 0, 40);
  header.dates = CopyField(record2, 41, 10);
  ParseField(record2, 52, 8, g_opt_scale);
  dialog.place = header.place;
  dialog.dates = header.dates;
  dialog.scale = "1:" + std::to_string(g_opt_scale);
  dialog.update();
  g_opt_log.printf("Processing DLG for %s\n", header.place.c_str());
  g_opt_log.printf("Dates of source material: %s\n", header.dates.c_str());
  g_opt_log.printf("Scale is 1:%d\n", g_opt_scale);

  if (!read_record(reader, header.records[2], 3) ||
      !read_or_log(reader, header.records[3], "Cannot read record 4")) {
    return false;
  }
  const std::string& record4 = header.records[3];
  ParseField(record4, 6, 6, header.reference_system);
  ParseField(record4, 12, 6, header.zone);
  ParseField(record4, 18, 6, header.units);
  ParseField(record4, 54, 6, header.control_points);
  ParseField(record4, 60, 6, header.categories);
  ParseField(record4, 66, 3, header.horizontal_datum);
  ParseField(record4, 69, 3, header.vertical_datum);
  show_reference_system(dialog);
  dialog.update();

  for (int k = 0; k < kParameterRecords; ++k) {
    if (!read_record(reader, header.records[static_cast<std::size_t>(4 + k)], 5 + k)) return false;
  }
  int number = 11;
  std::string record;
  // Control points (label and four reals) are not used by the conversion.
  for (int k = 0; k < header.control_points; ++k, ++number) {
    if (!read_record(reader, record, number)) return false;
  }
  for (int k = 0; k < header.categories; ++k, ++number) {
    if (!read_record(reader, record, number)) return false;
    dialog.category = CopyField(record, 0, 20);
    ParseField(record, 30, 6, g_opt_node_count);
    ParseField(record, 46, 6, g_opt_area_count);
    ParseField(record, 62, 6, g_opt_line_count);
    dialog.nodes = g_opt_node_count;
    dialog.areas = g_opt_area_count;
    dialog.lines = g_opt_line_count;
    dialog.update();
    g_opt_log.printf("Category is %s\n", dialog.category.c_str());
  }
  return true;
}

}  // namespace corvane::dlgopt

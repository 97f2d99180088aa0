#include "dlgopt/name_tables.h"

#include <algorithm>
#include <string>

#include "dlgopt/dbf_row.h"
#include "dlgopt/dlg_field.h"
#include "dlgopt/halving_search.h"
#include "dlgopt/row_table.h"
#include "dlgopt/run_state.h"
#include "formats/c_file.h"

namespace corvane::dlgopt {

using formats::DBFFieldDef;

namespace {

constexpr std::int32_t kAirportMajor = 197;
constexpr std::int32_t kPlaceMajor = 207;

const DBFFieldDef kAirportFields[] = {
    {"AIRPORT", 'C', 4, 0}, {"NAME", 'C', 72, 0}, {"NODE_ID", 'N', 8, 0}, {nullptr, 0, 0, 0}};
const DBFFieldDef kPlaceFields[] = {{"PLACEID", 'C', 5, 0},     {"NAME", 'C', 42, 0},   {"COUNTY", 'C', 3, 0},
                                    {"POPULATION", 'N', 10, 0}, {"NODE_ID", 'N', 8, 0}, {nullptr, 0, 0, 0}};

// The next line of the names file without its line end; false at the end of the file.
bool read_names_line(std::FILE* file, std::string& line) {
  line.clear();
  int c = 0;
  bool any = false;
  while ((c = std::getc(file)) != EOF && c != '\n') {
    any = true;
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any || c == '\n';
}

long find_number(std::span<const NumberedNode> table, std::int32_t number) {
  return halving_search(table, number, [](const NumberedNode& entry) { return std::int64_t{entry.number}; });
}

std::string digits(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::vector<NumberedNode> numbered_nodes(std::span<const DlgLine> lines, std::int32_t major, int wanted) {
  std::vector<NumberedNode> table;
  for (const DlgLine& line : lines) {
    for (const DlgCodePair& pair : line.codes) {
      if (static_cast<int>(table.size()) >= wanted) break;
      if (pair.major == major) table.push_back({pair.minor, line.start_node});
    }
  }
  std::stable_sort(table.begin(), table.end(),
                   [](const NumberedNode& a, const NumberedNode& b) { return a.number < b.number; });
  return table;
}

std::int32_t FindAirportNode(std::span<const NumberedNode> airports, std::int32_t number) {
  const long index = find_number(airports, number);
  return index < 0 ? -1 : airports[static_cast<std::size_t>(index)].node_id;
}

std::int32_t FindPlaceNode(std::span<const NumberedNode> places, std::int32_t number) {
  const long index = find_number(places, number);
  return index < 0 ? -1 : places[static_cast<std::size_t>(index)].node_id;
}

void WriteAirports(std::span<const DlgLine> lines) {
  if (g_opt_airport_count <= 0) return;
  const std::vector<NumberedNode> airports = numbered_nodes(lines, kAirportMajor, g_opt_airport_count);
  if (static_cast<int>(airports.size()) < g_opt_airport_count) g_opt_log.printf("WARNING, not all airports found\n");

  const std::string names_path = g_opt_input_stem + ".txt";
  formats::CFile names = formats::open_c_file(names_path, "r");
  if (!names) {
    g_opt_log.printf("ERROR - cannot open input file %s, no airport names generated\n", names_path.c_str());
    g_opt_status = kOptStatusNamesMissing;
    return;
  }
  RowTable table("air.dbf", kAirportFields);
  if (!table.open()) return;
  std::string line;
  while (read_names_line(names.get(), line)) {
    int number = 0;
    ParseField(line, 0, 5, number);
    DbfRow row;
    row.text(digits("%4d", number), 4)
        .text(CopyField(line, 8, 72), 72)
        .integer(FindAirportNode(airports, number), 8, DbfRow::kRight);
    table.add(row);
  }
  table.finish("No airport records generated\n", "Wrote %d airport records\n");
}

void WritePlaces(std::span<const DlgLine> lines) {
  if (g_opt_place_count <= 0) return;
  const std::vector<NumberedNode> places = numbered_nodes(lines, kPlaceMajor, g_opt_place_count);
  if (static_cast<int>(places.size()) < g_opt_place_count) g_opt_log.printf("WARNING, not all named places found\n");

  const std::string names_path = g_opt_input_stem + ".txt";
  formats::CFile names = formats::open_c_file(names_path, "r");
  if (!names) {
    g_opt_log.printf("ERROR - cannot open input file %s.  No place names generated\n", names_path.c_str());
    g_opt_status = kOptStatusOutputFailed;
    return;
  }
  RowTable table("place.dbf", kPlaceFields);
  if (!table.open()) return;
  std::string line;
  while (read_names_line(names.get(), line)) {
    int number = 0, county = 0, population = 0;
    ParseField(line, 0, 5, number);
    ParseField(line, 52, 3, county);
    const std::string population_text = CopyField(line, 59, 10);
    if (population_text.starts_with('-')) {
      population = -1;
    } else {
      ParseField(population_text, 0, 10, population);
    }
    DbfRow row;
    row.text(digits("%5d", number), 5)
        .text(CopyField(line, 8, 42), 42)
        .text(digits("%03d", county), 3)
        .integer(population, 10, DbfRow::kRight)
        .integer(FindPlaceNode(places, number), 8, DbfRow::kRight);
    table.add(row);
  }
  table.finish("No place records generated\n", "Wrote %d place name records\n");
}

}  // namespace corvane::dlgopt

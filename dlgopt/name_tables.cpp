#include "dlgopt/name_tables.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "dlgopt/dbf_row.h"
#include "dlgopt/dlg_field.h"
#include "dlgopt/halving_search.h"
#include "dlgopt/row_table.h"
#include "dlgopt/run_state.h"
#include "formats/c_file.h"
#include "platform/paths.h"

namespace corvane::dlgopt {

using formats::DBFFieldDef;

namespace {

constexpr std::int32_t kAirportMajor = 197;
constexpr std::int32_t kPlaceMajor = 207;

const DBFFieldDef kAirportFields[] = {
    {"AIRPORT", 'C', 4, 0}, {"NAME", 'C', 72, 0}, {"NODE_ID", 'N', 8, 0}, {nullptr, 0, 0, 0}};
const DBFFieldDef kPlaceFields[] = {{"PLACEID", 'C', 5, 0}, {"NAME", 'C', 42, 0},
                                    {"COUNTY", 'C', 3, 0},  {"POPULATION", 'N', 10, 0},
                                    {"NODE_ID", 'N', 8, 0}, {nullptr, 0, 0, 0}};

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

// The node of `number` in a table sorted by number, or -1.
std::int32_t node_of(std::span<const NumberedNode> table, std::int32_t number) {
  const long index = halving_search(
      table, number, [](const NumberedNode& entry) { return std::int64_t{entry.number}; });
  return index < 0 ? -1 : table[static_cast<std::size_t>(index)].node_id;
}

std::string digits(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// What sets an airport table apart from a place table.
struct NamesTable {
  std::int32_t major;     // the code pairs whose minor code numbers a name
  const char* few_nodes;  // logged when fewer nodes carry the code than the header counts
  const char* title;      // names the table in the line reporting it missing
  const char* suffix;     // of the table's file
  const DBFFieldDef* fields;
  const char* none;   // logged when the table gets no rows
  const char* wrote;  // logged with the count of rows otherwise
};

const NamesTable kAirports = {kAirportMajor,
                              "WARNING, not all airports found\n",
                              "airport names",
                              "air.dbf",
                              kAirportFields,
                              "No airport records generated\n",
                              "Wrote %d airport records\n"};
const NamesTable kPlaces = {kPlaceMajor,
                            "WARNING, not all named places found\n",
                            "place names",
                            "place.dbf",
                            kPlaceFields,
                            "No place records generated\n",
                            "Wrote %d place name records\n"};

// The names file beside the input, one row per line as `row_of` composes it from the line and
// the `wanted` nodes numbered by the table's code, found in `lines`.
template <typename RowOf>
void write_names_table(std::span<const DlgLine> lines, int wanted, const NamesTable& table,
                       RowOf row_of) {
  if (wanted <= 0) return;
  const std::vector<NumberedNode> nodes = numbered_nodes(lines, table.major, wanted);
  if (static_cast<int>(nodes.size()) < wanted) g_opt_log.printf("%s", table.few_nodes);
  const std::string path = g_opt_input_stem + ".txt";
  const formats::CFile names = formats::open_c_file(path, "r");
  if (!names) {
    report_incomplete(std::string(table.title) + " (" +
                      paths::name_part(output_path(table.suffix)) + "): missing: the names file " +
                      path + " cannot be read (" + std::strerror(errno) +
                      "); it belongs beside the input");
    return;
  }
  RowTable rows(table.suffix, table.fields);
  if (!rows.open()) return;
  std::string line;
  while (read_names_line(names.get(), line)) rows.add(row_of(line, nodes));
  rows.finish(table.none, table.wrote);
}

}  // namespace

std::vector<NumberedNode> numbered_nodes(std::span<const DlgLine> lines, std::int32_t major,
                                         int wanted) {
  std::vector<NumberedNode> table;
  for (const DlgLine& line : lines) {
    for (const DlgCodePair& pair : line.codes) {
      if (static_cast<int>(table.size()) >= wanted) break;
      if (pair.major == major) table.push_back({pair.minor, line.start_node});
    }
  }
  std::stable_sort(table.begin(), table.end(), [](const NumberedNode& a, const NumberedNode& b) {
    return a.number < b.number;
  });
  return table;
}

void WriteAirports(std::span<const DlgLine> lines) {
  write_names_table(lines, g_opt_airport_count, kAirports,
                    [](const std::string& line, std::span<const NumberedNode> airports) {
                      int number = 0;
                      ParseField(line, 0, 5, number);
                      DbfRow row;
                      row.text(digits("%4d", number), 4)
                          .text(CopyField(line, 8, 72), 72)
                          .integer(node_of(airports, number), 8, DbfRow::kRight);
                      return row;
                    });
}

void WritePlaces(std::span<const DlgLine> lines) {
  write_names_table(lines, g_opt_place_count, kPlaces,
                    [](const std::string& line, std::span<const NumberedNode> places) {
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
                          .integer(node_of(places, number), 8, DbfRow::kRight);
                      return row;
                    });
}

}  // namespace corvane::dlgopt

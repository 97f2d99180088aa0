#include "dlgopt/dlg_shapes.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "dlgopt/dbf_row.h"
#include "dlgopt/dlg_attributes.h"
#include "dlgopt/halving_search.h"
#include "dlgopt/polygon_staging.h"
#include "dlgopt/run_state.h"
#include "formats/c_file.h"
#include "formats/dbf_writer.h"
#include "formats/shapefile_pair.h"

namespace corvane::dlgopt {

using namespace corvane::formats;

namespace {

const DBFFieldDef kNodeFields[] = {{"NODE_ID", 'N', 8, 0}, {nullptr, 0, 0, 0}};
const DBFFieldDef kLinkFields[] = {
    {"LINK_ID", 'N', 8, 0}, {"FROMNODE", 'N', 8, 0}, {"TONODE", 'N', 8, 0}, {"LPOLY", 'N', 8, 0},
    {"RPOLY", 'N', 8, 0},   {"LENGTH", 'N', 12, 4},  {nullptr, 0, 0, 0}};
const DBFFieldDef kAreaFields[] = {
    {"POLY_ID", 'N', 8, 0}, {"CEN_X", 'N', 12, 2}, {"CEN_Y", 'N', 12, 2}, {nullptr, 0, 0, 0}};

// An output that cannot be opened is reported and marks the run as failed; gives `opened`.
bool output_opened(bool opened, const std::string& path) {
  if (!opened) report_output_failure(path);
  return opened;
}

CFile open_output(const std::string& path) {
  CFile file = open_c_file(path, "wb");
  output_opened(file != nullptr, path);
  return file;
}

void write_row(const DbfRow& row, std::FILE* table, const std::string& path) {
  if (!row.write(table)) opt_fatal("Cannot write to " + path);
}

void begin_table(std::FILE* table, std::uint32_t rows, const DBFFieldDef* fields,
                 const std::string& path) {
  if (DBF_Write_Header(table, rows, fields) != 0 || DBF_Write_Field_Headers(table, fields) != 0) {
    opt_fatal("Cannot write to " + path);
  }
}

// The table's final header with its row count, after the end mark.
void finish_table(std::FILE* table, std::uint32_t rows, const DBFFieldDef* fields,
                  const std::string& path) {
  if (DBF_Write_End_Mark(table) != 0) opt_fatal("Cannot write to " + path);
  std::rewind(table);
  if (DBF_Write_Header(table, rows, fields) != 0) opt_fatal("Cannot write to " + path);
}

SHPArc line_arc(const DlgLine& line) {
  SHPArc arc;
  arc.shape_type = SHP_POLYLINE;
  arc.parts = {0};
  arc.points = line.points;
  BoundingBox box;
  for (const SHPVertex& p : line.points) box.widen(p.x, p.y);
  box.copy_to(arc);
  return arc;
}

// The index of the line an area's line list names with `entry`, or -1.
long area_line_index(const DlgElements& elements, std::int32_t entry) {
  const std::int64_t id = std::llabs(static_cast<long long>(entry));
  const long index =
      elements.lines_sorted ? FindLineIndex(elements.lines, id) : static_cast<long>(id - 1);
  return index >= 0 && static_cast<std::size_t>(index) < elements.lines.size() ? index : -1;
}

}  // namespace

double line_length(std::span<const SHPVertex> points) {
  double length = 0.0;
  for (std::size_t j = 1; j < points.size(); ++j) {
    length += std::sqrt((points[j].x - points[j - 1].x) * (points[j].x - points[j - 1].x) +
                        (points[j].y - points[j - 1].y) * (points[j].y - points[j - 1].y));
  }
  return length;
}

long FindLineIndex(std::span<const DlgLine> lines, std::int64_t id) {
  return halving_search(lines, id, [](const DlgLine& line) { return std::int64_t{line.id}; });
}

void DropAreasWithMissingLines(DlgElements& elements, SectionAccount& account) {
  std::erase_if(elements.areas, [&](const DlgArea& area) {
    for (const std::int32_t entry : area.lines) {
      if (entry != 0 && area_line_index(elements, entry) < 0) {
        account.skipped(area.number, "was skipped (it lists line " +
                                         std::to_string(std::llabs(std::int64_t{entry})) +
                                         ", which is not among the lines read)");
        return true;
      }
    }
    return false;
  });
}

namespace {

// The table and shapefile pair of a node or link layer. They are opened table first, so
// that a table that cannot be created leaves no shapefile behind; any failure leaves the
// layer unwritten.
struct LayerFiles {
  std::string dbf_path;
  CFile dbf;
  ShapefilePair shapes;

  bool open(const std::string& name) {
    dbf_path = output_path((name + ".dbf").c_str());
    const std::string shp_path = output_path((name + ".shp").c_str());
    const std::string shx_path = output_path((name + ".shx").c_str());
    dbf = open_output(dbf_path);
    if (!dbf) return false;
    g_opt_work_file.record(shp_path);
    return output_opened(shapes.open_shp(shp_path), shp_path) &&
           output_opened(shapes.open_shx(shx_path), shx_path);
  }

  // The table's rows were counted beforehand, so its header needs no rewrite.
  void begin(std::uint32_t rows, const DBFFieldDef* fields, std::int32_t shape_type) {
    begin_table(dbf.get(), rows, fields, dbf_path);
    shapes.begin(shape_type);
  }

  void finish() {
    if (DBF_Write_End_Mark(dbf.get()) != 0) opt_fatal("Cannot write to " + dbf_path);
    shapes.finish();
    dbf.reset();
  }
};

// One row and one shape per element, as `add` writes them; logs `wrote` with the count.
// False when the layer could not be opened.
template <typename Element, typename Add>
bool write_layer(const char* name, std::span<const Element> elements, const DBFFieldDef* fields,
                 std::int32_t shape_type, const char* wrote, Add add) {
  LayerFiles layer;
  if (!layer.open(name)) return false;
  layer.begin(static_cast<std::uint32_t>(elements.size()), fields, shape_type);
  for (const Element& element : elements) add(element, layer);
  g_opt_log.printf(wrote, layer.shapes.records());
  layer.finish();
  return true;
}

}  // namespace

void WriteNodeShapes(const DlgElements& elements, OptProgressDialog& dialog) {
  const auto add = [&](const DlgNode& node, LayerFiles& layer) {
    write_row(DbfRow().integer(node.id, 8, DbfRow::kRight), layer.dbf.get(), layer.dbf_path);
    layer.shapes.add_point({SHP_POINT, node.x, node.y});
    dialog.set_nodes_processed(layer.shapes.records());
  };
  if (!write_layer("nodes", std::span(elements.nodes), kNodeFields, SHP_POINT,
                   "Wrote %d node shapes\n", add)) {
    return;
  }
  WriteNodeAttributes(elements.nodes);
}

void WriteLineShapes(const DlgElements& elements, OptProgressDialog& dialog) {
  const auto add = [&](const DlgLine& line, LayerFiles& layer) {
    DbfRow row;
    row.integer(line.id, 8, DbfRow::kLeft)
        .integer(line.start_node, 8, DbfRow::kLeft)
        .integer(line.end_node, 8, DbfRow::kLeft)
        .integer(line.left_area, 8, DbfRow::kLeft)
        .integer(line.right_area, 8, DbfRow::kLeft)
        .real(line_length(line.points), 12, 4, DbfRow::kLeft);
    write_row(row, layer.dbf.get(), layer.dbf_path);
    layer.shapes.add_arc(line_arc(line));
    dialog.set_lines_processed(layer.shapes.records());
  };
  if (!write_layer("links", std::span(elements.lines), kLinkFields, SHP_POLYLINE,
                   "Wrote %d line shapes\n", add)) {
    return;
  }
  WriteLineAttributes(elements.lines);
}

void WriteAreaShapes(const DlgElements& elements, OptProgressDialog& dialog) {
  // First pass: each area's rings go through the staging files, so that only one
  // polygon's points are held in memory at a time.
  PolygonStaging staging;
  if (!staging.open()) return;
  const std::string dbf_path = output_path("areas.dbf");
  CFile dbf = open_output(dbf_path);
  if (!dbf) return;
  begin_table(dbf.get(), 0, kAreaFields, dbf_path);

  std::uint32_t rows = 0;
  for (const DlgArea& area : elements.areas) {
    DbfRow row;
    row.integer(area.id, 8, DbfRow::kLeft)
        .real(area.x, 12, 2, DbfRow::kLeft)
        .real(area.y, 12, 2, DbfRow::kLeft);
    write_row(row, dbf.get(), dbf_path);
    ++rows;
    staging.begin_area(area.id);
    for (const std::int32_t entry : area.lines) {
      if (entry == 0) {
        staging.next_ring();
        continue;
      }
      // Every line an area lists is there (DropAreasWithMissingLines).
      const long index = area_line_index(elements, entry);
      staging.add_points(elements.lines.at(static_cast<std::size_t>(index)).points, entry < 0);
    }
    staging.end_area();
    dialog.set_areas_processed(static_cast<int>(rows));
  }
  g_opt_log.printf("Wrote %d area shapes\n", static_cast<int>(rows));
  finish_table(dbf.get(), rows, kAreaFields, dbf_path);
  dbf.reset();

  // Second pass: the polygons, read back one at a time.
  const std::string shx_path = output_path("areas.shx");
  const std::string shp_path = output_path("areas.shp");
  ShapefilePair shapes;
  if (!output_opened(shapes.open_shx(shx_path), shx_path)) return;
  g_opt_work_file.record(shp_path);
  if (!output_opened(shapes.open_shp(shp_path), shp_path)) return;
  shapes.begin(SHP_POLYGON);
  staging.rewind();
  SHPArc polygon;
  while (staging.read_polygon(polygon)) shapes.add_arc(polygon);
  shapes.finish();
  WriteAreaAttributes(elements.areas);
}

}  // namespace corvane::dlgopt

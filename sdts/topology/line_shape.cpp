#include "sdts/topology/line_shape.h"

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "formats/bounding_box.h"
#include "formats/c_file.h"
#include "formats/dbf_writer.h"
#include "formats/shapefile_pair.h"
#include "platform/message_sink.h"
#include "sdts/iso8211/iso8211.h"
#include "sdts/iso8211/iso_value_runs.h"
#include "sdts/modules/decimal_text.h"
#include "sdts/run/output_names.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"
#include "sdts/run/work_files.h"
#include "sdts/topology/geo_distance.h"
#include "sdts/topology/line_files.h"
#include "sdts/topology/line_row.h"
#include "sdts/topology/module_part.h"
#include "sdts/topology/object_joins.h"
#include "sdts/topology/polygon_chain.h"
#include "sdts/topology/polygon_files.h"
#include "sdts/topology/subfield_label.h"

namespace corvane::sdts {

using namespace corvane::iso8211;

using namespace corvane::formats;

namespace {

constexpr const char* kRoutine = "SDTS_Write_Line_Shape";
constexpr std::size_t kInitialPoints = 5000;
// Polygon 1 is the universe outside the map; it bounds nothing.
constexpr std::int32_t kUniversePolygon = 1;

using LineFields = std::array<DBFFieldDef, 7>;

// Line id (named `id_name`), start and end node, left and right polygon, length.
LineFields line_fields(const std::string& id_name) {
  return {{{id_name.c_str(), 'N', 8, 0},
           {"FROMNODE", 'N', 8, 0},
           {"TONODE", 'N', 8, 0},
           {"LPOLY", 'N', 8, 0},
           {"RPOLY", 'N', 8, 0},
           {"LENGTH", 'N', 12, 4},
           {nullptr, 0, 0, 0}}};
}

// The reader's handle, closed however the conversion of the module ends.
struct IsoStream {
  std::FILE* stream = nullptr;
  ~IsoStream() {
    if (stream != nullptr) ISO_End_File(&stream);
  }
};

double line_length(const std::vector<SHPVertex>& points) {
  double length = 0.0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    if (g_xref_geographic) {
      length += Geo_Distance_Miles(points[i + 1], points[i]);
    } else {
      const double dx = points[i + 1].x - points[i].x;
      const double dy = points[i + 1].y - points[i].y;
      length += std::sqrt(dx * dx + dy * dy);
    }
  }
  return length;
}

// Which coordinate a binary subfield of a coordinate field holds: most values of a line
// module are these, taken straight from the run. Any other value goes the general way.
enum class Axis { none, x, y };

Axis Coordinate_Axis(const char* label, const char* format) {
  if (std::strchr(format, 'B') == nullptr) return Axis::none;
  if (Label_Is(label, "X")) return Axis::x;
  return Label_Is(label, "Y") ? Axis::y : Axis::none;
}

// The axes of the two labels a coordinate field alternates between (X and Y), worked out
// once: the reader's label and format texts stay put while a module is read.
class AxisOfLabel {
 public:
  Axis of(const char* label, const char* format) {
    for (const Seen& seen : seen_)
      if (seen.label == label && seen.format == format) return seen.axis;
    Seen& slot = seen_[next_];
    next_ ^= 1;
    slot = {label, format, Coordinate_Axis(label, format)};
    return slot.axis;
  }

 private:
  struct Seen {
    const char* label = nullptr;
    const char* format = nullptr;
    Axis axis = Axis::none;
  };
  Seen seen_[2];
  int next_ = 0;
};

// One line module being converted: the current record's ids and points, and the outputs.
// It calls the ISO 8211 reader itself (see SDTSFile); run() returns 0 or 1.
class LineModule {
 public:
  LineModule(const char* path, const std::string& output_name)
      : path_(path), output_name_(output_name), lines_(g_stat.count_records(path)) {}
  LineModule(const LineModule&) = delete;
  LineModule& operator=(const LineModule&) = delete;

  int run();

 private:
  int open_failed(const std::string& path);
  bool open_outputs();
  void take_subfield(std::string_view tag, std::string_view label);
  void check_failed();
  // Takes the value now in the subfield buffers and ends the record after its last value.
  // False when the module is done: at its end, or when it cannot go on.
  bool take_value(std::string_view tag, std::string_view label);
  bool end_value();
  void take_x(std::int32_t stored);
  void take_y(std::int32_t stored);
  // After a single read, the values that follow in the record (a line's coordinates above
  // all) come in runs, taken as that many single reads would have delivered them.
  bool take_value_runs();
  // False when the module cannot go on (refused id or failed intermediate write).
  bool end_record();
  void end_module();

  std::string path_;
  std::string output_name_;
  // The table's first column is named after the module: "<module>_ID".
  const std::string id_name_ = Module_Part(path_) + "_ID";
  const LineFields fields_ = line_fields(id_name_);
  IsoStream iso_;
  ShapefilePair shapes_;
  CFile dbf_;
  LineFilesWriter lines_;
  ObjectJoins joins_;
  SDTSPolygons polygons_;
  int result_ = 0;
  bool refused_ = false;
  int subfields_ = 0;  // read so far: the progress position

  std::int32_t start_node_ = 0, end_node_ = 0, left_ = 0, right_ = 0;
  SHPArc arc_;              // its points are the one buffer every record reuses
  double pending_x_ = 0.0;  // a point counts once its y has arrived
  BoundingBox record_box_, file_box_;
  std::int32_t record_count_ = 0;
};

int LineModule::open_failed(const std::string& path) {
  TRACE_ERROR(kRoutine, "*** Open file failed ***", path);
  return 1;
}

bool LineModule::open_outputs() {
  const std::string shp_path = SDTS_Get_Output_File_Name(output_name_ + ".shp");
  WORK_LINE(shp_path);
  if (!shapes_.open_shp(shp_path)) return open_failed(shp_path) == 0;
  const std::string shx_path = SDTS_Get_Output_File_Name(output_name_ + ".shx");
  if (!shapes_.open_shx(shx_path)) return open_failed(shx_path) == 0;
  if (const std::string failed = lines_.open(Line_Files_Stem(path_), WorkFiles::input_bytes(path_));
      !failed.empty()) {
    return open_failed(failed) == 0;
  }
  const std::string dbf_path = SDTS_Get_Output_File_Name(output_name_ + ".dbf");
  dbf_ = open_c_file(dbf_path, "wb", kBulkStreamBuffer);
  if (!dbf_) return open_failed(dbf_path) == 0;
  return true;
}

int LineModule::run() {
  int level = 0;
  char inline_code = 0;
  char ext_charset[4] = {};
  if (!ISO_Open_File(path_.c_str(), "R", &level, &inline_code, ext_charset, &iso_.stream)) {
    return open_failed(path_);
  }
  if (!open_outputs()) return 1;
  if (!ISO_Read_DDR(iso_.stream, g_sf_value, static_cast<int>(kSfValueSize), &g_sf_status)) {
    corvane::show_message("\n*** ERROR READING DDR ***");
    return 1;
  }
  arc_.shape_type = SHP_POLYLINE;
  arc_.parts = {0};
  arc_.points.reserve(kInitialPoints);
  g_sf_status = -1;
  DBF_Write_Header(dbf_.get(), 0, fields_.data());
  DBF_Write_Field_Headers(dbf_.get(), fields_.data());
  shapes_.begin(SHP_POLYLINE);

  g_progress->set_range(0, static_cast<int>(g_stat.count_records(path_)));
  g_progress->set_status(SDTS_Message("Building %s shape", path_.c_str()));
  for (;;) {
    g_progress->set_position(subfields_++);
    if (!ISO_Read_Subfield(iso_.stream, g_sf_tag, &g_sf_leader, g_sf_value,
                           static_cast<int>(kSfValueSize), &g_sf_length, &g_sf_status)) {
      corvane::show_message("\nERROR READING DATA RECORD SUBFIELD");
      result_ = 1;
      break;
    }
    if (!ISO_Check_Subfield(iso_.stream, g_sf_tag, g_sf_descr, static_cast<int>(kSfTextSize),
                            g_sf_frmts, static_cast<int>(kSfTextSize))) {
      check_failed();
      break;
    }
    if (!take_value(g_sf_tag, g_sf_descr)) break;
    if (!ISO_Ends_Record(g_sf_status) && !take_value_runs()) break;
  }
  end_module();
  return result_;
}

void LineModule::check_failed() {
  corvane::show_message("\nERROR CHECKING DATA RECORD SUBFIELD");
  result_ = 1;
}

bool LineModule::take_value(std::string_view tag, std::string_view label) {
  take_subfield(tag, label);
  return end_value();
}

bool LineModule::end_value() {
  if (ISO_Ends_Record(g_sf_status) && !end_record()) return false;
  return g_sf_status != ISO_STATUS_END_OF_FILE;
}

// Puts a value of a run into the subfield buffers as a single read and check would have;
// returns its label. Empty when the label or the format does not fit, which the check would
// have refused.
std::optional<std::string_view> put_value(const IsoValueRef& value) {
  const auto label = static_cast<std::size_t>(value.label_length);
  const auto format = static_cast<std::size_t>(value.format_length);
  if (label >= kSfTextSize || format >= kSfTextSize) return std::nullopt;
  std::memcpy(g_sf_value, value.bytes, static_cast<std::size_t>(value.length));
  g_sf_value[value.length] = '\0';
  g_sf_length = value.length;
  std::memcpy(g_sf_descr, value.label, label + 1);
  std::memcpy(g_sf_frmts, value.format, format + 1);
  return std::string_view(g_sf_descr, label);
}

bool LineModule::take_value_runs() {
  // The values of one field share their tag text while the record lasts.
  const char* field = nullptr;
  std::string_view tag;
  bool coordinates = false;
  AxisOfLabel axes;
  return ISO_Take_Record_Values(
      iso_.stream, static_cast<int>(kSfValueSize) - 1, [&](const IsoValueRef& value) {
        g_progress->set_position(subfields_++);
        if (value.tag != field) {
          field = value.tag;
          tag = field;
          coordinates = tag == "SADR";
        }
        const Axis axis = coordinates ? axes.of(value.label, value.format) : Axis::none;
        // Binary values shorter than an integer go the general way, as single reads take them.
        if (axis != Axis::none && value.length >= 4) {
          ISO_Bytes_To_Int(value.bytes, &g_sf_int, g_byte_order == 0 ? 1 : 0);
          axis == Axis::x ? take_x(g_sf_int) : take_y(g_sf_int);
        } else {
          const std::optional<std::string_view> text_label = put_value(value);
          if (!text_label) {
            check_failed();
            return false;
          }
          take_subfield(tag, *text_label);
        }
        g_sf_status = value.status;
        return end_value();
      });
}

void LineModule::take_x(std::int32_t stored) {
  pending_x_ = SDTS_Ground_X(stored);
  record_box_.widen_x(pending_x_);
  file_box_.widen_x(pending_x_);
}

void LineModule::take_y(std::int32_t stored) {
  const double y = SDTS_Ground_Y(stored);
  record_box_.widen_y(y);
  file_box_.widen_y(y);
  arc_.points.push_back({pending_x_, y});
}

void LineModule::take_subfield(std::string_view tag, std::string_view label) {
  if (tag == "SADR") {
    if (std::strchr(g_sf_frmts, 'B') != nullptr) {
      ISO_Bytes_To_Int(g_sf_value, &g_sf_int, g_byte_order == 0 ? 1 : 0);
    } else {
      g_sf_int = static_cast<int>(SDTS_Decimal_Value(g_sf_value));
    }
    if (Label_Is(label, "X")) {
      take_x(g_sf_int);
    } else if (Label_Is(label, "Y")) {
      take_y(g_sf_int);
    }
    return;
  }
  if (joins_.take("LINE", tag, label, g_sf_value)) return;
  if (Label_Is(label, "RCID")) {
    const auto id = [] { return static_cast<std::int32_t>(SDTS_Decimal_Value(g_sf_value)); };
    if (tag == "PIDL")
      left_ = id();
    else if (tag == "PIDR")
      right_ = id();
    else if (tag == "SNID")
      start_node_ = id();
    else if (tag == "ENID")
      end_node_ = id();
  }
}

bool LineModule::end_record() {
  const std::int32_t line_id = joins_.object_id();
  if (!lines_.accepts_id(line_id)) {
    LOG_LINE(SDTS_Message("ERROR: line record id %d in %s is out of range; the module is refused",
                          line_id, path_.c_str()));
    refused_ = true;
    result_ = 1;
    return false;
  }
  if (!lines_.add_record_id(line_id)) {
    TRACE_PRINT(kRoutine, SDTS_Message("ERROR: Written xy binary file"));
    return false;
  }
  joins_.end_record();
  const double length = line_length(arc_.points);

  // The intermediate files take the line before the shapefile does, so a failed write
  // leaves the shapefile ending with its last complete record.
  switch (lines_.add_line(line_id, arc_.points)) {
    case LineFilesWriter::LineWrite::index_failed:
      TRACE_PRINT(kRoutine, SDTS_Message("ERROR: Written xy binary file"));
      return false;
    case LineFilesWriter::LineWrite::points_failed:
      TRACE_PRINT(kRoutine, SDTS_Message("ERROR: Written xy data file"));
      return false;
    case LineFilesWriter::LineWrite::ok:
      break;
  }
  record_box_.copy_to(arc_);
  shapes_.add_arc(arc_);
  ++record_count_;
  record_box_ = BoundingBox{};
  arc_.points.clear();

  const LineRow row = Line_Row(line_id, start_node_, end_node_, left_, right_, length);
  std::fwrite(row.data(), 1, row.size(), dbf_.get());

  if (left_ != right_) {
    if (right_ != kUniversePolygon)
      polygons_.add_link(right_, {line_id, start_node_, end_node_, +1, 0});
    if (left_ != kUniversePolygon)
      polygons_.add_link(left_, {line_id, end_node_, start_node_, -1, 0});
  }
  return true;
}

void LineModule::end_module() {
  joins_.close();
  shapes_.finish(file_box_);
  std::rewind(dbf_.get());
  DBF_Write_Header(dbf_.get(), static_cast<std::uint32_t>(record_count_), fields_.data());
  dbf_.reset();
  LOG_LINE(
      SDTS_Message("Wrote %d line records to shape %s\n", record_count_, output_name_.c_str()));
  ISO_End_File(&iso_.stream);
  lines_.close();
  if (!refused_) Build_Polygon_Files(path_.c_str(), polygons_);
}

}  // namespace

int SDTS_Write_Line_Shape(const char* file, const std::string& theme_name) {
  TRACE_BEGIN(kRoutine);
  TRACE_PRINT(kRoutine, SDTS_Message("Process %s file", file));
  LineModule module(file, theme_name);
  const int result = module.run();
  TRACE_EXIT(kRoutine, result);
  return result;
}

}  // namespace corvane::sdts

// Everything one conversion shares across quoinlink. Set up by DisplayOpt for each call and
// cleared when it returns, so a conversion never sees what the previous one left behind.
#pragma once

#include <array>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/c_file.h"
#include "platform/paths.h"

namespace corvane::dlgopt {

// One category record of the header: its name and the element counts it states.
struct DlgCategory {
  std::string name;  // columns 1-20
  int nodes = 0;     // columns 31-36
  int areas = 0;     // columns 47-52
  int lines = 0;     // columns 63-68
};

// The header records as read; record 4 is parsed because the reference system, units and
// datums decide what the run reports (and what a coordinate reference file would say).
struct DlgHeader {
  std::array<std::string, 10> records;  // raw text of records 1-10 (index 0 is record 1)
  std::string place;                    // record 2, columns 1-40
  std::string dates;                    // record 2, columns 42-51
  int scale = 0;                        // record 2, columns 53-60
  int reference_system = 0;             // record 4, columns 7-12: 1 is UTM
  int zone = 0;                         // record 4, columns 13-18
  int units = 0;                        // record 4, columns 19-24: 2 is meters
  int control_points = 0;               // record 4, columns 55-60
  int categories = 0;                   // record 4, columns 61-66
  int horizontal_datum = 0;             // record 4, columns 67-69
  int vertical_datum = 0;               // record 4, columns 70-72
  // With several categories the last one's counts are those of the element sections.
  std::vector<DlgCategory> category_records;
};

// g_opt_status values.
inline constexpr int kOptStatusOk = 0;
inline constexpr int kOptStatusOutputFailed = -1;

// The log stream (base name + ".log" in the run directory).
class OptLog {
 public:
  bool open(const std::string& path);
  void close() { file_.reset(); }
  // Writes the formatted text as it stands: the texts carry their own line ends.
  void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

 private:
  formats::CFile file_;
};

// The conversion's private directory under the temporary directory, removed with everything
// in it when the conversion ends, and the work file in it: one output path per line.
class OptWorkFile {
 public:
  // Creates the directory (FatalError when it cannot) and opens the work file in it.
  bool open();
  void close();
  void record(const std::string& output_path);
  const std::string& directory() const { return directory_->path(); }
  // `name` in the private directory.
  std::string file(std::string_view name) const { return directory_->file(name); }

 private:
  std::unique_ptr<paths::WorkDirectory> directory_;
  formats::CFile file_;
};

extern OptLog g_opt_log;
extern OptWorkFile g_opt_work_file;
extern std::string g_opt_out_prefix;  // run directory + "/" + base name; outputs add a suffix
extern std::string g_opt_input_stem;  // input path without its last extension
extern std::string g_opt_series;      // last two characters of the input's stem, upper case
extern int g_opt_status;
extern int g_opt_incomplete;  // reasons the conversion is incomplete, reported so far
extern int g_opt_scale;       // g_opt_header.scale
extern DlgHeader g_opt_header;
extern int g_opt_airport_count;  // airport identifier pairs met by DescribeCode
extern int g_opt_place_count;    // place name identifier pairs met by DescribeCode

// Closes the run files and puts every item back to its initial value.
void reset_run_state();

// Logs `line` and shows it through the message sink: one reason the conversion is incomplete.
void report_incomplete(const std::string& line);
// Logs and shows that the output file `path` cannot be created (errno tells why); the run's
// status becomes kOptStatusOutputFailed.
void report_output_failure(const std::string& path);

// Output file name: g_opt_out_prefix followed by `suffix`.
std::string output_path(const char* suffix);

// Logs `text` and a line end, then ends the conversion (corvane::fatal).
[[noreturn]] void opt_fatal(const std::string& text);

}  // namespace corvane::dlgopt

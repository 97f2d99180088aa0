// The converter's progress window: what the run has read from the header and how many
// elements it has written. Shown through whichever progress presenter the host installed.
#pragma once

#include <string>
#include <utility>

namespace corvane::dlgopt {

class OptProgressDialog {
 public:
  enum Field {
    kInputFile = 1000,
    kPlace = 1003,
    kDates = 1004,
    kScale = 1005,
    kCategory = 1006,
    kNodes = 1007,
    kLines = 1008,
    kAreas = 1009,
    kNodesProcessed = 1010,
    kLinesProcessed = 1011,
    kAreasProcessed = 1012,
    kProjection = 1013,
    kUnits = 1014,
  };

  explicit OptProgressDialog(std::string input_file) : input_file(std::move(input_file)) {}
  ~OptProgressDialog();
  OptProgressDialog(const OptProgressDialog&) = delete;
  OptProgressDialog& operator=(const OptProgressDialog&) = delete;

  // Opens the window with every member shown.
  void create();
  // Pushes every member to the window and repaints it.
  void update();
  // The element counters change once per element, so they are pushed on their own.
  void set_nodes_processed(int n);
  void set_lines_processed(int n);
  void set_areas_processed(int n);

  std::string input_file;
  std::string place;
  std::string dates;
  std::string scale;
  std::string category;
  std::string projection;
  std::string units;
  int nodes = 0;
  int lines = 0;
  int areas = 0;
  int nodes_processed = 0;
  int lines_processed = 0;
  int areas_processed = 0;

 private:
  void show_counter(int field, int value);
  bool created_ = false;
};

}  // namespace corvane::dlgopt

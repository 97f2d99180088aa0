// Converting one batch item: unpack when needed, hand it to the converter its extension
// asks for, and name the SDTS run directory after the transfer.
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "frontend/batch/batch_item.h"

namespace corvane::batch {

// The two converter entries; the real ones are Display and DisplayOpt.
struct Converters {
  using Entry = int (*)(const char* input_path, const char* output_parent);
  Entry display = nullptr;
  Entry display_opt = nullptr;
};
Converters linked_converters();

struct ItemOutcome {
  bool converted = false;     // unpacked (if needed) and the converter reported success
  std::string run_directory;  // where the outputs are, when known
};

// The run directory the optional-format converter makes for `input_path`: the input's
// name without its last extension, each "." made "_", followed by "shp".
std::string optional_format_run_directory(const std::string& output_parent,
                                          const std::string& input_path);

class ItemRunner {
 public:
  using Clock = std::function<std::tm()>;
  using ListingSink = std::function<void(const std::string&)>;

  explicit ItemRunner(Converters converters, Clock clock = local_time);
  // Receives the tar library's member listing of every archive unpacked.
  void set_listing_sink(ListingSink sink) { listing_sink_ = std::move(sink); }

  ItemOutcome run(const BatchItem& item) const;

  static std::tm local_time();

 private:
  ItemOutcome convert(const std::string& input_path, const std::string& output_parent) const;
  ItemOutcome finish_sdts(int status, const std::string& output_parent) const;

  Converters converters_;
  Clock clock_;
  ListingSink listing_sink_;
};

}  // namespace corvane::batch

// Converting one batch item: recognise the input by its content, unpack it when it is an
// archive, hand it to the converter for what it holds inside a private staging directory,
// and move the finished run directory into the output directory.
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "frontend/batch/batch_item.h"
#include "frontend/batch/item_outcome.h"

namespace corvane::batch {

// The two converter entries; the real ones are Display and DisplayOpt. Each returns 0 when
// it converted everything, 2 when something is missing or partial, 1 when it failed.
struct Converters {
  using Entry = int (*)(const char* input_path, const char* output_parent);
  Entry display = nullptr;
  Entry display_opt = nullptr;
};
Converters linked_converters();

class ItemRunner {
 public:
  using Clock = std::function<std::tm()>;
  using TextSink = std::function<void(const std::string&)>;

  explicit ItemRunner(Converters converters, Clock clock = local_time);
  // Receives the tar library's member listing of every archive unpacked.
  void set_listing_sink(TextSink sink) { listing_sink_ = std::move(sink); }
  // Receives each reason line as it is shown; the outcome keeps them all the same. Without
  // it, nothing is shown while the item runs.
  void set_reason_sink(TextSink sink) { reason_sink_ = std::move(sink); }

  // Gzip data and tars are unpacked whatever their names; a zip, a folder and an archive
  // without anything to convert fail. An ISO 8211 file goes to Display, anything else to
  // DisplayOpt. Every message shown meanwhile is one of the outcome's reasons.
  ItemOutcome run(const BatchItem& item) const;

  static std::tm local_time();

 private:
  void run_item(const BatchItem& item, ItemOutcome& outcome) const;
  void convert(const std::string& input_path, const std::string& output_parent,
               ItemOutcome& outcome) const;

  Converters converters_;
  Clock clock_;
  TextSink listing_sink_;
  TextSink reason_sink_;
};

}  // namespace corvane::batch

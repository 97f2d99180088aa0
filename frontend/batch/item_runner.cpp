#include "frontend/batch/item_runner.h"

#include <optional>

#include "archives/unpacked_archive.h"
#include "dlgopt/display_opt.h"
#include "frontend/batch/output_media.h"
#include "frontend/batch/sdts_rename.h"
#include "platform/fatal_error.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "sdts/driver/display.h"

namespace corvane::batch {

Converters linked_converters() { return Converters{&Display, &DisplayOpt}; }

std::string optional_format_run_directory(const std::string& output_parent,
                                          const std::string& input_path) {
  std::string base = paths::stem(input_path);
  for (char& c : base)
    if (c == '.') c = '_';
  return paths::join(output_parent, base + "shp");
}

ItemRunner::ItemRunner(Converters converters, Clock clock)
    : converters_(converters), clock_(std::move(clock)) {}

std::tm ItemRunner::local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return t;
}

ItemOutcome ItemRunner::run(const BatchItem& item) const {
  if (is_read_only_media(item.output_parent)) {
    show_message(kCdRomRefusal);
    return {};
  }
  if (!archives::is_archive(item.input_path)) return convert(item.input_path, item.output_parent);
  try {
    archives::UnpackedArchive unpacked(item.input_path);
    if (listing_sink_ && !unpacked.listing().empty()) listing_sink_(unpacked.listing());
    if (!unpacked.failure().empty()) {
      show_message(unpacked.failure());
      return {};
    }
    const std::optional<std::string> found = unpacked.file_to_convert();
    if (!found) {
      show_message(unpacked.nothing_to_convert());
      return {};
    }
    return convert(*found, item.output_parent);
  } catch (const FatalError&) {
    return {};  // already shown through the message sink
  }
}

// The path keeps its letter case: on Linux a lower-cased path names another file.
ItemOutcome ItemRunner::convert(const std::string& input_path,
                                const std::string& output_parent) const {
  if (paths::iequals(paths::extension(input_path), "ddf"))
    return finish_sdts(converters_.display(input_path.c_str(), output_parent.c_str()),
                       output_parent);
  ItemOutcome outcome;
  outcome.converted = converters_.display_opt(input_path.c_str(), output_parent.c_str()) == 0;
  outcome.run_directory = optional_format_run_directory(output_parent, input_path);
  return outcome;
}

ItemOutcome ItemRunner::finish_sdts(int status, const std::string& output_parent) const {
  ItemOutcome outcome;
  outcome.converted = status == 0;
  const std::optional<NamesFile> names = take_names_file(output_parent);
  if (!names) {
    if (outcome.converted)
      show_message("names.txt not found in " + output_parent +
                   "; the run directory keeps its name");
    return outcome;
  }
  outcome.run_directory = rename_run_directory(output_parent, names->run_directory,
                                               run_directory_name(names->title, clock_()));
  return outcome;
}

}  // namespace corvane::batch

#include "frontend/batch/item_runner.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sstream>

#include "archives/unpacked_archive.h"
#include "dlgopt/display_opt.h"
#include "frontend/batch/output_media.h"
#include "frontend/batch/staging.h"
#include "platform/fatal_error.h"
#include "platform/file_signature.h"
#include "platform/message_sink.h"
#include "sdts/driver/display.h"

namespace corvane::batch {

namespace {

// While an item runs, every message shown is one of its reasons, one line each.
class ReasonCapture final : public MessageSink {
 public:
  ReasonCapture(std::vector<std::string>& reasons, const ItemRunner::TextSink& forward)
      : previous_(message_sink()), reasons_(reasons), forward_(forward) {
    install_message_sink(this);
  }
  ~ReasonCapture() override { install_message_sink(&previous_); }
  ReasonCapture(const ReasonCapture&) = delete;
  ReasonCapture& operator=(const ReasonCapture&) = delete;

  void show(const std::string& text) override {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      if (line.find_first_not_of(" \r") == std::string::npos) continue;
      reasons_.push_back(line);
      if (forward_) forward_(line);
    }
  }

 private:
  MessageSink& previous_;
  std::vector<std::string>& reasons_;
  const ItemRunner::TextSink& forward_;
};

// Why `path` cannot be an input at all; empty when it can be read as a file.
std::string input_refusal(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0)
    return std::string("cannot read: ") + std::strerror(errno);
  if (S_ISDIR(status.st_mode))
    return "is a folder: give the SDTS catalog (*CATD.DDF), the DLG-3 optional file or the "
           "archive in it";
  if (!S_ISREG(status.st_mode)) return "not a regular file";
  return {};
}

}  // namespace

Converters linked_converters() { return Converters{&Display, &DisplayOpt}; }

ItemRunner::ItemRunner(Converters converters, Clock clock)
    : converters_(converters), clock_(std::move(clock)) {}

std::tm ItemRunner::local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return t;
}

ItemOutcome ItemRunner::run(const BatchItem& item) const {
  ItemOutcome outcome;
  const ReasonCapture capture(outcome.reasons, reason_sink_);
  try {
    run_item(item, outcome);
  } catch (const FatalError&) {
    outcome.outcome = Outcome::Failed;  // already shown
  }
  return outcome;
}

void ItemRunner::run_item(const BatchItem& item, ItemOutcome& outcome) const {
  if (is_read_only_media(item.output_parent)) return show_message(kCdRomRefusal);
  if (const std::string refusal = input_refusal(item.input_path); !refusal.empty())
    return show_message(refusal);
  if (!archives::is_archive(item.input_path))
    return convert(item.input_path, item.output_parent, outcome);
  archives::UnpackedArchive unpacked(item.input_path);
  if (listing_sink_ && !unpacked.listing().empty()) listing_sink_(unpacked.listing());
  if (!unpacked.failure().empty()) return show_message(unpacked.failure());
  const std::optional<std::string> found = unpacked.file_to_convert();
  if (!found) return show_message(archives::kNothingToConvert);
  convert(*found, item.output_parent, outcome);
}

// The path keeps its letter case: on Linux a lower-cased path names another file.
void ItemRunner::convert(const std::string& input_path, const std::string& output_parent,
                         ItemOutcome& outcome) const {
  const StagingDirectory staging(output_parent);
  const Converters::Entry entry = file_signature(input_path) == FileSignature::Iso8211
                                      ? converters_.display
                                      : converters_.display_opt;
  outcome.outcome = outcome_of_result(entry(input_path.c_str(), staging.path().c_str()));
  if (outcome.outcome == Outcome::Failed) return;
  const std::optional<std::string> published = staging.publish(clock_());
  if (!published) {
    outcome.outcome = Outcome::Failed;
    return;
  }
  outcome.run_directory = *published;
}

}  // namespace corvane::batch

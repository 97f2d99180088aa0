// Each conversion writes into a private staging directory inside the output directory, so
// that nothing of the user's there is read, replaced or merged into, and concurrent
// conversions never meet; only the finished run directory is moved out, by a rename on the
// same filesystem that never replaces an existing entry.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "platform/paths.h"

namespace corvane::batch {

// The title with blanks, "/" and "," made "_", then month_day_hour_MM_SS appended:
// "Contours, Elev" at 9:05:07 on 14 March gives "Contours__Elev3_14_9_05_07".
std::string run_directory_name(const std::string& title, const std::tm& local_time);

class StagingDirectory {
 public:
  // Makes ".corvane-staging-XXXXXX" in `output_parent`; throws FatalError if it cannot.
  explicit StagingDirectory(const std::string& output_parent);

  // The parent directory to hand the converter.
  const std::string& path() const { return directory_.path(); }

  // Moves the run directory the converter made here into the output directory: named after
  // the transfer's title followed by `local_time` when the SDTS converter left names.txt
  // (line 1 the run directory, line 2 the title, else line 1 again), else under its own
  // name; a taken name gets "_2", "_3", ... Appends the final path to the run directory's
  // .log. Returns the final path; nothing, with the reason shown, when the converter made
  // no run directory or it cannot be moved.
  std::optional<std::string> publish(const std::tm& local_time) const;

 private:
  std::string output_parent_;
  paths::WorkDirectory directory_;
};

}  // namespace corvane::batch

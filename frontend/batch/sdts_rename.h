// Naming an SDTS run directory after its transfer: the SDTS converter leaves names.txt
// (line 1 the run directory's name, line 2 the transfer's title) in the output parent
// directory, and the run directory is renamed to the title followed by the time.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace corvane::batch {

struct NamesFile {
  std::string run_directory;  // line 1
  std::string title;          // line 2, or line 1 again when there is no line 2
};

// Reads and deletes "names.txt" in `output_parent`; nothing when it is absent or unreadable.
std::optional<NamesFile> take_names_file(const std::string& output_parent);

// The title with blanks, "/" and "," made "_", then month_day_hour_MM_SS appended:
// "Contours, Elev" at 9:05:07 on 14 March gives "Contours__Elev3_14_9_05_07".
std::string run_directory_name(const std::string& title, const std::tm& local_time);

// Renames `old_name` to `new_name` inside `output_parent`, never replacing an existing
// entry. On failure shows the warning naming both and keeps the old name.
// Returns the full path of the run directory as it is now named.
std::string rename_run_directory(const std::string& output_parent, const std::string& old_name,
                                 const std::string& new_name);

}  // namespace corvane::batch

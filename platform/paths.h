// Path parts as the converters use them. Input paths may come with either separator
// ('/' or '\'), so every split accepts both; paths we build are joined with '/'.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/interruption.h"
#include "platform/message_sink.h"

namespace corvane::paths {

// Everything left of the last separator; empty if there is none.
CORVANE_PLATFORM_API std::string directory_part(std::string_view path);
// Everything right of the last separator; the whole path if there is none.
CORVANE_PLATFORM_API std::string name_part(std::string_view path);
// The name part up to, not including, its last '.'; the whole name part if it has none.
CORVANE_PLATFORM_API std::string stem(std::string_view path);
// The name part up to, not including, its first '.'.
CORVANE_PLATFORM_API std::string stem_to_first_dot(std::string_view path);
// Text after the last '.' of the name part; empty if it has none.
CORVANE_PLATFORM_API std::string extension(std::string_view path);
// `dir` + '/' + `name`, without doubling a trailing separator of `dir`.
CORVANE_PLATFORM_API std::string join(std::string_view dir, std::string_view name);
// The directory for work files: TEMP, else TMP, else TMPDIR, else /tmp.
CORVANE_PLATFORM_API std::string temp_directory();
// Case-insensitive ASCII comparison.
CORVANE_PLATFORM_API bool iequals(std::string_view a, std::string_view b);
// `path` if it exists; otherwise the entry of its directory whose name equals its name
// ignoring letter case (catalogs name files in upper case, disks may hold them in lower);
// otherwise `path` unchanged.
CORVANE_PLATFORM_API std::string resolve_case_insensitive(const std::string& path);

// A private directory for one conversion's work files, removed with everything in it
// when the object goes away (also when the conversion ends with an error, and when SIGINT,
// SIGTERM or SIGHUP ends the process).
class CORVANE_PLATFORM_API WorkDirectory {
 public:
  // Creates a fresh directory "<parent>/<prefix>XXXXXX", readable by us only; throws
  // FatalError if it cannot.
  explicit WorkDirectory(std::string_view prefix, const std::string& parent = temp_directory());
  ~WorkDirectory();
  WorkDirectory(const WorkDirectory&) = delete;
  WorkDirectory& operator=(const WorkDirectory&) = delete;
  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const { return join(path_, name); }

 private:
  std::string path_;
  std::optional<interruption::RemovedOnSignal> removed_on_signal_;
};

}  // namespace corvane::paths

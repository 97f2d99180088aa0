// The paths a file-open dialog hands back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::batch {

// Each name joined to `directory`, without doubling a separator the directory already
// ends with (a selection in "/" or "C:\" gives "/a.opt", "C:\a.opt").
std::vector<std::string> selected_paths(std::string_view directory,
                                        const std::vector<std::string>& names);

// Reads a classic file-open result buffer: zero-terminated strings ending with an empty
// one. One string is the full path of the one file chosen; several are a directory
// followed by the names chosen in it. An empty buffer means nothing was chosen.
std::vector<std::string> parse_file_open_buffer(std::string_view buffer);

}  // namespace corvane::batch

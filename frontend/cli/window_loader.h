// The batch window lives in its own library, loaded only when it is asked for, so the
// command line never loads Qt.
#pragma once

namespace corvane::cli {

inline constexpr const char* kWindowLibrary = "libcorvane_window.so";
inline constexpr const char* kWindowEntry = "corvane_window_main";

// Loads the window library beside our other libraries or from the library path and runs
// it; prints why when it cannot. Returns the exit status.
int run_window(int argc, char** argv);

}  // namespace corvane::cli

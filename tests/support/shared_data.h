// Where the real USGS data lives for tests (../shared/data beside the repository).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace corvane::test {

// The data directory, or empty when it is absent.
std::string shared_data_dir();

}  // namespace corvane::test

// Skips the current test with a clear message when the real data is absent.
#define CORVANE_REQUIRE_SHARED_DATA()                                                   \
  do {                                                                                  \
    if (corvane::test::shared_data_dir().empty())                                       \
      GTEST_SKIP() << "real DLG data not found beside the repository (../shared/data)"; \
  } while (0)

namespace corvane::test {

// A new directory under the system's temporary directory, named `prefix` plus a unique
// suffix, so that test runs in parallel (two builds, two checkouts) never share one.
std::filesystem::path fresh_directory(const std::string& prefix);

}  // namespace corvane::test

// The conversion's work files: small ones in memory, the rest in the work directory, both
// read back alike, and nothing left of either once removed or once the store is gone.
#include "sdts/run/work_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/sandbox.h"

using namespace corvane::sdts;

namespace {

std::string read_all(WorkFiles& files, const std::string& name) {
  const int descriptor = files.open(name);
  if (descriptor < 0) return "<none>";
  struct stat info {};
  std::string text;
  if (::fstat(descriptor, &info) == 0) {
    text.resize(static_cast<std::size_t>(info.st_size));
    if (::pread(descriptor, text.data(), text.size(), 0) != info.st_size) text = "<short>";
  }
  ::close(descriptor);
  return text;
}

void write(WorkFiles::Created& created, const std::string& text) {
  ASSERT_TRUE(created.stream);
  ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), created.stream.get()), text.size());
  created.stream.reset();
}

TEST(WorkFiles, SmallFilesStayInMemoryWithinTheBudgetLargeOnesGoToDisk) {
  std::string directory;
  {
    WorkFiles files(100);
    auto small = files.create("small.bin", 60);
    write(small, "in memory");
    EXPECT_TRUE(small.path.empty());
    // What is left of the budget (40) cannot hold another 60.
    auto large = files.create("large.bin", 60);
    write(large, "on disk");
    directory = files.directory();
    EXPECT_EQ(large.path, directory + "/large.bin");
    EXPECT_TRUE(std::filesystem::exists(large.path));

    EXPECT_EQ(read_all(files, "small.bin"), "in memory");
    EXPECT_EQ(read_all(files, "large.bin"), "on disk");
    EXPECT_EQ(read_all(files, "missing.bin"), "<none>");

    // Removing the memory file gives its share back; removing the disk file deletes it.
    files.remove("small.bin");
    files.remove("large.bin");
    EXPECT_EQ(read_all(files, "small.bin"), "<none>");
    EXPECT_FALSE(std::filesystem::exists(directory + "/large.bin"));
    EXPECT_TRUE(files.create("again.bin", 100).path.empty());

    // A file made again under its name starts empty.
    auto first = files.create("twice.bin", 0);
    write(first, "first");
    auto second = files.create("twice.bin", 0);
    write(second, "2");
    EXPECT_EQ(read_all(files, "twice.bin"), "2");
  }
  EXPECT_FALSE(std::filesystem::exists(directory));
}

class WorkFilesInSandbox : public corvane::test::Sandbox {};

TEST_F(WorkFilesInSandbox, NoDirectoryIsMadeWhileEverythingFitsInMemory) {
  WorkFiles files;
  auto created = files.create("tiny.bin", 10);
  write(created, "x");
  EXPECT_TRUE(std::filesystem::is_empty(path("tmp")));
  files.directory();
  EXPECT_FALSE(std::filesystem::is_empty(path("tmp")));
  // An input of unknown size is estimated beyond any budget.
  EXPECT_GT(WorkFiles::input_bytes("/no/such/module.ddf"), WorkFiles::kMemoryBudget);
}

}  // namespace

// Thawmill and Spoolet: their call contracts and their refusals of hostile archives.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "frontend/spoolet/wendmark_tar.h"
#include "frontend/thawmill/wendmark_gzip.h"
#include "tests/frontend/fixtures.h"

namespace corvane::test {
namespace {

int gunzip(const std::string& archive, const std::string& dir) {
  std::array<std::string, 3> words{"gzip", "-d", archive};
  std::array<char*, 3> argv{words[0].data(), words[1].data(), words[2].data()};
  return Wendmark_GZip(3, argv.data(), dir.c_str());
}

struct TarRun {
  int status;
  std::string output;
};

TarRun untar(const std::string& archive, const std::string& dir) {
  std::string output(10000, '\0');
  const std::string line = "-xvf \"" + archive + "\" -C \"" + dir + "\" ";
  const int status = Wendmark_Tar(line.c_str(), output.data(), static_cast<int>(output.size()));
  return {status, output.c_str()};
}

class UnpackLimit {
 public:
  explicit UnpackLimit(const char* bytes) { ::setenv("CORVANE_UNPACK_LIMIT", bytes, 1); }
  ~UnpackLimit() { ::unsetenv("CORVANE_UNPACK_LIMIT"); }
};

TEST(Thawmill, DecompressesIntoTheDirectoryWithoutTheGzEnding) {
  ScratchDir in, out;
  write_gzip(in / "Sample.OPT.GZ", "record one\nrecord two\n");
  EXPECT_EQ(gunzip(in / "Sample.OPT.GZ", out.path()), kGZipOk);
  EXPECT_EQ(list_dir(out.path()), std::vector<std::string>{"Sample.OPT"});
  EXPECT_EQ(read_file(out / "Sample.OPT"), "record one\nrecord two\n");
}

TEST(Thawmill, DamagedInputLeavesNoOutput) {
  ScratchDir in, out;
  write_file(in / "plain.opt.gz", "this was never compressed");
  EXPECT_EQ(gunzip(in / "plain.opt.gz", out.path()), kGZipDamaged);

  write_gzip(in / "whole.opt.gz", std::string(100000, 'x'));
  const std::string whole = read_file(in / "whole.opt.gz");
  write_file(in / "cut.opt.gz", whole.substr(0, whole.size() / 2));
  EXPECT_EQ(gunzip(in / "cut.opt.gz", out.path()), kGZipDamaged);

  EXPECT_EQ(gunzip(in / "missing.opt.gz", out.path()), kGZipCannotRead);
  EXPECT_EQ(gunzip(in / "whole.opt", out.path()), kGZipBadArguments);
  EXPECT_TRUE(list_dir(out.path()).empty());
}

TEST(Thawmill, StopsAtTheSizeLimit) {
  ScratchDir in, out;
  write_gzip(in / "big.opt.gz", std::string(1 << 20, 'x'));
  const UnpackLimit limit("100000");
  EXPECT_EQ(gunzip(in / "big.opt.gz", out.path()), kGZipTooLarge);
  EXPECT_TRUE(list_dir(out.path()).empty());
}

TEST(Spoolet, ExtractsIntoTheNamedDirectoryAndListsMembers) {
  ScratchDir in, out;
  write_tar(in / "t.tar", {{TarMember::Kind::File, "AB01CATD.DDF", "catalog", ""},
                           {TarMember::Kind::Directory, "sub", "", ""},
                           {TarMember::Kind::File, "sub/inner.txt", "inner", ""},
                           {TarMember::Kind::Symlink, "sub/up", "", "../AB01CATD.DDF"}});
  const ScratchDir spaced;
  const std::string target = spaced / "with blanks";
  std::filesystem::create_directory(target);
  const TarRun run = untar(in / "t.tar", target);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(read_file(target + "/AB01CATD.DDF"), "catalog");
  EXPECT_EQ(read_file(target + "/sub/inner.txt"), "inner");
  EXPECT_EQ(read_file(target + "/sub/up"), "catalog");
  EXPECT_NE(run.output.find("sub/inner.txt\n"), std::string::npos);
}

TEST(Spoolet, RefusesMembersThatLeaveTheDirectory) {
  const std::vector<std::vector<TarMember>> hostile{
      {{TarMember::Kind::File, "../escaped", "x", ""}},
      {{TarMember::Kind::File, "/tmp/corvane-absolute-member", "x", ""}},
      {{TarMember::Kind::File, "a/../../escaped", "x", ""}},
      {{TarMember::Kind::Symlink, "link", "", "../"}, {TarMember::Kind::File, "link/escaped", "x", ""}},
      {{TarMember::Kind::Symlink, "abs", "", "/etc/passwd"}},
      {{TarMember::Kind::Hardlink, "hard", "", "../escaped"}},
  };
  for (std::size_t i = 0; i < hostile.size(); ++i) {
    ScratchDir box;
    std::filesystem::create_directory(box / "in");
    std::filesystem::create_directory(box / "in/out");
    write_tar(box / "in/t.tar", hostile[i]);
    const TarRun run = untar(box / "in/t.tar", box / "in/out");
    EXPECT_NE(run.status, 0) << "archive " << i;
    EXPECT_NE(run.output.find("refused"), std::string::npos) << run.output;
    EXPECT_FALSE(exists(box / "in/escaped")) << "archive " << i;
    EXPECT_FALSE(exists(box / "escaped")) << "archive " << i;
  }
  EXPECT_FALSE(exists("/tmp/corvane-absolute-member"));
}

TEST(Spoolet, StopsAtTheSizeLimitAndOnDamage) {
  ScratchDir in, out;
  write_tar(in / "big.tar", {{TarMember::Kind::File, "big.opt", std::string(200000, 'x'), ""}});
  {
    const UnpackLimit limit("100000");
    const TarRun run = untar(in / "big.tar", out.path());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("more than 100000 bytes"), std::string::npos) << run.output;
  }
  write_file(in / "junk.tar", std::string(3000, '\x7f'));
  EXPECT_NE(untar(in / "junk.tar", out.path()).status, 0);

  std::string output(16, '\0');
  EXPECT_NE(Wendmark_Tar("-t nothing", output.data(), 16), 0);
  EXPECT_LT(std::string(output.c_str()).size(), 16u);
}

}  // namespace
}  // namespace corvane::test

// Thawmill and Spoolet: their call contracts and their refusals of damaged and hostile archives.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "archives/wendmark_gzip.h"
#include "archives/wendmark_tar.h"
#include "tests/archives/fixtures.h"

namespace corvane::test {
namespace {

using Kind = TarMember::Kind;

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

// Named without ".gz", ".tgz" made ".tar", any other name kept; never over an existing file.
TEST(Thawmill, DecompressesIntoTheDirectoryAsANewFile) {
  ScratchDir in, out;
  for (const char* name : {"Sample.OPT.GZ", "x.TGZ", "plain"}) write_gzip(in / name, name);
  for (const char* name : {"Sample.OPT.GZ", "x.TGZ", "plain"})
    EXPECT_EQ(gunzip(in / name, out.path()), kGZipOk) << name;
  EXPECT_EQ(list_dir(out.path()), (std::vector<std::string>{"Sample.OPT", "plain", "x.tar"}));
  EXPECT_EQ(read_file(out / "Sample.OPT"), "Sample.OPT.GZ");
  const std::string plain = read_file(in / "plain");
  EXPECT_EQ(gunzip(in / "plain", in.path()), kGZipCannotWrite);
  EXPECT_EQ(read_file(in / "plain"), plain);
}

// Every failure leaves nothing behind, a half-written output included.
TEST(Thawmill, FailuresLeaveNoOutput) {
  ScratchDir in;
  write_file(in / "plain.opt.gz", "this was never compressed");
  const std::string whole = gzip_bytes(std::string(100000, 'x'));
  write_file(in / "cut.opt.gz", whole.substr(0, whole.size() / 2));
  write_gzip(in / "big.opt.gz", std::string(1 << 20, 'x'));
  const std::tuple<const char*, const char*, int> cases[] = {
      {"plain.opt.gz", nullptr, kGZipDamaged},
      {"cut.opt.gz", nullptr, kGZipDamaged},
      {"missing.opt.gz", nullptr, kGZipCannotRead},
      {"big.opt.gz", "100000", kGZipTooLarge}};
  for (const auto& [name, limit, expected] : cases) {
    ScratchDir out;
    std::optional<UnpackLimit> limited;
    if (limit != nullptr) limited.emplace(limit);
    EXPECT_EQ(gunzip(in / name, out.path()), expected) << name;
    EXPECT_TRUE(list_dir(out.path()).empty()) << name;
  }
}

TEST(Spoolet, ExtractsIntoTheNamedDirectoryAndListsMembers) {
  ScratchDir in, out;
  write_tar(in / "t.tar", {{Kind::File, "AB01CATD.DDF", "catalog", ""},
                           {Kind::Directory, "sub", "", ""},
                           {Kind::File, "sub/inner.txt", "inner", ""},
                           {Kind::Hardlink, "sub/same", "", "AB01CATD.DDF"}});
  const ScratchDir spaced;
  const std::string target = spaced / "with blanks";
  std::filesystem::create_directory(target);
  const TarRun run = untar(in / "t.tar", target);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(read_file(target + "/AB01CATD.DDF"), "catalog");
  EXPECT_EQ(read_file(target + "/sub/inner.txt"), "inner");
  EXPECT_EQ(read_file(target + "/sub/same"), "catalog");
  EXPECT_NE(run.output.find("sub/inner.txt\n"), std::string::npos);
}

// Each archive is extracted into in/out; nothing may appear outside it, and nothing but a
// file, a directory or a link may appear at all.
TEST(Spoolet, RefusesHostileMembers) {
  struct Case {
    std::vector<TarMember> members;
    const char* reason;
  };
  const std::vector<Case> hostile{
      {{{Kind::File, "../escaped", "x", ""}}, "absolute path or \"..\""},
      {{{Kind::File, "/tmp/corvane-absolute-member", "x", ""}}, "absolute path or \"..\""},
      {{{Kind::File, "a/../../escaped", "x", ""}}, "absolute path or \"..\""},
      {{{Kind::File, "a/../b", "x", ""}}, "absolute path or \"..\""},
      {{{Kind::Symlink, "abs", "", "/etc/passwd"}}, "symbolic links are not extracted"},
      // Each target looks inside, yet l2 is the parent of the directory.
      {{{Kind::Symlink, "l1", "", "."},
        {Kind::Symlink, "l2", "", "l1/.."},
        {Kind::File, "l2/escaped", "x", ""}},
       "symbolic links are not extracted"},
      {{{Kind::File, "inside", "x", ""}, {Kind::Hardlink, "hard", "", "../escaped"}},
       "link leads out"},
      {{{Kind::Hardlink, "hard", "", "/etc/passwd"}}, "link leads out"},
      {{{Kind::Fifo, "pipe", "", ""}}, "not a file or directory"},
      {{{Kind::CharDevice, "null", "", ""}}, "not a file or directory"},
  };
  for (std::size_t i = 0; i < hostile.size(); ++i) {
    ScratchDir box;
    std::filesystem::create_directories(box / "in/out");
    write_tar(box / "in/t.tar", hostile[i].members);
    const TarRun run = untar(box / "in/t.tar", box / "in/out");
    EXPECT_NE(run.status, 0) << "archive " << i;
    EXPECT_NE(run.output.find("refused member"), std::string::npos)
        << "archive " << i << ": " << run.output;
    EXPECT_NE(run.output.find(hostile[i].reason), std::string::npos)
        << "archive " << i << ": " << run.output;
    EXPECT_FALSE(exists(box / "in/escaped")) << "archive " << i;
    EXPECT_FALSE(exists(box / "escaped")) << "archive " << i;
    for (const char* name : {"pipe", "null", "abs", "hard", "l1"})
      EXPECT_FALSE(exists(box / "in/out/" + name)) << "archive " << i;
  }
  EXPECT_FALSE(exists("/tmp/corvane-absolute-member"));
}

TEST(Spoolet, StopsAtTheSizeLimitOnDamageAndOnBadArguments) {
  ScratchDir in, out;
  write_tar(in / "big.tar", {{Kind::File, "big.opt", std::string(200000, 'x'), ""}});
  {
    const UnpackLimit limit("100000");
    const TarRun run = untar(in / "big.tar", out.path());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("more than 100000 bytes, set by CORVANE_UNPACK_LIMIT"),
              std::string::npos)
        << run.output;
  }
  write_file(in / "junk.tar", std::string(3000, '\x7f'));
  EXPECT_NE(untar(in / "junk.tar", out.path()).status, 0);

  // A listing that fills the output leaves room for the reason.
  std::vector<TarMember> many;
  for (int i = 0; i < 300; ++i)
    many.push_back({Kind::File, std::string(40, 'm') + std::to_string(i), "", ""});
  many.push_back({Kind::File, "../last", "x", ""});
  write_tar(in / "many.tar", many);
  const TarRun listed = untar(in / "many.tar", ScratchDir().path());
  EXPECT_TRUE(listed.output.ends_with("\ntar: refused member ../last: absolute path or \"..\"\n"));

  // The usage text is cut to the caller's buffer, zero included.
  std::string output(16, '\0');
  EXPECT_NE(Wendmark_Tar("-t nothing", output.data(), 16), 0);
  EXPECT_LT(std::string(output.c_str()).size(), 16u);
}

}  // namespace
}  // namespace corvane::test

// The one unpack routine: what is converted from inside an archive, what a failure says, and
// that nothing is left behind.
#include "archives/unpacked_archive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/fatal_error.h"
#include "platform/message_sink.h"
#include "tests/archives/fixtures.h"

namespace corvane::archives {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using test::TarMember;
using Kind = TarMember::Kind;
using File = TarMember;

enum class Packing { Tar, TarGz, Gz, Raw, Absent };

// Archives lie in a directory with a blank in its name; the private directories go into a
// temporary directory of the test's own, which must be empty again afterwards.
class UnpackedArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(in_dir());
    ::setenv("TEMP", temp_.path().c_str(), 1);
    install_message_sink(&messages_);
  }
  void TearDown() override {
    install_message_sink(nullptr);
    ::unsetenv("TEMP");
    ::unsetenv("CORVANE_UNPACK_LIMIT");
    EXPECT_TRUE(test::list_dir(temp_.path()).empty());
  }

  std::string in_dir() const { return data_ / "in dir"; }

  // Writes `name`: the members as a tar, that tar gzip-compressed, the first member's content
  // gzip-compressed or as it is, or nothing at all.
  std::string make(const std::string& name, Packing packing,
                   const std::vector<TarMember>& members) const {
    const std::string path = in_dir() + "/" + name;
    switch (packing) {
      case Packing::Tar:
        test::write_tar(path, members);
        break;
      case Packing::TarGz:
        test::write_tar(data_ / "plain.tar", members);
        test::write_gzip(path, test::read_file(data_ / "plain.tar"));
        break;
      case Packing::Gz:
        test::write_gzip(path, members.front().content);
        break;
      case Packing::Raw:
        test::write_file(path, members.front().content);
        break;
      case Packing::Absent:
        break;
    }
    return path;
  }

  ScratchDir data_, temp_;
  RecordingMessageSink messages_;
};

TEST_F(UnpackedArchiveTest, FindsTheFileToConvert) {
  struct Case {
    const char* name;
    Packing packing;
    std::vector<TarMember> members;
    const char* found;  // below the unpack directory
    const char* content;
  };
  const File readme{Kind::File, "README", "about", ""};
  const std::vector<Case> cases{
      {"1577865.HY.sdts.tar.gz",
       Packing::TarGz,
       {readme,
        {Kind::File, "HY01CATD.DDF", "catalog", ""},
        {Kind::File, "HY01LE01.DDF", "lines", ""}},
       "HY01CATD.DDF",
       "catalog"},
      {"my transfer_TAR.GZ",
       Packing::TarGz,
       {{Kind::File, "AB01CATD.DDF", "catalog", ""}},
       "AB01CATD.DDF",
       "catalog"},
      {"x.tar",
       Packing::Tar,
       {{Kind::File, "ZZ01CATD.DDF", "upper", ""},
        {Kind::File, "ab01catd.ddf", "lower", ""},
        {Kind::Directory, "extra", "", ""},
        {Kind::File, "extra/deep.txt", "d", ""}},
       "ab01catd.ddf",
       "lower"},
      {"nested_tar",
       Packing::Tar,
       {readme,
        {Kind::File, "b/AA01CATD.DDF", "second by name", ""},
        {Kind::File, "a/ZZ01CATD.DDF", "nearest", ""},
        {Kind::File, "a/deeper/aa01catd.ddf", "deeper", ""}},
       "a/ZZ01CATD.DDF",
       "nearest"},
      {"WESTFORD.OPT.GZ",
       Packing::Gz,
       {{Kind::File, "", "optional format records", ""}},
       "WESTFORD.OPT",
       "optional format records"},
      {"outer.tar",
       Packing::Tar,
       {readme, {Kind::File, "inner.opt.gz", test::gzip_bytes("inside"), ""}},
       "inner.opt",
       "inside"},
      {"notes.tar.gz",
       Packing::TarGz,
       {{Kind::File, "zeta.txt", "z", ""},
        {Kind::File, "alpha.txt", "a", ""},
        {Kind::File, "sub/aaa.opt", "deep", ""}},
       "alpha.txt",
       "a"},
  };
  const std::string cwd = fs::current_path().string();
  for (const Case& c : cases) {
    const std::string archive = make(c.name, c.packing, c.members);
    const std::string before = test::read_file(archive);
    std::string found;
    {
      UnpackedArchive unpacked(archive);
      EXPECT_EQ(unpacked.failure(), "") << c.name;
      found = unpacked.file_to_convert().value_or("");
      EXPECT_TRUE(found.ends_with(std::string("/unzipped/") + c.found)) << c.name << ": " << found;
      EXPECT_EQ(test::read_file(found), c.content) << c.name;
      const bool is_catalog =
          std::string(c.found).ends_with("CATD.DDF") || std::string(c.found).ends_with("catd.ddf");
      EXPECT_EQ(unpacked.catalog(), is_catalog ? std::optional(found) : std::nullopt) << c.name;
    }
    EXPECT_FALSE(test::exists(found)) << c.name;
    EXPECT_EQ(test::read_file(archive), before) << c.name;
  }
  EXPECT_EQ(test::list_dir(in_dir()).size(), cases.size());
  EXPECT_EQ(fs::current_path().string(), cwd);
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(UnpackedArchiveTest, FailuresSayWhy) {
  struct Case {
    const char* name;
    Packing packing;
    std::vector<TarMember> members;
    const char* limit;
    std::string reason;
  };
  const std::string limit = "more than 1000 bytes, set by CORVANE_UNPACK_LIMIT";
  const std::vector<Case> cases{
      {"missing.tar.gz", Packing::Absent, {}, nullptr, "not a gzip or tar archive"},
      {"broken.tar.gz",
       Packing::Raw,
       {{Kind::File, "", "\x1f\x8b not gzip at all", ""}},
       nullptr,
       "the gzip data is damaged"},
      {"evil.tar",
       Packing::Tar,
       {{Kind::File, "../evil.opt", "x", ""}},
       nullptr,
       "tar: refused member ../evil.opt: absolute path or \"..\""},
      {"big.tar.gz",
       Packing::TarGz,
       {{Kind::File, "big.opt", std::string(5000, 'x'), ""}},
       "1000",
       "it decompresses to " + limit},
      {"big.tar",
       Packing::Tar,
       {{Kind::File, "big.opt", std::string(5000, 'x'), ""}},
       "1000",
       "tar: the archive unpacks to " + limit},
      {"say \"cheese\".tar",
       Packing::Tar,
       {{Kind::File, "AB01CATD.DDF", "catalog", ""}},
       nullptr,
       "the path holds a double quote"},
  };
  for (const Case& c : cases) {
    const std::string archive = make(c.name, c.packing, c.members);
    if (c.limit != nullptr) ::setenv("CORVANE_UNPACK_LIMIT", c.limit, 1);
    const UnpackedArchive unpacked(archive);
    ::unsetenv("CORVANE_UNPACK_LIMIT");
    EXPECT_EQ(unpacked.failure(), "cannot unpack the archive: " + c.reason);
    EXPECT_THROW(unpacked.required_catalog(), FatalError) << c.name;
  }
  EXPECT_FALSE(test::exists(data_ / "evil.opt"));
  ASSERT_EQ(messages_.messages.size(), cases.size());
  const UnpackedArchive zip(make("x.tar.gz", Packing::Raw, {{Kind::File, "", "PK\3\4", ""}}));
  EXPECT_EQ(zip.failure(), "unsupported archive: zip input is not supported yet");
}

// An archive that unpacks to nothing, or to no catalog when one is required.
TEST_F(UnpackedArchiveTest, NothingToConvert) {
  UnpackedArchive empty(make("empty.tar", Packing::Tar, {{Kind::Directory, "sub", "", ""}}));
  EXPECT_EQ(empty.failure(), "");
  EXPECT_EQ(empty.file_to_convert(), std::nullopt);

  const UnpackedArchive optional(make("opt.tar", Packing::Tar, {{Kind::File, "a.opt", "dlg", ""}}));
  EXPECT_THROW(optional.required_catalog(), FatalError);
  EXPECT_EQ(messages_.messages, std::vector<std::string>{"no SDTS catalog in the archive"});

  const UnpackedArchive transfer(
      make("t.tar", Packing::Tar, {{Kind::File, "AB01CATD.DDF", "catalog", ""}}));
  EXPECT_TRUE(transfer.required_catalog().ends_with("/unzipped/AB01CATD.DDF"));
}

}  // namespace
}  // namespace corvane::archives

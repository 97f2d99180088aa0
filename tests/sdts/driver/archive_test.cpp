// Transfers handed to the SDTS converter as archives are unpacked privately; the archive is
// only read.
#include <gtest/gtest.h>

#include <filesystem>

#include "sdts/driver/conversion.h"
#include "tests/archives/fixtures.h"
#include "tests/support/sandbox.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane::test;

namespace {

class Archives : public Sandbox {
 protected:
  int convert(const std::string& archive) {
    return corvane::sdts::SDTS_Convert(archive.c_str(), path("out").c_str());
  }
};

TEST_F(Archives, TarAndGzippedTarWithBlanksInTheirNamesConvertAndStayUntouched) {
  corvane::sdts_fixture::SdtsTransfer t(path("transfer"), "1234");
  t.iden({});
  t.write();
  std::vector<TarMember> members;
  for (const auto& file : fs::directory_iterator(path("transfer")))
    members.push_back({TarMember::Kind::File, file.path().filename(), read_file(file.path()), ""});
  write_tar(path("my transfer_tar"), members);
  write_gzip(path("my transfer.tar.gz"), read_file(path("my transfer_tar")));
  for (const char* name : {"my transfer_tar", "my transfer.tar.gz"}) {
    const std::string before = read_file(path(name));
    fs::remove_all(path("out"));
    fs::create_directory(path("out"));
    ASSERT_EQ(convert(path(name)), 0) << name;
    EXPECT_EQ(read_file(path("out/names.txt")), "1234CATDshp\nFIXTURE, MA / HYDROGRAPHY");
    EXPECT_TRUE(fs::exists(path("out/1234CATDshp/1234CATD.doc")));
    EXPECT_EQ(read_file(path(name)), before);
  }
  EXPECT_TRUE(messages_.messages.empty());
  // The private unpack directory goes with the conversion.
  EXPECT_EQ(list_dir(path("tmp")), std::vector<std::string>{"dlgsdts.tmp"});

  write_tar(path("none.tar"), {{TarMember::Kind::File, "readme.txt", "nothing", ""}});
  EXPECT_NE(convert(path("none.tar")), 0);
  write_file(path("broken.tar.gz"), "\x1f\x8b not gzip");
  EXPECT_NE(convert(path("broken.tar.gz")), 0);
  EXPECT_EQ(messages_.messages,
            (std::vector<std::string>{"no SDTS catalog in the archive",
                                      "cannot unpack the archive: the gzip data is damaged"}));
}

}  // namespace

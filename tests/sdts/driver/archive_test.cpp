// Transfers handed over as archives are unpacked privately; the archive is only read.
#include <gtest/gtest.h>

#include <archive.h>
#include <archive_entry.h>

#include <filesystem>
#include <fstream>

#include "sdts/driver/conversion.h"
#include "tests/sdts/driver/conversion_fixture.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane::sdts_fixture;
using namespace corvane::sdts;

namespace {

class Archives : public corvane::test::ConversionTest {
 protected:
  // Packs every file of `dir` into `archive` (gzip-compressed when asked).
  static void pack(const fs::path& dir, const std::string& archive, bool gzip) {
    struct archive* a = archive_write_new();
    archive_write_set_format_pax_restricted(a);
    if (gzip) archive_write_add_filter_gzip(a);
    ASSERT_EQ(archive_write_open_filename(a, archive.c_str()), ARCHIVE_OK);
    for (const auto& file : fs::directory_iterator(dir)) {
      const std::string data = read(file.path());
      archive_entry* e = archive_entry_new();
      archive_entry_set_pathname(e, file.path().filename().c_str());
      archive_entry_set_size(e, static_cast<la_int64_t>(data.size()));
      archive_entry_set_filetype(e, AE_IFREG);
      archive_entry_set_perm(e, 0644);
      archive_write_header(a, e);
      archive_write_data(a, data.data(), data.size());
      archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
  }

  std::string transfer() {
    SdtsTransfer t(path("transfer"), "1234");
    t.iden({});
    return t.write();
  }
};

TEST_F(Archives, TarAndGzippedTarWithBlanksInTheirNamesConvertAndStayUntouched) {
  transfer();
  for (const bool gzip : {false, true}) {
    const std::string archive = path(gzip ? "my transfer.tar.gz" : "my transfer_tar");
    pack(path("transfer"), archive, gzip);
    const std::string before = read(archive);
    fs::remove_all(path("out"));
    fs::create_directory(path("out"));
    ASSERT_EQ(SDTS_Convert(archive.c_str(), out().c_str()), 0) << archive;
    EXPECT_EQ(read(path("out/names.txt")), "1234CATDshp\nFIXTURE, MA / HYDROGRAPHY");
    EXPECT_TRUE(fs::exists(path("out/1234CATDshp/1234CATD.doc")));
    EXPECT_EQ(read(archive), before);
    EXPECT_TRUE(messages_.messages.empty());
  }
  // The private unpack directory is gone with the conversion.
  for (const auto& entry : fs::directory_iterator(path("tmp")))
    EXPECT_FALSE(entry.path().filename().string().starts_with("corvane-unpack")) << entry.path();
}

TEST_F(Archives, ArchiveWithoutCatalogOrDamagedFails) {
  fs::create_directory(path("empty"));
  std::ofstream(path("empty/readme.txt")) << "nothing";
  pack(path("empty"), path("none.tar"), false);
  EXPECT_NE(SDTS_Convert(path("none.tar").c_str(), out().c_str()), 0);
  std::ofstream(path("broken.tar.gz")) << "not gzip";
  EXPECT_NE(SDTS_Convert(path("broken.tar.gz").c_str(), out().c_str()), 0);
  EXPECT_EQ(messages_.messages, (std::vector<std::string>{
                                    "No file to convert in " + path("none.tar"),
                                    "Cannot unpack " + path("broken.tar.gz") + ": the gzip data is damaged"}));
}

}  // namespace

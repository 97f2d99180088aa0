// Writes the seed corpora of the fuzz targets, one directory per target:
//
//   fuzz_seeds DIRECTORY [DATA_DIRECTORY]
//
// Seeds come from the fixture writers, plus the real files of DATA_DIRECTORY (the sdts/,
// dlg3-optional/ and sdts-archives/ folders of the shared data) small enough to keep the
// fuzzers fast. A seed of a target that reads a choice from its first byte starts with it.
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/dlgopt_fixture/dlgopt_fixture.h"
#include "tools/fuzz/fuzz_transfer.h"
#include "tools/iso8211_fixture/iso8211_fixture.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane;
using namespace corvane::iso_fixture;
using corvane::fuzz::FuzzTransfer;

namespace {

// Real files above these sizes would slow every execution down more than they add; archives
// are cheaper per byte than conversions.
constexpr std::uintmax_t kLargestRealFile = 32 * 1024;
constexpr std::uintmax_t kLargestRealArchive = 96 * 1024;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Corpus {
 public:
  Corpus(const fs::path& root, const std::string& target) : dir_(root / target) {
    fs::create_directories(dir_);
  }
  const fs::path& dir() const { return dir_; }
  void add(const std::string& name, char choice, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << choice << content;
  }

 private:
  fs::path dir_;
};

// Real files of `folder` of the shared data (recursively) no larger than `largest`; none
// without the shared data.
std::vector<fs::path> small_real_files(const fs::path& data, const char* folder,
                                       std::uintmax_t largest = kLargestRealFile) {
  std::vector<fs::path> out;
  if (data.empty()) return out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(data / folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
    if (it->is_regular_file() && it->file_size() <= largest) out.push_back(it->path());
  std::sort(out.begin(), out.end());
  return out;
}

void iso8211_seeds(const fs::path& root) {
  const std::string dir = Corpus(root, "iso8211_fuzz").dir().string();
  const std::string record_id = "DDF RECORD IDENTIFIER";

  Iso8211Builder catalog;
  catalog.field("0001", "0100;&", record_id)
      .field("CATD", "1600;&", "CATALOG/DIRECTORY", "MODN!RCID!NAME!TYPE!FILE", "(A,I,3A)");
  catalog.record({{"0001", {"1"}}, {"CATD", {"CATD", "1", "IDEN", "Identification", "X.DDF"}}});
  catalog.record({{"0001", {"2"}}, {"CATD", {"CATD", "2", "LE01", "Line", "Y.DDF"}}});
  catalog.write(dir + "/catalog.ddf");

  Iso8211Builder points;
  points.field("0001", "0100;&", record_id)
      .field("PNTS", "1600;&", "POINT-NODE", "MODN!RCID!OBRP", "(A(4),I(6),A(2))")
      .field("SADR", "1600;&", "SPATIAL ADDRESS", "X!Y", "(2B(32))");
  for (int i = 1; i <= 3; ++i)
    points.record({{"0001", {fixed("     " + std::to_string(i))}},
                   {"PNTS", {fixed("NA01"), fixed("     " + std::to_string(i)), fixed("NA")}},
                   {"SADR", {be32(0x01D21E1E), be32(-0x1E)}}},
                  i == 1 ? 'D' : 'R');
  points.write(dir + "/points.ddf");

  Iso8211Builder dictionary;
  dictionary.field("0001", "0100;&", record_id)
      .field("DDSH", "1600;&", "DATA DICTIONARY/SCHEMA", "MODN!RCID!NAME!MXLN!KEY", "(A,I,A,I,A)");
  dictionary.record({{"0001", {"1"}}, {"DDSH", {"DDSH", "1", "AHDR", "72", "NOKEY"}}}, 'R');
  dictionary.record({{"0001", {"2"}}, {"DDSH", {"DDSH", "2", "", "  ", ""}}});
  dictionary.write(dir + "/dictionary.ddf");

  Iso8211Builder shapes(DdrOptions{.level = 3, .zero_record_length = true});
  shapes.field("0001", "0100;&", record_id)
      .field("BITS", "1600;&", "BITS", "*HI!LO", "(A,3(B(4),B(12)),B)")
      .field("GRID", "2600;&", "GRID", "", "(I)")
      .field("MTRX", "2600;&", "MATRIX", "2,2,2", "(R(,))");
  shapes.record({{"0001", {"1"}},
                 {"BITS", {"x", raw("\xAB\xCD\xEF\x12\x34\x56"), raw("216\x01\x02")}},
                 {"GRID", {"2", "1", "2", "7", "8"}},
                 {"MTRX", {delimited("1.5", ','), delimited("2", ','), delimited("3", ','), "4"}}});
  shapes.write(dir + "/shapes.ddf");

  Iso8211Builder plain(DdrOptions{.level = 1});
  plain.field("0001", "", record_id).field("TEXT", "", "TEXT");
  plain.record({{"0001", {"1"}}, {"TEXT", {"free text"}}});
  plain.write(dir + "/level1.ddf");
}

// The fuzz transfer's modules, each chosen by its index; real modules take the place of the
// module of their name, attribute modules of any name that of the attribute module.
void sdts_seeds(const fs::path& root, const fs::path& data, const FuzzTransfer& transfer) {
  Corpus corpus(root, "sdts_fuzz");
  const auto slot = [&](std::string module) -> int {
    if (module.size() == 4 && module[0] == 'A') module = "AHYF";
    for (std::size_t i = 0; i < transfer.files.size(); ++i)
      if (fs::path(transfer.files[i]).stem().string().ends_with(module)) return static_cast<int>(i);
    return -1;
  };
  for (std::size_t i = 0; i < transfer.files.size(); ++i)
    corpus.add(fs::path(transfer.files[i]).filename().string(), static_cast<char>(i),
               read_file(transfer.files[i]));
  // Other reference systems: the uncommon ones are asked of PROJ.
  const sdts_fixture::XrefSpec references[] = {
      {"GEO", "NAS", ""}, {"SPCS", "NAX", "2001"}, {"UTM", "WGB", "19"}, {"UTM", "WGE", "11"}};
  for (const sdts_fixture::XrefSpec& reference : references) {
    sdts_fixture::SdtsTransfer t((root / "xref").string(), "TR01");
    t.xref(reference);
    t.write();
    corpus.add("xref-" + reference.rsnm + "-" + reference.hdat, static_cast<char>(slot("XREF")),
               read_file(t.module_path("XREF")));
  }
  fs::remove_all(root / "xref");
  for (const fs::path& file : small_real_files(data, "sdts")) {
    const std::string stem = file.stem().string();
    if (file.extension() != ".DDF" || stem.size() < 4) continue;
    if (const int i = slot(stem.substr(stem.size() - 4)); i >= 0)
      corpus.add("real-" + file.parent_path().filename().string() + "-" + stem,
                 static_cast<char>(i), read_file(file));
  }
}

// The choices of dlgopt_fuzz: 0 any series, 1 airports (MT), 2 places (MS).
dlgopt_fixture::DlgFile named_places(int major) {
  dlgopt_fixture::DlgFile file = dlgopt_fixture::ladder(1, 3);
  file.scale = 2000000;
  file.lines.front().codes = {{major, major == 197 ? 12 : 7}};
  return file;
}

void dlgopt_seeds(const fs::path& root, const fs::path& data) {
  using dlgopt_fixture::Form;
  Corpus corpus(root, "dlgopt_fuzz");
  const std::pair<Form, const char*> forms[] = {
      {Form::kFixed, "fixed"}, {Form::kLines, "lines"}, {Form::kShortLines, "short"}};
  for (const auto& [form, name] : forms) {
    corpus.add(std::string("ladder-") + name, 0, render(dlgopt_fixture::ladder(2, 4), form));
    corpus.add(std::string("airports-") + name, 1, render(named_places(197), form));
    corpus.add(std::string("places-") + name, 2, render(named_places(207), form));
  }
  // Record 4's reference system, zone, units and datum; the uncommon ones are asked of PROJ.
  // Albers is left out: PROJ takes a tenth of a second to build it.
  struct Reference {
    const char* name;
    int system, zone, units;
    const char* datum;
  };
  const Reference references[] = {{"geographic", 0, 0, 4, "  0"},
                                  {"state-plane-feet", 2, 2001, 1, "  1"},
                                  {"state-plane", 2, 2001, 2, "  0"},
                                  {"utm-puerto-rico", 1, 19, 2, "  2"}};
  for (const Reference& r : references) {
    dlgopt_fixture::DlgFile file = dlgopt_fixture::ladder(1, 2);
    file.reference_system = r.system;
    file.zone = r.zone;
    file.units = r.units;
    file.horizontal_datum = r.datum;
    corpus.add(std::string("reference-") + r.name, 0, render(file, Form::kFixed));
  }
  for (const fs::path& file : small_real_files(data, "dlg3-optional"))
    if (file.extension() == ".opt") corpus.add("real-" + file.stem().string(), 0, read_file(file));
}

struct Member {
  std::string name;
  std::string content;  // of a file
  int type = AE_IFREG;  // AE_IFREG, AE_IFDIR, AE_IFLNK, or a hard link when `link` is set
  std::string link;     // target of a symbolic or hard link
};

Member tar_file(std::string name, std::string content) {
  return {std::move(name), std::move(content), AE_IFREG, ""};
}
Member tar_directory(std::string name) { return {std::move(name), "", AE_IFDIR, ""}; }
Member tar_symlink(std::string name, std::string target) {
  return {std::move(name), "", AE_IFLNK, std::move(target)};
}
Member tar_hard_link(std::string name, std::string target) {
  return {std::move(name), "", AE_IFREG, std::move(target)};
}

la_ssize_t append(archive*, void* out, const void* data, std::size_t size) {
  static_cast<std::string*>(out)->append(static_cast<const char*>(data), size);
  return static_cast<la_ssize_t>(size);
}

// A tar of `members`, gzip-compressed when `gzip`; `raw_gzip` makes a gzip of one file.
std::string archive_bytes(const std::vector<Member>& members, bool gzip, bool raw_gzip = false) {
  std::string out;
  std::unique_ptr<archive, decltype(&archive_write_free)> a(archive_write_new(),
                                                            archive_write_free);
  raw_gzip ? archive_write_set_format_raw(a.get()) : archive_write_set_format_ustar(a.get());
  if (gzip || raw_gzip) archive_write_add_filter_gzip(a.get());
  archive_write_set_bytes_in_last_block(a.get(), 1);  // no padding after the end
  archive_write_open(a.get(), &out, nullptr, append, nullptr);
  for (const Member& m : members) {
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> e(archive_entry_new(),
                                                                    archive_entry_free);
    archive_entry_set_pathname(e.get(), m.name.c_str());
    archive_entry_set_filetype(e.get(), static_cast<unsigned>(m.type));
    archive_entry_set_perm(e.get(), m.type == AE_IFDIR ? 0755 : 0644);
    if (m.type == AE_IFLNK) archive_entry_set_symlink(e.get(), m.link.c_str());
    if (m.type == AE_IFREG && !m.link.empty()) archive_entry_set_hardlink(e.get(), m.link.c_str());
    if (m.type == AE_IFREG && m.link.empty())
      archive_entry_set_size(e.get(), static_cast<la_int64_t>(m.content.size()));
    archive_write_header(a.get(), e.get());
    archive_write_data(a.get(), m.content.data(), m.content.size());
  }
  archive_write_close(a.get());
  return out;
}

// The choices of archive_fuzz: 0 ".tar", 1 ".tar.gz", 2 ".gz".
void archive_seeds(const fs::path& root, const fs::path& data, const FuzzTransfer& transfer) {
  Corpus corpus(root, "archive_fuzz");
  std::vector<Member> flat, nested = {tar_directory("quad"), tar_directory("quad/sdts")};
  for (const std::string& path : transfer.files) {
    const std::string name = fs::path(path).filename().string();
    flat.push_back(tar_file(name, read_file(path)));
    nested.push_back(tar_file("quad/sdts/" + name, read_file(path)));
  }
  const std::string opt = render(dlgopt_fixture::ladder(1, 2), dlgopt_fixture::Form::kShortLines);
  nested.push_back(tar_symlink("quad/catalog", "sdts/TR01CATD.DDF"));
  nested.push_back(tar_hard_link("quad/copy.DDF", "quad/sdts/TR01IDEN.DDF"));
  nested.push_back(tar_file("quad.opt", opt));
  const std::string gzipped_opt = archive_bytes({tar_file("quad.opt", opt)}, false, true);
  corpus.add("flat.tar", 0, archive_bytes(flat, false));
  corpus.add("nested.tar", 0, archive_bytes(nested, false));
  corpus.add("flat.tar.gz", 1, archive_bytes(flat, true));
  corpus.add("opt.tar.gz", 1, archive_bytes({tar_file("quad.opt.gz", gzipped_opt)}, true));
  corpus.add("opt.gz", 2, gzipped_opt);
  for (const fs::path& path : small_real_files(data, "sdts-archives", kLargestRealArchive)) {
    const std::string name = path.filename().string();
    corpus.add("real-" + name, 0, read_file(path));
    corpus.add("real-" + name + ".gz", 1,
               archive_bytes({tar_file(name, read_file(path))}, false, true));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seeds DIRECTORY [DATA_DIRECTORY]\n");
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path data = argc == 3 ? argv[2] : "";
  const FuzzTransfer transfer = fuzz::write_fuzz_transfer((root / "transfer").string());
  iso8211_seeds(root);
  sdts_seeds(root, data, transfer);
  dlgopt_seeds(root, data);
  archive_seeds(root, data, transfer);
  fs::remove_all(root / "transfer");
  return 0;
}

#include "tests/archives/fixtures.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/sysmacros.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "tests/support/shared_data.h"

namespace corvane::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() : path_(fresh_directory("corvane-test").string()) {}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

bool exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

std::vector<std::string> list_dir(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void copy_tree(const std::string& from, const std::string& to) {
  fs::create_directories(to);
  fs::copy(from, to, fs::copy_options::recursive);
}

void write_gzip(const std::string& path, const std::string& content) {
  gzFile out = gzopen(path.c_str(), "wb");
  if (out == nullptr) throw std::runtime_error("cannot write " + path);
  gzwrite(out, content.data(), static_cast<unsigned>(content.size()));
  gzclose(out);
}

void write_tar(const std::string& path, const std::vector<TarMember>& members) {
  std::unique_ptr<archive, decltype(&archive_write_free)> out(archive_write_new(),
                                                              archive_write_free);
  archive_write_set_format_pax_restricted(out.get());
  if (archive_write_open_filename(out.get(), path.c_str()) != ARCHIVE_OK)
    throw std::runtime_error("cannot write " + path);
  for (const TarMember& member : members) {
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(),
                                                                        archive_entry_free);
    archive_entry_set_pathname(entry.get(), member.name.c_str());
    archive_entry_set_perm(entry.get(), 0644);
    switch (member.kind) {
      case TarMember::Kind::File:
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_size(entry.get(), static_cast<la_int64_t>(member.content.size()));
        break;
      case TarMember::Kind::Directory:
        archive_entry_set_filetype(entry.get(), AE_IFDIR);
        archive_entry_set_perm(entry.get(), 0755);
        break;
      case TarMember::Kind::Symlink:
        archive_entry_set_filetype(entry.get(), AE_IFLNK);
        archive_entry_set_symlink(entry.get(), member.target.c_str());
        break;
      case TarMember::Kind::Hardlink:
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_hardlink(entry.get(), member.target.c_str());
        break;
      case TarMember::Kind::Fifo:
        archive_entry_set_filetype(entry.get(), AE_IFIFO);
        break;
      case TarMember::Kind::CharDevice:
        archive_entry_set_filetype(entry.get(), AE_IFCHR);
        archive_entry_set_rdev(entry.get(), makedev(1, 3));
        break;
    }
    archive_write_header(out.get(), entry.get());
    if (!member.content.empty())
      archive_write_data(out.get(), member.content.data(), member.content.size());
  }
  archive_write_close(out.get());
}

std::string gzip_bytes(const std::string& content) {
  const ScratchDir scratch;
  write_gzip(scratch / "x.gz", content);
  return read_file(scratch / "x.gz");
}

std::string tar_bytes(const std::vector<TarMember>& members) {
  const ScratchDir scratch;
  write_tar(scratch / "x.tar", members);
  return read_file(scratch / "x.tar");
}

}  // namespace corvane::test

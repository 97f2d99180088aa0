#include "sdts/driver/archive_input.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/fatal_error.h"

namespace fs = std::filesystem;

namespace {

struct ReadCloser {
  void operator()(archive* a) const { archive_read_free(a); }
};
using Archive = std::unique_ptr<archive, ReadCloser>;

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool names_tar(const std::string& name) {
  const std::string l = lower(name);
  return l.find(".tar") != std::string::npos || l.find("_tar") != std::string::npos;
}

// A member path that stays inside the unpack directory, or empty.
fs::path contained(const char* member) {
  if (member == nullptr || *member == '\0') return {};
  const fs::path path = fs::path(member).lexically_normal();
  if (path.is_absolute() || path.empty()) return {};
  for (const auto& part : path)
    if (part == "..") return {};
  return path;
}

void copy_data(archive* in, const fs::path& target, const std::string& archive_path) {
  fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  std::vector<char> block(65536);
  for (;;) {
    const la_ssize_t got = archive_read_data(in, block.data(), block.size());
    if (got < 0) corvane::fatal("Cannot unpack " + archive_path + ": " + archive_error_string(in));
    if (got == 0) break;
    out.write(block.data(), got);
  }
  if (!out) corvane::fatal("Cannot write " + target.string());
}

// Writes the archive's members (tar) or its one decompressed stream (plain .gz, named as
// the archive without ".gz") into `directory`. Only regular files and directories are
// taken; links and devices are skipped, and no member may leave the directory.
void unpack(const std::string& archive_path, const fs::path& directory) {
  const std::string name = fs::path(archive_path).filename().string();
  std::string inner = name;
  const auto gz = lower(inner).rfind(".gz");
  if (gz != std::string::npos && gz + 3 == inner.size()) inner.erase(gz);
  const bool tar = names_tar(inner);

  Archive in(archive_read_new());
  archive_read_support_filter_all(in.get());
  if (tar) {
    archive_read_support_format_tar(in.get());
    archive_read_support_format_gnutar(in.get());
  } else {
    archive_read_support_format_raw(in.get());
  }
  if (archive_read_open_filename(in.get(), archive_path.c_str(), 65536) != ARCHIVE_OK)
    corvane::fatal("Cannot open archive " + archive_path + ": " + archive_error_string(in.get()));

  archive_entry* entry = nullptr;
  int status = ARCHIVE_OK;
  while ((status = archive_read_next_header(in.get(), &entry)) == ARCHIVE_OK) {
    if (!tar) {
      copy_data(in.get(), directory / inner, archive_path);
      return;
    }
    const fs::path member = contained(archive_entry_pathname(entry));
    if (member.empty()) continue;
    if (archive_entry_filetype(entry) == AE_IFDIR)
      fs::create_directories(directory / member);
    else if (archive_entry_filetype(entry) == AE_IFREG)
      copy_data(in.get(), directory / member, archive_path);
  }
  if (status != ARCHIVE_EOF)
    corvane::fatal("Cannot unpack " + archive_path + ": " + archive_error_string(in.get()));
}

// The catalog nearest the top of the unpacked tree, the first by name at one depth.
std::string find_catalog(const fs::path& directory) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(directory)) {
    const std::string name = lower(entry.path().filename().string());
    if (entry.is_regular_file() && name.size() >= 8 && name.ends_with("catd.ddf"))
      found.push_back(entry.path());
  }
  if (found.empty()) return {};
  const auto depth = [](const fs::path& p) { return std::distance(p.begin(), p.end()); };
  return std::min_element(found.begin(), found.end(), [&](const fs::path& a, const fs::path& b) {
           return depth(a) != depth(b) ? depth(a) < depth(b) : a < b;
         })->string();
}

}  // namespace

bool ArchiveInput::is_archive(const std::string& path) {
  const std::string name = lower(fs::path(path).filename().string());
  return name.find(".gz") != std::string::npos || names_tar(name);
}

ArchiveInput::ArchiveInput(const std::string& archive_path) : m_work("ferrolink-archive-") {
  const fs::path directory = fs::path(m_work.path()) / "unzipped";
  fs::create_directory(directory);
  unpack(archive_path, directory);
  m_catalog = find_catalog(directory);
  if (m_catalog.empty()) corvane::fatal("No SDTS catalog (…CATD.DDF) in " + archive_path);
}

#include "sdts/driver/archive_input.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "frontend/spoolet/wendmark_tar.h"
#include "frontend/thawmill/wendmark_gzip.h"
#include "platform/fatal_error.h"
#include "platform/sibling_library.h"

namespace corvane::sdts {

namespace fs = std::filesystem;

namespace {

constexpr int kTarOutputSize = 10000;

// The unpacking libraries are loaded for an archive only: a plain catalog never maps them
// nor the compression libraries they pull in.
constexpr const char* kGZipLibrary = "libthawmill.so";
constexpr const char* kTarLibrary = "libspoolet.so";

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool names_tar(const std::string& name) {
  const std::string l = lower(name);
  return l.find(".tar") != std::string::npos || l.find("_tar") != std::string::npos;
}

// The name without a final ".gz" (any case); the whole name when it has none.
std::string without_gz(const std::string& name) {
  const std::string l = lower(name);
  return l.ends_with(".gz") ? name.substr(0, name.size() - 3) : name;
}

const char* gzip_failure(int result) {
  switch (result) {
    case kGZipCannotRead: return "cannot be read";
    case kGZipDamaged: return "is not valid gzip data";
    case kGZipCannotWrite: return "cannot be unpacked here (disk full or not writable)";
    case kGZipTooLarge: return "unpacks to more than the disk can take";
    default: return "cannot be unpacked";
  }
}

// Decompresses a .gz input into `directory`; returns the decompressed file.
std::string gunzip(const std::string& archive, const fs::path& directory) {
  std::string program = "gzip", flag = "-d", path = archive;
  std::vector<char*> argv = {program.data(), flag.data(), path.data()};
  std::string error;
  const auto gzip =
      corvane::sibling_function<decltype(Wendmark_GZip)>(kGZipLibrary, "Wendmark_GZip", error);
  if (gzip == nullptr) corvane::fatal("Cannot unpack " + archive + ": " + error);
  const int result = gzip(static_cast<int>(argv.size()), argv.data(), directory.c_str());
  if (result != kGZipOk) corvane::fatal("The archive " + archive + " " + gzip_failure(result));
  return (directory / without_gz(fs::path(archive).filename().string())).string();
}

// Extracts a tar archive into `directory`. The argument line quotes both paths, so names
// with blanks pass; a double quote inside a path cannot be told from the quoting.
void untar(const std::string& archive, const fs::path& directory) {
  if (archive.find('"') != std::string::npos || directory.string().find('"') != std::string::npos)
    corvane::fatal("Cannot unpack " + archive + ": its path contains a double quote");
  const std::string arguments = "-xf \"" + archive + "\" -C \"" + directory.string() + "\" ";
  std::string error;
  const auto tar =
      corvane::sibling_function<decltype(Wendmark_Tar)>(kTarLibrary, "Wendmark_Tar", error);
  if (tar == nullptr) corvane::fatal("Cannot unpack " + archive + ": " + error);
  std::vector<char> output(kTarOutputSize, '\0');
  if (tar(arguments.c_str(), output.data(), kTarOutputSize) != 0)
    corvane::fatal("Cannot unpack " + archive + ": " + std::string(output.data()));
}

// The catalog nearest the top of the unpacked tree, the first by name at one depth.
std::string find_catalog(const fs::path& directory) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(directory)) {
    const std::string name = lower(entry.path().filename().string());
    if (entry.is_regular_file() && name.ends_with("catd.ddf")) found.push_back(entry.path());
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
  std::string archive = archive_path;
  if (lower(archive).ends_with(".gz")) {
    // The decompressed file lies beside the work directory's unpack folder, so that only
    // the transfer's own files are searched for the catalog.
    archive = gunzip(archive_path, m_work.path());
    if (!names_tar(fs::path(archive).filename().string())) fs::rename(archive, directory / fs::path(archive).filename());
  }
  if (names_tar(fs::path(archive).filename().string())) untar(archive, directory);
  m_catalog = find_catalog(directory);
  if (m_catalog.empty()) corvane::fatal("No SDTS catalog (…CATD.DDF) in " + archive_path);
}

}  // namespace corvane::sdts

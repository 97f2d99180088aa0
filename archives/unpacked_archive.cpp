#include "archives/unpacked_archive.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <vector>

#include "archives/unpack_limit.h"
#include "archives/wendmark_gzip.h"
#include "archives/wendmark_tar.h"
#include "platform/fatal_error.h"
#include "platform/file_signature.h"
#include "platform/sibling_library.h"
#include "platform/text.h"

namespace corvane::archives {

namespace fs = std::filesystem;

namespace {

constexpr int kTarOutputSize = 10000;

// The unpacking libraries are loaded for an archive only: plain inputs never map them nor
// the compression libraries they pull in.
constexpr const char* kGZipLibrary = "libthawmill.so";
constexpr const char* kTarLibrary = "libspoolet.so";

std::string gzip_failure(int result, const std::string& directory) {
  switch (result) {
    case kGZipCannotRead:
      return "cannot read the archive";
    case kGZipDamaged:
      return "the gzip data is damaged";
    case kGZipCannotWrite:
      return "cannot write into the unpack directory";
    case kGZipTooLarge:
      return "it decompresses to more than " + unpack_limit(directory).what;
    default:
      return "the gzip library refused its arguments";
  }
}

// Empty when the archive was decompressed, else why not.
std::string gunzip(const std::string& archive, const std::string& directory) {
  std::string error;
  const auto gzip = sibling_function<decltype(Wendmark_GZip)>(kGZipLibrary, "Wendmark_GZip", error);
  if (gzip == nullptr) return error;
  std::array<std::string, 3> words{"gzip", "-d", archive};
  std::array<char*, 3> argv{words[0].data(), words[1].data(), words[2].data()};
  const int status = gzip(3, argv.data(), directory.c_str());
  return status == kGZipOk ? std::string() : gzip_failure(status, directory);
}

// The tar library's output ends with the reason when it fails.
std::string last_line(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
  const auto newline = trimmed.rfind('\n');
  return newline == std::string::npos ? trimmed : trimmed.substr(newline + 1);
}

// Empty when every member was extracted, else why not; `listing` receives the library's text.
// The argument line quotes both paths, so names with blanks pass; a double quote inside a
// path cannot be told from the quoting.
std::string untar(const std::string& archive, const std::string& directory, std::string& listing) {
  if (archive.find('"') != std::string::npos || directory.find('"') != std::string::npos)
    return "the path holds a double quote";
  std::string error;
  const auto tar = sibling_function<decltype(Wendmark_Tar)>(kTarLibrary, "Wendmark_Tar", error);
  if (tar == nullptr) return error;
  const std::string line = "-xvf \"" + archive + "\" -C \"" + directory + "\" ";
  std::vector<char> output(kTarOutputSize, '\0');
  const int status = tar(line.c_str(), output.data(), kTarOutputSize);
  listing = output.data();
  return status == 0 ? std::string() : last_line(listing);
}

std::vector<std::string> regular_files(const std::string& directory) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directory, ec)) {
    if (entry.is_regular_file(ec)) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// `tail` is written in lower case; a name ending in it exactly comes before one in any case.
std::optional<std::string> first_ending(const std::vector<std::string>& names,
                                        std::string_view tail) {
  for (const auto& name : names)
    if (name.ends_with(tail)) return name;
  for (const auto& name : names)
    if (lower(name).ends_with(tail)) return name;
  return std::nullopt;
}

// A catalog found in the unpacked tree, ordered by how much it is preferred.
struct CatalogCandidate {
  int depth;
  bool any_case;  // the ending is not the exact lower-case "catd.ddf"
  fs::path path;

  bool operator<(const CatalogCandidate& other) const {
    if (depth != other.depth) return depth < other.depth;
    if (any_case != other.any_case) return !any_case;
    return path < other.path;
  }
};

}  // namespace

bool is_archive(const std::string& path) {
  const FileSignature signature = file_signature(path);
  return signature == FileSignature::Gzip || signature == FileSignature::Tar ||
         signature == FileSignature::Zip;
}

UnpackedArchive::UnpackedArchive(const std::string& archive_path)
    : archive_(archive_path), work_("corvane-unpack-"), directory_(work_.file("unzipped")) {
  std::error_code ec;
  if (!fs::create_directory(directory_, ec))
    fatal("Cannot create the unpack directory " + directory_);
  failure_ = unpack();
}

std::string UnpackedArchive::unpack() {
  std::string reason;
  switch (file_signature(archive_)) {
    case FileSignature::Zip:
      return kZipRefusal;
    case FileSignature::Tar:
      reason = untar(archive_, directory_, listing_);
      break;
    case FileSignature::Gzip:
      reason = gunzip_archive();
      break;
    default:
      reason = "not a gzip or tar archive";
  }
  return reason.empty() ? reason : "cannot unpack the archive: " + reason;
}

// Decompressed into a directory of its own beside the unpack directory, so that no member of
// the tar it may hold can meet it.
std::string UnpackedArchive::gunzip_archive() {
  const std::string beside = work_.file("gzip");
  std::error_code ec;
  fs::create_directory(beside, ec);
  if (std::string reason = gunzip(archive_, beside); !reason.empty()) return reason;
  // The directory was empty: the one file it holds now is what the gzip data held.
  const std::string name = regular_files(beside).front();
  const std::string inner = paths::join(beside, name);
  if (file_signature(inner) == FileSignature::Tar) {
    std::string reason = untar(inner, directory_, listing_);
    fs::remove(inner, ec);  // no longer needed, and as large as the transfer
    return reason;
  }
  decompressed_ = paths::join(directory_, name);
  fs::rename(inner, decompressed_, ec);
  return ec ? "cannot move the decompressed file: " + ec.message() : std::string();
}

std::optional<std::string> UnpackedArchive::catalog() const {
  std::optional<CatalogCandidate> best;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(directory_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!lower(name).ends_with("catd.ddf") || !it->is_regular_file(ec)) continue;
    CatalogCandidate found{it.depth(), !name.ends_with("catd.ddf"), it->path()};
    if (!best || found < *best) best = std::move(found);
  }
  if (!best) return std::nullopt;
  return best->path.string();
}

std::string UnpackedArchive::required_catalog() const {
  if (!failure_.empty()) fatal(failure_);
  const std::optional<std::string> found = catalog();
  if (!found) fatal(kNoCatalog);
  return *found;
}

std::optional<std::string> UnpackedArchive::file_to_convert() {
  if (!decompressed_.empty()) return decompressed_;
  if (std::optional<std::string> found = catalog()) return found;
  std::vector<std::string> names = regular_files(directory_);
  for (const std::string& name : names) {
    const std::string member = paths::join(directory_, name);
    if (file_signature(member) != FileSignature::Gzip) continue;
    if (gunzip(member, directory_).empty()) {
      std::error_code ec;
      fs::remove(member, ec);
      names = regular_files(directory_);
    }
    break;
  }
  if (auto opt = first_ending(names, ".opt")) return paths::join(directory_, *opt);
  for (const std::string& name : names)
    if (file_signature(paths::join(directory_, name)) == FileSignature::Iso8211)
      return std::nullopt;
  if (!names.empty()) return paths::join(directory_, names.front());
  return std::nullopt;
}

}  // namespace corvane::archives

#include "frontend/batch/archive_unpack.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <vector>

#include "frontend/spoolet/wendmark_tar.h"
#include "frontend/thawmill/wendmark_gzip.h"
#include "platform/fatal_error.h"
#include "platform/sibling_library.h"

namespace corvane::batch {

namespace fs = std::filesystem;

namespace {

constexpr int kTarOutputSize = 10000;

// The unpacking libraries are loaded for an archive only: a batch of plain inputs never
// maps them nor the compression libraries they pull in.
constexpr const char* kGZipLibrary = "libthawmill.so";
constexpr const char* kTarLibrary = "libspoolet.so";

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool ends_with_nocase(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() && paths::iequals(std::string_view(text).substr(text.size() - tail.size()), tail);
}

std::string gzip_failure(int result) {
  switch (result) {
    case kGZipCannotRead: return "cannot read the archive";
    case kGZipDamaged: return "the gzip data is damaged";
    case kGZipCannotWrite: return "cannot write into the unpack directory";
    case kGZipTooLarge: return "it decompresses to more than 20 GiB or the free space";
    default: return "not a gzip archive name";
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
  return status == kGZipOk ? std::string() : gzip_failure(status);
}

// The tar library's output ends with the reason when it fails.
std::string last_line(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
  const auto newline = trimmed.rfind('\n');
  return newline == std::string::npos ? trimmed : trimmed.substr(newline + 1);
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

std::optional<std::string> first_ending(const std::vector<std::string>& names, std::string_view tail) {
  for (const auto& name : names)
    if (name.size() >= tail.size() && std::string_view(name).substr(name.size() - tail.size()) == tail) return name;
  for (const auto& name : names)
    if (ends_with_nocase(name, tail)) return name;
  return std::nullopt;
}

}  // namespace

bool is_archive_input(const std::string& path) {
  const std::string name = lower(paths::name_part(path));
  return name.find(".gz") != std::string::npos || ends_with_nocase(name, ".tar");
}

UnpackDirectory::UnpackDirectory() : work_("corvane-unpack-"), path_(work_.file("unzipped")) {
  std::error_code ec;
  if (!fs::create_directory(path_, ec)) fatal("Cannot create the unpack directory " + path_);
}

UnpackResult unpack(const std::string& input_path, const std::string& directory) {
  UnpackResult result;
  const std::string name = paths::name_part(input_path);
  std::string inner = name;
  std::string archive = input_path;
  const bool compressed = ends_with_nocase(name, ".gz");
  if (compressed) {
    if (std::string failure = gunzip(input_path, directory); !failure.empty()) {
      result.reason = std::move(failure);
      return result;
    }
    inner = name.substr(0, name.size() - 3);
    archive = paths::join(directory, inner);
    result.wrote_files = true;
  }
  const std::string inner_lower = lower(inner);
  if (inner_lower.find(".tar") != std::string::npos || inner_lower.find("_tar") != std::string::npos) {
    if (archive.find('"') != std::string::npos || directory.find('"') != std::string::npos) {
      result.reason = "the path holds a double quote";
      return result;
    }
    std::string error;
    const auto tar = sibling_function<decltype(Wendmark_Tar)>(kTarLibrary, "Wendmark_Tar", error);
    if (tar == nullptr) {
      result.reason = std::move(error);
      return result;
    }
    const std::string line = "-xvf \"" + archive + "\" -C \"" + directory + "\" ";
    std::vector<char> output(kTarOutputSize, '\0');
    const int status = tar(line.c_str(), output.data(), kTarOutputSize);
    result.listing = output.data();
    result.wrote_files = true;
    // Our own decompressed copy is not a candidate for conversion.
    if (compressed) fs::remove(archive);
    if (status != 0) {
      result.reason = last_line(result.listing);
      return result;
    }
  }
  result.ok = true;
  return result;
}

std::optional<std::string> find_unpacked_input(const std::string& directory) {
  std::vector<std::string> names = regular_files(directory);
  if (auto catalog = first_ending(names, "catd.ddf")) return paths::join(directory, *catalog);
  if (auto gz = first_ending(names, ".gz")) {
    if (gunzip(paths::join(directory, *gz), directory).empty()) {
      fs::remove(paths::join(directory, *gz));
      names = regular_files(directory);
    }
  }
  if (auto opt = first_ending(names, ".opt")) return paths::join(directory, *opt);
  if (!names.empty()) return paths::join(directory, names.front());
  return std::nullopt;
}

}  // namespace corvane::batch

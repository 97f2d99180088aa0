#include "archives/wendmark_tar.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archives/unpack_limit.h"
#include "platform/unique_handle.h"

namespace {

using ArchiveReader = corvane::UniqueHandle<archive, archive_read_free>;
using ArchiveWriter = corvane::UniqueHandle<archive, archive_write_free>;

struct TarRequest {
  bool verbose = false;
  std::string archive;
  std::string directory = ".";
};

// Splits at blanks; double quotes group a piece that holds blanks.
std::vector<std::string> split_arguments(std::string_view line) {
  std::vector<std::string> out;
  std::string current;
  bool quoted = false, have = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
      have = true;
    } else if (c == ' ' && !quoted) {
      if (have) out.push_back(current);
      current.clear();
      have = false;
    } else {
      current += c;
      have = true;
    }
  }
  if (have) out.push_back(current);
  return out;
}

std::optional<TarRequest> parse_request(const char* arguments) {
  const std::vector<std::string> args = split_arguments(arguments);
  if (args.size() < 2) return std::nullopt;
  std::string_view flags = args[0];
  if (!flags.empty() && flags[0] == '-') flags.remove_prefix(1);
  if (flags.find('x') == std::string_view::npos || flags.find('f') == std::string_view::npos ||
      flags.find_first_not_of("xvfz") != std::string_view::npos)
    return std::nullopt;
  TarRequest request;
  request.verbose = flags.find('v') != std::string_view::npos;
  request.archive = args[1];
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] != "-C" || i + 1 >= args.size()) return std::nullopt;
    request.directory = args[++i];
  }
  return request;
}

// True when `path` is relative and has no ".." component. With no symbolic link extracted,
// such a path cannot lead out of the directory it is extracted into.
bool stays_inside(std::string_view path) {
  if (path.empty() || path[0] == '/') return false;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    if (path.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

class Extraction {
 public:
  Extraction(const TarRequest& request, char* output, int output_size)
      : request_(request), output_(output), output_size_(output_size) {}

  int run() {
    char resolved[PATH_MAX];
    if (::realpath(request_.directory.c_str(), resolved) == nullptr)
      return fail("cannot use the directory " + request_.directory);
    destination_ = resolved;
    limit_ = corvane::archives::unpack_limit(destination_);

    ArchiveReader reader(archive_read_new());
    ArchiveWriter writer(archive_write_disk_new());
    if (!reader || !writer) return fail("out of memory");
    archive_read_support_filter_all(reader.get());
    archive_read_support_format_tar(reader.get());
    archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_TIME |
                                                     ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                                                     ARCHIVE_EXTRACT_SECURE_NODOTDOT);
    if (archive_read_open_filename(reader.get(), request_.archive.c_str(), 1 << 16) != ARCHIVE_OK)
      return fail("cannot read " + request_.archive + ": " + archive_error_string(reader.get()));

    archive_entry* entry = nullptr;
    for (;;) {
      const int status = archive_read_next_header(reader.get(), &entry);
      if (status == ARCHIVE_EOF) break;
      if (status < ARCHIVE_WARN)
        return fail(std::string("damaged archive: ") + archive_error_string(reader.get()));
      if (const int result = extract(reader.get(), writer.get(), entry); result != 0) return result;
    }
    return 0;
  }

 private:
  int extract(archive* reader, archive* writer, archive_entry* entry) {
    const std::string name = archive_entry_pathname(entry) ? archive_entry_pathname(entry) : "";
    if (!stays_inside(name)) return fail("refused member " + name + ": absolute path or \"..\"");
    const auto type = archive_entry_filetype(entry);
    const char* hardlink = archive_entry_hardlink(entry);
    if (hardlink != nullptr) {
      if (!stays_inside(hardlink))
        return fail("refused member " + name + ": link leads out of the directory");
      archive_entry_set_hardlink(entry, (destination_ + '/' + hardlink).c_str());
    } else if (type == AE_IFLNK) {
      return fail("refused member " + name + ": symbolic links are not extracted");
    } else if (type != AE_IFREG && type != AE_IFDIR) {
      return fail("refused member " + name + ": not a file or directory");
    }
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0)
      total_ += static_cast<std::uint64_t>(archive_entry_size(entry));
    if (total_ > limit_.bytes) return too_large();

    archive_entry_set_pathname(entry, (destination_ + '/' + name).c_str());
    if (archive_write_header(writer, entry) < ARCHIVE_WARN)
      return fail("cannot extract " + name + ": " + archive_error_string(writer));
    if (const int result = copy_data(reader, writer, name); result != 0) return result;
    if (archive_write_finish_entry(writer) < ARCHIVE_WARN)
      return fail("cannot extract " + name + ": " + archive_error_string(writer));
    if (request_.verbose) append(name + "\n");
    return 0;
  }

  int copy_data(archive* reader, archive* writer, const std::string& name) {
    const void* block = nullptr;
    std::size_t size = 0;
    la_int64_t offset = 0;
    std::uint64_t written = 0;
    for (;;) {
      const int status = archive_read_data_block(reader, &block, &size, &offset);
      if (status == ARCHIVE_EOF) return 0;
      if (status < ARCHIVE_WARN)
        return fail("damaged member " + name + ": " + archive_error_string(reader));
      written += size;
      // The header's size may understate what the data holds; count what arrives too.
      if (written > limit_.bytes) return too_large();
      if (archive_write_data_block(writer, block, size, offset) < ARCHIVE_WARN)
        return fail("cannot write " + name + ": " + archive_error_string(writer));
    }
  }

  int too_large() { return fail("the archive unpacks to more than " + limit_.what); }

  // The reason is the output's last line, whatever the listing before it filled.
  int fail(const std::string& reason) {
    const std::string line = "tar: " + reason + "\n";
    make_room(line.size());
    append(line);
    return 1;
  }

  // Drops whole lines from the end of the listing until `size` more bytes fit.
  void make_room(std::size_t size) {
    if (output_ == nullptr || output_size_ <= 0) return;
    const std::size_t capacity = static_cast<std::size_t>(output_size_) - 1;
    std::size_t used = std::strlen(output_);
    if (used + size <= capacity) return;
    used = size >= capacity ? 0 : capacity - size;
    while (used > 0 && output_[used - 1] != '\n') --used;
    output_[used] = '\0';
  }

  void append(const std::string& text) {
    if (output_ == nullptr || output_size_ <= 0) return;
    const std::size_t used = std::strlen(output_);
    const std::size_t room = static_cast<std::size_t>(output_size_) - 1 - used;
    const std::size_t n = std::min(room, text.size());
    std::memcpy(output_ + used, text.data(), n);
    output_[used + n] = '\0';
  }

  const TarRequest& request_;
  char* output_;
  int output_size_;
  std::string destination_;
  corvane::archives::UnpackLimit limit_;
  std::uint64_t total_ = 0;
};

}  // namespace

extern "C" int Wendmark_Tar(const char* arguments, char* output, int outputSize) {
  if (output != nullptr && outputSize > 0) output[0] = '\0';
  const std::optional<TarRequest> request = parse_request(arguments ? arguments : "");
  if (!request) {
    if (output != nullptr && outputSize > 0)
      std::snprintf(output, static_cast<std::size_t>(outputSize),
                    "tar: usage: -xvf ARCHIVE [-C DIRECTORY]\n");
    return 1;
  }
  return Extraction(*request, output, outputSize).run();
}

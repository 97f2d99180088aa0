#include "archives/wendmark_gzip.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "archives/unpack_limit.h"
#include "platform/text.h"

namespace {

struct GzCloser {
  void operator()(gzFile f) const { gzclose(f); }
};
using GzFile = std::unique_ptr<std::remove_pointer_t<gzFile>, GzCloser>;

class OutputFile {
 public:
  explicit OutputFile(const std::string& path)
      : path_(path),
        fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)) {}
  // Only a file we created is removed: the one an exclusive open found is not ours.
  ~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !kept_) ::unlink(path_.c_str());
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool is_open() const { return fd_ >= 0; }
  bool write_all(const char* data, std::size_t size) {
    while (size > 0) {
      const ssize_t n = ::write(fd_, data, size);
      if (n <= 0) return false;
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }
  bool keep() {
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    kept_ = closed;
    return closed;
  }

 private:
  std::string path_;
  int fd_;
  bool created_ = fd_ >= 0;
  bool kept_ = false;
};

std::string decompressed_name(std::string_view path) {
  const auto slash = path.find_last_of("/\\");
  const std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
  const std::string lower = corvane::lower(name);
  if (lower.ends_with(".gz")) return name.substr(0, name.size() - 3);
  if (lower.ends_with(".tgz")) return name.substr(0, name.size() - 4) + ".tar";
  return name;
}

int decompress(const std::string& archive, const std::string& output_path, std::uint64_t limit) {
  GzFile in(gzopen(archive.c_str(), "rb"));
  if (!in) return kGZipCannotRead;
  OutputFile out(output_path);
  if (!out.is_open()) return kGZipCannotWrite;
  std::array<char, 1 << 16> buffer{};
  std::uint64_t total = 0;
  for (;;) {
    const int n = gzread(in.get(), buffer.data(), static_cast<unsigned>(buffer.size()));
    if (n < 0) return kGZipDamaged;
    // zlib copies data that is not gzip at all unchanged; that is a damaged archive to us.
    if (total == 0 && gzdirect(in.get())) return kGZipDamaged;
    if (n == 0) break;
    total += static_cast<std::uint64_t>(n);
    if (total > limit) return kGZipTooLarge;
    if (!out.write_all(buffer.data(), static_cast<std::size_t>(n))) return kGZipCannotWrite;
  }
  // gzread reports a truncated stream only through gzerror once the data runs out.
  int status = Z_OK;
  gzerror(in.get(), &status);
  if (status != Z_OK && status != Z_STREAM_END) return kGZipDamaged;
  return out.keep() ? kGZipOk : kGZipCannotWrite;
}

}  // namespace

extern "C" int Wendmark_GZip(int argc, char** argv, const char* directory) {
  if (argc < 3 || argv == nullptr || directory == nullptr || *directory == '\0')
    return kGZipBadArguments;
  if (std::string_view(argv[argc - 2]) != "-d") return kGZipBadArguments;
  const std::string archive = argv[argc - 1];
  const std::string name = decompressed_name(archive);
  if (name.empty() || name == "." || name == "..") return kGZipBadArguments;
  std::string dir = directory;
  if (dir.back() != '/') dir += '/';
  return decompress(archive, dir + name, corvane::archives::unpack_limit(directory).bytes);
}

#include "platform/file_signature.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <string_view>

namespace corvane {

namespace {

constexpr std::size_t kHeadSize = 512;  // one tar header block
constexpr std::size_t kTarMagicOffset = 257;

std::string_view read_head(const std::string& path, std::array<char, kHeadSize>& buffer) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {};
  std::size_t size = 0;
  while (size < buffer.size()) {
    const ssize_t n = ::read(fd, buffer.data() + size, buffer.size() - size);
    if (n <= 0) break;
    size += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return {buffer.data(), size};
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Loose on purpose: a catalog with a damaged leader still goes to the SDTS converter, which
// can say what is wrong with it.
bool is_iso8211_leader(std::string_view head) {
  if (head.size() < 24 || head[6] != 'L') return false;
  for (std::size_t i = 0; i < 5; ++i)
    if (!is_digit(head[i])) return false;
  return true;
}

}  // namespace

FileSignature file_signature(const std::string& path) {
  std::array<char, kHeadSize> buffer{};
  const std::string_view head = read_head(path, buffer);
  if (head.starts_with("\x1f\x8b")) return FileSignature::Gzip;
  if (head.size() >= kTarMagicOffset + 5 && head.substr(kTarMagicOffset, 5) == "ustar")
    return FileSignature::Tar;
  if (head.starts_with("PK\3\4") || head.starts_with("PK\5\6")) return FileSignature::Zip;
  if (is_iso8211_leader(head)) return FileSignature::Iso8211;
  return FileSignature::Other;
}

}  // namespace corvane

#include "sdts/iso8211/iso_stream_io.h"

#include <algorithm>

namespace corvane::iso8211 {

namespace {

// Bytes fetched from the stream at a time; a record of a module rarely spans two windows.
constexpr std::int64_t kWindowBytes = 64 * 1024;

// The `count` bytes at the reader's position (the caller has checked that the file has them),
// fetched from the stream only when the window does not hold them; null when the stream fails.
const char* window_bytes(IsoFileState& file, std::int64_t count) {
  const std::int64_t window_end = file.window_start + static_cast<std::int64_t>(file.window.size());
  if (file.position >= file.window_start && file.position + count <= window_end)
    return file.window.data() + (file.position - file.window_start);
  const std::int64_t fetch =
      std::min(std::max(count, kWindowBytes), file.file_size - file.position);
  file.window.resize(static_cast<std::size_t>(fetch));
  file.window_start = file.position;
  if (std::fseek(file.stream.get(), static_cast<long>(file.position), SEEK_SET) != 0 ||
      std::fread(file.window.data(), 1, file.window.size(), file.stream.get()) !=
          file.window.size()) {
    file.window.clear();
    return nullptr;
  }
  return file.window.data();
}

}  // namespace

std::int64_t Iso_Position(IsoFileState& file) { return file.position; }

bool Iso_Seek(IsoFileState& file, std::int64_t position) {
  if (position < 0) return false;
  file.position = position;
  return true;
}

bool Iso_View_Exact(IsoFileState& file, std::int64_t count, std::string_view& out) {
  if (count < 0 || count > file.file_size - file.position) {
    file.position = file.file_size;
    return false;
  }
  const char* bytes = window_bytes(file, count);
  if (bytes == nullptr) return false;
  out = std::string_view(bytes, static_cast<std::size_t>(count));
  file.position += count;
  return true;
}

bool Iso_Read_Exact(IsoFileState& file, std::int64_t count, std::string& out) {
  std::string_view bytes;
  if (!Iso_View_Exact(file, count, bytes)) return false;
  out.assign(bytes);
  return true;
}

std::string_view Iso_View_Up_To(IsoFileState& file, std::int64_t count) {
  std::string_view bytes;
  const std::int64_t available = file.file_size - file.position;
  if (available > 0)
    Iso_View_Exact(file, std::max<std::int64_t>(0, std::min(count, available)), bytes);
  return bytes;
}

bool Iso_At_End(IsoFileState& file) { return file.position >= file.file_size; }

bool Iso_Peek_End(IsoFileState& file) {
  if (file.position >= file.file_size) return true;
  const char* byte = window_bytes(file, 1);
  if (byte == nullptr) return true;
  if (*byte != 0x1A && *byte != '^') return false;
  ++file.position;
  return true;
}

}  // namespace corvane::iso8211

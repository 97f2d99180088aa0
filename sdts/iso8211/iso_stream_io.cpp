#include "sdts/iso8211/iso_stream_io.h"

#include <algorithm>

std::int64_t Iso_Position(IsoFileState& file) { return std::ftell(file.stream.get()); }

bool Iso_Seek(IsoFileState& file, std::int64_t position) {
  return std::fseek(file.stream.get(), static_cast<long>(position), SEEK_SET) == 0;
}

bool Iso_Read_Exact(IsoFileState& file, std::int64_t count, std::string& out) {
  const std::int64_t position = Iso_Position(file);
  if (count < 0 || position < 0 || count > file.file_size - position) {
    std::fseek(file.stream.get(), 0, SEEK_END);
    return false;
  }
  out.assign(static_cast<std::size_t>(count), '\0');
  return std::fread(out.data(), 1, out.size(), file.stream.get()) == out.size();
}

std::string Iso_Read_Up_To(IsoFileState& file, std::int64_t count) {
  const std::int64_t position = Iso_Position(file);
  const std::int64_t available = position < 0 ? 0 : file.file_size - position;
  std::string out(static_cast<std::size_t>(std::max<std::int64_t>(0, std::min(count, available))), '\0');
  out.resize(std::fread(out.data(), 1, out.size(), file.stream.get()));
  return out;
}

bool Iso_At_End(IsoFileState& file) {
  return std::feof(file.stream.get()) || Iso_Position(file) >= file.file_size;
}

bool Iso_Peek_End(IsoFileState& file) {
  const int c = std::fgetc(file.stream.get());
  if (c == EOF || c == 0x1A || c == '^') return true;
  std::fseek(file.stream.get(), -1, SEEK_CUR);
  return false;
}

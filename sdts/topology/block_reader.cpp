#include "sdts/topology/block_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

BlockReader::~BlockReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool BlockReader::open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return false;
  size_ = static_cast<long>(info.st_size);
  return true;
}

const BlockReader::Block* BlockReader::fetch(long index) {
  ++clock_;
  Block* victim = &blocks_[0];
  for (Block& block : blocks_) {
    if (block.index == index) {
      block.last_use = clock_;
      return &block;
    }
    if (block.last_use < victim->last_use) victim = &block;
  }
  victim->data.resize(kBlockSize);
  const ssize_t got = ::pread(fd_, victim->data.data(), kBlockSize, static_cast<off_t>(index) * kBlockSize);
  if (got < 0) return nullptr;
  victim->index = index;
  victim->bytes = got;
  victim->last_use = clock_;
  return victim;
}

bool BlockReader::read(long offset, std::uint8_t* out, long count) {
  if (offset < 0 || count < 0 || offset > size_ || count > size_ - offset) return false;
  while (count > 0) {
    const Block* block = fetch(offset / kBlockSize);
    const long within = offset % kBlockSize;
    if (block == nullptr || block->bytes <= within) return false;
    const long piece = std::min(count, block->bytes - within);
    std::memcpy(out, block->data.data() + within, static_cast<std::size_t>(piece));
    out += piece;
    offset += piece;
    count -= piece;
  }
  return true;
}

// Random reads from a file through a few cached blocks. Polygon rings visit lines all over
// the intermediate files, but mostly near the lines visited just before; a handful of
// blocks serves most reads without a system call, and memory stays fixed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class BlockReader {
 public:
  static constexpr long kBlockSize = 1 << 16;
  static constexpr std::size_t kBlocks = 8;

  BlockReader() = default;
  ~BlockReader();
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  bool open(const std::string& path);
  long size() const { return size_; }
  // Reads `count` bytes at `offset`; false when they are not all in the file.
  bool read(long offset, std::uint8_t* out, long count);

 private:
  struct Block {
    long index = -1;
    std::uint64_t last_use = 0;
    long bytes = 0;
    std::vector<std::uint8_t> data;
  };
  const Block* fetch(long index);

  int fd_ = -1;
  long size_ = 0;
  std::uint64_t clock_ = 0;
  std::array<Block, kBlocks> blocks_;
};

#include "sdts/attributes/record_staging.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/byte_order.h"
#include "platform/paths.h"
#include "sdts/driver/run_state.h"

namespace {

// No value the reader hands out is longer (binary values become twice as many hex digits).
constexpr std::uint32_t kLongestText = 1u << 16;

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  const std::size_t at = out.size();
  out.resize(at + 4);
  corvane::bytes::put_le32(out.data() + at, value);
}

void put_text(std::vector<std::uint8_t>& out, const std::string& text) {
  put_u32(out, static_cast<std::uint32_t>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

AttrRecordStaging::AttrRecordStaging(const std::string& name)
    : path_(corvane::paths::join(SDTS_Work_Directory(), name)), file_(open_c_file(path_, "wb+", kBulkStreamBuffer)) {}

AttrRecordStaging::~AttrRecordStaging() {
  file_.reset();
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

bool AttrRecordStaging::put(const AttrRecord& record, std::size_t columns) {
  bytes_.clear();
  const std::size_t kept = std::min(record.values.size(), columns);
  put_u32(bytes_, static_cast<std::uint32_t>(record.values.size()));
  put_u32(bytes_, static_cast<std::uint32_t>(kept));
  bytes_.push_back(record.has_rcid ? 1 : 0);
  if (record.has_rcid) put_text(bytes_, record.rcid.text);
  for (std::size_t k = 0; k < kept; ++k) put_text(bytes_, record.values[k].text);
  return std::fwrite(bytes_.data(), 1, bytes_.size(), file_.get()) == bytes_.size();
}

bool AttrRecordStaging::rewind() { return std::fseek(file_.get(), 0, SEEK_SET) == 0; }

bool AttrRecordStaging::read_text(std::string& text) {
  std::uint8_t size[4];
  if (std::fread(size, 1, sizeof size, file_.get()) != sizeof size) return false;
  const std::uint32_t length = corvane::bytes::get_le32(size);
  if (length > kLongestText) return false;
  text.resize(length);
  return std::fread(text.data(), 1, length, file_.get()) == length;
}

bool AttrRecordStaging::get(AttrRecord& record) {
  std::uint8_t head[9];
  if (std::fread(head, 1, sizeof head, file_.get()) != sizeof head) return false;
  const std::uint32_t values = corvane::bytes::get_le32(head);
  const std::uint32_t kept = corvane::bytes::get_le32(head + 4);
  // Counts are checked before anything is sized by them.
  if (kept > values || values > kLongestText) return false;
  record.has_rcid = head[8] != 0;
  record.rcid.text.clear();
  if (record.has_rcid && !read_text(record.rcid.text)) return false;
  record.values.resize(values);
  for (std::uint32_t k = 0; k < values; ++k) {
    if (k >= kept) {
      record.values[k].text.clear();
    } else if (!read_text(record.values[k].text)) {
      return false;
    }
  }
  return true;
}

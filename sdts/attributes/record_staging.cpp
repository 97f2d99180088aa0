#include "sdts/attributes/record_staging.h"

#include <algorithm>

#include "platform/byte_order.h"
#include "sdts/driver/run_state.h"
#include "sdts/driver/work_files.h"

namespace {

// More values than any attribute record holds.
constexpr std::uint32_t kMostValues = 1u << 16;
// A staged record is its size, then its value count, the count of texts kept, the record
// number flag, and each text as its length and its characters.
constexpr std::size_t kSizeBytes = 4;
constexpr std::size_t kHeadBytes = 9;
// More than any record of a module can hold: 2^24 bytes.
constexpr std::uint32_t kLargestRecord = 1u << 24;

// Reads the text at `at` of the record's `end`; false when the record does not hold it.
bool take_text(const std::uint8_t*& at, const std::uint8_t* end, std::string& text) {
  if (end - at < 4) return false;
  const std::uint32_t length = corvane::bytes::get_le32(at);
  at += 4;
  if (length > static_cast<std::size_t>(end - at)) return false;
  text.assign(reinterpret_cast<const char*>(at), length);
  at += length;
  return true;
}

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

AttrRecordStaging::AttrRecordStaging(const std::string& name, std::int64_t expected_bytes)
    : name_(name), file_(SDTS_Work_Files().create(name, expected_bytes).stream) {}

AttrRecordStaging::~AttrRecordStaging() {
  file_.reset();
  SDTS_Work_Files().remove(name_);
}

bool AttrRecordStaging::put(const AttrRecord& record, std::size_t columns) {
  bytes_.assign(kSizeBytes, 0);
  const std::size_t kept = std::min(record.values.size(), columns);
  put_u32(bytes_, static_cast<std::uint32_t>(record.values.size()));
  put_u32(bytes_, static_cast<std::uint32_t>(kept));
  bytes_.push_back(record.has_rcid ? 1 : 0);
  if (record.has_rcid) put_text(bytes_, record.rcid.text);
  for (std::size_t k = 0; k < kept; ++k) put_text(bytes_, record.values[k].text);
  if (bytes_.size() > kLargestRecord) return false;
  corvane::bytes::put_le32(bytes_.data(), static_cast<std::uint32_t>(bytes_.size() - kSizeBytes));
  return std::fwrite(bytes_.data(), 1, bytes_.size(), file_.get()) == bytes_.size();
}

bool AttrRecordStaging::rewind() { return std::fseek(file_.get(), 0, SEEK_SET) == 0; }

// One read per record: a read per text cost more than the rest of the second pass.
bool AttrRecordStaging::get(AttrRecord& record) {
  std::uint8_t size[kSizeBytes];
  if (std::fread(size, 1, sizeof size, file_.get()) != sizeof size) return false;
  const std::uint32_t bytes = corvane::bytes::get_le32(size);
  // Sizes and counts are checked before anything is sized by them.
  if (bytes < kHeadBytes || bytes > kLargestRecord) return false;
  bytes_.resize(bytes);
  if (std::fread(bytes_.data(), 1, bytes, file_.get()) != bytes) return false;
  const std::uint8_t* at = bytes_.data();
  const std::uint8_t* const end = at + bytes;
  const std::uint32_t values = corvane::bytes::get_le32(at);
  const std::uint32_t kept = corvane::bytes::get_le32(at + 4);
  if (kept > values || values > kMostValues) return false;
  record.has_rcid = at[8] != 0;
  at += kHeadBytes;
  record.rcid.text.clear();
  if (record.has_rcid && !take_text(at, end, record.rcid.text)) return false;
  record.values.resize(values);
  for (std::uint32_t k = 0; k < values; ++k) {
    if (k >= kept) {
      record.values[k].text.clear();
    } else if (!take_text(at, end, record.values[k].text)) {
      return false;
    }
  }
  return true;
}

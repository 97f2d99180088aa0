#include "sdts/attributes/record_staging.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_order.h"
#include "sdts/run/run_state.h"
#include "sdts/run/work_files.h"

namespace corvane::sdts {

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

std::uint8_t* put_text(std::uint8_t* out, const std::string& text) {
  corvane::bytes::put_le32(out, static_cast<std::uint32_t>(text.size()));
  std::memcpy(out + 4, text.data(), text.size());
  return out + 4 + text.size();
}

}  // namespace

AttrRecordStaging::AttrRecordStaging(const std::string& name, std::int64_t expected_bytes)
    : name_(name), file_(SDTS_Work_Files().create(name, expected_bytes).stream) {}

AttrRecordStaging::~AttrRecordStaging() {
  file_.reset();
  SDTS_Work_Files().remove(name_);
}

// The record is composed in one buffer that only grows, sized before anything is put in it.
bool AttrRecordStaging::put(const AttrRecord& record, std::size_t columns) {
  const std::size_t kept = std::min(record.values.size(), columns);
  std::size_t size = kSizeBytes + kHeadBytes + (record.has_rcid ? 4 + record.rcid.text.size() : 0);
  for (std::size_t k = 0; k < kept; ++k) size += 4 + record.values[k].text.size();
  if (size - kSizeBytes > kLargestRecord) return false;
  if (bytes_.size() < size) bytes_.resize(size);
  std::uint8_t* out = bytes_.data();
  corvane::bytes::put_le32(out, static_cast<std::uint32_t>(size - kSizeBytes));
  corvane::bytes::put_le32(out + 4, static_cast<std::uint32_t>(record.values.size()));
  corvane::bytes::put_le32(out + 8, static_cast<std::uint32_t>(kept));
  out[12] = record.has_rcid ? 1 : 0;
  out += kSizeBytes + kHeadBytes;
  if (record.has_rcid) out = put_text(out, record.rcid.text);
  for (std::size_t k = 0; k < kept; ++k) out = put_text(out, record.values[k].text);
  return std::fwrite(bytes_.data(), 1, size, file_.get()) == size;
}

bool AttrRecordStaging::rewind() { return std::fseek(file_.get(), 0, SEEK_SET) == 0; }

// One read per record: a read per text would cost more than the rest of the second pass.
bool AttrRecordStaging::get(AttrRecord& record) {
  std::uint8_t size[kSizeBytes];
  if (std::fread(size, 1, sizeof size, file_.get()) != sizeof size) return false;
  const std::uint32_t bytes = corvane::bytes::get_le32(size);
  // Sizes and counts are checked before anything is sized by them.
  if (bytes < kHeadBytes || bytes > kLargestRecord) return false;
  if (bytes_.size() < bytes) bytes_.resize(bytes);
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

}  // namespace corvane::sdts

// Builds ISO 8211 files from a compact description, for tests and the demo.
//
//   using namespace corvane::iso_fixture;
//   Iso8211Builder b;  // level 2, a "0000" file control field titled "FIXTURE"
//   b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
//    .field("CATD", "1600;&", "CATALOG/DIRECTORY", "MODN!RCID!NAME!TYPE!FILE", "(A,I,3A)")
//    .field("SADR", "1600;&", "SPATIAL ADDRESS", "X!Y", "(2B(32))");
//   b.record({{"0001", {"1"}}, {"CATD", {"CATD", "1", "IDEN", "Identification", "X.DDF"}}});
//   b.record({{"0001", {"2"}}, {"SADR", {be32(100), be32(-200)}}}, 'R');
//   b.write(path);
//
// Field data is the concatenation of the field's values followed by the field terminator 0x1E.
// A delimited text value (the default for strings) is followed by its delimiter (the unit
// terminator 0x1F unless given), except the field's last value, which the field terminator
// ends, as in real transfers ("...^_NOKEY^^"). Fixed-width text and binary values are written
// exactly as given. After a record with leader identifier 'R', every later record is written
// as its field area only (the reader reuses the "R" record's leader and directory).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::iso_fixture {

inline constexpr char kFieldTerminator = 0x1E;
inline constexpr char kUnitTerminator = 0x1F;

class Value {
 public:
  // Delimited text ended by the unit terminator.
  Value(const char* text) : Value(std::string(text)) {}
  Value(std::string text) : bytes_(std::move(text)), delimiter_(kUnitTerminator) {}

  const std::string& bytes() const { return bytes_; }
  // 0 for values written exactly as given.
  char delimiter() const { return delimiter_; }

 private:
  friend Value delimited(std::string text, char delimiter);
  friend Value fixed(std::string text);
  friend Value raw(std::string bytes);
  Value(std::string bytes, char delimiter) : bytes_(std::move(bytes)), delimiter_(delimiter) {}
  std::string bytes_;
  char delimiter_;
};

// Text ended by `delimiter` (e.g. ',' for a format "A(,)").
Value delimited(std::string text, char delimiter);
// Text of a fixed-width format ("A(4)", "I(6)"): written exactly as given, no delimiter.
Value fixed(std::string text);
// Any bytes, written exactly as given (binary subfields, damaged data).
Value raw(std::string bytes);
// A "B(32)" subfield, most significant byte first (how SDTS transfers store them).
Value be32(std::int32_t v);
// A "B(32)" subfield, least significant byte first.
Value le32(std::int32_t v);

struct Field {
  std::string tag;
  std::vector<Value> values;
  bool terminated = true;  // false: no field terminator is appended (damaged data)
};

struct DdrOptions {
  int level = 2;                    // interchange level 1, 2 or 3
  std::string title = "FIXTURE";    // text of the "0000" file control field
  bool file_control_field = true;   // false: no "0000" field is written first
  bool zero_record_length = false;  // every leader says record length 0
};

class Iso8211Builder {
 public:
  explicit Iso8211Builder(DdrOptions options = {});

  // Declares a field of the DDR, in directory order. `controls` are the field controls
  // ("0100;&" elementary, "1600;&" vector, "2600;&" array; ignored at level 1). Fields whose
  // first control is "0" get no labels; empty `labels`/`formats` are left out.
  Iso8211Builder& field(std::string tag, std::string controls, std::string name,
                        std::string labels = "", std::string formats = "");
  // Declares a DDR field whose text (after the controls) is given raw, terminators included.
  Iso8211Builder& raw_field(std::string tag, std::string controls, std::string text);

  // Adds a data record with leader identifier 'D' or 'R'.
  Iso8211Builder& record(std::vector<Field> fields, char leader_id = 'D');

  std::vector<std::uint8_t> ddr_bytes() const;
  // The whole file: the DDR followed by every record.
  std::vector<std::uint8_t> bytes() const;
  // Writes bytes() to `path`; throws std::runtime_error when it cannot.
  void write(const std::string& path) const;

 private:
  struct DdrField {
    std::string tag;
    std::string text;  // controls and description, field terminator included
  };
  struct Record {
    char leader_id;
    std::vector<Field> fields;
  };
  DdrOptions options_;
  std::vector<DdrField> ddr_fields_;
  std::vector<Record> records_;
};

// One ISO 8211 record (leader, directory, field area) from tags and field texts, the way the
// builder writes them; `leader_id` 'L' makes a DDR leader.
std::string make_record(char leader_id, int level, int field_control_length,
                        const std::vector<std::pair<std::string, std::string>>& fields,
                        bool zero_record_length = false);

}  // namespace corvane::iso_fixture

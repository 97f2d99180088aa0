#include "dlgopt/code_description.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string_view>

#include "dlgopt/run_state.h"

namespace corvane::dlgopt {

namespace {

constexpr int kScale2M = 2000000;

enum class Kind {
  kText,     // the text alone
  kValue,    // the text, the minor code in IVALUE
  kValue02,  // the same, at least two digits
  kValue03,  // the same, at least three digits
  kLetters,  // the text, the minor code as two letters in CVALUE
};

struct MajorRule {
  std::int32_t major;
  Kind kind;
  const char* text;
};

// Majors described by one text whatever the minor code. Sorted by major.
constexpr MajorRule kMajorRules[] = {
    {0, Kind::kText, "Outside Area"},
    {21, Kind::kValue, "Elevation, whole feet, greater than 9999"},
    {22, Kind::kValue, "Elevation, whole feet, 9999 or less"},
    {23, Kind::kValue, "Elevation, whole feet, below datum"},
    {24, Kind::kValue, "Elevation, whole meters"},
    {25, Kind::kValue, "Elevation, whole meters below datum"},
    {26, Kind::kValue, "Major category associated with spot height not at ground elevation"},
    {29, Kind::kValue02, "Coincident feature"},
    {51, Kind::kValue, "Water surface elevation, whole feet, 9999 or less"},
    {52, Kind::kValue, "Water surface elevation, whole meters"},
    {53, Kind::kValue, "Angle of rotation"},
    {54, Kind::kValue, "Water surface elevation, whole feet, greater than 9999"},
    {55, Kind::kValue, "River mile mark"},
    {56, Kind::kValue, "Water surface elevation, whole feet below datum"},
    {57, Kind::kValue, "Water surface elevation, whole meters below datum"},
    {58, Kind::kText, "Best estimate of classification or position"},
    {59, Kind::kValue02, "Coincident feature"},
    {78, Kind::kText, "Best estimate of classification or position"},
    {79, Kind::kValue02, "Coincident feature"},
    {88, Kind::kText, "Best estimate of classification or position"},
    {89, Kind::kValue02, "Coincident feature"},
    {91, Kind::kValue02, "State FIPS Code"},
    {92, Kind::kValue03, "County FIPS Code"},
    {93, Kind::kValue02, "Civil township or equivalent FIPS code, first two digits"},
    {94, Kind::kValue03, "Civil township or equivalent FIPS code, last three digits"},
    {95, Kind::kValue, "Monument number"},
    {96, Kind::kLetters, "Alphabetic part of any monument number"},
    {99, Kind::kValue02, "Coincident feature"},
    {151, Kind::kValue02, "State FIPS Code"},
    {152, Kind::kValue03, "County FIPS Code"},
    {153, Kind::kValue, "Elevation, whole feet, 9999 or less"},
    {154, Kind::kValue, "Elevation, whole meters"},
    {155, Kind::kValue, "Elevation, whole feet below datum"},
    {156, Kind::kValue, "Elevation, whole feet, greater than 9999"},
    {157, Kind::kValue, "Elevation, whole meters below datum"},
    {159, Kind::kValue02, "Coincident feature"},
    {171, Kind::kValue, "Number of lanes"},
    {172, Kind::kValue, "Interstate route number"},
    {173, Kind::kValue, "U.S. route number"},
    {174, Kind::kValue, "State route number"},
    {175, Kind::kValue, "Reservation, park, or military route number"},
    {176, Kind::kValue, "County route number"},
    {177, Kind::kLetters, "Alphabetic part of route #"},
    {178, Kind::kText, "Best estimate of position or classification"},
    {179, Kind::kValue02, "Coincident feature"},
    {181, Kind::kValue, "Number of tracks"},
    {183, Kind::kValue, "Angle of clockwise rotation"},
    {188, Kind::kText, "Best estimate of position or classification"},
    {189, Kind::kValue02, "Coincident feature"},
    {193, Kind::kValue, "Angle of clockwise rotation"},
    {196, Kind::kValue02, "State FIPS Code"},
    {197, Kind::kValue, "Airport identifier"},
    {198, Kind::kText, "Best estimate of position or classification"},
    {199, Kind::kValue02, "Coincident feature"},
    {202, Kind::kValue, "Width in mils of feature to scale"},
    {203, Kind::kValue, "Angle of clockwise rotation"},
    {206, Kind::kValue02, "State FIPS Code"},
    {207, Kind::kValue, "Place name identifier"},
    {208, Kind::kText, "Best estimate of position or classification"},
    {209, Kind::kValue, "Coincident feature"},
    {301, Kind::kValue, "Section number"},
    {302, Kind::kValue, "Township number north of baseline"},
    {303, Kind::kValue, "Township number south of baseline"},
    {304, Kind::kValue, "Range number east of principal meridian"},
    {305, Kind::kValue, "Range number west of principal meridian"},
    {307, Kind::kValue, "Identifier, nonsection"},
    {309, Kind::kValue02, "Coincident feature"},
};

// Majors whose minor codes each have their own text (kCodeDescriptionRows).
constexpr std::int32_t kTextMajors[] = {20, 50, 70, 80, 90, 97, 150, 170, 180, 190, 200, 300, 306};

constexpr std::int32_t kAirportMajor = 197;
constexpr std::int32_t kPlaceMajor = 207;

std::string padded(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

// The least number of digits the kind shows the minor code with in IVALUE; 0 when it shows
// none there.
int value_digits(Kind kind) {
  switch (kind) {
    case Kind::kValue:
      return 1;
    case Kind::kValue02:
      return 2;
    case Kind::kValue03:
      return 3;
    default:
      return 0;
  }
}

// 1 to 25 are the letters A to Y; anything else is a blank.
char letter(int value) {
  return value >= 1 && value <= 25 ? static_cast<char>('A' + value - 1) : ' ';
}

CodeDescription describe(Kind kind, std::string_view text, std::int32_t minor) {
  CodeDescription d{padded(text, kDefWidth), std::string(kValueWidth, ' '),
                    std::string(kValueWidth, ' ')};
  if (const int shown = value_digits(kind); shown > 0) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*d", shown, minor);
    d.ivalue = padded(digits, kValueWidth);
  }
  // The minor code holds two two-digit letter numbers, XXYY.
  if (kind == Kind::kLetters && minor >= 0 && minor <= 9999) {
    d.cvalue[2] = letter(minor / 100);
    d.cvalue[3] = letter(minor % 100);
  }
  return d;
}

CodeDescription describe_by_minor(std::int32_t major, std::int32_t minor) {
  if (const CodeDescriptionRow* row = FindCodeDescriptionRow(major, minor)) {
    return describe(Kind::kText, row->text, minor);
  }
  if (major == 150) return describe(Kind::kText, "", minor);
  if (major == 306) return describe(Kind::kValue, "Origin of survey", minor);
  return describe(Kind::kText, "Unknown", minor);
}

}  // namespace

const CodeDescriptionRow* FindCodeDescriptionRow(std::int32_t major, std::int32_t minor) {
  const std::span<const CodeDescriptionRow> rows(kCodeDescriptionRows, kCodeDescriptionRowCount);
  const auto key_less = [](const CodeDescriptionRow& row,
                           std::pair<std::int32_t, std::int32_t> key) {
    return std::pair(row.major, row.minor) < key;
  };
  const auto it = std::lower_bound(rows.begin(), rows.end(), std::pair(major, minor), key_less);
  if (it == rows.end() || it->major != major || it->minor != minor || *it->text == '\0')
    return nullptr;
  return &*it;
}

CodeDescription DescribeCode(std::int32_t major, std::int32_t minor) {
  if (major == kAirportMajor) ++g_opt_airport_count;
  if (major == kPlaceMajor) ++g_opt_place_count;

  if (std::find(std::begin(kTextMajors), std::end(kTextMajors), major) != std::end(kTextMajors)) {
    return describe_by_minor(major, minor);
  }
  if (major == 98) {
    return g_opt_scale == kScale2M
               ? describe(Kind::kText, "Federal Land Name (will be implemented at a future date)",
                          minor)
               : describe(Kind::kText, "Best estimate of classification or position", minor);
  }
  if (major == 308) {
    return minor != 0
               ? describe(Kind::kValue, "Land grant, location, or mineral monument number", minor)
               : describe(Kind::kText, "Best estimate of position or classification", minor);
  }
  const auto rule =
      std::lower_bound(std::begin(kMajorRules), std::end(kMajorRules), major,
                       [](const MajorRule& r, std::int32_t m) { return r.major < m; });
  if (rule != std::end(kMajorRules) && rule->major == major)
    return describe(rule->kind, rule->text, minor);
  return describe(Kind::kText, "Unknown", minor);
}

}  // namespace corvane::dlgopt

#include "formats/coordinate_reference.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace corvane::formats {
namespace {

int epsg_of(const ReferenceChoice& choice) {
  return choice.reference ? choice.reference->epsg : -1;
}

TEST(SdtsCoordinateReference, UtmAndGeographicByDatum) {
  const std::pair<std::array<const char*, 3>, int> cases[] = {
      {{"UTM", "NAS", "18"}, 26718},    {{"UTM", "NAX", "18"}, 26918},
      {{"UTM ", " NAS", " 19"}, 26719}, {{"UTM", "WGC", "18"}, 32218},
      {{"UTM", "WGE", "18"}, 32618},    {{"GEO", "NAS", ""}, 4267},
      {{"GEO", "NAX", ""}, 4269},       {{"SPCS", "NAX", "2001"}, 26986}};
  for (const auto& [xref, epsg] : cases)
    EXPECT_EQ(epsg_of(SDTS_Coordinate_Reference(xref[0], xref[1], xref[2])), epsg)
        << xref[0] << xref[1] << xref[2];
  EXPECT_EQ(SDTS_Coordinate_Reference("UTM", "NAS", "18").reference->label(),
            "EPSG:26718 NAD27 / UTM zone 18N");
}

TEST(SdtsCoordinateReference, StatePlaneOnlyWhereTheRegistryHasItInMetres) {
  // The 1927 zones are registered in US survey feet only.
  const ReferenceChoice nad27 = SDTS_Coordinate_Reference("SPCS", "NAS", "2001");
  EXPECT_FALSE(nad27.reference);
  EXPECT_EQ(nad27.reason, "no EPSG definition for State Plane zone 2001 on NAD27");
  EXPECT_FALSE(SDTS_Coordinate_Reference("SPCS", "NAX", "9999").reference);
}

TEST(SdtsCoordinateReference, NothingIsGuessed) {
  const ReferenceChoice unknown = SDTS_Coordinate_Reference("UTM", "XYZ", "18");
  EXPECT_FALSE(unknown.reference);
  EXPECT_EQ(unknown.reason, "horizontal datum \"XYZ\" is unknown");
  EXPECT_FALSE(SDTS_Coordinate_Reference("UTM", "", "18").reference);
  EXPECT_EQ(SDTS_Coordinate_Reference("UPS", "WGE", "1").reason,
            "reference system \"UPS\" is not supported");
  EXPECT_FALSE(SDTS_Coordinate_Reference("UTM", "NAS", "1A").reference);
  EXPECT_FALSE(SDTS_Coordinate_Reference("UTM", "NAS", "61").reference);
  EXPECT_FALSE(SDTS_Coordinate_Reference("UTM", "NAS", "").reference);
}

// Records 1 to 10 of a DLG-3 header: record 4 from its fields, records 5 to 9 holding the
// first eight projection parameters in Fortran notation.
std::vector<std::string> dlg_header(const char* system, const char* zone, const char* units,
                                    const char* datum,
                                    const std::vector<const char*>& parameters = {}) {
  char record4[81];
  std::snprintf(record4, sizeof record4, "%6d%6s%6s%6s%18s%6d%6d%6d%6d%3s%3s", 3, system, zone,
                units, "6.35000000000D-01", 4, 0, 4, 1, datum, "0");
  std::vector<std::string> records(10, std::string(80, ' '));
  records[3] = record4;
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    char field[25];
    std::snprintf(field, sizeof field, "%24s", parameters[i]);
    records[4 + i / 3].replace(24 * (i % 3), 24, field);
  }
  return records;
}

const std::vector<const char*> kConusAlbers = {"0.000000000000000D+00",  "0.000000000000000D+00",
                                               "0.290300000000000D+08",  "0.450300000000000D+08",
                                               "-0.960000000000000D+08", "0.230000000000000D+08",
                                               "0.000000000000000D+00",  "0.000000000000000D+00"};

TEST(DlgCoordinateReference, UtmStatePlaneAndGeographic) {
  const std::pair<std::array<const char*, 4>, int> cases[] = {
      {{"1", "19", "2", "0"}, 26719},   {{"1", "18", "2", "1"}, 26918},
      {{"2", "2001", "1", "0"}, 26786}, {{"2", "2001", "2", "1"}, 26986},
      {{"0", "0", "4", "1"}, 4269},     {{"1", "20", "2", "2"}, 3920}};
  for (const auto& [fields, epsg] : cases)
    EXPECT_EQ(
        epsg_of(DLG_Coordinate_Reference(dlg_header(fields[0], fields[1], fields[2], fields[3]))),
        epsg)
        << fields[0] << " " << fields[1] << " " << fields[2] << " " << fields[3];
}

TEST(DlgCoordinateReference, MissingOrUnusableFieldsGiveNoReference) {
  EXPECT_EQ(DLG_Coordinate_Reference(dlg_header("1", "19", "2", "")).reason,
            "record 4 gives no horizontal datum");
  EXPECT_EQ(DLG_Coordinate_Reference(dlg_header("1", "19", "2", "4")).reason,
            "horizontal datum code 4 has no registered definition");
  EXPECT_EQ(DLG_Coordinate_Reference(dlg_header("1", "19", "1", "0")).reason,
            "UTM coordinates in units code 1 are not supported");
  EXPECT_EQ(DLG_Coordinate_Reference(dlg_header("5", "0", "2", "0")).reason,
            "reference system code 5 is not supported");
  EXPECT_FALSE(DLG_Coordinate_Reference(dlg_header("0", "0", "3", "0")).reference);
  EXPECT_FALSE(DLG_Coordinate_Reference(std::vector<std::string>(3)).reference);
  // A line shorter than the datum columns.
  std::vector<std::string> short_record = dlg_header("1", "19", "2", "0");
  short_record[3].resize(40);
  EXPECT_FALSE(DLG_Coordinate_Reference(short_record).reference);
}

TEST(DlgCoordinateReference, AlbersFromProjectionParameters) {
  const ReferenceChoice conus =
      DLG_Coordinate_Reference(dlg_header("3", "0", "2", "0", kConusAlbers));
  ASSERT_TRUE(conus.reference) << conus.reason;
  EXPECT_EQ(conus.reference->epsg, 5069);
  const AlbersDefinition expected{4267, 29.5, 45.5, 23.0, -96.0, 0.0, 0.0};
  EXPECT_EQ(conus.reference->albers, expected);

  std::vector<const char*> odd = kConusAlbers;
  odd[2] = "0.300000000000000D+08";
  odd[6] = "1.000000000000000D+05";
  const ReferenceChoice custom = DLG_Coordinate_Reference(dlg_header("3", "0", "2", "1", odd));
  ASSERT_TRUE(custom.reference) << custom.reason;
  EXPECT_EQ(custom.reference->epsg, 0);
  EXPECT_EQ(custom.reference->albers->false_easting, 100000.0);
  EXPECT_EQ(
      custom.reference->label(),
      "NAD83 / Albers equal area (parallels 30 and 45.5, origin 23, -96) (custom definition)");

  std::vector<const char*> bad = kConusAlbers;
  bad[0] = "0.637813700000000D+07";  // GRS 80 axis on a NAD27 file
  EXPECT_EQ(DLG_Coordinate_Reference(dlg_header("3", "0", "2", "0", bad)).reason,
            "the projection parameters' ellipsoid does not belong to the datum NAD27");
  bad = kConusAlbers;
  bad[3] = "0.450650000000000D+08";  // 65 minutes
  EXPECT_FALSE(DLG_Coordinate_Reference(dlg_header("3", "0", "2", "0", bad)).reference);
  bad[3] = "45.5 degrees";
  EXPECT_FALSE(DLG_Coordinate_Reference(dlg_header("3", "0", "2", "0", bad)).reference);
}

}  // namespace
}  // namespace corvane::formats

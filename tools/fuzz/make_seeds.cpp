// Writes the fuzz target's seed corpus: small files of every shape the reader handles.
#include <cstdio>
#include <string>

#include "tools/iso8211_fixture/iso8211_fixture.h"

using namespace corvane::iso_fixture;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: iso8211_fuzz_seeds DIRECTORY\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::string record_id = "DDF RECORD IDENTIFIER";

  Iso8211Builder catalog;
  catalog.field("0001", "0100;&", record_id)
      .field("CATD", "1600;&", "CATALOG/DIRECTORY", "MODN!RCID!NAME!TYPE!FILE", "(A,I,3A)");
  catalog.record({{"0001", {"1"}}, {"CATD", {"CATD", "1", "IDEN", "Identification", "X.DDF"}}});
  catalog.record({{"0001", {"2"}}, {"CATD", {"CATD", "2", "LE01", "Line", "Y.DDF"}}});
  catalog.write(dir + "/catalog.ddf");

  Iso8211Builder points;
  points.field("0001", "0100;&", record_id)
      .field("PNTS", "1600;&", "POINT-NODE", "MODN!RCID!OBRP", "(A(4),I(6),A(2))")
      .field("SADR", "1600;&", "SPATIAL ADDRESS", "X!Y", "(2B(32))");
  for (int i = 1; i <= 3; ++i)
    points.record({{"0001", {fixed("     " + std::to_string(i))}},
                   {"PNTS", {fixed("NA01"), fixed("     " + std::to_string(i)), fixed("NA")}},
                   {"SADR", {be32(0x01D21E1E), be32(-0x1E)}}},
                  i == 1 ? 'D' : 'R');
  points.write(dir + "/points.ddf");

  Iso8211Builder dictionary;
  dictionary.field("0001", "0100;&", record_id)
      .field("DDSH", "1600;&", "DATA DICTIONARY/SCHEMA", "MODN!RCID!NAME!MXLN!KEY", "(A,I,A,I,A)");
  dictionary.record({{"0001", {"1"}}, {"DDSH", {"DDSH", "1", "AHDR", "72", "NOKEY"}}}, 'R');
  dictionary.record({{"0001", {"2"}}, {"DDSH", {"DDSH", "2", "", "  ", ""}}});
  dictionary.write(dir + "/dictionary.ddf");

  Iso8211Builder shapes(DdrOptions{.level = 3, .zero_record_length = true});
  shapes.field("0001", "0100;&", record_id)
      .field("BITS", "1600;&", "BITS", "*HI!LO", "(A,3(B(4),B(12)),B)")
      .field("GRID", "2600;&", "GRID", "", "(I)")
      .field("MTRX", "2600;&", "MATRIX", "2,2,2", "(R(,))");
  shapes.record({{"0001", {"1"}},
                 {"BITS", {"x", raw("\xAB\xCD\xEF\x12\x34\x56"), raw("216\x01\x02")}},
                 {"GRID", {"2", "1", "2", "7", "8"}},
                 {"MTRX", {delimited("1.5", ','), delimited("2", ','), delimited("3", ','), "4"}}});
  shapes.write(dir + "/shapes.ddf");

  Iso8211Builder plain(DdrOptions{.level = 1});
  plain.field("0001", "", record_id).field("TEXT", "", "TEXT");
  plain.record({{"0001", {"1"}}, {"TEXT", {"free text"}}});
  plain.write(dir + "/level1.ddf");
  return 0;
}

// Writes synthetic SDTS transfers (a catalog and its modules) for tests and the demo.
//
//   using namespace corvane::sdts_fixture;
//   SdtsTransfer t(dir, "TR01");
//   t.iden({.title = "SOMEWHERE, MA / HYDROGRAPHY", .scale = "   24000"});
//   t.iref({});                        // 0.01 scale, 0 origin, "R" subfields
//   t.xref({"UTM", "NAS", "19"});
//   t.cats("LE01", "HYDROGRAPHY");
//   auto& lines = t.module("LE01", "Line");       // any module: declare fields, add records
//   lines.builder.field("LINE", "1600;&", "LINE", "MODN!RCID!OBRP", "(A(4),I(6),A(2))");
//   lines.add({{"LINE", {fixed("LE01"), fixed("     1"), fixed("LE")}}});
//   t.stat();                          // counts of every module written so far
//   std::string catalog = t.write();   // <dir>/TR01CATD.DDF
//
// Every module file gets the "0000" (title: its file stem) and "0001" fields of real
// transfers; add() puts the "0001" record number in front of the given fields. The catalog
// lists its modules in the order they were added, after its own entry.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "tools/iso8211_fixture/iso8211_fixture.h"

namespace corvane::sdts_fixture {

using iso_fixture::be32;
using iso_fixture::Field;
using iso_fixture::fixed;
using iso_fixture::Iso8211Builder;
using iso_fixture::raw;
using iso_fixture::Value;

// A record number as real transfers write it: right-aligned in 6 characters.
std::string rcid_text(int rcid);

struct Module {
  std::string name;       // module name in the catalog ("LE01")
  std::string type;       // its type description ("Line")
  std::string file_name;  // file name in the catalog ("TR01LE01.DDF")
  Iso8211Builder builder;
  int records = 0;

  // Adds a record: "0001" with the next record number, then `fields`.
  Module& add(std::vector<Field> fields, char leader_id = 'D');
};

struct IdenSpec {
  std::string title = "FIXTURE, MA / HYDROGRAPHY";
  std::string scale = "   24000";  // as stored: an "I" subfield with leading blanks
  std::string stid = "SPATIAL DATA TRANSFER STANDARD";
  std::string stvs = "1994 JUNE 10";
  std::string docu = "FIPS PUB 173-1";
  std::string prid = "SDTS TOPOLOGICAL VECTOR PROFILE";
  std::string prvs = "VERSION 1.0 JUNE 10, 1994";
  std::string comt = "A synthetic transfer.";
  bool has_title = true;  // false: the TITL subfield is empty
};

struct IrefSpec {
  double sfax = 0.01, sfay = 0.01, xorg = 0.0, yorg = 0.0;
  // 'R' writes the four values as real text, 'I' as integer text, 'B' as B(32) integers.
  char format = 'R';
};

struct XrefSpec {
  std::string rsnm = "UTM";
  std::string hdat = "NAS";
  std::string zone = "19";
};

struct SpdmSpec {
  std::string dtyp = "MINMAX";
  std::string dstp = "INTERNAL";
  std::vector<std::pair<std::int32_t, std::int32_t>> points = {{100000, 200000}, {300000, 400000}};
};

class SdtsTransfer {
 public:
  // Files go to `directory` (created if missing) named prefix + module + ".DDF".
  SdtsTransfer(std::string directory, std::string prefix = "TR01");

  // Writes module files under lower-case names while the catalog keeps upper case.
  SdtsTransfer& lower_case_files(bool on = true);

  Module& iden(const IdenSpec& contents);
  Module& iref(const IrefSpec& contents);
  Module& xref(const XrefSpec& contents);
  Module& spdm(const SpdmSpec& contents);
  // A CATS record giving module `name` its theme; the CATS module is added on first use.
  Module& cats(const std::string& name, const std::string& theme);
  // A data quality module ("DQAA", "DQHL", "DQLC", "DQPA"), one record per comment.
  Module& quality(const std::string& name, const std::vector<std::string>& comments);
  // The STAT module, counting the records of every module added before it.
  Module& stat();
  // A module with only the "0000" and "0001" fields declared; declare the rest through
  // its builder and add records with Module::add.
  Module& module(const std::string& name, const std::string& type);

  // Writes every module and the catalog; returns the catalog's path.
  std::string write();

  const std::string& directory() const { return directory_; }
  const std::string& prefix() const { return prefix_; }
  std::string catalog_path() const;
  std::string module_path(const std::string& name) const;  // as written on disk

 private:
  Module* find(const std::string& name);

  std::string directory_;
  std::string prefix_;
  bool lower_case_ = false;
  std::deque<Module> modules_;  // stable references while modules are added
};

}  // namespace corvane::sdts_fixture

#include "tools/sdts_fixture/sdts_fixture.h"

#include <cstdio>
#include <filesystem>

#include "platform/text.h"

namespace corvane::sdts_fixture {

namespace {

std::string number_text(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

Value iref_value(double value, char format) {
  if (format == 'B') return be32(static_cast<std::int32_t>(value));
  if (format == 'I') return std::to_string(static_cast<long>(value));
  return number_text(value);
}

}  // namespace

std::string rcid_text(int rcid) {
  char text[16];
  std::snprintf(text, sizeof text, "%6d", rcid);
  return text;
}

Module& Module::add(std::vector<Field> fields, char leader_id) {
  fields.insert(fields.begin(), Field{"0001", {rcid_text(++records)}});
  builder.record(std::move(fields), leader_id);
  return *this;
}

SdtsTransfer::SdtsTransfer(std::string directory, std::string prefix)
    : directory_(std::move(directory)), prefix_(std::move(prefix)) {
  std::filesystem::create_directories(directory_);
}

SdtsTransfer& SdtsTransfer::lower_case_files(bool on) {
  lower_case_ = on;
  return *this;
}

Module& SdtsTransfer::module(const std::string& name, const std::string& type) {
  const std::string stem = prefix_ + name;
  iso_fixture::DdrOptions options;
  options.title = stem;
  Module& m = modules_.emplace_back(Module{name, type, stem + ".DDF", Iso8211Builder(options)});
  m.builder.field("0001", "0100;&", "DDF RECORD IDENTIFIER");
  return m;
}

Module* SdtsTransfer::find(const std::string& name) {
  for (Module& m : modules_)
    if (m.name == name) return &m;
  return nullptr;
}

Module& SdtsTransfer::iden(const IdenSpec& s) {
  Module& m = module("IDEN", "Identification");
  m.builder
      .field("IDEN", "1600;&", "IDENTIFICATION",
             "MODN!RCID!STID!STVS!DOCU!PRID!PRVS!PDOC!TITL!DAST!MPDT!DCDT!SCAL!COMT",
             "(A,I,10A,I,A)")
      .field("CONF", "1600;&", "CONFORMANCE", "FFYN!VGYN!GTYN!RCYN!EXSP!FTLV", "(4A,2I)");
  m.add({{"IDEN",
          {"IDEN", rcid_text(1), s.stid, s.stvs, s.docu, s.prid, s.prvs,
           "FIPS 173-1 TOPOLOGICAL VECTOR PROFILE", s.has_title ? s.title : "", "DLG-3", "1987",
           "19960827", s.scale, s.comt}},
         {"CONF", {"Y", "Y", "Y", "N", "1", "4"}}});
  return m;
}

Module& SdtsTransfer::iref(const IrefSpec& s) {
  Module& m = module("IREF", "Internal Spatial Reference");
  const std::string f(1, s.format);
  const std::string numbers = s.format == 'B' ? "4B(32)" : "4" + f;
  m.builder.field("IREF", "1600;&", "INTERNAL SPATIAL REFERENCE",
                  "MODN!RCID!SATP!XLBL!YLBL!HFMT!SFAX!SFAY!XORG!YORG!XHRS!YHRS",
                  "(A,I,4A," + numbers + ",2R)");
  m.add({{"IREF",
          {"IREF", rcid_text(1), "2-TUPLE", "EASTING", "NORTHING", "BI32",
           iref_value(s.sfax, s.format), iref_value(s.sfay, s.format), iref_value(s.xorg, s.format),
           iref_value(s.yorg, s.format), "0.635000", "0.635000"}}});
  return m;
}

Module& SdtsTransfer::xref(const XrefSpec& s) {
  Module& m = module("XREF", "External Spatial Reference");
  m.builder.field("XREF", "1600;&", "EXTERNAL SPATIAL REFERENCE", "MODN!RCID!RSNM!HDAT!ZONE",
                  "(A,I,3A)");
  m.add({{"XREF", {"XREF", rcid_text(1), s.rsnm, s.hdat, s.zone}}});
  return m;
}

Module& SdtsTransfer::spdm(const SpdmSpec& s) {
  Module& m = module("SPDM", "Spatial Domain");
  m.builder.field("SPDM", "1600;&", "SPATIAL DOMAIN", "MODN!RCID!DTYP!DSTP", "(A,I,2A)")
      .field("DMSA", "2600;&", "DOMAIN SPATIAL ADDRESS", "*X!Y", "(2B(32))");
  std::vector<Value> points;
  for (const auto& [x, y] : s.points) {
    points.push_back(be32(x));
    points.push_back(be32(y));
  }
  m.add({{"SPDM", {"SPDM", rcid_text(1), s.dtyp, s.dstp}}, {"DMSA", points}});
  return m;
}

Module& SdtsTransfer::cats(const std::string& name, const std::string& theme) {
  Module* m = find("CATS");
  if (m == nullptr) {
    m = &module("CATS", "Catalog/Spatial Domain");
    m->builder.field("CATS", "1600;&", "CATALOG/SPATIAL DOMAIN",
                     "MODN!RCID!NAME!TYPE!MAP!THEM!AGOB!AGTP", "(A,I,6A)");
  }
  m->add({{"CATS",
           {"CATS", rcid_text(m->records + 1), name, "Module", "FIXTURE, MA", theme, "", "GT"}}});
  return *m;
}

Module& SdtsTransfer::quality(const std::string& name, const std::vector<std::string>& comments) {
  Module& m = module(name, "Data Quality");
  m.builder.field(name, "1600;&", "DATA QUALITY", "MODN!RCID!COMT", "(A,I,A)");
  for (const std::string& comment : comments)
    m.add({{name, {name, rcid_text(m.records + 1), comment}}});
  return m;
}

Module& SdtsTransfer::stat() {
  std::vector<std::pair<std::string, int>> counts;
  for (const Module& m : modules_) counts.emplace_back(m.name, m.records);
  Module& m = module("STAT", "Transfer Statistics");
  m.builder.field("STAT", "1600;&", "TRANSFER STATISTICS", "MODN!RCID!MNTF!MNRF!NREC!NSAD",
                  "(A,I,2A,2I)");
  for (const auto& [name, count] : counts)
    m.add(
        {{"STAT", {"STAT", rcid_text(m.records + 1), "Module", name, std::to_string(count), "0"}}});
  return m;
}

std::string SdtsTransfer::catalog_path() const {
  const std::string name = prefix_ + "CATD.DDF";
  return (std::filesystem::path(directory_) / (lower_case_ ? lower(name) : name)).string();
}

std::string SdtsTransfer::module_path(const std::string& name) const {
  for (const Module& m : modules_)
    if (m.name == name)
      return (std::filesystem::path(directory_) / (lower_case_ ? lower(m.file_name) : m.file_name))
          .string();
  return {};
}

std::string SdtsTransfer::write() {
  iso_fixture::DdrOptions options;
  options.title = prefix_ + "CATD";
  Iso8211Builder catalog(options);
  catalog.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("CATD", "1600;&", "CATALOG/DIRECTORY", "MODN!RCID!NAME!TYPE!FILE!EXTR!MVER",
             "(A,I,5A)");
  int rcid = 0;
  const auto list = [&](const std::string& name, const std::string& type, const std::string& file) {
    ++rcid;
    catalog.record({{"0001", {rcid_text(rcid)}},
                    {"CATD", {"CATD", rcid_text(rcid), name, type, file, "N", ""}}});
  };
  list("CATD", "Catalog/Directory", prefix_ + "CATD.DDF");
  for (const Module& m : modules_) {
    list(m.name, m.type, m.file_name);
    m.builder.write(module_path(m.name));
  }
  catalog.write(catalog_path());
  return catalog_path();
}

}  // namespace corvane::sdts_fixture

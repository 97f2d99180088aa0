#include "sdts/modules/catalog.h"

#include "sdts/modules/control_file.h"

namespace corvane::sdts {

namespace {

constexpr RecordField<CatdRecord> kCatdFields[] = {
    {"MODN", &CatdRecord::MODN}, {"RCID", nullptr, &CatdRecord::RCID}, {"NAME", &CatdRecord::NAME},
    {"TYPE", &CatdRecord::TYPE}, {"EXTR", &CatdRecord::EXTR},          {"MVER", &CatdRecord::MVER}};

constexpr RecordField<CatsRecord> kCatsFields[] = {
    {"MODN", &CatsRecord::MODN}, {"RCID", nullptr, &CatsRecord::RCID},
    {"NAME", &CatsRecord::NAME}, {"TYPE", &CatsRecord::TYPE},
    {"MAP", &CatsRecord::MAP},   {"THEM", &CatsRecord::THEM},
    {"AGOB", &CatsRecord::AGOB}, {"AGTP", &CatsRecord::AGTP}};

constexpr RecordField<CatxRecord> kCatxFields[] = {
    {"MODN", &CatxRecord::MODN}, {"RCID", nullptr, &CatxRecord::RCID}, {"NAM1", &CatxRecord::NAM1},
    {"TYP1", &CatxRecord::TYP1}, {"NAM2", &CatxRecord::NAM2},          {"TYP2", &CatxRecord::TYP2},
    {"COMT", &CatxRecord::COMT}};

}  // namespace

const CatdRecords& SDTSCatdFile::return_catd() {
  // A module's file lies in the catalog's directory.
  SDTS_Read_Records<CatdRecord>(*this, "SDTSFile::return_catd()", "CATD", kCatdFields, m_records,
                                [this](CatdRecord& work) {
                                  if (tag() == "CATD" && label() == "FILE")
                                    work.FILE = m_name.directory + value_text();
                                });
  return m_records;
}

const CatsRecords& SDTSCatsFile::return_records() {
  SDTS_Read_Records<CatsRecord>(*this, "SDTSFile::return_records()", "CATS", kCatsFields,
                                m_records);
  return m_records;
}

const CatxRecords& SDTXFile::return_records() {
  SDTS_Read_Records<CatxRecord>(*this, "SDTXFile::return_records()", "CATX", kCatxFields,
                                m_records);
  return m_records;
}

}  // namespace corvane::sdts

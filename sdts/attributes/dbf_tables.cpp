#include "sdts/attributes/dbf_tables.h"

class SDTSDbfTable {};

void SDTSJoinRecords::dump() const {}

SDTSDbfTables::SDTSDbfTables() = default;
SDTSDbfTables::SDTSDbfTables(std::string run_dir, std::string prefix)
    : run_dir_(std::move(run_dir)), prefix_(std::move(prefix)) {}
SDTSDbfTables::~SDTSDbfTables() = default;
void SDTSDbfTables::set_name(const std::string& name) { name_ = name; }
int SDTSDbfTables::insert_attr_id(std::int32_t, const std::string&, std::int32_t) { return 1; }
int SDTSDbfTables::write_records() { return 0; }
void SDTSDbfTables::dump() const {}
void SDTSDbfTables::clear_joins() {}
void SDTSDbfTables::close_tables() {}

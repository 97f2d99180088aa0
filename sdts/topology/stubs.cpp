#include "sdts/topology/line_shape.h"
#include "sdts/topology/node_shape.h"
#include "sdts/topology/polygon_module.h"

int SDTS_Write_Line_Shape(const char*, const std::string&) { return 1; }
SDTSNoFile::SDTSNoFile(const char* file) : path_(file) {}
int SDTSNoFile::write_node_shape(const std::string&) { return 1; }
SDTSPcFile::SDTSPcFile(const char* file) : path_(file) {}
int SDTSPcFile::write_dbf_file() { return 1; }

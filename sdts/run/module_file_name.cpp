#include "sdts/run/module_file_name.h"

#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

void SDTSFileName::parse() {
  const auto separator = path.find_last_of("/\\");
  const std::size_t start = separator == std::string::npos ? 0 : separator + 1;
  directory = path.substr(0, start);
  file_name = path.substr(start);
  const auto dot = file_name.rfind('.');
  base_name = dot == std::string::npos ? file_name : file_name.substr(0, dot);
  extension = dot == std::string::npos ? std::string() : file_name.substr(dot + 1);
  prefix = file_name.substr(0, 4);
  module_part = base_name.size() > 4 ? base_name.substr(4) : std::string();
}

void SDTSFileObject::set_file_name(const std::string& catalog_path) {
  TRACE_BEGIN("SDTSFileObject::set_file_name()");
  TRACE_PRINT("SDTSFileObject::set_file_name()",
              SDTS_Message("file name = %s", catalog_path.c_str()));
  m_catalog.path = catalog_path;
  m_catalog.parse();
  TRACE_EXIT("SDTSFileObject::set_file_name()", 0);
}

}  // namespace corvane::sdts

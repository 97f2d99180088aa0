// The small SDTS transfer whose modules the SDTS fuzz target replaces one at a time, shared by
// the target and its seed writer so that both number the modules alike.
#pragma once

#include <string>
#include <vector>

namespace corvane::fuzz {

struct FuzzTransfer {
  std::string catalog;             // path of the catalog module
  std::vector<std::string> files;  // every module file, the catalog among them, sorted by name
};

// Writes into `directory` a transfer with every kind of module the converter reads: control
// modules, an attribute module, lines, nodes, area and entity points, polygons and STAT.
FuzzTransfer write_fuzz_transfer(const std::string& directory);

}  // namespace corvane::fuzz

#include "frontend/cli/command_line.h"

#include <charconv>

namespace corvane::cli {

const char* const kVersionText = "corvane Version 3.20\n";

const char* const kSynopsis =
    "Usage: corvane                   open the batch window\n"
    "       corvane convert [-o DIR] [-j N] [--trace] [-q] INPUT...\n"
    "       corvane --help | --version\n";

const char* const kHelp =
    "Converts USGS Digital Line Graph data into shapefiles and dBase tables. An INPUT is an\n"
    "SDTS transfer's catalog (*CATD.DDF) or a DLG-3 optional-format file, either of them\n"
    "also gzip-compressed or in a tar archive; inputs are recognised by their content, not\n"
    "their names. Each input converted gets its own run directory in the output directory;\n"
    "an entry already there is never replaced or merged into (a taken name gets _2, _3, ...).\n"
    "\n"
    "  -o, --output DIR  make the run directories in DIR (created if missing);\n"
    "                    default: each input's own directory\n"
    "  -j, --jobs N      run up to N conversions at once, each in its own process\n"
    "      --trace       let the converters write their trace files (CORVANE_TRACE=1)\n"
    "  -q, --quiet       no progress display; reasons are still shown\n"
    "  -h, --help        show this text\n"
    "      --version     show the version\n"
    "\n"
    "Standard output has one line per input, in input order:\n"
    "  INPUT -> DIR               converted in full\n"
    "  INPUT -> DIR (incomplete)  outputs written, but something is missing or partial\n"
    "  INPUT: conversion failed   nothing usable written; nothing left in the output directory\n"
    "Standard error has every reason an input is incomplete or failed, one line each, as\n"
    "\"INPUT: REASON\"; the run directory's .log holds them too. With -j the lines of one\n"
    "input stay together.\n"
    "\n"
    "Exit status: 0 when every input was converted in full, 3 when none failed but some\n"
    "input is incomplete, 1 when any input failed, 2 for a usage error.\n";

namespace {

CommandLine help() {
  CommandLine line;
  line.action = CommandLine::Action::Help;
  return line;
}

CommandLine usage_error(std::string message) {
  CommandLine line;
  line.action = CommandLine::Action::UsageError;
  line.error = std::move(message);
  return line;
}

bool parse_jobs(const std::string& text, int& jobs) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), jobs);
  return ec == std::errc() && end == text.data() + text.size() && jobs >= 1 && jobs <= 256;
}

CommandLine parse_convert(const std::vector<std::string>& args) {
  CommandLine line;
  line.action = CommandLine::Action::Convert;
  ConvertOptions& options = line.convert;
  bool only_inputs = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_inputs || arg.empty() || arg[0] != '-' || arg == "-") {
      options.inputs.push_back(arg);
    } else if (arg == "--") {
      only_inputs = true;
    } else if (arg == "-o" || arg == "--output" || arg == "-j" || arg == "--jobs") {
      if (i + 1 >= args.size()) return usage_error(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "-o" || arg == "--output") {
        options.output_dir = value;
      } else if (!parse_jobs(value, options.jobs)) {
        return usage_error("-j needs a number from 1 to 256, not '" + value + "'");
      }
    } else if (arg.rfind("-j", 0) == 0 && arg.size() > 2) {
      if (!parse_jobs(arg.substr(2), options.jobs))
        return usage_error("-j needs a number from 1 to 256, not '" + arg.substr(2) + "'");
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "-q" || arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "-h" || arg == "--help") {
      return help();
    } else {
      return usage_error("unknown option " + arg);
    }
  }
  if (options.inputs.empty()) return usage_error("convert needs at least one INPUT");
  return line;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
  if (args.empty()) return {};
  const std::string& first = args[0];
  if (first == "-h" || first == "--help" || first == "help") return help();
  if (first == "--version" || first == "-V") {
    CommandLine line;
    line.action = CommandLine::Action::Version;
    return line;
  }
  if (first == "convert") return parse_convert(args);
  return usage_error("unknown command " + first);
}

}  // namespace corvane::cli

// Every real DLG-3 optional-format file converts, with as many table rows as its header
// says there are nodes, lines and areas.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "dlgopt/dlg_field.h"
#include "tests/dlgopt/dlgopt_test_support.h"

namespace corvane::dlgopt::test {
namespace {

struct CategoryCounts {
  int nodes = 0, areas = 0, lines = 0;
};

// The last category record, found through the counts of record 4 (the files have no line ends).
CategoryCounts category_counts(const std::string& bytes) {
  const std::string record4 = bytes.substr(3 * 80, 80);
  int control_points = 0, categories = 0;
  ParseField(record4, 54, 6, control_points);
  ParseField(record4, 60, 6, categories);
  const std::string category = bytes.substr(static_cast<std::size_t>(10 + control_points + categories - 1) * 80, 80);
  CategoryCounts counts;
  ParseField(category, 30, 6, counts.nodes);
  ParseField(category, 46, 6, counts.areas);
  ParseField(category, 62, 6, counts.lines);
  return counts;
}

TEST_F(ConversionTest, EveryRealFileConvertsWithTheHeaderCounts) {
  CORVANE_REQUIRE_SHARED_DATA();
  std::vector<std::string> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(shared_data_dir() + "/dlg3-optional")) {
    if (entry.path().extension() == ".opt") inputs.push_back(entry.path().string());
  }
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty());
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input);
    const CategoryCounts counts = category_counts(read_bytes(input));
    ASSERT_EQ(convert_path(input), 0) << log_text();
    EXPECT_EQ(read_table(output("nodes.dbf")).rows.size(), static_cast<std::size_t>(counts.nodes));
    EXPECT_EQ(read_table(output("links.dbf")).rows.size(), static_cast<std::size_t>(counts.lines));
    EXPECT_EQ(read_table(output("areas.dbf")).rows.size(), static_cast<std::size_t>(counts.areas));
    EXPECT_EQ(read_shapes(output("areas.shp")).size(), static_cast<std::size_t>(counts.areas));
    EXPECT_TRUE(messages_.messages.empty());
  }
}

// The other two real-world forms, made from a real file, convert to the same outputs.
TEST_F(ConversionTest, RealFileConvertsAlikeInAllThreeForms) {
  CORVANE_REQUIRE_SHARED_DATA();
  const std::string fixed = read_bytes(shared_data_dir() + "/dlg3-optional/concord-ma-RR.opt");
  std::string lines, short_lines;
  for (std::size_t at = 0; at < fixed.size(); at += 80) {
    std::string record = fixed.substr(at, 80);
    lines += record + "\r\n";
    record.erase(record.find_last_not_of(' ') + 1);
    short_lines += record + "\n";
  }
  std::map<std::string, std::map<std::string, std::string>> runs;
  for (const auto& [name, bytes] : {std::pair{"fixed", fixed}, {"lines", lines}, {"short", short_lines}}) {
    write_bytes(scratch_.file(std::string(name) + ".opt"), bytes);
    ASSERT_EQ(convert_path(scratch_.file(std::string(name) + ".opt")), 0);
    for (const auto& [file, content] : outputs_of(out_dir_ + "/" + name + "shp")) {
      runs[name][file.substr(std::string(name).size())] = content;
    }
  }
  EXPECT_EQ(runs["fixed"].size(), 15u);  // with attribute tables and projection files
  EXPECT_TRUE(runs["lines"] == runs["fixed"]);
  EXPECT_TRUE(runs["short"] == runs["fixed"]);
}

}  // namespace
}  // namespace corvane::dlgopt::test

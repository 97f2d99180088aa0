#include "tools/dlgopt_fixture/dlgopt_fixture.h"

#include <cstdio>
#include <fstream>

namespace corvane::dlgopt_fixture {

namespace {

constexpr std::size_t kWidth = 80;

std::string fit(std::string text) {
  text.resize(kWidth, ' ');
  return text;
}

std::string format(const char* fmt, auto... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, fmt, args...);
  return buffer;
}

std::string field(const std::string& text, std::size_t width) {
  std::string out = text.substr(0, width);
  out.resize(width, ' ');
  return out;
}

// `items` written `per_record` to a record, each as `text` makes it.
template <typename Item, typename Text>
void add_records(std::vector<std::string>& out, const std::vector<Item>& items,
                 std::size_t per_record, Text text) {
  std::string record;
  for (std::size_t k = 0; k < items.size(); ++k) {
    record += text(items[k]);
    if (k % per_record == per_record - 1 || k + 1 == items.size()) {
      out.push_back(fit(record));
      record.clear();
    }
  }
}

void add_ids(std::vector<std::string>& out, const std::vector<int>& ids) {
  add_records(out, ids, 12, [](int id) { return format("%6d", id); });
}

void add_pairs(std::vector<std::string>& out, const std::vector<Pair>& pairs) {
  add_records(out, pairs, 6,
              [](const Pair& pair) { return format("%6d%6d", pair.major, pair.minor); });
}

void add_points(std::vector<std::string>& out,
                const std::vector<std::pair<double, double>>& points) {
  add_records(out, points, 3,
              [](const auto& point) { return format("%12.2f%12.2f", point.first, point.second); });
}

int count(const auto& list) { return static_cast<int>(list.size()); }

}  // namespace

std::vector<std::string> records(const DlgFile& file) {
  std::vector<std::string> out;
  out.push_back(fit(file.banner));
  out.push_back(
      fit(field(file.place, 40) + " " + field(file.dates, 10) + " " + format("%8d", file.scale)));
  out.push_back(fit(""));
  out.push_back(fit(format("%6d%6d%6d%6d%18s%6d%6d%6d%6d", 3, file.reference_system, file.zone,
                           file.units, "0.61000000000D+00", 4, 0, 4, 1) +
                    field(file.horizontal_datum, 3) + field(file.vertical_datum, 3)));
  for (int k = 0; k < 6; ++k) {
    out.push_back(fit("   0.000000000000000D+00   0.000000000000000D+00   0.000000000000000D+00"));
  }
  for (const char* corner : {"SW", "NW", "NE", "SE"}) {
    out.push_back(fit(
        format("%-6s%12.6f%12.6f      %12.2f%12.2f", corner, 42.0, -71.0, 300000.0, 4690000.0)));
  }
  out.push_back(fit(field(file.category, 20) + format("%4d%6d%6d 010%6d%6d 010%6d%6d   1", 0,
                                                      count(file.nodes), count(file.nodes),
                                                      count(file.areas), count(file.areas),
                                                      count(file.lines), count(file.lines))));
  for (const Node& n : file.nodes) {
    out.push_back(fit(format("N%5d%12.2f%12.2f%6d%6d%6s%6d%6d", n.id, n.x, n.y, 0, count(n.lines),
                             "", count(n.codes), 0)));
    add_ids(out, n.lines);
    add_pairs(out, n.codes);
  }
  for (const Area& a : file.areas) {
    out.push_back(fit(format("A%5d%12.2f%12.2f%6d%6d%6s%6d%6d", a.id, a.x, a.y, 0, count(a.lines),
                             "", count(a.codes), 0)));
    add_ids(out, a.lines);
    add_pairs(out, a.codes);
  }
  for (const Line& l : file.lines) {
    out.push_back(fit(format("L%5d%6d%6d%6d%6d%12s%6d%6d%6d", l.id, l.start_node, l.end_node,
                             l.left_area, l.right_area, "", count(l.points), count(l.codes), 0)));
    add_points(out, l.points);
    add_pairs(out, l.codes);
  }
  return out;
}

std::string render(const DlgFile& file, Form form) {
  std::string text;
  for (std::string record : records(file)) {
    if (form == Form::kShortLines) record.erase(record.find_last_not_of(' ') + 1);
    text += record;
    if (form != Form::kFixed) text += '\n';
  }
  return text;
}

bool write_file(const std::string& path, const DlgFile& file, Form form) {
  std::ofstream out(path, std::ios::binary);
  out << render(file, form);
  return static_cast<bool>(out.flush());
}

DlgFile ladder(int cells, int points_per_line) {
  DlgFile file;
  const double x0 = 300000.0, y0 = 4690000.0, side = 1000.0;
  const int n = cells;
  // Nodes: bottom row 1..n+1, top row n+2..2n+2.
  auto bottom = [&](int i) { return i + 1; };
  auto top = [&](int i) { return n + 2 + i; };
  for (int i = 0; i <= n; ++i) file.nodes.push_back({bottom(i), x0 + i * side, y0, {}, {}});
  for (int i = 0; i <= n; ++i) file.nodes.push_back({top(i), x0 + i * side, y0 + side, {}, {}});

  // Lines: bottom edges 1..n, top edges n+1..2n, verticals 2n+1..3n+1.
  auto bottom_edge = [&](int i) { return i + 1; };
  auto top_edge = [&](int i) { return n + 1 + i; };
  auto vertical = [&](int i) { return 2 * n + 1 + i; };
  auto straight = [&](double xa, double ya, double xb, double yb) {
    std::vector<std::pair<double, double>> points;
    const int count = points_per_line < 2 ? 2 : points_per_line;
    for (int k = 0; k < count; ++k) {
      const double t = static_cast<double>(k) / (count - 1);
      const double wiggle = (k == 0 || k == count - 1) ? 0.0 : ((k % 2) ? 3.0 : -3.0);
      points.emplace_back(xa + t * (xb - xa) + (ya == yb ? 0.0 : wiggle),
                          ya + t * (yb - ya) + (ya == yb ? wiggle : 0.0));
    }
    return points;
  };
  auto road = [](int id) {
    std::vector<Pair> codes{{170, 201 + id % 5}};
    if (id % 10 == 0) codes.push_back({173, id % 100});
    return codes;
  };
  const int outside = 1;
  auto cell = [](int i) { return i + 2; };
  for (int i = 0; i < n; ++i) {
    const double x = x0 + i * side;
    file.lines.push_back({bottom_edge(i), bottom(i), bottom(i + 1), cell(i), outside,
                          straight(x, y0, x + side, y0), road(bottom_edge(i))});
  }
  for (int i = 0; i < n; ++i) {
    const double x = x0 + i * side;
    file.lines.push_back({top_edge(i), top(i), top(i + 1), outside, cell(i),
                          straight(x, y0 + side, x + side, y0 + side), road(top_edge(i))});
  }
  for (int i = 0; i <= n; ++i) {
    const double x = x0 + i * side;
    const int left = i == 0 ? outside : cell(i - 1);
    const int right = i == n ? outside : cell(i);
    file.lines.push_back({vertical(i), bottom(i), top(i), left, right,
                          straight(x, y0, x, y0 + side), road(vertical(i))});
  }
  for (Line& line : file.lines) {
    file.nodes[static_cast<std::size_t>(line.start_node - 1)].lines.push_back(line.id);
    file.nodes[static_cast<std::size_t>(line.end_node - 1)].lines.push_back(-line.id);
  }

  Area universe{outside, x0, y0, {}, {{0, 0}}};
  for (int i = 0; i < n; ++i) universe.lines.push_back(bottom_edge(i));
  universe.lines.push_back(vertical(n));
  for (int i = n - 1; i >= 0; --i) universe.lines.push_back(-top_edge(i));
  universe.lines.push_back(-vertical(0));
  file.areas.push_back(universe);
  for (int i = 0; i < n; ++i) {
    file.areas.push_back({cell(i),
                          x0 + (i + 0.5) * side,
                          y0 + 0.5 * side,
                          {bottom_edge(i), vertical(i + 1), -top_edge(i), -vertical(i)},
                          {{200, 400 + i % 10}}});
  }
  return file;
}

}  // namespace corvane::dlgopt_fixture

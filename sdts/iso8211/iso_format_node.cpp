#include "sdts/iso8211/iso_format_node.h"

#include <cctype>
#include <charconv>

#include "sdts/iso8211/iso_limits.h"
#include "sdts/iso8211/iso_text.h"

namespace corvane::iso8211 {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Recursive descent over the body of "(" ... ")"; every failure leaves the caller's tree alone.
class FormatParser {
 public:
  explicit FormatParser(std::string_view text) : text_(text) {}

  // Parses the comma-separated items up to `close` (')' for a group, 0 for the outer body).
  bool parse_list(std::vector<IsoFormatNode>& out, char close, int depth) {
    if (depth > ISO_MAX_FORMAT_DEPTH) return false;
    for (;;) {
      if (!parse_item(out, depth)) return false;
      skip_blanks();
      if (at_end()) return close == 0;
      const char c = text_[pos_++];
      if (c == ')' && close == ')') return true;
      if (c != ',') return false;
    }
  }
  bool at_end() const { return pos_ >= text_.size(); }

 private:
  void skip_blanks() {
    while (!at_end() && text_[pos_] == ' ') ++pos_;
  }

  bool parse_number(std::int32_t& n) {
    n = 0;
    while (!at_end() && is_digit(text_[pos_])) {
      n = n * 10 + (text_[pos_++] - '0');
      if (n > ISO_MAX_FORMAT_NUMBER) return false;
    }
    return true;
  }

  bool parse_item(std::vector<IsoFormatNode>& out, int depth) {
    skip_blanks();
    const bool counted = !at_end() && is_digit(text_[pos_]);
    std::int32_t count = 0;
    if (!parse_number(count) || at_end()) return false;
    if (text_[pos_] == '(') {
      ++pos_;
      std::vector<IsoFormatNode> inner;
      if (!parse_list(inner, ')', depth + 1)) return false;
      if (!counted) {
        // Parentheses without a count only group visually: (A,(I,R)) is (A,I,R).
        for (auto& node : inner) out.push_back(std::move(node));
        return true;
      }
      IsoFormatNode group;
      group.repeat_count = count;
      group.parenthesised = true;
      group.children = std::move(inner);
      out.push_back(std::move(group));
      return true;
    }
    if (!std::isalpha(static_cast<unsigned char>(text_[pos_]))) return false;
    IsoFormatNode typed;
    typed.type = text_[pos_++];
    if (!at_end() && text_[pos_] == '(') {
      ++pos_;
      for (; !at_end() && text_[pos_] != ')'; ++pos_) {
        const char c = text_[pos_];
        if (is_digit(c)) {
          typed.width = typed.width * 10 + (c - '0');
          if (typed.width > ISO_MAX_FORMAT_NUMBER) return false;
        } else {
          typed.delimiter = c;
        }
      }
      if (at_end()) return false;
      ++pos_;
    }
    if (!counted) {
      out.push_back(std::move(typed));
      return true;
    }
    IsoFormatNode wrapper;
    wrapper.repeat_count = count;
    wrapper.children.push_back(std::move(typed));
    out.push_back(std::move(wrapper));
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// A group that yields no typed format (a count of 0) is dropped, so that every walk through
// the tree yields a format after a bounded number of steps.
void prune(std::vector<IsoFormatNode>& nodes) {
  std::vector<IsoFormatNode> kept;
  for (auto& node : nodes) {
    if (node.type == 0) {
      prune(node.children);
      if (node.repeat_count <= 0 || node.children.empty()) continue;
    }
    kept.push_back(std::move(node));
  }
  nodes = std::move(kept);
}

// Every subfield read asks for its format's text, so each typed node gets it once here.
void describe_all(std::vector<IsoFormatNode>& nodes) {
  for (auto& node : nodes) {
    if (node.type == 0) {
      describe_all(node.children);
      continue;
    }
    char text[16];
    char* end = text;
    *end++ = node.type;
    if (node.delimiter != 0 || node.width != 0) {
      *end++ = '(';
      if (node.delimiter != 0)
        *end++ = node.delimiter;
      else
        end = std::to_chars(end, text + sizeof text - 1, node.width).ptr;
      *end++ = ')';
    }
    node.description = Iso_C_Text(std::string_view(text, static_cast<std::size_t>(end - text)));
  }
}

}  // namespace

bool Iso_Parse_Formats(std::string_view text, IsoFormatNode& root) {
  if (text.size() < 2 || text.front() != '(' || text.back() != ')') return false;
  FormatParser parser(text.substr(1, text.size() - 2));
  IsoFormatNode parsed;
  parsed.repeat_count = 1;
  if (!parser.parse_list(parsed.children, 0, 0)) return false;
  prune(parsed.children);
  if (parsed.children.empty()) return false;
  describe_all(parsed.children);
  root = std::move(parsed);
  return true;
}

}  // namespace corvane::iso8211

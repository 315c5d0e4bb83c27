#include "formats/text_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace compare {
namespace {

std::string unquoted(std::string field) {
  if (field.size() >= 2 && (field.front() == '"' || field.front() == '\'') && field.back() == field.front())
    return field.substr(1, field.size() - 2);
  return field;
}

}  // namespace

// Commas separate fields even around blanks; without commas blanks do.
std::vector<std::string> split_fields(std::string_view line) {
  std::vector<std::string> fields;
  const bool commas = line.find(',') != std::string_view::npos;
  std::string current;
  bool quoted = false, any = false;
  auto flush = [&] {
    std::size_t a = current.find_first_not_of(" \t\r"), b = current.find_last_not_of(" \t\r");
    fields.push_back(a == std::string::npos ? std::string() : unquoted(current.substr(a, b - a + 1)));
    current.clear();
    any = false;
  };
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    const bool separator = !quoted && (commas ? c == ',' : (c == ' ' || c == '\t' || c == '\r'));
    if (separator) {
      if (commas || any) flush();
      continue;
    }
    current += c;
    any = true;
  }
  if (commas || any) flush();
  return fields;
}

void each_line(std::string_view text, const std::function<bool(std::size_t, std::string_view)>& visit) {
  std::size_t number = 1;
  for (std::size_t begin = 0; begin < text.size(); ++number) {
    const std::size_t end = std::min(text.find('\n', begin), text.size());
    if (!visit(number, text.substr(begin, end - begin))) return;
    begin = end + 1;
  }
}

std::vector<TextRow> text_rows(std::string_view text) {
  std::vector<TextRow> rows;
  each_line(text, [&](std::size_t number, std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string_view::npos && line[first] != '#') rows.push_back({number, split_fields(line)});
    return true;
  });
  return rows;
}

// from_chars reads the same whatever the process's locale (strtod takes a
// decimal comma under a German one); it takes no '+', which strtod did.
std::optional<double> number_in(const std::string& field) {
  std::string_view text = field;
  if (text.starts_with('+')) text.remove_prefix(1);
  if (text.empty() || (text.front() == '-' && field.front() == '+')) return std::nullopt;
  double value = 0.0;
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return std::nullopt;
  // Out of range, strtod gave an infinity or zero, which the checks then name.
  if (fault == std::errc::result_out_of_range) {
    const bool tiny = text.find("e-") != std::string_view::npos || text.find("E-") != std::string_view::npos;
    value = tiny ? 0.0 : HUGE_VAL;
    if (text.front() == '-') value = -value;
  }
  return value;
}

}  // namespace compare

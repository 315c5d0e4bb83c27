#include "formats/text_table.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <string_view>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "model/errors.h"

namespace compare {
namespace {

std::string unquoted(std::string field) {
  if (field.size() >= 2 && (field.front() == '"' || field.front() == '\'') && field.back() == field.front())
    return field.substr(1, field.size() - 2);
  return field;
}

// Commas separate fields even around blanks; without commas blanks do.
std::vector<std::string> split_fields(const std::string& line) {
  std::vector<std::string> fields;
  const bool commas = line.find(',') != std::string::npos;
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

}  // namespace

std::string read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(path + ": " + std::strerror(errno ? errno : ENOENT));
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw InputError(path + ": cannot read: " + std::strerror(errno ? errno : EIO));
  return content.str();
}

std::vector<TextRow> read_text_rows(const std::string& path) {
  std::istringstream in(read_whole_file(path));
  std::vector<TextRow> rows;
  std::string line;
  for (std::size_t number = 1; std::getline(in, line); ++number) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    rows.push_back({number, split_fields(line)});
  }
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

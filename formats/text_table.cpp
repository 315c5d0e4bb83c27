#include "formats/text_table.h"

#include <cerrno>
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

std::optional<double> number_in(const std::string& field) {
  if (field.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(field.c_str(), &end);
  if (end != field.c_str() + field.size()) return std::nullopt;
  return value;
}

}  // namespace compare

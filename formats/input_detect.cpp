// Telling an input's format from its name and its first bytes. Each format
// has a test of its own on the start of the content; the first that holds
// is the format, and when none does the message gives every format's
// reason, so that a file is never read as a format it only seemed to be.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string_view>

#include "formats/input_source.h"
#include "formats/text_table.h"
#include "model/errors.h"

namespace compare {
namespace {

std::string lower_extension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

std::optional<InputFormat> format_of_extension(const std::string& path) {
  const std::string extension = lower_extension(path);
  if (extension == "den") return InputFormat::den;
  if (extension == "npy") return InputFormat::linkage_npy;
  if (extension == "nwk" || extension == "newick" || extension == "tree" || extension == "tre")
    return InputFormat::newick;
  return std::nullopt;
}

// The first line that is neither blank nor a '#' comment, with its number.
struct DataLine {
  std::size_t number = 0;
  std::string_view text;
  std::vector<std::string> fields;
};

std::optional<DataLine> first_data_line(std::string_view text) {
  std::optional<DataLine> found;
  each_line(text, [&](std::size_t number, std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string_view::npos && line[first] != '#') found = DataLine{number, line, split_fields(line)};
    return !found;
  });
  return found;
}

// The first character of a Newick tree: blanks and [comments] (such as
// the [&R] some programs write first) are not part of it.
char first_significant(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (std::isspace(static_cast<unsigned char>(text[at]))) {
      ++at;
    } else if (text[at] == '[') {
      const std::size_t end = text.find(']', at);
      if (end == std::string_view::npos) return '[';
      at = end + 1;
    } else {
      return text[at];
    }
  }
  return '\0';
}

bool is_integer(const std::string& field) {
  const std::size_t digits = field.starts_with('-') || field.starts_with('+') ? 1 : 0;
  return field.size() > digits &&
         std::all_of(field.begin() + static_cast<std::ptrdiff_t>(digits), field.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

bool any_negative(const std::vector<std::string>& fields) {
  return std::any_of(fields.begin(), fields.end(), [](const std::string& field) { return field.starts_with('-'); });
}

std::string count_of(std::size_t count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string shown(std::string_view text) {
  std::string start(text.substr(0, 20));
  if (text.size() > 20) start += "...";
  return "'" + start + "'";
}

// Each test gives nothing when the format fits, else why it does not.
using Reason = std::optional<std::string>;

Reason den_reason(const DataLine& line) {
  const std::string where = "line " + std::to_string(line.number);
  if (line.fields.size() > 2)
    return where + " holds " + count_of(line.fields.size(), "value") + "; our own format begins with the object count";
  if (!is_integer(line.fields.front()))
    return where + " begins with " + shown(line.fields.front()) + ", not with the object count";
  return std::nullopt;
}

// R's write.csv quotes its header and row names; without them a row holds
// merge[,1], merge[,2] and height, or a row name first and a negative
// entry among them (objects are negative). A linkage row holds four
// values. Whether each is a number the reader says, naming its line.
Reason hclust_reason(const DataLine& line) {
  const std::size_t count = line.fields.size();
  if (line.text.find('"') != std::string_view::npos || count == 3 || (count == 4 && any_negative(line.fields)))
    return std::nullopt;
  return "line " + std::to_string(line.number) + " holds " + count_of(count, "value") +
         "; an hclust row holds merge[,1], merge[,2] and height, after an optional row name";
}

Reason linkage_reason(const DataLine& line) {
  if (line.fields.size() == 4) return std::nullopt;
  return "line " + std::to_string(line.number) + " holds " + count_of(line.fields.size(), "value") +
         ", not the 4 of a linkage row (values are separated by blanks, tabs or commas)";
}

Reason newick_reason(std::string_view text) {
  const char first = first_significant(text);
  if (first == '(') return std::nullopt;
  if (first == '\0') return "no tree after the comments";
  if (first == '[') return "a '[' comment is not closed";
  const auto byte = static_cast<unsigned char>(first);
  char shown_byte[16];
  if (byte > ' ' && byte < 127)
    std::snprintf(shown_byte, sizeof shown_byte, "'%c'", first);
  else
    std::snprintf(shown_byte, sizeof shown_byte, "byte 0x%02X", byte);
  return std::string("a tree begins with '(', this text with ") + shown_byte;
}

// One line: the formats tried, each with why it does not fit.
[[noreturn]] void refuse(const std::string& path, const std::vector<std::pair<std::string, std::string>>& reasons) {
  std::string message = path + ": no input format fits:";
  for (std::size_t i = 0; i < reasons.size(); ++i) message += (i ? "; " : " ") + reasons[i].first + ": " + reasons[i].second;
  throw InputError(message);
}

const std::pair<std::string, std::string> kNotNpy{"npy", "it does not begin as a NumPy .npy file does"};
const char kTextFormats[] = "den, linkage, hclust, newick";

}  // namespace

InputFormat format_of_content(const std::string& start, const std::string& path) {
  if (start.starts_with("\x93NUMPY")) return InputFormat::linkage_npy;
  std::string_view text = start;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
    refuse(path, {kNotNpy, {kTextFormats, "a NUL byte at byte " + std::to_string(nul + 1) + ", so it is no text"}});
  const Reason newick = newick_reason(text);
  if (!newick) return InputFormat::newick;
  const std::optional<DataLine> line = first_data_line(text);
  if (!line) refuse(path, {kNotNpy, {kTextFormats, "it holds nothing but blanks and '#' comments"}});
  const std::array<std::pair<InputFormat, Reason>, 3> tests = {
      {{InputFormat::den, den_reason(*line)},
       {InputFormat::hclust, hclust_reason(*line)},
       {InputFormat::linkage_text, linkage_reason(*line)}}};
  for (const auto& [format, reason] : tests)
    if (!reason) return format;
  refuse(path, {{"den", *tests[0].second},
                kNotNpy,
                {"linkage", *tests[2].second},
                {"hclust", *tests[1].second},
                {"newick", *newick}});
}

InputFormat format_of(const std::string& path, const std::string& start) {
  if (const auto format = format_of_extension(path)) return *format;
  return format_of_content(start, path);
}

}  // namespace compare

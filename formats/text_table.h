#pragma once
// Rows of numbers from a text as numpy.savetxt or R's write.csv write
// them: fields split at commas, tabs or blanks, quotes around a field
// dropped, '#' comment lines and blank lines skipped, each row with the
// number of its line.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

struct TextRow {
  std::size_t line = 0;
  std::vector<std::string> fields;
};

std::vector<TextRow> text_rows(std::string_view text);

// Calls visit(number, line) for each line of the text (1-based, without
// its line feed) until it returns false.
void each_line(std::string_view text, const std::function<bool(std::size_t, std::string_view)>& visit);

// The fields of one line, split as text_rows splits them.
std::vector<std::string> split_fields(std::string_view line);

// The whole field as a number in C's spelling whatever the locale ("NaN"
// and "Inf" too).
std::optional<double> number_in(const std::string& field);

}  // namespace compare

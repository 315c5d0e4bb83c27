#pragma once
// Rows of numbers from a text file as numpy.savetxt or R's write.csv write
// them: fields split at commas, tabs or blanks, quotes around a field
// dropped, '#' comment lines and blank lines skipped, each row with the
// number of its line.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace compare {

struct TextRow {
  std::size_t line = 0;
  std::vector<std::string> fields;
};

std::vector<TextRow> read_text_rows(const std::string& path);

// The whole field as a number in C's spelling whatever the locale ("NaN"
// and "Inf" too).
std::optional<double> number_in(const std::string& field);

// The file's whole content; InputError naming the path when it cannot be read.
std::string read_whole_file(const std::string& path);

}  // namespace compare

// scipy linkage matrices: from memory, from .npy files and from the text
// numpy.savetxt writes.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "formats/input_readers.h"
#include "formats/inputs.h"
#include "formats/text_table.h"
#include "model/errors.h"
#include "model/merge_builder.h"
#include "model/validate.h"

namespace compare {
namespace {

// A cluster id must be a whole number; the builder checks its range.
std::int64_t cluster_id(double value, const std::string& where) {
  if (!(std::fabs(value) < 9.0e15) || value != std::floor(value))
    throw InputError(where + ": cluster id " + std::to_string(value) + " is not a whole number");
  return static_cast<std::int64_t>(value);
}

std::vector<TreeMerge> tree_merges(const double* z, std::size_t rows,
                                   const std::function<std::string(std::size_t)>& where) {
  std::vector<TreeMerge> merges(rows);
  for (std::size_t t = 0; t < rows; ++t) {
    const double* row = z + 4 * t;
    merges[t] = {cluster_id(row[0], where(t)), cluster_id(row[1], where(t)), row[2]};
  }
  return merges;
}

// The fourth column must agree with the sizes the first two imply, as in
// any matrix scipy's linkage made; a disagreement means a damaged matrix.
void check_sizes(const double* z, const DendrogramFile& file, const std::function<std::string(std::size_t)>& where) {
  for (std::size_t t = 0; t < file.merges.size(); ++t) {
    const int size = file.merges[t].companion1 + file.merges[t].companion2;
    if (z[4 * t + 3] != size)
      throw InputError(where(t) + ": the count column says " + std::to_string(z[4 * t + 3]) +
                       " objects, but the clusters joined hold " + std::to_string(size));
  }
}

DendrogramFile linkage_with_places(const double* z, std::size_t rows, std::size_t columns, const std::string& source,
                                   const std::function<std::string(std::size_t)>& where) {
  if (columns != 4)
    throw InputError(source + ": a linkage matrix has 4 columns, this one has " + std::to_string(columns));
  check_object_count(static_cast<std::int64_t>(rows) + 1, source);
  const DendrogramFile file = build_dendrogram(static_cast<int>(rows) + 1, tree_merges(z, rows, where), where);
  check_sizes(z, file, where);
  return file;
}

struct NpyHeader {
  std::string descr;
  bool fortran_order = false;
  std::vector<std::size_t> shape;
};

// The header is a Python dict literal; its three keys are found by a
// plain scan, whose cost and stack do not grow with the header's length.
std::string_view value_after_key(std::string_view text, std::string_view key) {
  const std::size_t at = text.find(key);
  if (at == std::string_view::npos) return {};
  std::string_view rest = text.substr(at + key.size());
  const auto skip_blanks = [&] { rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(" \t\r\n"))); };
  skip_blanks();
  if (rest.empty() || rest.front() != ':') return {};
  rest.remove_prefix(1);
  skip_blanks();
  return rest;
}

// The text up to the closing character, if the value opens with `open`.
std::optional<std::string_view> enclosed(std::string_view value, char open, char close) {
  if (value.empty() || value.front() != open) return std::nullopt;
  const std::size_t end = value.find(close, 1);
  if (end == std::string_view::npos) return std::nullopt;
  return value.substr(1, end - 1);
}

std::vector<std::size_t> shape_extents(std::string_view dims, const std::string& path) {
  std::vector<std::size_t> shape;
  for (std::size_t at = dims.find_first_of("0123456789"); at != std::string_view::npos;
       at = dims.find_first_of("0123456789", at)) {
    std::size_t extent = 0;
    const auto [stop, fault] = std::from_chars(dims.data() + at, dims.data() + dims.size(), extent);
    if (fault != std::errc())
      throw InputError(path + ": the array's shape (" + std::string(dims) + ") is too large for a linkage matrix");
    shape.push_back(extent);
    at = static_cast<std::size_t>(stop - dims.data());
  }
  return shape;
}

NpyHeader parse_npy_header(std::string_view text, const std::string& path) {
  NpyHeader header;
  if (const auto descr = enclosed(value_after_key(text, "'descr'"), '\'', '\'')) header.descr = *descr;
  header.fortran_order = value_after_key(text, "'fortran_order'").starts_with("True");
  const auto dims = enclosed(value_after_key(text, "'shape'"), '(', ')');
  if (!dims) throw InputError(path + ": not a NumPy array file (no shape in its header)");
  header.shape = shape_extents(*dims, path);
  return header;
}

// Version 1 keeps the header length in 2 bytes, versions 2 and 3 in 4.
std::size_t npy_header_start(std::string_view data, const std::string& path, std::size_t& length) {
  if (data.size() < 10 || data.compare(0, 6, "\x93NUMPY") != 0) throw InputError(path + ": not a NumPy .npy file");
  const auto byte = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(data[i])); };
  const int major = static_cast<int>(byte(6));
  if (major == 1) {
    length = byte(8) | byte(9) << 8;
    return 10;
  }
  if ((major == 2 || major == 3) && data.size() >= 12) {
    length = byte(8) | byte(9) << 8 | byte(10) << 16 | byte(11) << 24;
    return 12;
  }
  throw InputError(path + ": .npy format version " + std::to_string(major) + " is not supported");
}

// numpy.save keeps an array's own type and byte order: float64 as scipy
// makes it, float32 after astype, big-endian from a machine or a file of
// that order. Each is read and widened to a double exactly.
void take_value_type(const std::string& descr, NpyLayout& layout, const std::string& path) {
  const bool order_given = descr.size() == 3 && (descr[0] == '<' || descr[0] == '>');
  const std::string type = order_given ? descr.substr(1) : descr;
  if (type != "f8" && type != "f4")
    throw InputError(path + ": the array holds '" + descr +
                     "' values; a linkage matrix holds floating-point values (float64 '<f8' or float32 '<f4', "
                     "either byte order)");
  layout.item_size = type == "f8" ? 8 : 4;
  layout.big_endian = order_given && descr[0] == '>';
}

void take_shape(const NpyHeader& header, NpyLayout& layout, const std::string& path) {
  if (header.shape.size() != 2)
    throw InputError(path + ": the array has " + std::to_string(header.shape.size()) +
                     " dimensions; a linkage matrix has 2, of shape (N-1, 4)");
  layout.rows = header.shape[0];
  layout.columns = header.shape[1];
  if (layout.columns != 4 || layout.rows > static_cast<std::size_t>(kLargestExactObjectCount))
    throw InputError(path + ": the array has shape (" + std::to_string(layout.rows) + ", " +
                     std::to_string(layout.columns) + "); a linkage matrix has shape (N-1, 4)");
}

double npy_value(std::string_view data, const NpyLayout& layout, std::size_t i) {
  const std::size_t size = static_cast<std::size_t>(layout.item_size);
  std::uint64_t bits = 0;
  for (std::size_t b = 0; b < size; ++b) {
    const std::size_t at = layout.big_endian ? b : size - 1 - b;
    bits = bits << 8 | static_cast<unsigned char>(data[layout.data_offset + size * i + at]);
  }
  if (size == 4) return std::bit_cast<float>(static_cast<std::uint32_t>(bits));
  return std::bit_cast<double>(bits);
}

std::vector<double> npy_values(std::string_view data, const NpyLayout& layout, const std::string& path) {
  if (data.size() < layout.file_size()) throw InputError(path + ": the file ends inside the array");
  const std::size_t rows = layout.rows, columns = layout.columns;
  std::vector<double> values(rows * columns);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::size_t r = layout.fortran_order ? i % rows : i / columns;
    const std::size_t c = layout.fortran_order ? i / rows : i % columns;
    values[r * columns + c] = npy_value(data, layout, i);
  }
  return values;
}

}  // namespace

DendrogramFile from_linkage(const double* z, std::size_t rows, std::size_t columns, const std::string& source) {
  return linkage_with_places(z, rows, columns, source,
                             [&](std::size_t t) { return source + ": row " + std::to_string(t); });
}

NpyLayout npy_layout(std::string_view start, const std::string& path) {
  std::size_t length = 0;
  NpyLayout layout;
  const std::size_t header = npy_header_start(start, path, length);
  if (start.size() < header + length) throw InputError(path + ": the file ends inside its header");
  const NpyHeader parsed = parse_npy_header(start.substr(header, length), path);
  take_value_type(parsed.descr, layout, path);
  take_shape(parsed, layout, path);
  layout.fortran_order = parsed.fortran_order;
  layout.data_offset = header + length;
  return layout;
}

DendrogramFile read_linkage_npy(std::string_view data, const std::string& path) {
  const NpyLayout layout = npy_layout(data, path);
  if (data.size() > layout.file_size())
    throw InputError(path + ": " + std::to_string(data.size() - layout.file_size()) +
                     " bytes follow the array; a .npy file ends with it");
  const std::vector<double> z = npy_values(data, layout, path);
  return linkage_with_places(z.data(), layout.rows, 4, path,
                             [&](std::size_t t) { return path + ": row " + std::to_string(t); });
}

DendrogramFile read_linkage_text(std::string_view text, const std::string& path) {
  const std::vector<TextRow> rows = text_rows(text);
  std::vector<double> z;
  for (const TextRow& row : rows) {
    const std::string where = path + ": line " + std::to_string(row.line);
    if (row.fields.size() != 4)
      throw InputError(where + ": " + std::to_string(row.fields.size()) +
                       " values; a linkage matrix row has 4 (idx1, idx2, dist, count)");
    for (const std::string& field : row.fields) {
      const auto value = number_in(field);
      if (!value) throw InputError(where + ": '" + field + "' is not a number");
      z.push_back(*value);
    }
  }
  return linkage_with_places(z.data(), rows.size(), 4, path, [&](std::size_t t) {
    return path + ": line " + std::to_string(rows[t].line);
  });
}

}  // namespace compare

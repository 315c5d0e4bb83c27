#include "app/cli/exports.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "compare/atomic_file.h"

namespace cli {
namespace {

template <typename Real>
void append_shortest(std::string& out, Real value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

void append_integer(std::string& out, long long value) {
  char text[24];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

void append_row(std::string& out, const compare::Comparison& r, int k, int l, char separator, bool exact) {
  const auto& t = r.tables;
  for (long long v : {(long long)k, (long long)l, (long long)t.cluster_counts1[k - 1], (long long)t.cluster_counts2[l - 1]}) {
    append_integer(out, v);
    out += separator;
  }
  append_shortest(out, r.heights1[k - 1]);
  out += separator;
  append_shortest(out, r.heights2[l - 1]);
  const compare::ExactValues e = r.exact(k, l);
  if (exact) {
    for (double v : {e.jaccard, e.rand, e.euclidean, e.sorensen, e.adjusted_rand, e.fowlkes_mallows}) {
      out += separator;
      append_shortest(out, v);
    }
  } else {
    for (int m = 1; m <= compare::kMeasureCount; ++m) {
      out += separator;
      append_shortest(out, t.value(m, k, l));
    }
    out += separator;
    append_shortest(out, static_cast<float>(e.fowlkes_mallows));
  }
  out += '\n';
}

std::string header_line(char separator) {
  std::string line = "k";
  for (const char* name : {"l", "clusters1", "clusters2", "height1", "height2"}) line += separator + std::string(name);
  for (const char* name : kMeasureNames) line += separator + std::string(name);
  return line + separator + "fowlkes_mallows\n";
}

// The .npy header: magic, version 1.0, a dict padded with blanks so that
// the data starts on a 64-byte boundary, ending in a line feed.
std::string npy_header(const char* descr, const std::vector<std::size_t>& shape) {
  std::string dims;
  for (std::size_t d : shape) dims += std::to_string(d) + ", ";
  if (shape.size() > 1) dims.resize(dims.size() - 2);
  std::string dict = "{'descr': '" + std::string(descr) + "', 'fortran_order': False, 'shape': (" + dims + "), }";
  const std::size_t unpadded = 10 + dict.size() + 1;
  dict.append((64 - unpadded % 64) % 64, ' ');
  dict += '\n';
  std::string header = "\x93NUMPY\x01";
  header += '\0';
  header += static_cast<char>(dict.size() & 0xff);
  header += static_cast<char>(dict.size() >> 8);
  return header + dict;
}

template <typename T>
void write_npy(const std::string& path, const char* descr, const std::vector<std::size_t>& shape,
               const std::vector<T>& values) {
  compare::write_file_atomically(path, [&](std::ostream& out) {
    out << npy_header(descr, shape);
    out.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(T)));
  });
}

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string json_number(float value) {
  if (!std::isfinite(value)) return "null";
  std::string out;
  append_shortest(out, value);
  return out;
}

}  // namespace

void write_level_pairs(const compare::Comparison& result, const std::string& path, char separator, bool exact) {
  compare::write_file_atomically(path, [&](std::ostream& out) {
    std::string block = header_line(separator);
    const int rows = static_cast<int>(result.tables.compared_rows());
    const int columns = static_cast<int>(result.tables.compared_columns());
    for (int k = 1; k <= rows; ++k) {
      for (int l = 1; l <= columns; ++l) append_row(block, result, k, l, separator, exact);
      if (block.size() > (1u << 20)) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        block.clear();
      }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  });
}

void write_npy_directory(const compare::Comparison& result, const std::string& directory,
                         const std::function<std::string(const std::string&)>& where_to) {
  if (::mkdir(directory.c_str(), 0777) != 0 && errno != EEXIST)
    throw compare::OutputError(directory + ": cannot make the directory: " + std::strerror(errno));
  const auto& t = result.tables;
  const std::vector<std::size_t> shape = {t.compared_rows(), t.compared_columns()};
  const std::size_t cells = t.compared_rows() * t.compared_columns();
  for (int m = 1; m <= compare::kMeasureCount; ++m) {
    std::vector<float> table(cells);
    for (std::size_t i = 0; i < cells; ++i) table[i] = t.values[i * compare::kMeasureCount + (m - 1)];
    write_npy(where_to(directory + "/" + kMeasureNames[m - 1] + ".npy"), "<f4", shape, table);
  }
  std::vector<double> fowlkes_mallows(cells);
  for (std::size_t i = 0; i < cells; ++i)
    fowlkes_mallows[i] = result.exact(static_cast<int>(i / t.compared_columns()) + 1,
                                      static_cast<int>(i % t.compared_columns()) + 1).fowlkes_mallows;
  write_npy(where_to(directory + "/fowlkes_mallows.npy"), "<f8", shape, fowlkes_mallows);
  write_npy(where_to(directory + "/clusters1.npy"), "<i4", {t.cluster_counts1.size()}, t.cluster_counts1);
  write_npy(where_to(directory + "/clusters2.npy"), "<i4", {t.cluster_counts2.size()}, t.cluster_counts2);
  write_npy(where_to(directory + "/heights1.npy"), "<f4", {result.heights1.size()}, result.heights1);
  write_npy(where_to(directory + "/heights2.npy"), "<f4", {result.heights2.size()}, result.heights2);
}

void write_json_summary(const compare::Comparison& result, const std::vector<InputSummary>& inputs,
                        const std::string& path) {
  const auto& t = result.tables;
  std::string json = "{\n  \"version\": " + json_string(DENDROCOMPARE_VERSION) + ",\n  \"inputs\": [";
  for (std::size_t i = 0; i < inputs.size(); ++i)
    json += std::string(i ? ", " : "") + "{\"path\": " + json_string(inputs[i].path) +
            ", \"format\": " + json_string(inputs[i].format) + "}";
  json += "],\n  \"objects\": " + std::to_string(result.object_count) + ",\n  \"levels\": [" +
          std::to_string(t.levels1) + ", " + std::to_string(t.levels2) + "],\n  \"minima\": {";
  for (int m = 0; m < compare::kMeasureCount; ++m) {
    const compare::MinimumRecord& r = t.minima[m];
    json += std::string(m ? "," : "") + "\n    " + json_string(kMeasureNames[m]) + ": {\"value\": " +
            json_number(r.smallest) + ", \"clusters1\": " + std::to_string(r.clusters1) +
            ", \"clusters2\": " + std::to_string(r.clusters2) + "}";
  }
  json += "\n  }\n}\n";
  compare::write_file_atomically(path, [&](std::ostream& out) { out << json; });
}

}  // namespace cli

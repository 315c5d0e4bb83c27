#include "formats/exports.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <ostream>
#include <memory>
#include <thread>

#include "formats/shortest_real.h"
#include "outputs/run_outputs.h"

namespace cli {
namespace {

using compare::append_shortest;

void append_integer(std::string& out, long long value) {
  char text[24];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

// The fields that depend on one level only, formatted once per level.
struct LevelFields {
  std::string index, clusters, height;
};

std::vector<LevelFields> level_fields(const std::vector<int>& counts, const std::vector<float>& heights,
                                     int base_level) {
  std::vector<LevelFields> fields(counts.size());
  for (std::size_t i = 0; i < counts.size(); ++i) {
    append_integer(fields[i].index, static_cast<long long>(i) + base_level);
    append_integer(fields[i].clusters, counts[i]);
    append_shortest(fields[i].height, heights[i]);
  }
  return fields;
}

// Rows are written at a cursor into a buffer with room for the longest
// row, which is known from the level fields before any row is written.
char* put(char* at, const std::string& field) {
  std::memcpy(at, field.data(), field.size());
  return at + field.size();
}

template <typename Real>
char* put(char* at, char separator, Real value) {
  *at++ = separator;
  return compare::write_shortest(at, value);
}

char* put_values(char* at, const compare::Comparison& r, int k, int l, char separator,
                 const std::vector<compare::MeasureId>& measures) {
  const bool exact = r.precision == compare::Precision::exact;
  for (const compare::MeasureId m : measures) {
    if (exact)
      at = put(at, separator, r.exact_value(m, k, l));
    else if (m == compare::MeasureId::fowlkes_mallows)
      at = put(at, separator, static_cast<float>(r.fowlkes_mallows(k, l)));
    else
      at = put(at, separator, r.tables.value(static_cast<int>(m) + 1, k, l));
  }
  return at;
}

// Refuses measures that the comparison cannot give.
void check_measures(const compare::Comparison& r, const std::vector<compare::MeasureId>& measures) {
  for (const compare::MeasureId m : measures)
    if (compare::from_contingency(m) && !r.has_information())
      throw compare::InputError(std::string(compare::measure_name(m)) + " comes from exact comparisons only (--exact)");
}

char* put_row(char* at, const LevelFields& row, const LevelFields& column, char separator) {
  for (const std::string* field : {&row.index, &column.index, &row.clusters, &column.clusters, &row.height}) {
    at = put(at, *field);
    *at++ = separator;
  }
  return put(at, column.height);
}

std::size_t longest(const std::vector<LevelFields>& fields) {
  std::size_t most = 0;
  for (const LevelFields& f : fields) most = std::max(most, f.index.size() + f.clusters.size() + f.height.size());
  return most;
}

std::string header_line(char separator, const std::vector<compare::MeasureId>& measures) {
  std::string line = "k";
  for (const char* name : {"l", "clusters1", "clusters2", "height1", "height2"}) line += separator + std::string(name);
  for (const compare::MeasureId m : measures) line += separator + std::string(compare::measure_name(m));
  return line + "\n";
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
void write_npy(const outputs::Sink& sink, const char* descr, const std::vector<std::size_t>& shape,
               const std::vector<T>& values) {
  outputs::write_to(sink, [&](std::ostream& out) {
    out << npy_header(descr, shape);
    out.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(T)));
  });
}

// An exact measure's table, a few megabytes of rows at a time, so that no
// whole table of doubles is ever held.
void write_exact_npy(const outputs::Sink& sink, const compare::Comparison& result, compare::MeasureId measure) {
  const std::size_t columns = static_cast<std::size_t>(result.columns());
  const int rows_at_once = static_cast<int>(std::max<std::size_t>(1, (1u << 19) / std::max<std::size_t>(1, columns)));
  outputs::write_to(sink, [&](std::ostream& out) {
    out << npy_header("<f8", {static_cast<std::size_t>(result.rows()), columns});
    std::vector<double> block(static_cast<std::size_t>(rows_at_once) * columns);
    for (int first = 1; first <= result.rows(); first += rows_at_once) {
      const int last = std::min(result.rows(), first + rows_at_once - 1);
      compare::fill_measure_rows(result, measure, first, last, block.data(), export_threads());
      out.write(reinterpret_cast<const char*>(block.data()),
                static_cast<std::streamsize>(static_cast<std::size_t>(last - first + 1) * columns * sizeof(double)));
    }
  });
}

// The length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t utf8_length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t j) { return static_cast<unsigned char>(text[j]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3
                           : lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t j = i + 1; j < i + length; ++j)
    if ((byte(j) & 0xc0) != 0x80) return 0;
  const unsigned char second = byte(i + 1);
  // No overlong forms, no surrogates, nothing beyond U+10FFFF.
  if ((lead == 0xe0 && second < 0xa0) || (lead == 0xed && second > 0x9f) || (lead == 0xf0 && second < 0x90) ||
      (lead == 0xf4 && second > 0x8f))
    return 0;
  return length;
}

// A JSON string of text; a byte that is not part of well-formed UTF-8 (a
// file name in another encoding) becomes \udcXX, as Python's
// surrogateescape reads it, so that the JSON stays valid and the name can
// be recovered.
std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = utf8_length(text, i);
    char escape[8];
    if (length == 0) {
      std::snprintf(escape, sizeof escape, "\\udc%02x", c);
      out += escape;
      ++i;
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out.append(text, i, length);
    }
    i += length;
  }
  return out + "\"";
}

template <typename Real>
std::string json_number(Real value) {
  if (!std::isfinite(value)) return "null";
  std::string out;
  append_shortest(out, value);
  return out;
}

}  // namespace

namespace {
int thread_limit = 0;
}  // namespace

void set_export_threads(int threads) { thread_limit = std::max(0, threads); }

int export_threads() {
  if (thread_limit > 0) return thread_limit;
  if (const char* forced = std::getenv("DENDRO_EXPORT_THREADS")) return std::max(1, std::atoi(forced));
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// Formatting the numbers costs more than writing them, so rows are
// formatted in parallel, a few megabytes per thread at a time, and written
// in their order.
std::vector<compare::MeasureId> default_export_measures() {
  using compare::MeasureId;
  return {MeasureId::jaccard,  MeasureId::rand,          MeasureId::euclidean,
          MeasureId::sorensen, MeasureId::adjusted_rand, MeasureId::fowlkes_mallows};
}

void write_level_pairs(const compare::Comparison& result, const outputs::Sink& sink, char separator,
                       const std::vector<compare::MeasureId>& measures) {
  check_measures(result, measures);
  const auto rows = level_fields(result.clusters1, result.heights1, result.base_level1);
  const auto columns = level_fields(result.clusters2, result.heights2, result.base_level2);
  const std::size_t row_room =
      longest(rows) + longest(columns) + measures.size() * (compare::kShortestRoom + 1) + 8;
  const int row_count = static_cast<int>(rows.size()), column_count = static_cast<int>(columns.size());
  const int threads = export_threads();
  const int rows_per_part = std::max<std::size_t>(1, (4u << 20) / (90 * std::max(1, column_count)));
  struct Part {
    std::unique_ptr<char[]> text;
    std::size_t used = 0;
  };
  const auto format_rows = [&](int from, int to, Part& part) {
    if (!part.text) part.text.reset(new char[static_cast<std::size_t>(rows_per_part) * column_count * row_room]);
    char* at = part.text.get();
    for (int k = from; k < to; ++k) {
      for (int l = 1; l <= column_count; ++l) {
        at = put_row(at, rows[k - 1], columns[l - 1], separator);
        at = put_values(at, result, k, l, separator, measures);
        *at++ = '\n';
      }
    }
    part.used = static_cast<std::size_t>(at - part.text.get());
  };
  outputs::write_to(sink, [&](std::ostream& out) {
    out << header_line(separator, measures);
    std::vector<Part> parts(threads);
    for (int first = 1; first <= row_count; first += threads * rows_per_part) {
      {
        std::vector<std::jthread> pool;
        for (int t = 0; t < threads; ++t) {
          const int from = std::min(row_count + 1, first + t * rows_per_part);
          const int to = std::min(row_count + 1, from + rows_per_part);
          pool.emplace_back([&, from, to, t] { format_rows(from, to, parts[t]); });
        }
      }
      for (const Part& part : parts) out.write(part.text.get(), static_cast<std::streamsize>(part.used));
    }
  });
}

std::vector<std::string> npy_file_names(const std::vector<compare::MeasureId>& measures) {
  std::vector<std::string> names;
  for (const compare::MeasureId m : measures) names.push_back(std::string(compare::measure_name(m)) + ".npy");
  for (const char* name : {"clusters1", "clusters2", "heights1", "heights2"}) names.push_back(std::string(name) + ".npy");
  return names;
}

void write_npy_directory(const compare::Comparison& result,
                         const std::function<const outputs::Sink&(const std::string&)>& sink_for,
                         const std::vector<compare::MeasureId>& measures) {
  check_measures(result, measures);
  const std::vector<std::size_t> shape = {static_cast<std::size_t>(result.rows()),
                                          static_cast<std::size_t>(result.columns())};
  const auto sink_of = [&](const std::string& name) -> const outputs::Sink& { return sink_for(name + ".npy"); };
  for (const compare::MeasureId m : measures) {
    if (result.precision == compare::Precision::exact || m == compare::MeasureId::fowlkes_mallows) {
      write_exact_npy(sink_of(compare::measure_name(m)), result, m);
      continue;
    }
    const std::size_t cells = shape[0] * shape[1];
    std::vector<float> table(cells);
    for (std::size_t i = 0; i < cells; ++i) table[i] = result.tables.values[i * compare::kMeasureCount + static_cast<int>(m)];
    write_npy(sink_of(compare::measure_name(m)), "<f4", shape, table);
  }
  write_npy(sink_of("clusters1"), "<i4", {result.clusters1.size()}, result.clusters1);
  write_npy(sink_of("clusters2"), "<i4", {result.clusters2.size()}, result.clusters2);
  write_npy(sink_of("heights1"), "<f4", {result.heights1.size()}, result.heights1);
  write_npy(sink_of("heights2"), "<f4", {result.heights2.size()}, result.heights2);
}

void write_bk_table(const compare::Comparison& result, const outputs::Sink& sink, char separator, double sd) {
  std::string text = "k";
  for (const char* name : {"bk", "expected", "variance", "lower", "upper"}) text += separator + std::string(name);
  text += '\n';
  for (const compare::BkPoint& p : result.bk_curve()) {
    const double spread = sd * std::sqrt(std::max(0.0, p.variance));
    append_integer(text, p.k);
    for (double v : {p.bk, p.expected, p.variance, p.expected - spread, p.expected + spread}) {
      text += separator;
      append_shortest(text, v);
    }
    text += '\n';
  }
  outputs::write_to(sink, [&](std::ostream& out) { out << text; });
}

void write_json_summary(const compare::Comparison& result, const std::vector<InputSummary>& inputs,
                        const outputs::Sink& sink, bool correlations, const compare::Tanglegram* tanglegram) {
  const bool exact = result.precision == compare::Precision::exact;
  std::string json = "{\n  \"version\": " + json_string(DENDROCOMPARE_VERSION) + ",\n  \"inputs\": [";
  for (std::size_t i = 0; i < inputs.size(); ++i)
    json += std::string(i ? ", " : "") + "{\"path\": " + json_string(inputs[i].path) +
            ", \"format\": " + json_string(inputs[i].format) + "}";
  json += "],\n  \"objects\": " + std::to_string(result.object_count) + ",\n  \"levels\": [" +
          std::to_string(result.levels1) + ", " + std::to_string(result.levels2) + "],\n  \"compared_levels\": [[" +
          std::to_string(result.base_level1) + ", " + std::to_string(result.base_level1 + result.rows() - 1) +
          "], [" + std::to_string(result.base_level2) + ", " +
          std::to_string(result.base_level2 + result.columns() - 1) + "]],\n  \"precision\": \"" +
          (exact ? "exact" : "single") + "\",\n  \"minima\": {";
  const auto exact_minima = exact ? compare::exact_minima(result, export_threads())
                                  : std::array<compare::ExactMinimum, 5>{};
  for (int m = 0; m < compare::kMeasureCount; ++m) {
    const compare::MinimumRecord& r = result.tables.minima[m];
    const std::string value = exact ? (exact_minima[m].found ? json_number(exact_minima[m].smallest) : "null")
                                    : json_number(r.smallest);
    const int clusters1 = exact ? exact_minima[m].clusters1 : r.clusters1;
    const int clusters2 = exact ? exact_minima[m].clusters2 : r.clusters2;
    json += std::string(m ? "," : "") + "\n    " + json_string(compare::measure_name(static_cast<compare::MeasureId>(m))) + ": {\"value\": " + value +
            ", \"clusters1\": " + std::to_string(clusters1) + ", \"clusters2\": " + std::to_string(clusters2) + "}";
  }
  json += "\n  }";
  if (correlations) {
    const compare::exact::TreeCorrelations c = result.correlations(export_threads());
    json += ",\n  \"correlations\": {\"cophenetic_pearson\": " + json_number(c.cophenetic_pearson) +
            ", \"cophenetic_spearman\": " + json_number(c.cophenetic_spearman) +
            ", \"bakers_gamma\": " + json_number(c.bakers_gamma) + "}";
  }
  if (tanglegram) {
    json += ",\n  \"entanglement\": {\"given\": " + json_number(tanglegram->given_entanglement) +
            ", \"untangled\": " + (tanglegram->untangled ? json_number(tanglegram->entanglement) : "null") + "}";
  }
  json += "\n}\n";
  outputs::write_to(sink, [&](std::ostream& out) { out << json; });
}

}  // namespace cli

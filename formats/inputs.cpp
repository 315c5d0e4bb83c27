#include "formats/inputs.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <set>

#include "engine/engine.h"
#include "formats/den_reader.h"
#include "formats/input_readers.h"
#include "formats/text_table.h"

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

std::string first_data_line(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] != '#') return line.substr(first);
  }
  return {};
}

bool starts_npy(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[6] = {};
  in.read(magic, 6);
  return in && std::string(magic, 6) == "\x93NUMPY";
}

// Our own files begin with the object count (anything after it on its line
// is skipped, so a second value may follow); hclust rows hold three values,
// or four with a row name, with negative entries or R's quoted header;
// linkage rows hold four non-negative numbers.
InputFormat format_from_content(const std::string& path) {
  if (starts_npy(path)) return InputFormat::linkage_npy;
  const std::string line = first_data_line(path);
  if (!line.empty() && line[0] == '(') return InputFormat::newick;
  if (line.find('"') != std::string::npos) return InputFormat::hclust;
  std::vector<std::string> fields;
  std::string field;
  for (char c : line + ' ') {
    if (c == ',' || c == ' ' || c == '\t' || c == '\r') {
      if (!field.empty()) fields.push_back(field), field.clear();
    } else {
      field += c;
    }
  }
  if (fields.size() <= 2) return InputFormat::den;
  if (fields.size() == 3) return InputFormat::hclust;
  const bool negative = std::any_of(fields.begin(), fields.end(), [](const std::string& f) { return f[0] == '-'; });
  return fields.size() == 4 && negative ? InputFormat::hclust : InputFormat::linkage_text;
}

DendrogramFile read_one(const std::string& path, InputFormat format, const std::vector<std::string>& labels) {
  switch (format) {
    case InputFormat::den: {
      DendrogramFile file = read_den_file(path);
      check_dendrogram(file, path);
      return file;
    }
    case InputFormat::linkage_npy: return read_linkage_npy(path);
    case InputFormat::linkage_text: return read_linkage_text(path);
    case InputFormat::hclust: return read_hclust_csv(path);
    case InputFormat::newick: return read_newick(path, labels);
    case InputFormat::automatic: break;
  }
  return read_one(path, detect_input_format(path), labels);
}

InputFormat resolved(const std::string& path, InputFormat format) {
  if (format == InputFormat::linkage_text && starts_npy(path)) return InputFormat::linkage_npy;
  return format == InputFormat::automatic ? detect_input_format(path) : format;
}

// The first label in a's order missing from b, for the message.
std::string first_missing(const std::vector<std::string>& a, const std::set<std::string>& b) {
  for (const std::string& label : a)
    if (!b.count(label)) return label;
  return {};
}

void check_same_labels(const std::string& first, const std::vector<std::string>& leaves1, const std::string& second,
                       const std::vector<std::string>& leaves2) {
  const std::set<std::string> set1(leaves1.begin(), leaves1.end()), set2(leaves2.begin(), leaves2.end());
  if (set1 == set2) return;
  const std::string only1 = first_missing(leaves1, set2), only2 = first_missing(leaves2, set1);
  std::string message = "the trees' leaf labels differ:";
  if (!only1.empty()) message += " '" + only1 + "' is in " + first + " only";
  if (!only1.empty() && !only2.empty()) message += ",";
  if (!only2.empty()) message += " '" + only2 + "' is in " + second + " only";
  throw InputError(message);
}

}  // namespace

std::optional<InputFormat> input_format_named(const std::string& name) {
  if (name == "auto") return InputFormat::automatic;
  if (name == "den") return InputFormat::den;
  if (name == "npy") return InputFormat::linkage_npy;
  if (name == "linkage") return InputFormat::linkage_text;
  if (name == "hclust") return InputFormat::hclust;
  if (name == "newick") return InputFormat::newick;
  return std::nullopt;
}

const char* input_format_name(InputFormat format) {
  switch (format) {
    case InputFormat::automatic: return "auto";
    case InputFormat::den: return "den";
    case InputFormat::linkage_npy: return "npy";
    case InputFormat::linkage_text: return "linkage";
    case InputFormat::hclust: return "hclust";
    case InputFormat::newick: return "newick";
  }
  return "auto";
}

InputFormat detect_input_format(const std::string& path) {
  const std::string extension = lower_extension(path);
  if (extension == "den") return InputFormat::den;
  if (extension == "npy") return InputFormat::linkage_npy;
  if (extension == "nwk" || extension == "newick" || extension == "tree" || extension == "tre")
    return InputFormat::newick;
  return format_from_content(path);
}

DendrogramFile read_dendrogram(const std::string& path, const ReadOptions& options) {
  return read_one(path, resolved(path, options.format), options.labels);
}

std::pair<DendrogramFile, DendrogramFile> read_dendrogram_pair(const std::string& first, const std::string& second,
                                                              const ReadOptions& options) {
  const InputFormat format1 = resolved(first, options.format), format2 = resolved(second, options.format);
  std::vector<std::string> labels = options.labels;
  if (labels.empty() && format1 == InputFormat::newick && format2 == InputFormat::newick) {
    labels = newick_leaf_labels(first);
    check_same_labels(first, labels, second, newick_leaf_labels(second));
  }
  std::pair<DendrogramFile, DendrogramFile> both{read_one(first, format1, labels), read_one(second, format2, labels)};
  if (both.first.object_count != both.second.object_count)
    throw InputError(first + " and " + second + " hold different numbers of objects (" +
                     std::to_string(both.first.object_count) + " and " + std::to_string(both.second.object_count) +
                     ")");
  return both;
}

std::vector<std::string> object_labels(const std::string& path, const ReadOptions& options) {
  if (!options.labels.empty()) return options.labels;
  if (resolved(path, options.format) == InputFormat::newick) return newick_leaf_labels(path);
  return {};
}

std::vector<std::string> read_labels(const std::string& path) {
  std::vector<std::string> labels;
  std::istringstream in(read_whole_file(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t first = line.find_first_not_of(" \t"), last = line.find_last_not_of(" \t");
    if (first != std::string::npos) labels.push_back(line.substr(first, last - first + 1));
  }
  return labels;
}

}  // namespace compare

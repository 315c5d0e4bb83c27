#include "formats/inputs.h"

#include <optional>
#include <set>
#include <string_view>
#include <unordered_map>

#include "engine/engine.h"
#include "formats/den_reader.h"
#include "formats/input_readers.h"
#include "formats/input_source.h"
#include "formats/text_table.h"

namespace compare {
namespace {

// An input read, and parsed when it is a Newick tree, whose leaves decide
// how its objects pair with the other input's.
struct Input {
  InputSource source;
  std::optional<NewickTree> tree;

  bool labelled() const { return tree && !tree->numbered(); }
};

Input read_one(const std::string& path, const ReadOptions& options) {
  Input input{read_input(path, options.format, options.memory_limit), std::nullopt};
  if (input.source.format == InputFormat::newick) input.tree.emplace(input.source.bytes, path);
  return input;
}

// A Newick tree numbered by `order` (or by its own leaves when empty);
// every other format by the numbers of its objects.
ReadResult dendrogram_of(const Input& input, const std::vector<std::string>& order, const ReadOptions& options) {
  const InputSource& source = input.source;
  switch (source.format) {
    case InputFormat::den: {
      DendrogramFile file = read_den_bytes(source.bytes, source.path);
      check_dendrogram(file, source.path);
      return {std::move(file), source.format, {}};
    }
    case InputFormat::linkage_npy: return {read_linkage_npy(source.bytes, source.path), source.format, {}};
    case InputFormat::linkage_text: return {read_linkage_text(source.bytes, source.path), source.format, {}};
    case InputFormat::hclust: return {read_hclust_csv(source.bytes, source.path), source.format, {}};
    case InputFormat::newick: return {input.tree->dendrogram(order, options.labels_source), source.format, {}};
    case InputFormat::automatic: break;
  }
  throw InputError(source.path + ": no input format");
}

[[noreturn]] void refuse_unpaired(const std::string& labelled, const std::string& plain, const ReadOptions& options) {
  throw InputError(unpaired_message(labelled, plain, options.how_to_give_labels));
}

// The first label in a's order missing from b, for the message.
std::string first_missing(const std::vector<std::string>& a, const std::set<std::string>& b) {
  for (const std::string& label : a)
    if (!b.count(label)) return label;
  return {};
}

// Each tree's own repeats are named first, in the file that repeats them;
// then the labels one tree has and the other lacks.
void check_same_labels(const Input& first, const Input& second) {
  first.tree->check_unique_leaves();
  second.tree->check_unique_leaves();
  const std::vector<std::string>&leaves1 = first.tree->leaves(), &leaves2 = second.tree->leaves();
  const std::set<std::string> set1(leaves1.begin(), leaves1.end()), set2(leaves2.begin(), leaves2.end());
  if (set1 == set2) return;
  const std::string only1 = first_missing(leaves1, set2), only2 = first_missing(leaves2, set1);
  std::string message = "the trees' leaf labels differ:";
  if (!only1.empty()) message += " '" + only1 + "' is in " + first.source.path + " only";
  if (!only1.empty() && !only2.empty()) message += ",";
  if (!only2.empty()) message += " '" + only2 + "' is in " + second.source.path + " only";
  throw InputError(message);
}

// The order of objects two inputs share: the labels given, the first
// tree's leaves for two trees with labels, else none (each by number).
std::vector<std::string> shared_order(const Input& first, const Input& second, const ReadOptions& options) {
  if (!options.labels.empty()) return options.labels;
  if (first.labelled() && second.tree) {
    check_same_labels(first, second);
    return first.tree->leaves();
  }
  if (second.labelled() && first.tree) check_same_labels(first, second);
  if (first.labelled()) refuse_unpaired(first.source.path, second.source.path, options);
  if (second.labelled()) refuse_unpaired(second.source.path, first.source.path, options);
  return {};
}

void check_same_counts(const std::string& first, const DendrogramFile& a, const std::string& second,
                       const DendrogramFile& b) {
  if (a.object_count != b.object_count)
    throw InputError(first + " and " + second + " hold different numbers of objects (" +
                     std::to_string(a.object_count) + " and " + std::to_string(b.object_count) + ")");
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
  return read_input(path, InputFormat::automatic).format;
}

DendrogramFile read_dendrogram(const std::string& path, const ReadOptions& options) {
  return dendrogram_of(read_one(path, options), options.labels, options).dendrogram;
}

ReadResult read_dendrogram_beside(const std::string& path, const std::string& other, const ReadOptions& options) {
  const Input input = read_one(path, options);
  if (options.labels.empty() && input.labelled()) refuse_unpaired(path, other, options);
  return dendrogram_of(input, options.labels, options);
}

std::pair<ReadResult, ReadResult> read_comparison_inputs(const std::string& first, const std::string& second,
                                                         const ReadOptions& options) {
  const Input input1 = read_one(first, options), input2 = read_one(second, options);
  const std::vector<std::string> order = shared_order(input1, input2, options);
  std::pair<ReadResult, ReadResult> both{dendrogram_of(input1, order, options), dendrogram_of(input2, order, options)};
  check_same_counts(first, both.first.dendrogram, second, both.second.dendrogram);
  both.first.labels = both.second.labels = order;
  return both;
}

std::pair<DendrogramFile, DendrogramFile> read_dendrogram_pair(const std::string& first, const std::string& second,
                                                              const ReadOptions& options) {
  auto both = read_comparison_inputs(first, second, options);
  return {std::move(both.first.dendrogram), std::move(both.second.dendrogram)};
}

std::string unpaired_message(const std::string& labelled, const std::string& plain,
                             const std::string& how_to_give_labels) {
  return labelled + " has labels and " + plain + " has none, so their objects cannot be paired: give the labels of " +
         plain + "'s objects in their order " + how_to_give_labels;
}

std::vector<std::string> read_labels(const std::string& path) {
  const std::string text = read_text_input(path);
  std::vector<std::string> labels;
  std::unordered_map<std::string, std::size_t> line_of;
  each_line(text, [&](std::size_t number, std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r"), last = line.find_last_not_of(" \t\r");
    if (first == std::string_view::npos) return true;
    std::string label(line.substr(first, last - first + 1));
    if (const auto [at, fresh] = line_of.emplace(label, number); !fresh)
      throw InputError(path + ": label '" + label + "' is repeated (lines " + std::to_string(at->second) + " and " +
                       std::to_string(number) + ")");
    labels.push_back(std::move(label));
    return true;
  });
  return labels;
}

}  // namespace compare

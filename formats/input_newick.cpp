// Newick trees with branch lengths. Heights are distances from the leaves,
// so the tree must be ultrametric; a node with k children makes k - 1
// merges at its height.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <set>

#include "formats/input_readers.h"
#include "formats/text_table.h"
#include "model/errors.h"
#include "model/merge_builder.h"

namespace compare {
namespace {

struct Node {
  std::string label;
  double length = 0.0;
  bool has_length = false;
  std::vector<std::unique_ptr<Node>> children;
};

class Parser {
 public:
  Parser(const std::string& text, const std::string& path) : text_(text), path_(path) {}

  std::unique_ptr<Node> tree() {
    skip_blanks();
    auto root = node(0);
    skip_blanks();
    if (peek() != ';') fail("expected ';' at the end of the tree");
    ++at_;
    skip_blanks();
    if (at_ < text_.size()) fail("more text after the first tree's ';'");
    return root;
  }

 private:
  static constexpr int kDeepest = 100000;

  [[noreturn]] void fail(const std::string& fault) const {
    std::size_t line = 1 + std::count(text_.begin(), text_.begin() + std::min(at_, text_.size()), '\n');
    throw InputError(path_ + ": line " + std::to_string(line) + ": " + fault);
  }
  char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  void skip_blanks() {
    while (at_ < text_.size()) {
      if (std::isspace(static_cast<unsigned char>(text_[at_]))) {
        ++at_;
      } else if (text_[at_] == '[') {  // a comment
        const std::size_t end = text_.find(']', at_);
        if (end == std::string::npos) fail("a '[' comment is not closed");
        at_ = end + 1;
      } else {
        return;
      }
    }
  }

  std::unique_ptr<Node> node(int depth) {
    if (depth > kDeepest) fail("the tree is nested too deeply");
    auto result = std::make_unique<Node>();
    skip_blanks();
    if (peek() == '(') {
      ++at_;
      do {
        result->children.push_back(node(depth + 1));
        skip_blanks();
      } while (peek() == ',' && ++at_);
      if (peek() != ')') fail("expected ',' or ')'");
      ++at_;
    }
    result->label = label();
    skip_blanks();
    if (peek() == ':') {
      ++at_;
      result->length = length();
      result->has_length = true;
    }
    return result;
  }

  std::string label() {
    skip_blanks();
    if (peek() == '\'') return quoted_label();
    std::string text;
    while (at_ < text_.size() && std::string_view("(),:;[").find(text_[at_]) == std::string_view::npos &&
           !std::isspace(static_cast<unsigned char>(text_[at_])))
      text += text_[at_++];
    return text;
  }

  std::string quoted_label() {
    std::string text;
    for (++at_; at_ < text_.size(); ++at_) {
      if (text_[at_] == '\'') {
        if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
          text += '\'';
          ++at_;
          continue;
        }
        ++at_;
        return text;
      }
      text += text_[at_];
    }
    fail("a quoted label is not closed");
  }

  double length() {
    skip_blanks();
    std::size_t end = at_;
    while (end < text_.size() && std::string_view("(),:;[").find(text_[end]) == std::string_view::npos &&
           !std::isspace(static_cast<unsigned char>(text_[end])))
      ++end;
    const auto value = number_in(text_.substr(at_, end - at_));
    if (!value) fail("branch length '" + text_.substr(at_, end - at_) + "' is not a number");
    at_ = end;
    return *value;
  }

  const std::string& text_;
  const std::string& path_;
  std::size_t at_ = 0;
};

std::unique_ptr<Node> parse_file(const std::string& path) {
  const std::string text = read_whole_file(path);
  return Parser(text, path).tree();
}

void collect_leaves(const Node& node, std::vector<std::string>& leaves) {
  if (node.children.empty()) leaves.push_back(node.label);
  for (const auto& child : node.children) collect_leaves(*child, leaves);
}

// Turns the tree into merges, children before parents, checking that every
// leaf lies at the same distance below each node.
class Flattener {
 public:
  Flattener(const std::string& path, const std::map<std::string, int>& object_of)
      : path_(path), object_of_(object_of), tolerance_(0.0) {}

  std::vector<TreeMerge> merges(const Node& root) {
    // Lengths printed with six or so digits do not add up exactly; a
    // deviation far beyond that is a tree that is not ultrametric.
    tolerance_ = 1e-5 * deepest(root);
    visit(root);
    return merges_;
  }

 private:
  [[noreturn]] void fail(const std::string& fault) const { throw InputError(path_ + ": " + fault); }

  double deepest(const Node& node) const {
    double depth = 0.0;
    for (const auto& child : node.children) depth = std::max(depth, child->length + deepest(*child));
    return depth;
  }

  // Returns the node's cluster id and sets its height.
  std::int64_t visit(const Node& node) {
    if (node.children.empty()) return leaf_id(node);
    std::vector<std::pair<std::int64_t, double>> parts;  // id, height + branch
    for (const auto& child : node.children) {
      if (!child->has_length) fail(describe(*child) + " has no branch length; heights need them");
      if (child->length < 0) fail(describe(*child) + " has a negative branch length");
      const std::int64_t id = visit(*child);
      parts.push_back({id, heights_[id] + child->length});
    }
    const auto [low, high] = std::minmax_element(parts.begin(), parts.end(),
                                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    if (high->second - low->second > tolerance_)
      fail("the tree is not ultrametric: below " + describe(node) + " leaves lie at distances " +
           std::to_string(low->second) + " and " + std::to_string(high->second));
    std::int64_t id = parts[0].first;
    for (std::size_t i = 1; i < parts.size(); ++i) id = join(id, parts[i].first, high->second);
    return id;
  }

  std::int64_t leaf_id(const Node& node) {
    const auto found = object_of_.find(node.label);
    if (found == object_of_.end()) fail("leaf '" + node.label + "' is not among the labels");
    const std::int64_t id = found->second;
    if (!seen_.insert(id).second) fail("leaf '" + node.label + "' appears twice");
    heights_[id] = 0.0;
    return id;
  }

  std::int64_t join(std::int64_t a, std::int64_t b, double height) {
    const std::int64_t id = static_cast<std::int64_t>(object_of_.size() + merges_.size());
    merges_.push_back({a, b, height});
    heights_[id] = height;
    return id;
  }

  static std::string describe(const Node& node) {
    if (!node.label.empty()) return (node.children.empty() ? "leaf '" : "node '") + node.label + "'";
    std::vector<std::string> leaves;
    collect_leaves(node, leaves);
    return node.children.empty() ? "an unlabelled leaf" : "the node above '" + leaves.front() + "'";
  }

  const std::string& path_;
  const std::map<std::string, int>& object_of_;
  double tolerance_;
  std::vector<TreeMerge> merges_;
  std::map<std::int64_t, double> heights_;
  std::set<std::int64_t> seen_;
};

}  // namespace

std::vector<std::string> newick_leaf_labels(const std::string& path) {
  std::vector<std::string> leaves;
  collect_leaves(*parse_file(path), leaves);
  return leaves;
}

DendrogramFile read_newick(const std::string& path, const std::vector<std::string>& order) {
  const auto root = parse_file(path);
  std::vector<std::string> leaves;
  collect_leaves(*root, leaves);
  const std::vector<std::string>& labels = order.empty() ? leaves : order;
  std::map<std::string, int> object_of;
  for (const std::string& label : labels)
    if (!object_of.emplace(label, static_cast<int>(object_of.size())).second)
      throw InputError(path + ": label '" + label + "' is repeated");
  check_object_count(static_cast<std::int64_t>(object_of.size()), path);
  if (leaves.size() != object_of.size())
    throw InputError(path + ": the tree has " + std::to_string(leaves.size()) + " leaves for " +
                     std::to_string(object_of.size()) + " labels");
  const std::vector<TreeMerge> merges = Flattener(path, object_of).merges(*root);
  return build_dendrogram(static_cast<int>(object_of.size()), merges,
                          [&](std::size_t t) { return path + ": merge " + std::to_string(t + 1); });
}

}  // namespace compare

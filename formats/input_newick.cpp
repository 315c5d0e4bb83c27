// Newick trees with branch lengths. Heights are distances from the leaves,
// so the tree must be ultrametric; a node with k children makes k - 1
// merges at its height.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "formats/input_readers.h"
#include "formats/text_table.h"
#include "model/errors.h"
#include "model/merge_builder.h"

namespace compare {
namespace {

std::string shortest_text(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// The tree as flat arrays, nodes in the order their text begins (a parent
// before its children, siblings in order), so that neither parsing nor
// flattening recurses and a tree may be as deep as it has leaves.
struct Node {
  std::string label;
  double length = 0.0;
  bool has_length = false;
  int parent = -1;
};

struct Tree {
  std::vector<Node> nodes;
  std::vector<int> child_begin;  // [node], one past the end last: children[child_begin[i] .. child_begin[i+1])
  std::vector<int> children;

  int child_count(int node) const { return child_begin[node + 1] - child_begin[node]; }
  bool is_leaf(int node) const { return child_count(node) == 0; }
  int child(int node, int i) const { return children[child_begin[node] + i]; }
};

// Children in order from the parents, which the text gives in order.
void link_children(Tree& tree) {
  const int n = static_cast<int>(tree.nodes.size());
  tree.child_begin.assign(n + 1, 0);
  for (int i = 1; i < n; ++i) ++tree.child_begin[tree.nodes[i].parent + 1];
  for (int i = 0; i < n; ++i) tree.child_begin[i + 1] += tree.child_begin[i];
  tree.children.resize(n > 0 ? n - 1 : 0);
  std::vector<int> fill(tree.child_begin.begin(), tree.child_begin.end() - 1);
  for (int i = 1; i < n; ++i) tree.children[fill[tree.nodes[i].parent]++] = i;
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& path) : text_(text), path_(path) {}

  Tree tree() {
    Tree tree;
    nodes_ = &tree.nodes;
    nodes();
    skip_blanks();
    if (peek() != ';') fail("expected ';' at the end of the tree");
    ++at_;
    skip_blanks();
    if (at_ < text_.size()) fail("more text after the first tree's ';'");
    link_children(tree);
    return tree;
  }

 private:
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

  int new_node(int parent) {
    nodes_->push_back({});
    nodes_->back().parent = parent;
    return static_cast<int>(nodes_->size()) - 1;
  }

  // The whole tree: open groups are kept on a stack of their nodes rather
  // than on the call stack.
  void nodes() {
    std::vector<int> open;
    int current = new_node(-1);
    for (;;) {
      skip_blanks();
      if (peek() == '(') {
        ++at_;
        open.push_back(current);
        current = new_node(current);
        continue;
      }
      for (;;) {  // current's children, if it has any, are complete
        label_and_length(current);
        skip_blanks();
        if (open.empty()) return;
        if (peek() == ',') {
          ++at_;
          current = new_node(open.back());
          break;
        }
        if (peek() != ')') fail("expected ',' or ')'");
        ++at_;
        current = open.back();
        open.pop_back();
      }
    }
  }

  void label_and_length(int node) {
    std::string text = label();
    skip_blanks();
    Node& n = (*nodes_)[node];
    n.label = std::move(text);
    if (peek() == ':') {
      ++at_;
      n.length = length();
      n.has_length = true;
    }
  }

  // In the Newick grammar an unquoted underscore stands for a blank, so
  // New_York is the label 'New York'.
  std::string label() {
    skip_blanks();
    if (peek() == '\'') return quoted_label();
    const std::size_t begin = at_;
    while (at_ < text_.size() && std::string_view("(),:;[").find(text_[at_]) == std::string_view::npos &&
           !std::isspace(static_cast<unsigned char>(text_[at_])))
      ++at_;
    std::string text(text_.substr(begin, at_ - begin));
    std::replace(text.begin(), text.end(), '_', ' ');
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
    const std::string field(text_.substr(at_, end - at_));
    const auto value = number_in(field);
    if (!value) fail("branch length '" + field + "' is not a number");
    at_ = end;
    return *value;
  }

  std::string_view text_;
  const std::string& path_;
  std::vector<Node>* nodes_ = nullptr;
  std::size_t at_ = 0;
};

// Leaves in the order of the text.
std::vector<std::string> leaf_labels(const Tree& tree) {
  std::vector<std::string> leaves;
  for (int i = 0; i < static_cast<int>(tree.nodes.size()); ++i)
    if (tree.is_leaf(i)) leaves.push_back(tree.nodes[i].label);
  return leaves;
}

// Object numbers by label, hashed: a million labels are matched in
// expected linear time.
class LabelIndex {
 public:
  // Throws InputError naming the first label that repeats an earlier one
  // in `source`.
  LabelIndex(const std::vector<std::string>& labels, const std::string& source) {
    object_of_.reserve(labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i)
      if (!object_of_.emplace(labels[i], static_cast<int>(i)).second)
        throw InputError(source + ": label '" + labels[i] + "' is repeated");
  }
  std::size_t size() const { return object_of_.size(); }
  // -1 when absent.
  int find(std::string_view label) const {
    const auto found = object_of_.find(label);
    return found == object_of_.end() ? -1 : found->second;
  }

 private:
  std::unordered_map<std::string_view, int> object_of_;
};

// Turns the tree into merges, children before parents, checking that every
// leaf lies at the same distance below each node.
class Flattener {
 public:
  Flattener(const std::string& path, const Tree& tree, const LabelIndex& object_of)
      : path_(path),
        tree_(tree),
        object_of_(object_of),
        id_(tree.nodes.size(), -1),
        height_(tree.nodes.size(), 0.0),
        seen_(object_of.size(), false) {}

  std::vector<TreeMerge> merges() {
    // Lengths printed with six or so digits do not add up exactly; a
    // deviation far beyond that is a tree that is not ultrametric.
    tolerance_ = 1e-5 * deepest();
    visit_all();
    return merges_;
  }

 private:
  [[noreturn]] void fail(const std::string& fault) const { throw InputError(path_ + ": " + fault); }

  double deepest() const {
    std::vector<double> below_root(tree_.nodes.size(), 0.0);
    double depth = 0.0;
    for (std::size_t i = 1; i < tree_.nodes.size(); ++i) {
      below_root[i] = below_root[tree_.nodes[i].parent] + tree_.nodes[i].length;
      depth = std::max(depth, below_root[i]);
    }
    return depth;
  }

  // Children before their parent, in the order of the text; a child's
  // branch is checked before anything below it.
  void visit_all() {
    std::vector<std::pair<int, int>> pending;  // node, next child
    if (tree_.is_leaf(0)) return leaf(0);
    pending.push_back({0, 0});
    while (!pending.empty()) {
      auto& [node, next] = pending.back();
      if (next == tree_.child_count(node)) {
        join_children(node);
        pending.pop_back();
        continue;
      }
      const int child = tree_.child(node, next++);
      const Node& c = tree_.nodes[child];
      if (!c.has_length) fail(describe(child) + " has no branch length; heights need them");
      if (c.length < 0)
        fail(describe(child) + " has a negative branch length (" + shortest_text(c.length) + "), " +
             kInversionReason);
      if (tree_.is_leaf(child))
        leaf(child);
      else
        pending.push_back({child, 0});
    }
  }

  void join_children(int node) {
    double low = INFINITY, high = -INFINITY;
    for (int i = 0; i < tree_.child_count(node); ++i) {
      const int child = tree_.child(node, i);
      const double reach = height_[child] + tree_.nodes[child].length;
      low = std::min(low, reach);
      high = std::max(high, reach);
    }
    if (high - low > tolerance_)
      fail("the tree is not ultrametric: below " + describe(node) + " leaves lie at distances " +
           std::to_string(low) + " and " + std::to_string(high));
    std::int64_t id = id_[tree_.child(node, 0)];
    for (int i = 1; i < tree_.child_count(node); ++i) id = join(id, id_[tree_.child(node, i)], high);
    id_[node] = id;
    height_[node] = high;
  }

  void leaf(int node) {
    const std::string& label = tree_.nodes[node].label;
    const int object = object_of_.find(label);
    if (object < 0) fail("leaf '" + label + "' is not among the labels");
    if (seen_[object]) fail("leaf '" + label + "' appears twice");
    seen_[object] = true;
    id_[node] = object;
  }

  std::int64_t join(std::int64_t a, std::int64_t b, double height) {
    const std::int64_t id = static_cast<std::int64_t>(object_of_.size() + merges_.size());
    merges_.push_back({a, b, height});
    return id;
  }

  std::string describe(int node) const {
    const Node& n = tree_.nodes[node];
    const bool leaf = tree_.is_leaf(node);
    if (!n.label.empty()) return (leaf ? "leaf '" : "node '") + n.label + "'";
    if (leaf) return "an unlabelled leaf";
    int first_leaf = node;
    while (!tree_.is_leaf(first_leaf)) first_leaf = tree_.child(first_leaf, 0);
    return "the node above '" + tree_.nodes[first_leaf].label + "'";
  }

  const std::string& path_;
  const Tree& tree_;
  const LabelIndex& object_of_;
  double tolerance_ = 0.0;
  std::vector<std::int64_t> id_;
  std::vector<double> height_;
  std::vector<bool> seen_;
  std::vector<TreeMerge> merges_;
};

// The numbers 1..N as labels, in order.
std::vector<std::string> object_numbers(std::size_t count) {
  std::vector<std::string> numbers(count);
  for (std::size_t i = 0; i < count; ++i) numbers[i] = std::to_string(i + 1);
  return numbers;
}

bool is_number_up_to(const std::string& label, std::size_t largest) {
  if (label.empty() || label.size() > 10 || label[0] < '1' || label[0] > '9') return false;
  if (!std::all_of(label.begin(), label.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  return std::stoull(label) <= largest;
}

}  // namespace

struct NewickTree::Parsed {
  Tree tree;
};

NewickTree::NewickTree(std::string_view text, const std::string& path)
    : tree_(std::make_unique<Parsed>(Parsed{Parser(text, path).tree()})), path_(path), leaves_(leaf_labels(tree_->tree)) {}
NewickTree::~NewickTree() = default;
NewickTree::NewickTree(NewickTree&&) noexcept = default;
NewickTree& NewickTree::operator=(NewickTree&&) noexcept = default;

bool NewickTree::numbered() const {
  std::vector<bool> seen(leaves_.size() + 1, false);
  for (const std::string& leaf : leaves_) {
    if (!is_number_up_to(leaf, leaves_.size())) return false;
    const std::size_t number = std::stoull(leaf);
    if (seen[number]) return false;
    seen[number] = true;
  }
  return !leaves_.empty();
}

void NewickTree::check_unique_leaves() const {
  std::unordered_set<std::string_view> seen;
  seen.reserve(leaves_.size());
  for (const std::string& leaf : leaves_)
    if (!seen.insert(leaf).second) throw InputError(path_ + ": leaf '" + leaf + "' appears twice");
}

DendrogramFile NewickTree::dendrogram(const std::vector<std::string>& order, const std::string& order_source) const {
  if (order.empty()) check_unique_leaves();
  const std::vector<std::string> own = order.empty() && numbered() ? object_numbers(leaves_.size()) : leaves_;
  const std::vector<std::string>& labels = order.empty() ? own : order;
  const LabelIndex object_of(labels, order.empty() ? path_ : order_source);
  check_object_count(static_cast<std::int64_t>(object_of.size()), path_);
  if (leaves_.size() != object_of.size())
    throw InputError(path_ + ": the tree has " + std::to_string(leaves_.size()) + " leaves for " +
                     std::to_string(object_of.size()) + " labels");
  const std::vector<TreeMerge> merges = Flattener(path_, tree_->tree, object_of).merges();
  return build_dendrogram(static_cast<int>(object_of.size()), merges,
                          [&](std::size_t t) { return path_ + ": merge " + std::to_string(t + 1); });
}

}  // namespace compare

// R hclust trees as write.csv(data.frame(hc$merge, hc$height)) writes them:
// an optional header, optional row names, then merge[,1], merge[,2], height.
#include <cmath>

#include "formats/input_readers.h"
#include "formats/inputs.h"
#include "formats/text_table.h"
#include "model/errors.h"
#include "model/merge_builder.h"

namespace compare {
namespace {

int hclust_entry(double value, const std::string& where) {
  if (value != std::floor(value) || std::fabs(value) > 1e9)
    throw InputError(where + ": merge entry " + std::to_string(value) + " is not a whole number");
  return static_cast<int>(value);
}

// hclust's -x is object x (id x - 1), its j > 0 the cluster of step j
// (id N + j - 1); 0 names nothing.
std::int64_t tree_id(int entry, int n, const std::function<std::string(std::size_t)>& where, std::size_t t) {
  if (entry == 0) throw InputError(where(t) + ": merge entry 0 names no object or cluster");
  return entry < 0 ? static_cast<std::int64_t>(-entry) - 1 : static_cast<std::int64_t>(n) + entry - 1;
}

bool is_header(const TextRow& row) {
  for (const std::string& field : row.fields)
    if (!field.empty() && number_in(field)) return false;
  return true;
}

}  // namespace

DendrogramFile from_hclust(const std::vector<int>& merge1, const std::vector<int>& merge2,
                           const std::vector<double>& height, const std::string& source) {
  auto where = [&](std::size_t t) { return source + ": step " + std::to_string(t + 1); };
  if (merge1.size() != merge2.size() || merge1.size() != height.size())
    throw InputError(source + ": merge columns and heights differ in length (" + std::to_string(merge1.size()) +
                     ", " + std::to_string(merge2.size()) + ", " + std::to_string(height.size()) + ")");
  check_object_count(static_cast<std::int64_t>(merge1.size()) + 1, source);
  const int n = static_cast<int>(merge1.size()) + 1;
  std::vector<TreeMerge> merges(merge1.size());
  for (std::size_t t = 0; t < merges.size(); ++t)
    merges[t] = {tree_id(merge1[t], n, where, t), tree_id(merge2[t], n, where, t), height[t]};
  return build_dendrogram(n, merges, where);
}

DendrogramFile read_hclust_csv(std::string_view text, const std::string& path) {
  std::vector<TextRow> rows = text_rows(text);
  if (!rows.empty() && is_header(rows.front())) rows.erase(rows.begin());
  std::vector<int> merge1, merge2;
  std::vector<double> height;
  for (const TextRow& row : rows) {
    const std::string where = path + ": line " + std::to_string(row.line);
    if (row.fields.size() != 3 && row.fields.size() != 4)
      throw InputError(where + ": " + std::to_string(row.fields.size()) +
                       " fields; an hclust row has merge[,1], merge[,2] and height, after an optional row name");
    const std::size_t first = row.fields.size() - 3;
    double values[3];
    for (int i = 0; i < 3; ++i) {
      const auto value = number_in(row.fields[first + i]);
      if (!value) throw InputError(where + ": '" + row.fields[first + i] + "' is not a number");
      values[i] = *value;
    }
    merge1.push_back(hclust_entry(values[0], where));
    merge2.push_back(hclust_entry(values[1], where));
    height.push_back(values[2]);
  }
  return from_hclust(merge1, merge2, height, path);
}

}  // namespace compare

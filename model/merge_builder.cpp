#include "model/merge_builder.h"

#include <cmath>
#include <limits>
#include <sstream>

#include "model/errors.h"
#include "model/validate.h"

namespace compare {
namespace {

std::string number_text(double value) {
  std::ostringstream out;
  out.precision(17);
  out << value;
  return out.str();
}

class Builder {
 public:
  Builder(int n, const std::function<std::string(std::size_t)>& where)
      : n_(n), where_(where), smallest_(2 * n - 1), size_(2 * n - 1, 1), height_(2 * n - 1, 0.0),
        used_(2 * n - 1, false) {
    for (int i = 0; i < n; ++i) smallest_[i] = i + 1;
  }

  MergeRecord add(std::size_t t, const TreeMerge& merge) {
    check_height(t, merge.height);
    check_id(t, merge.left);
    check_id(t, merge.right);
    if (merge.left == merge.right) fail(t, "joins cluster " + std::to_string(merge.left) + " with itself");
    const auto left = static_cast<std::size_t>(merge.left), right = static_cast<std::size_t>(merge.right);
    check_order(t, merge.height, left);
    check_order(t, merge.height, right);
    used_[left] = used_[right] = true;
    const std::size_t made = n_ + t;
    smallest_[made] = std::min(smallest_[left], smallest_[right]);
    size_[made] = size_[left] + size_[right];
    height_[made] = merge.height;
    return {smallest_[left], smallest_[right], size_[left], size_[right], static_cast<float>(merge.height)};
  }

 private:
  [[noreturn]] void fail(std::size_t t, const std::string& fault) const { throw InputError(where_(t) + ": " + fault); }

  void check_height(std::size_t t, double height) const {
    if (std::isnan(height)) fail(t, "the height is not a number");
    if (std::isinf(height)) fail(t, "the height is infinite");
    if (std::isinf(static_cast<float>(height)))
      fail(t, "the height " + number_text(height) + " is beyond the range of 4-byte reals");
  }

  void check_id(std::size_t t, std::int64_t id) const {
    const std::int64_t made_so_far = n_ + static_cast<std::int64_t>(t);
    if (id < 0 || id >= made_so_far)
      fail(t, "cluster id " + std::to_string(id) + " is out of range (0 to " + std::to_string(made_so_far - 1) +
                  " at this point)");
    if (used_[static_cast<std::size_t>(id)])
      fail(t, "cluster id " + std::to_string(id) + " was already joined by an earlier merge");
  }

  // Centroid and median linkage can put a merge below one it contains; such
  // a tree has no cut at that height, so it cannot be levelled.
  void check_order(std::size_t t, double height, std::size_t child) const {
    if (child < static_cast<std::size_t>(n_) || height >= height_[child]) return;
    fail(t, "the height " + number_text(height) + " is below the height " + number_text(height_[child]) +
                " of the cluster it joins, " + kInversionReason);
  }

  int n_;
  const std::function<std::string(std::size_t)>& where_;
  std::vector<int> smallest_, size_;
  std::vector<double> height_;
  std::vector<bool> used_;
};

}  // namespace

void check_object_count(std::int64_t object_count, const std::string& source) {
  if (object_count < 2)
    throw InputError(source + ": " + std::to_string(object_count) + " objects; a dendrogram needs at least 2");
  if (object_count > kLargestExactObjectCount)
    throw InputError(source + ": " + std::to_string(object_count) + " objects; at most " +
                     std::to_string(kLargestExactObjectCount) + " can be compared");
}

DendrogramFile build_dendrogram(int object_count, const std::vector<TreeMerge>& merges,
                                const std::function<std::string(std::size_t)>& where) {
  Builder builder(object_count, where);
  DendrogramFile file;
  file.object_count = object_count;
  file.merges.reserve(merges.size());
  for (std::size_t t = 0; t < merges.size(); ++t) file.merges.push_back(builder.add(t, merges[t]));
  return file;
}

}  // namespace compare

#pragma once
// A non-owning, 1-based, column-major view of caller-provided storage. The
// comparison's arrays are allocated by the program body in the shapes it
// reads and writes them (for example a (5, N, N) measure table), so every
// routine addresses them through this view instead of by hand-written
// offset arithmetic.
#include <array>
#include <cassert>
#include <cstddef>

namespace compare {

template <typename T, std::size_t Rank>
class FortranArray {
 public:
  FortranArray() = default;

  // Negative extents are clamped to 0, as the storage itself would be.
  template <typename... Extents>
    requires(sizeof...(Extents) == Rank)
  FortranArray(T* data, Extents... extents) : data_(data), extents_{clamp(extents)...} {}

  template <typename... Indices>
    requires(sizeof...(Indices) == Rank)
  T& operator()(Indices... indices) const {
    return data_[offset({static_cast<std::ptrdiff_t>(indices)...})];
  }

  std::ptrdiff_t extent(std::size_t dimension) const { return extents_[dimension]; }

  std::ptrdiff_t size() const {
    std::ptrdiff_t total = 1;
    for (std::ptrdiff_t e : extents_) total *= e;
    return total;
  }

  T* data() const { return data_; }

 private:
  static std::ptrdiff_t clamp(std::ptrdiff_t extent) { return extent < 0 ? 0 : extent; }

  std::ptrdiff_t offset(const std::array<std::ptrdiff_t, Rank>& indices) const {
    std::ptrdiff_t position = 0;
    std::ptrdiff_t stride = 1;
    for (std::size_t d = 0; d < Rank; ++d) {
      assert(indices[d] >= 1 && indices[d] <= extents_[d]);
      position += (indices[d] - 1) * stride;
      stride *= extents_[d];
    }
    return position;
  }

  T* data_ = nullptr;
  std::array<std::ptrdiff_t, Rank> extents_{};
};

using IntVector = FortranArray<int, 1>;
using IntMatrix = FortranArray<int, 2>;
using RealVector = FortranArray<float, 1>;
using RealArray3 = FortranArray<float, 3>;

}  // namespace compare

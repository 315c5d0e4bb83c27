#pragma once
// Running sums of the cross term seen as 4-byte reals: their binade, the
// terms too small to change them, and the significand model inside one
// binade that the folders share.
#include <bit>
#include <cmath>
#include <cstdint>

namespace compare::fast {

inline constexpr double kTwo24 = 16777216.0;
inline constexpr double kTwo52 = 4503599627370496.0;
inline constexpr std::int64_t kSignificandLimit = std::int64_t{1} << 24;

// Binary exponent of a positive finite 4-byte real, from its bits.
inline int exponent_of(float sum) {
  return static_cast<int>((std::bit_cast<std::uint32_t>(sum) >> 23) & 0xffu) - 127;
}

inline double power_of_two(int e) {
  return e >= 0 && e < 63 ? static_cast<double>(std::uint64_t{1} << e) : std::ldexp(1.0, e);
}

// The largest term that provably leaves S unchanged; 0 when none does.
inline double negligible_limit(float sum) {
  const double s = sum;
  if (s < kTwo24) return 0.0;
  const double spacing = power_of_two(exponent_of(sum) - 23);
  return s <= kTwo52 ? spacing / 2.0 - 1.0 : spacing / 4.0;
}

// The largest tier index t with 4^t * other <= limit, or -1.
inline int negligible_tier(double other_square, double limit) {
  if (other_square > limit) return -1;
  int t = 0;
  while (t < 62 && std::ldexp(other_square, 2 * (t + 1)) <= limit) ++t;
  return t;
}

// Terms taken one at a time, each waiting on the one before, in the fold
// or in working out an effect: counted only in the cross-term benchmark's
// own build of the folders.
#ifdef DENDROCOMPARE_COUNT_STEPS
inline thread_local std::uint64_t single_steps_taken = 0;
inline void count_single_steps(std::uint64_t steps) { single_steps_taken += steps; }
#else
inline void count_single_steps(std::uint64_t) {}
#endif

// The binade of a running sum S in [2^24, 2^52): S = m * 2^shift with
// 2^23 <= m < 2^24.
struct Binade {
  explicit Binade(float sum)
      : shift(exponent_of(sum) - 23),
        half(std::uint64_t{1} << (shift - 1)),
        mask((std::uint64_t{1} << shift) - 1),
        m(static_cast<std::uint64_t>(sum) >> shift) {}
  // What a term adds to m, given the parity of m.
  std::uint64_t step_of(std::uint64_t term) const {
    const std::uint64_t whole = term >> shift, rest = term & mask;
    return whole + (rest > half ? 1 : rest == half ? (m + whole) & 1 : 0);
  }
  float sum() const { return static_cast<float>(m << shift); }
  int shift;
  std::uint64_t half, mask, m;
};

}  // namespace compare::fast

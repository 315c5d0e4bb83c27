// The one-pass editor of list-directed 4-byte reals against the general
// editor over a thirteenth of all bit patterns: an odd stride, so that every
// exponent, both signs and every residue of the low significand bits are
// visited, and the non-finite patterns too.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "rio/support/list_real_oracle.h"

namespace rio {
namespace {

TEST(ListReal4AllExponents, EveryThirteenthBitPatternGivesTheGeneralEditorsField) {
  long compared = 0;
  long mismatches = 0;
  for (std::uint64_t pattern = 0; pattern <= 0xFFFFFFFFu; pattern += 13) {
    std::uint32_t bits = static_cast<std::uint32_t>(pattern);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    ++compared;
    std::string expected = general_list_real4(v);
    std::string actual = fast_list_real4(v);
    if (actual != expected && ++mismatches <= 5)
      ADD_FAILURE() << "bits " << std::hex << bits << " gave \"" << actual << "\", expected \""
                    << expected << "\"";
  }
  EXPECT_EQ(mismatches, 0) << "over " << compared << " values";
}

}  // namespace
}  // namespace rio

// The one-pass editor of list-directed 4-byte reals against the general
// editor it stands in for, which the digit-model tests check on their own:
// every field must be the same, byte for byte, at the form boundaries, the
// rounding carries, the ends of the range and on random bit patterns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "rio/edit_output.h"
#include "rio/element.h"
#include "rio/list_real_output.h"
#include "rio/support/list_real_oracle.h"

namespace rio {
namespace {

float from_bits(std::uint32_t bits) {
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

std::uint32_t bits_of(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

// The values within `reach` steps of v on either side, both signs.
void add_neighbours(std::vector<float>& values, float v, int reach) {
  std::uint32_t centre = bits_of(std::fabs(v));
  for (int step = -reach; step <= reach; ++step) {
    std::uint32_t bits = centre + static_cast<std::uint32_t>(step);
    if (bits >= 0x7F800000u) continue;
    values.push_back(from_bits(bits));
    values.push_back(-from_bits(bits));
  }
}

std::vector<float> boundary_values() {
  std::vector<float> values = {0.0f, -0.0f, std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::quiet_NaN(), from_bits(0xFFC00001u),
                               from_bits(1), from_bits(0x007FFFFFu), std::numeric_limits<float>::max()};
  // Every decade, where the first digit and the exponent change.
  for (int p = -45; p <= 38; ++p) add_neighbours(values, static_cast<float>(std::pow(10.0, p)), 40);
  // Where the form changes (0.1 and 10^6 after rounding) and where rounding
  // to six or seven digits carries into a new leading digit.
  for (float v : {0.1f, 0.09999995f, 0.099999994f, 999999.5f, 999999.94f, 1.0e6f, 9.9999995f,
                  99999.95f, 0.99999995f, 9.9999995e-2f, 9.9999995e7f, 123456.7f, 0.05f})
    add_neighbours(values, v, 2000);
  return values;
}

std::vector<float> random_values(int count) {
  std::mt19937 random(20261209);
  std::vector<float> values;
  for (int i = 0; i < count; ++i) values.push_back(from_bits(static_cast<std::uint32_t>(random())));
  // The values a results file holds: measures between 0 and a few units.
  std::uniform_real_distribution<float> measure(0.0f, 4.0f);
  for (int i = 0; i < count; ++i) values.push_back(measure(random));
  return values;
}

TEST(ListReal4, EveryFieldIsTheGeneralEditorsField) {
  struct Family {
    const char* name;
    std::vector<float> values;
  };
  const Family families[] = {{"boundaries", boundary_values()}, {"random", random_values(400000)}};
  for (const Family& family : families) {
    long mismatches = 0;
    for (float v : family.values) {
      std::string expected = general_list_real4(v);
      std::string actual = fast_list_real4(v);
      if (actual != expected && ++mismatches <= 5)
        ADD_FAILURE() << family.name << ": bits " << std::hex << bits_of(v) << " gave \"" << actual
                      << "\", expected \"" << expected << "\"";
    }
    EXPECT_EQ(mismatches, 0) << family.name << " over " << family.values.size() << " values";
  }
}

TEST(ListReal4, FieldsFollowTheDocumentedForms) {
  struct Case {
    float value;
    const char* field;
  };
  const Case cases[] = {
      {0.5f, "  .500000"},          {1.0f, "  1.00000"},         {0.0f, "  .000000"},
      {-0.0f, " -.000000"},         {0.05f, "  5.000000E-02"},   {1234567.0f, "  1.234567E+06"},
      {-0.25f, " -.250000"},        {123456.7f, "  123457."},    {123.456f, "  123.456"},
      {0.1f, "  .100000"},          {999999.94f, "  1000000."}, {-1.0e-30f, " -1.000000E-30"},
      {std::numeric_limits<float>::infinity(), "  INF"},
      {-std::numeric_limits<float>::infinity(), " -INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(fast_list_real4(c.value), c.field) << c.value;
}

}  // namespace
}  // namespace rio

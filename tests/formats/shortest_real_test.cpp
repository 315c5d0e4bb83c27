// The shortest decimal writer against hand-worked layouts and against
// std::to_chars, whose output it must reproduce byte for byte.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "formats/shortest_real.h"

namespace {

template <typename Real>
std::string ours(Real value) {
  std::string out;
  compare::append_shortest(out, value);
  return out;
}

template <typename Real>
std::string peer(Real value) {
  char text[64];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

TEST(ShortestReal, WorkedLayouts) {
  struct Case {
    float value;
    const char* text;
  };
  const float inf = std::numeric_limits<float>::infinity();
  // Fixed unless scientific is shorter: "0.0001" (6) loses to "1e-04" (5),
  // "0.001" (5) ties and stays fixed; whole numbers are written exactly.
  const Case cases[] = {
      {0.1f, "0.1"},           {2.0f / 3.0f, "0.6666667"},
      {100.0f, "100"},         {12.5f, "12.5"},
      {0.001f, "0.001"},       {0.0001f, "1e-04"},
      {1.5e-5f, "1.5e-05"},    {1e20f, "1e+20"},
      {123456789.0f, "123456792"}, {1e10f, "1e+10"},
      {16777216.0f, "16777216"}, {3.4028235e38f, "3.4028235e+38"},
      {1e-45f, "1e-45"},       {-0.5f, "-0.5"},
      {0.0f, "0"},             {-0.0f, "-0"},
      {inf, "inf"},            {-inf, "-inf"},
      {1234567.0f, "1234567"}, {-1.25e-38f, "-1.25e-38"},
  };
  for (const Case& c : cases) EXPECT_EQ(ours(c.value), c.text) << c.text;
}

// Every 1009th bit pattern: normal, subnormal, whole, huge and tiny floats
// of both signs.
TEST(ShortestReal, FloatsAsStdToChars) {
  for (std::uint64_t bits = 0; bits < (std::uint64_t{1} << 32); bits += 1009) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    if (std::isnan(value)) continue;
    ASSERT_EQ(ours(value), peer(value)) << std::hex << bits;
  }
}

TEST(ShortestReal, DoublesAsStdToChars) {
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 300000; ++i) {
    const double any = std::bit_cast<double>(random());
    if (!std::isnan(any)) {
      ASSERT_EQ(ours(any), peer(any)) << any;
    }
    const double measure = unit(random);
    ASSERT_EQ(ours(measure), peer(measure)) << measure;
  }
  // Whole numbers beside the limits of exact conversion.
  for (double edge : {9007199254740992.0, 9223372036854775808.0, 1e21, 1e22, 1e23}) {
    double v = std::nextafter(edge, 0.0);
    for (int i = 0; i < 8; ++i, v = std::nextafter(v, 1e300)) ASSERT_EQ(ours(v), peer(v)) << v;
  }
}

}  // namespace

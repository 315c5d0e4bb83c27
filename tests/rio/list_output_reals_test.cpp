// List-directed output of 4-byte reals across the whole exponent range,
// against a model of the digit generation built from other means than the
// editor's: the scaled value is formed with std::pow (exact for powers up to
// 10^22) and one IEEE division or multiplication, and its digits are read
// from the C library's exact decimal expansion instead of from the
// significand. For larger scales the model uses the exact expansion of the
// value itself, which agrees with any double-precision scaling as long as
// the value is not within about 1e-15 of a digit boundary; the test checks
// that condition for every such value, so an agreement is never assumed.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "rio/list_output.h"
#include "rio/status.h"
#include "rio/support/riofmt_fake_port.h"

namespace rio {
namespace {

// Leading significant digits of x's exact decimal expansion, and the decimal
// exponent with x = 0.d1d2... x 10^h.
std::string exact_digits(double x, int count, int& h) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, "%.150e", std::fabs(x));
  std::string s(buffer);
  std::size_t e = s.find('e');
  h = std::atoi(s.c_str() + e + 1) + 1;
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  return digits.substr(0, count);
}

struct Digits {
  std::string text;  // eight generated digits
  int h = 0;
  bool trusted = true;
};

Digits model_digits(float v) {
  Digits d;
  if (v == 0.0f) {
    d.text = "00000000";
    return d;
  }
  int binary = std::ilogb(static_cast<double>(v)) + 1023;
  int estimate = static_cast<int>(std::floor((binary * 19728.0 - 20181744.0) / 65536.0));
  if (std::abs(estimate) <= 22) {
    double power = std::pow(10.0, std::abs(estimate));
    double x = std::fabs(static_cast<double>(v));
    x = estimate > 0 ? x / power : x * power;
    int h = estimate + 1;
    if (x >= 10.0) {
      x /= 10.0;
      ++h;
    }
    int ignored;
    d.text = exact_digits(x, 8, ignored);
    d.h = h;
    return d;
  }
  std::string sixteen = exact_digits(v, 16, d.h);
  d.text = sixteen.substr(0, 8);
  std::string tail = sixteen.substr(8, 7);
  d.trusted = tail != "0000000" && tail != "9999999";
  return d;
}

// Half-up rounding of the digit string at digit c, as a number.
Digits round_digits(Digits d, int c) {
  if (c <= 0) return d;
  if (c > 8) c = 8;
  long long kept = c > 1 ? std::stoll(d.text.substr(0, c - 1)) : 0;
  if (d.text[c - 1] >= '5') ++kept;
  std::string s = c > 1 ? std::to_string(kept) : (kept ? "1" : "");
  if (static_cast<int>(s.size()) < c - 1) s.insert(0, c - 1 - s.size(), '0');
  if (static_cast<int>(s.size()) > c - 1 || (c == 1 && kept)) {
    d.h += 1;  // carried out of the first digit
    s = "1" + std::string(c - 1, '0');
  } else {
    s += '0';
  }
  d.text = s + d.text.substr(c);
  return d;
}

std::string expected_list_directed(float v) {
  std::string lead = std::signbit(v) ? " -" : "  ";
  Digits raw = model_digits(v);
  Digits first = round_digits(raw, 8 + raw.h);
  if (v == 0.0f) first = raw;
  if (first.h < 0 || first.h > 6) {
    Digits e = round_digits(raw, 8);
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", e.h - 1 < 0 ? '-' : '+', std::abs(e.h - 1));
    return lead + e.text.substr(0, 1) + "." + e.text.substr(1, 6) + exponent;
  }
  int places = 6 - first.h;
  Digits f = v == 0.0f ? raw : round_digits(raw, places + 1 + raw.h);
  if (f.h > 0) return lead + f.text.substr(0, f.h) + "." + f.text.substr(f.h, places);
  return lead + "." + std::string(-f.h, '0') + f.text.substr(0, places + f.h);
}

std::string written(float v) {
  RecordBuffer record;
  testing::RecordingPort port(record);
  ListOutputState state;
  state.previous_was_character = false;
  EXPECT_EQ(list_write_element(state, record, port, UnitTraits{}, testing::real_element(v)), kOk);
  return port.current();
}

std::vector<float> sample_values() {
  std::vector<float> values = {0.1f, 1.0e6f, 999999.4f, 999999.5f, 999999.9f, 1.0e-45f,
                               1.0e-40f, 1.17549435e-38f, 1.1754942e-38f, FLT_MAX, FLT_MIN,
                               1.234565f, 0.1234565f, 12.34565f, 123456.5f, 1234565.0f,
                               0.09999999f, 0.099999994f, 0.10000001f, 5.0e-8f, 8.5e-1f,
                               2.5f, 3.0e38f, 7.0e-39f};
  values.push_back(std::nextafter(0.1f, 0.0f));
  values.push_back(std::nextafter(0.1f, 1.0f));
  values.push_back(std::nextafter(1.0e6f, 0.0f));
  values.push_back(std::nextafter(1.0e6f, 2.0e6f));
  for (int e = -149; e <= 127; e += 1) {
    values.push_back(std::ldexp(1.0f, e));
    values.push_back(std::ldexp(1.6180339f, e < 127 ? e : 126));
  }
  for (int e = -149; e <= 120; e += 7) values.push_back(-std::ldexp(1.3333333f, e));
  return values;
}

TEST(ListDirectedReals, MatchTheIndependentModelAcrossTheExponentRange) {
  int untrusted = 0;
  for (float v : sample_values()) {
    if (!model_digits(v).trusted) {
      ++untrusted;
      continue;
    }
    EXPECT_EQ(written(v), expected_list_directed(v)) << "value " << v;
  }
  // The sample is chosen away from digit boundaries; a change that brings a
  // value near one must not silently shrink the comparison.
  EXPECT_EQ(untrusted, 0);
}

struct HandCase {
  float value;
  const char* expected;
};

class ListDirectedRealsByHand : public ::testing::TestWithParam<HandCase> {};

TEST_P(ListDirectedRealsByHand, GiveTheWorkedStrings) {
  EXPECT_EQ(written(GetParam().value), GetParam().expected);
  EXPECT_EQ(expected_list_directed(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, ListDirectedRealsByHand,
    ::testing::Values(HandCase{0.5f, "  .500000"}, HandCase{1.0f, "  1.00000"},
                      HandCase{0.0f, "  .000000"}, HandCase{0.05f, "  5.000000E-02"},
                      HandCase{1234567.0f, "  1.234567E+06"}, HandCase{-0.25f, " -.250000"},
                      HandCase{123456.7f, "  123457."}, HandCase{123.456f, "  123.456"},
                      HandCase{-0.0f, " -.000000"}, HandCase{FLT_MAX, "  3.402823E+38"},
                      HandCase{1.0e-45f, "  1.401298E-45"}, HandCase{1.0e6f, "  1.000000E+06"},
                      HandCase{999999.9f, "  1000000."}));

TEST(ListDirectedReals, InfinityAndNotANumberKeepTheLead) {
  EXPECT_EQ(written(std::numeric_limits<float>::infinity()), "  INF");
  EXPECT_EQ(written(-std::numeric_limits<float>::quiet_NaN()), " -NaN");
}

}  // namespace
}  // namespace rio

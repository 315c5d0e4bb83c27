// List-directed input: cutting records into values, null values, repeat
// counts, quotes and the conversions into each item class.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "rio/list_input.h"
#include "rio/status.h"
#include "rio/support/riofmt_fake_port.h"

namespace rio {
namespace {

using testing::RecordingPort;

class ListInput : public ::testing::Test {
 protected:
  ListInput() : port(record) {}
  void lines(std::vector<std::string> input) {
    port.clear_script();
    port.script(std::move(input));
    ASSERT_EQ(port.start_input(), kOk);
    state.reset();
  }
  int read(Element e) { return list_read_element(state, record, port, unit, e); }
  // Reads n integers that start as -99, so that null values show.
  std::vector<int> read_ints(int n, int expected_status = kOk) {
    std::vector<int> values(n, -99);
    int status = kOk;
    for (int& v : values)
      if ((status = read(testing::integer_element(v))) != kOk) break;
    EXPECT_EQ(status, expected_status);
    return values;
  }
  float read_real(const std::string& text, int expected_status = kOk) {
    lines({text});
    float v = -99.0f;
    EXPECT_EQ(read(testing::real_element(v)), expected_status) << text;
    return v;
  }

  RecordBuffer record;
  RecordingPort port;
  UnitTraits unit;
  ListInputState state;
};

TEST_F(ListInput, MergeLineReadsAsFourIntegersAndAReal) {
  for (auto input : {std::vector<std::string>{"3 7 0 0 1.25"}, std::vector<std::string>{"3 7", "0 0 1.25"}}) {
    lines(input);
    std::vector<int> ints = read_ints(4);
    float height = 0.0f;
    ASSERT_EQ(read(testing::real_element(height)), kOk);
    EXPECT_EQ(ints, (std::vector<int>{3, 7, 0, 0}));
    EXPECT_EQ(height, 1.25f);
  }
}

TEST_F(ListInput, SeparatorsAndNullValues) {
  struct Case {
    std::vector<std::string> input;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {{"1,,3"}, {1, -99, 3}},
      {{"2*5"}, {5, 5}},
      {{"2*,7"}, {-99, -99, 7}},
      {{"5 /", "6"}, {5, -99, -99}},
      {{"1", ",2"}, {1, 2}},
      {{"1 , 2 3"}, {1, 2, 3}},
      {{"1 2,3"}, {1, 2, 3}},
      {{"3*", "", "  7"}, {7, 7, 7}},
      {{",4"}, {-99, 4}},
      {{"1,", ",3"}, {1, -99, 3}},
      // A value ended by a separator clears the mark of the record end
      // before it, so the null value stays; blanks up to the record end act
      // as the record end.
      {{"1", "2,,3"}, {1, 2, -99, 3}},
      {{"1  ", ",2"}, {1, 2}},
  };
  for (const Case& c : cases) {
    lines(c.input);
    EXPECT_EQ(read_ints(static_cast<int>(c.expected.size())), c.expected) << c.input[0];
  }
}

TEST_F(ListInput, SlashEndsInputForTheRestOfTheStatement) {
  lines({"5 / 8", "9"});
  EXPECT_EQ(read_ints(3), (std::vector<int>{5, -99, -99}));
  EXPECT_EQ(port.records_read, 1);
}

TEST_F(ListInput, TooFewValuesMeetTheEndOfFile) {
  lines({"1"});
  EXPECT_EQ(read_ints(2, kEndOfFile), (std::vector<int>{1, -99}));
}

TEST_F(ListInput, IntegerConversion) {
  struct Case {
    const char* text;
    int status;
    int value;
  };
  const Case cases[] = {
      {"4294967297", kOk, 1},  {"-12", kOk, -12}, {"+7", kOk, 7}, {"-", kOk, 0},
      {"1.0", kIllegalCharacterInNumericInput, -99}, {"12a", kIllegalCharacterInNumericInput, -99},
      {"2147483648", kOk, -2147483647 - 1},
  };
  for (const Case& c : cases) {
    lines({c.text});
    EXPECT_EQ(read_ints(1, c.status), std::vector<int>{c.value}) << c.text;
  }
}

TEST_F(ListInput, ShortIntegersTakeTheLowOrderBytes) {
  lines({"65537 -1"});
  short s = 0;
  signed char b = 0;
  ASSERT_EQ(read(Element{&s, kStateInteger2, 2, 1}), kOk);
  ASSERT_EQ(read(Element{&b, kStateInteger1, 1, 1}), kOk);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(b, -1);
}

TEST_F(ListInput, RealConversion) {
  struct Case {
    const char* text;
    float expected;
  };
  // Expected values: the decimal value rounded once to double (a single
  // correctly rounded division or multiplication here), then to float.
  const Case cases[] = {
      {"1E2", 100.0f},
      {"1.5D-1", static_cast<float>(0.15)},
      {"-.5", -0.5f},
      {"1.5-3", static_cast<float>(0.0015)},
      {"1.25", 1.25f},
      {".", 0.0f},
      {"E5", 0.0f},
      {"2.50000000000000000000000000001", 2.5f},
      {"0.000000000000000000000000000012", static_cast<float>(12.0 / 1e30)},
      {"123456789012345678901234567890", static_cast<float>(1234567890123456789.0 * 1e11)},
      {"7e+1", 70.0f},
      {"1d0", 1.0f},
      {"12", 12.0f},
      // The twentieth digit would wrap the 64-bit mantissa; it only raises
      // the exponent.
      {"18446744073709551629", static_cast<float>(1844674407370955162.0 * 10.0)},
  };
  for (const Case& c : cases) EXPECT_EQ(read_real(c.text), c.expected) << c.text;
}

TEST_F(ListInput, RealCheckRefusesOtherCharacters) {
  EXPECT_EQ(read_real("1x", kIllegalCharacterInNumericInput), -99.0f);
  EXPECT_EQ(read_real("1.0.0", kIllegalCharacterInNumericInput), -99.0f);
}

TEST_F(ListInput, InfinityAndNotANumberPassTheCheck) {
  EXPECT_EQ(read_real("-Inf"), -INFINITY);
  EXPECT_TRUE(std::isnan(read_real("nan")));
}

TEST_F(ListInput, EightByteRealsKeepTheDouble) {
  lines({"0.1"});
  double v = 0.0;
  ASSERT_EQ(read(testing::double_element(v)), kOk);
  EXPECT_EQ(v, 1.0 / 10.0);
}

TEST_F(ListInput, QuotedCharacterValues) {
  struct Case {
    std::vector<std::string> input;
    const char* expected;
  };
  const Case cases[] = {
      {{"'It''s'"}, "It's  "},
      {{"\"say \"\"hi\"\"\""}, "say \"h"},
      {{"'AB", "CD'"}, "ABCD  "},
      {{"''"}, "      "},
      {{"plain text"}, "plain "},
      {{"'ABCDEFGHIJ'"}, "ABCDEF"},
  };
  for (const Case& c : cases) {
    lines(c.input);
    char text[6];
    ASSERT_EQ(read(testing::character_element(text, 6)), kOk);
    EXPECT_EQ(std::string(text, 6), c.expected) << c.input[0];
  }
}

TEST_F(ListInput, QuotedValueThenNumber) {
  lines({"'A', 5"});
  char text[2];
  int n = 0;
  ASSERT_EQ(read(testing::character_element(text, 2)), kOk);
  ASSERT_EQ(read(testing::integer_element(n)), kOk);
  EXPECT_EQ(std::string(text, 2), "A ");
  EXPECT_EQ(n, 5);
}

TEST_F(ListInput, LogicalValues) {
  lines({".TRUE. t F .false. x"});
  std::vector<int> values(5, 7);
  for (int& v : values) ASSERT_EQ(read(testing::logical_element(v)), kOk);
  EXPECT_EQ(values, (std::vector<int>{1, 1, 0, 0, 0}));
}

TEST_F(ListInput, ComplexValuesInParentheses) {
  for (auto input : {std::vector<std::string>{"(1.5, -2.5), 3"}, std::vector<std::string>{"( 1.5,", "  -2.5 )", "3"}}) {
    lines(input);
    float z[2] = {0.0f, 0.0f};
    int n = 0;
    ASSERT_EQ(read(testing::complex_element(z)), kOk);
    ASSERT_EQ(read(testing::integer_element(n)), kOk);
    EXPECT_EQ(z[0], 1.5f);
    EXPECT_EQ(z[1], -2.5f);
    EXPECT_EQ(n, 3);
  }
}

TEST_F(ListInput, RepeatCountDoesNotCarryToTheNextStatement) {
  lines({"3*4", "9"});
  EXPECT_EQ(read_ints(1), std::vector<int>{4});
  state.reset();
  ASSERT_EQ(port.next_input_record(), kOk);
  EXPECT_EQ(read_ints(1), std::vector<int>{9});
}

}  // namespace
}  // namespace rio

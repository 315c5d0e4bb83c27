// Records built by list-directed output: separators, delimiters and the
// move to a new record when an item would pass the record length.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "rio/list_output.h"
#include "rio/status.h"
#include "rio/support/riofmt_fake_port.h"

namespace rio {
namespace {

using testing::RecordingPort;

class ListOutput : public ::testing::Test {
 protected:
  ListOutput() : port(record) { start(); }
  void start() {
    record.clear();
    record.append(' ');
    state.reset();
  }
  int put(Element e) { return list_write_element(state, record, port, unit, e); }
  int put_int(int v) { return put(testing::integer_element(ints.emplace_back(v))); }
  int put_real(float v) { return put(testing::real_element(reals.emplace_back(v))); }
  int put_text(const std::string& s) {
    texts.push_back(s);
    return put(testing::character_element(texts.back().data(), static_cast<int>(s.size())));
  }

  RecordBuffer record;
  RecordingPort port;
  UnitTraits unit;
  ListOutputState state;
  std::vector<int> ints;
  std::vector<float> reals;
  std::vector<std::string> texts;

};

TEST_F(ListOutput, PromptGetsTheRecordBlankOnly) {
  ASSERT_EQ(put_text(" ENTER FILENAME FOR dendrogram 1"), kOk);
  EXPECT_EQ(port.current(), "  ENTER FILENAME FOR dendrogram 1");
}

TEST_F(ListOutput, TextThenTwoIntegers) {
  ASSERT_EQ(put_text("NO OF LEVELS ="), kOk);
  ASSERT_EQ(put_int(12), kOk);
  ASSERT_EQ(put_int(10), kOk);
  EXPECT_EQ(port.current(), " NO OF LEVELS =  12  10");
}

TEST_F(ListOutput, ThreeIntegers) {
  ASSERT_EQ(put_int(0), kOk);
  ASSERT_EQ(put_int(3), kOk);
  ASSERT_EQ(put_int(4), kOk);
  EXPECT_EQ(port.current(), "   0  3  4");
}

TEST_F(ListOutput, EmptyListLeavesTheSingleBlank) { EXPECT_EQ(port.current(), " "); }

TEST_F(ListOutput, NegativeIntegerHasOneBlankLessInFront) {
  ASSERT_EQ(put_int(5), kOk);
  ASSERT_EQ(put_int(-5), kOk);
  EXPECT_EQ(port.current(), "   5 -5");
}

TEST_F(ListOutput, ConsecutiveTextsJoinAndTextAfterNumberGetsABlank) {
  ASSERT_EQ(put_text("AB"), kOk);
  ASSERT_EQ(put_text("CD"), kOk);
  ASSERT_EQ(put_int(1), kOk);
  ASSERT_EQ(put_text("EF"), kOk);
  EXPECT_EQ(port.current(), " ABCD  1 EF");
}

TEST_F(ListOutput, RealsAndLogicalsAndComplex) {
  ASSERT_EQ(put_real(0.5f), kOk);
  ASSERT_EQ(put_real(-0.25f), kOk);
  int truth = 1;
  ASSERT_EQ(put(testing::logical_element(truth)), kOk);
  float z[2] = {0.5f, -1.0f};
  ASSERT_EQ(put(testing::complex_element(z)), kOk);
  EXPECT_EQ(port.current(), "   .500000 -.250000 T (.500000,-1.00000)");
}

TEST_F(ListOutput, NumberThatWouldPassTheRecordLengthStartsANewRecord) {
  unit.record_length = 10;
  ASSERT_EQ(put_int(12345), kOk);
  ASSERT_EQ(put_int(678), kOk);
  EXPECT_EQ(port.records_with_current(), (std::vector<std::string>{"   12345", "   678"}));
}

TEST_F(ListOutput, NumberLongerThanTheRecordLengthFails) {
  unit.record_length = 5;
  EXPECT_EQ(put_int(123456), kRecordTooLong);
}

TEST_F(ListOutput, TextContinuesInANewRecordThatStartsWithABlank) {
  unit.record_length = 8;
  ASSERT_EQ(put_text("ABCDEFGHIJ"), kOk);
  EXPECT_EQ(port.records_with_current(), (std::vector<std::string>{" ABCDEFG", " HIJ"}));
}

TEST_F(ListOutput, DelimitedTextDoublesItsDelimiter) {
  unit.delimiter = '\'';
  ASSERT_EQ(put_text("It's"), kOk);
  ASSERT_EQ(put_text("X"), kOk);
  EXPECT_EQ(port.current(), "  'It''s' 'X'");
}

TEST_F(ListOutput, ConsoleRecordLengthNeverSplits) {
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(put_int(i), kOk);
  EXPECT_TRUE(port.records.empty());
}

}  // namespace
}  // namespace rio

// Formatted records: literals, repeats, groups, reversion, positioning and
// record ends, and formatted input fields.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "rio/format.h"
#include "rio/status.h"
#include "rio/support/riofmt_fake_port.h"

namespace rio {
namespace {

using testing::RecordingPort;

class FormattedWrite : public ::testing::Test {
 protected:
  FormattedWrite() : port(record) {}
  int begin(const std::string& text) { return session.begin(nullptr, text.data(), text.size()); }
  int put_int(int v) {
    ints.push_back(v);
    return session.write_element(record, port, unit, testing::integer_element(ints.back()));
  }
  int put_real(float v) {
    reals.push_back(v);
    return session.write_element(record, port, unit, testing::real_element(reals.back()));
  }
  std::vector<std::string> finish() {
    EXPECT_EQ(session.finish_write(record, port, unit), kOk);
    session.release();
    return port.records_with_current();
  }

  RecordBuffer record;
  RecordingPort port;
  UnitTraits unit;
  FormatSession session;
  std::vector<int> ints;
  std::vector<float> reals;
};

TEST_F(FormattedWrite, MinimumLineWithOneRealAndTwoIntegers) {
  ASSERT_EQ(begin("(' VALUE = ',F10.5,' AT NO. OF CLUSTERS ', 2I6)"), kOk);
  ASSERT_EQ(put_real(0.125f), kOk);
  ASSERT_EQ(put_int(3), kOk);
  ASSERT_EQ(put_int(12), kOk);
  EXPECT_EQ(finish(), std::vector<std::string>{" VALUE =     .12500 AT NO. OF CLUSTERS      3    12"});
}

TEST_F(FormattedWrite, FourthItemRevertsToANewRecord) {
  ASSERT_EQ(begin("(' VALUE = ',F10.5,' AT NO. OF CLUSTERS ', 2I6)"), kOk);
  ASSERT_EQ(put_real(0.125f), kOk);
  ASSERT_EQ(put_int(3), kOk);
  ASSERT_EQ(put_int(12), kOk);
  ASSERT_EQ(put_real(1.5f), kOk);
  EXPECT_EQ(finish(), (std::vector<std::string>{" VALUE =     .12500 AT NO. OF CLUSTERS      3    12",
                                                " VALUE =    1.50000 AT NO. OF CLUSTERS "}));
}

TEST_F(FormattedWrite, ReversionGoesBackToTheLastTopLevelGroup) {
  ASSERT_EQ(begin("(I3,(2F5.1))"), kOk);
  ASSERT_EQ(put_int(1), kOk);
  for (float v : {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}) ASSERT_EQ(put_real(v), kOk);
  EXPECT_EQ(finish(), (std::vector<std::string>{"  1  1.0  2.0", "  3.0  4.0", "  5.0  6.0"}));
}

TEST_F(FormattedWrite, SlashWithCountGivesEmptyRecords) {
  ASSERT_EQ(begin("(I5,3/,I5)"), kOk);
  ASSERT_EQ(put_int(1), kOk);
  ASSERT_EQ(put_int(2), kOk);
  EXPECT_EQ(finish(), (std::vector<std::string>{"    1", "", "", "    2"}));
}

TEST_F(FormattedWrite, TrailingLiteralIsWrittenButColonStops) {
  ASSERT_EQ(begin("(I2,' END',:,' NOT')"), kOk);
  ASSERT_EQ(put_int(7), kOk);
  EXPECT_EQ(finish(), std::vector<std::string>{" 7 END"});
}

TEST_F(FormattedWrite, QIsNothingOnOutputSoLaterLiteralsAreWritten) {
  ASSERT_EQ(begin("(I2,Q,' after',BN,BZ)"), kOk);
  ASSERT_EQ(put_int(7), kOk);
  EXPECT_EQ(finish(), std::vector<std::string>{" 7 after"});
}

TEST_F(FormattedWrite, PositioningMovesTheCursorAndFillsGaps) {
  ASSERT_EQ(begin("('ABCDEF',T3,'x',TR2,'y',TL4,'z',T10,'w',2X,I1)"), kOk);
  ASSERT_EQ(put_int(5), kOk);
  EXPECT_EQ(finish(), std::vector<std::string>{"ABzDEy   w  5"});
}

TEST_F(FormattedWrite, SignAndScaleControls) {
  ASSERT_EQ(begin("(SP,I3,F5.1,SS,I3,1P,F6.1,S,F5.1)"), kOk);
  ASSERT_EQ(put_int(5), kOk);
  ASSERT_EQ(put_real(1.5f), kOk);
  ASSERT_EQ(put_int(5), kOk);
  ASSERT_EQ(put_real(1.5f), kOk);
  ASSERT_EQ(put_real(0.5f), kOk);
  EXPECT_EQ(finish(), std::vector<std::string>{" +5 +1.5  5  15.0  5.0"});
}

TEST_F(FormattedWrite, DollarSuppressesTheLineEnd) {
  ASSERT_EQ(begin("('PROMPT: ',$)"), kOk);
  EXPECT_EQ(finish(), std::vector<std::string>{"PROMPT: "});
  ASSERT_EQ(begin("('PROMPT: ',$)"), kOk);
  ASSERT_EQ(session.finish_write(record, port, unit), kOk);
  EXPECT_TRUE(session.suppress_line_end());
}

TEST_F(FormattedWrite, MissingWidthsTakeTheDefaults) {
  ASSERT_EQ(begin("(I,F,L,A)"), kOk);
  ASSERT_EQ(put_int(42), kOk);
  ASSERT_EQ(put_real(0.5f), kOk);
  int truth = 1;
  ASSERT_EQ(session.write_element(record, port, unit, testing::logical_element(truth)), kOk);
  char text[] = "abc";
  ASSERT_EQ(session.write_element(record, port, unit, testing::character_element(text, 3)), kOk);
  EXPECT_EQ(finish(), std::vector<std::string>{"          42        .500000 Tabc"});
}

TEST_F(FormattedWrite, ComplexItemTakesTwoDescriptors) {
  ASSERT_EQ(begin("(2F5.1)"), kOk);
  float z[2] = {1.5f, -2.5f};
  ASSERT_EQ(session.write_element(record, port, unit, testing::complex_element(z)), kOk);
  EXPECT_EQ(finish(), std::vector<std::string>{"  1.5 -2.5"});
}

std::string nested(int depth) {
  return "(" + std::string(depth, '(') + "I3" + std::string(depth, ')') + ")";
}

TEST_F(FormattedWrite, TwentyNestedGroupsAreAcceptedTwentyOneOverflow) {
  ASSERT_EQ(begin(nested(20)), kOk);
  EXPECT_EQ(put_int(1), kOk);
  session.release();
  ASSERT_EQ(begin(nested(21)), kOk);
  EXPECT_EQ(put_int(1), kFormatGroupTableOverflow);
}

TEST_F(FormattedWrite, FormatWithoutDataDescriptorsRefusesAnItem) {
  ASSERT_EQ(begin("('ABC')"), kOk);
  EXPECT_EQ(put_int(1), kErrorInFormatString);
}

TEST_F(FormattedWrite, ItemUnderFTakesItsBitsAndUnderEsFails) {
  std::int32_t bits;
  float half = 0.5f;
  std::memcpy(&bits, &half, 4);
  ASSERT_EQ(begin("(F6.2,ES10.2)"), kOk);
  ASSERT_EQ(put_int(bits), kOk);
  EXPECT_EQ(put_int(bits), kTypeOrSizeMismatch);
}

class FormattedRead : public ::testing::Test {
 protected:
  FormattedRead() : port(record) {}
  void start(const std::string& format, std::vector<std::string> lines) {
    port.clear_script();
    port.script(std::move(lines));
    ASSERT_EQ(port.start_input(), kOk);
    session.release();
    ASSERT_EQ(session.begin(nullptr, format.data(), format.size()), kOk);
  }
  int read(Element e) { return session.read_element(record, port, unit, e); }

  RecordBuffer record;
  RecordingPort port;
  UnitTraits unit;
  FormatSession session;
};

TEST_F(FormattedRead, ReplyFillsTheVariableWithBlanks) {
  start("(A)", {"dend1.txt"});
  char name[100];
  ASSERT_EQ(read(testing::character_element(name, 100)), kOk);
  EXPECT_EQ(std::string(name, 100), "dend1.txt" + std::string(91, ' '));
}

TEST_F(FormattedRead, CharacterFieldRules) {
  char item[4];
  start("(A6)", {"ABCDEFGH"});
  ASSERT_EQ(read(testing::character_element(item, 4)), kOk);
  EXPECT_EQ(std::string(item, 4), "CDEF");
  start("(A6)", {"ABC"});
  ASSERT_EQ(read(testing::character_element(item, 4)), kOk);
  EXPECT_EQ(std::string(item, 4), "C   ");
  start("(A2)", {"ABC"});
  ASSERT_EQ(read(testing::character_element(item, 4)), kOk);
  EXPECT_EQ(std::string(item, 4), "AB  ");
  unit.pad = false;
  start("(A6)", {"ABC"});
  EXPECT_EQ(read(testing::character_element(item, 4)), kReadPastEndOfRecord);
}

TEST_F(FormattedRead, NumericFieldsWithBlankModesAndCommas) {
  start("(I4,BZ,I4,BN,I4,F6.2,F6.2,I5,I3)", {"  12 1 2 3 4  1234 1.5E1   1,7"});
  int a = 0, b = 0, c = 0, f = 0, g = 0;
  float d = 0.0f, e = 0.0f;
  ASSERT_EQ(read(testing::integer_element(a)), kOk);
  ASSERT_EQ(read(testing::integer_element(b)), kOk);
  ASSERT_EQ(read(testing::integer_element(c)), kOk);
  ASSERT_EQ(read(testing::real_element(d)), kOk);
  ASSERT_EQ(read(testing::real_element(e)), kOk);
  ASSERT_EQ(read(testing::integer_element(f)), kOk);
  ASSERT_EQ(read(testing::integer_element(g)), kOk);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, 102);
  EXPECT_EQ(c, 34);
  EXPECT_EQ(d, 12.34f);
  EXPECT_EQ(e, 15.0f);
  EXPECT_EQ(f, 1);
  EXPECT_EQ(g, 7);
}

TEST_F(FormattedRead, RecordEndsAndPositioning) {
  start("(I2,/,T3,I2,Q)", {"11", "xx22yyy"});
  int a = 0, b = 0, q = 0;
  ASSERT_EQ(read(testing::integer_element(a)), kOk);
  ASSERT_EQ(read(testing::integer_element(b)), kOk);
  ASSERT_EQ(read(testing::integer_element(q)), kOk);
  EXPECT_EQ(a, 11);
  EXPECT_EQ(b, 22);
  EXPECT_EQ(q, 3);
}

TEST_F(FormattedRead, HexAndLogicalFields) {
  start("(Z4,L3)", {"  ff .T."});
  int z = 0, l = 0;
  ASSERT_EQ(read(testing::integer_element(z)), kOk);
  ASSERT_EQ(read(testing::logical_element(l)), kOk);
  EXPECT_EQ(z, 255);
  EXPECT_EQ(l, 1);
}

}  // namespace
}  // namespace rio

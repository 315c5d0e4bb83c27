// The program's two precompiled formats drive the records they stand for.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "compare/program_formats.h"
#include "rio/format.h"
#include "rio/status.h"

namespace compare {
namespace {

class CollectingPort : public rio::RecordPort {
 public:
  explicit CollectingPort(rio::RecordBuffer& record) : record_(record) {}
  int end_output_record() override {
    records.emplace_back(record_.data(), record_.length());
    record_.clear();
    return rio::kOk;
  }
  int next_input_record() override { return rio::kEndOfFile; }
  std::vector<std::string> records;

 private:
  rio::RecordBuffer& record_;
};

TEST(ProgramFormats, CarryTheirSourceTexts) {
  EXPECT_STREQ(format_9983().source_text, "9983(A)");
  EXPECT_STREQ(format_797().source_text, "797(' VALUE = ',F10.5,' AT NO. OF CLUSTERS ', 2I6)");
  EXPECT_EQ(format_9983().record_count, 3u);
  EXPECT_EQ(format_797().record_count, 8u);
}

TEST(ProgramFormats, MinimumLineLayout) {
  rio::RecordBuffer record;
  CollectingPort port(record);
  rio::UnitTraits unit;
  rio::FormatSession session;
  ASSERT_EQ(session.begin(&format_797(), nullptr, 0), rio::kOk);
  float value = 0.125f;
  int clusters[] = {3, 12, 7};
  float second = 0.5f;
  ASSERT_EQ(session.write_element(record, port, unit, rio::Element{&value, rio::kStateReal4, 4, 1}), rio::kOk);
  ASSERT_EQ(session.write_element(record, port, unit, rio::Element{&clusters[0], rio::kStateInteger, 4, 1}), rio::kOk);
  ASSERT_EQ(session.write_element(record, port, unit, rio::Element{&clusters[1], rio::kStateInteger, 4, 1}), rio::kOk);
  ASSERT_EQ(session.write_element(record, port, unit, rio::Element{&second, rio::kStateReal4, 4, 1}), rio::kOk);
  ASSERT_EQ(session.finish_write(record, port, unit), rio::kOk);
  port.end_output_record();
  EXPECT_EQ(port.records, (std::vector<std::string>{" VALUE =     .12500 AT NO. OF CLUSTERS      3    12",
                                                    " VALUE =     .50000 AT NO. OF CLUSTERS "}));
}

TEST(ProgramFormats, ReplyFormatRevertsToItsOneDescriptor) {
  rio::RecordBuffer record;
  CollectingPort port(record);
  rio::UnitTraits unit;
  rio::FormatSession session;
  ASSERT_EQ(session.begin(&format_9983(), nullptr, 0), rio::kOk);
  char a[] = "first";
  char b[] = "second";
  ASSERT_EQ(session.write_element(record, port, unit, rio::Element{a, rio::kStateCharacter, 5, 1}), rio::kOk);
  ASSERT_EQ(session.write_element(record, port, unit, rio::Element{b, rio::kStateCharacter, 6, 1}), rio::kOk);
  ASSERT_EQ(session.finish_write(record, port, unit), rio::kOk);
  port.end_output_record();
  EXPECT_EQ(port.records, (std::vector<std::string>{"first", "second"}));
}

}  // namespace
}  // namespace compare

// Saving the Input/Output text: the file's exact bytes, and the two failure
// messages with the flag that keeps the exit prompt asking.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "console/save_text.h"
#include "console/support/scratch_directory.h"
#include "console/text_store.h"

namespace console {
namespace {

using test::read_file_bytes;
using test::ScratchDirectory;

struct Message {
  std::string text;
  std::string caption;
  bool operator==(const Message&) const = default;
};

class RecordingMessages : public MessageSink {
 public:
  void warn(std::string_view text, std::string_view caption) override {
    shown.push_back({std::string(text), std::string(caption)});
  }
  std::vector<Message> shown;
};

class SaveTextTest : public ::testing::Test {
 protected:
  void add_lines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      store.start_new_line();
      store.store_new_line_text(line);
    }
  }

  void save(const std::string& path) { save_window_text(store, path, messages, text_unchanged); }

  TextStore store;
  RecordingMessages messages;
  int text_unchanged = 0;
  ScratchDirectory scratch;
};

struct SavedCase {
  const char* name;
  std::vector<std::string> lines;
  std::string file;
};

class SavedBytesTest : public SaveTextTest, public ::testing::WithParamInterface<SavedCase> {};

TEST_P(SavedBytesTest, EveryLineIsWrittenAsStoredAndEndedWithCrLf) {
  add_lines(GetParam().lines);
  std::string path = scratch.path_of("out.txt");
  save(path);
  EXPECT_EQ(read_file_bytes(path), GetParam().file);
  EXPECT_EQ(text_unchanged, 1);
  EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Stores, SavedBytesTest,
    ::testing::Values(SavedCase{"ThreeLinesMakeSeventeenBytes", {"ONE", "TWO", "THREE"}, "ONE\r\nTWO\r\nTHREE\r\n"},
                      SavedCase{"AnEmptyAnswerIsJustCrLf", {"NAME?", ""}, "NAME?\r\n\r\n"},
                      SavedCase{"NoLinesMakeAnEmptyFile", {}, ""},
                      SavedCase{"ControlAndHighBytesAreNotConverted",
                                {std::string("a\tb\fc\nd\xE9\r", 9)},
                                std::string("a\tb\fc\nd\xE9\r\r\n", 11)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveTextTest, SavingOverALongerFileReplacesItsWholeContent) {
  std::string path = scratch.path_of("old.txt");
  add_lines({std::string(500, 'x')});
  save(path);
  store.delete_chars(1, 2, 498);
  save(path);
  EXPECT_EQ(read_file_bytes(path), "xx\r\n");
}

TEST_F(SaveTextTest, AFileThatCannotBeCreatedIsReportedAndKeepsTheTextUnsaved) {
  add_lines({"ONE"});
  std::string path = scratch.path_of("missing-directory/out.txt");
  save(path);
  EXPECT_EQ(messages.shown, (std::vector<Message>{{"Cannot create file", "TOLM"}}));
  EXPECT_EQ(text_unchanged, 0);
  EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

TEST_F(SaveTextTest, AnEmptyFileNameCannotBeCreated) {
  save("");
  EXPECT_EQ(messages.shown, (std::vector<Message>{{"Cannot create file", "TOLM"}}));
  EXPECT_EQ(text_unchanged, 0);
}

TEST_F(SaveTextTest, AFailedWriteIsReportedOnceAndKeepsTheTextUnsaved) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to fail the write";
  add_lines({"ONE", "TWO"});
  save("/dev/full");
  EXPECT_EQ(messages.shown, (std::vector<Message>{{"I/O error while writing file", "TOLM"}}));
  EXPECT_EQ(text_unchanged, 0);
}

TEST_F(SaveTextTest, ASaveAfterAFailureStillSetsTheFlagOnceItSucceeds) {
  add_lines({"ONE"});
  save(scratch.path_of("nowhere/out.txt"));
  ASSERT_EQ(text_unchanged, 0);
  save(scratch.path_of("out.txt"));
  EXPECT_EQ(text_unchanged, 1);
  EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace console

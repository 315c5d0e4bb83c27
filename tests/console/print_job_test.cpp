// The print job against a printer and a session that record every step:
// the line range of a page range, page breaks, copies, cancel, failures and
// the clean-up that always follows.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "console/print_job.h"

namespace console {
namespace {

constexpr int kLineHeight = 10;

// Both fakes write one log, so that the order of the window's steps and the
// printer's is checked together.
class FakePrinter : public PrintDevice {
 public:
  explicit FakePrinter(std::vector<std::string>& log) : log_(log) {}

  int line_height() override { return kLineHeight; }
  int printable_height() override { return height; }
  bool start_document(std::string_view name) override { return step("start_document " + std::string(name), 0); }
  bool start_page() override {
    pages.emplace_back();
    return step("start_page", ++started_pages_ == failing_start_page ? 1 : 0);
  }
  void draw_line(int x, int y, std::string_view text) override {
    pages.back().push_back(std::string(text));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, kLineHeight * static_cast<int>(pages.back().size() - 1)) << text;
  }
  bool end_page() override { return step("end_page", ++ended_pages_ == failing_end_page ? 1 : 0); }
  bool end_document() override { return step("end_document", 0); }

  int height = 60 * kLineHeight + kLineHeight - 1;  // 60 whole lines
  bool failing_document = false;
  int failing_start_page = 0;  // the n-th start fails; 0: none
  int failing_end_page = 0;
  std::vector<std::vector<std::string>> pages;  // the lines drawn on each page

 private:
  bool step(const std::string& name, int fails) {
    log_.push_back(name);
    if (name.starts_with("start_document")) return !failing_document;
    return fails == 0;
  }

  std::vector<std::string>& log_;
  int started_pages_ = 0;
  int ended_pages_ = 0;
};

class FakeSession : public PrintSession {
 public:
  std::optional<PrintChoice> choose_printer() override {
    log.push_back("choose_printer");
    return choice;
  }
  PrintDevice& device() override { return printer; }
  void release_device() override { log.push_back("release_device"); }
  void show_printing_dialog() override { log.push_back("show_printing_dialog"); }
  void destroy_printing_dialog() override { log.push_back("destroy_printing_dialog"); }
  void set_owner_enabled(bool enabled) override { log.push_back(enabled ? "enable_owner" : "disable_owner"); }
  void serve_pending_events() override {
    if (++served_ == cancel_at_serve) print_continue = 0;
  }

  std::vector<std::string> log;
  FakePrinter printer{log};
  std::optional<PrintChoice> choice = PrintChoice{};
  int cancel_at_serve = 0;  // Cancel pressed while the n-th wait is served

 private:
  int served_ = 0;
};

class PrintJobTest : public ::testing::Test {
 protected:
  void add_lines(int count) {
    for (int k = 1; k <= count; ++k) {
      store.start_new_line();
      store.store_new_line_text("line " + std::to_string(k));
    }
  }

  PrintOutcome print() { return print_store(store, session); }

  std::vector<std::size_t> page_sizes() const {
    std::vector<std::size_t> sizes;
    for (const auto& page : session.printer.pages) sizes.push_back(page.size());
    return sizes;
  }

  std::vector<std::string> last_steps(std::size_t n) const {
    const auto& log = session.log;
    return {log.end() - static_cast<std::ptrdiff_t>(std::min(n, log.size())), log.end()};
  }

  TextStore store;
  FakeSession session;
};

const std::vector<std::string> kCleanUp = {"destroy_printing_dialog", "release_device", "enable_owner"};

struct LayoutCase {
  const char* name;
  int line_height;
  int printable_height;
  PageLayout layout;
};

class PageLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PageLayoutTest, LinesPerPageAreTheWholeLinesThatFitThePrintableHeight) {
  PageLayout layout = page_layout(GetParam().line_height, GetParam().printable_height);
  EXPECT_EQ(layout.line_height, GetParam().layout.line_height);
  EXPECT_EQ(layout.lines_per_page, GetParam().layout.lines_per_page);
}

INSTANTIATE_TEST_SUITE_P(Fonts, PageLayoutTest,
                         ::testing::Values(LayoutCase{"SixtyWholeLines", 50, 3049, {50, 60}},
                                           LayoutCase{"AFontTallerThanThePageStillGetsOneLine", 500, 300, {500, 1}},
                                           LayoutCase{"AZeroLineHeightCountsAsOnePixel", 0, 300, {1, 300}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RangeCase {
  const char* name;
  std::optional<PageRange> pages;
  int first;
  int last;
};

class LineRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(LineRangeTest, APageRangeSelectsTheLinesThatItsPagesHold) {
  LineRange lines = lines_to_print(130, PageLayout{kLineHeight, 60}, GetParam().pages);
  EXPECT_EQ(lines.first, GetParam().first);
  EXPECT_EQ(lines.last, GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, LineRangeTest,
    ::testing::Values(RangeCase{"AllPagesIsTheWholeStore", std::nullopt, 1, 130},
                      RangeCase{"PageTwoIsLinesSixtyOneToOneHundredTwenty", PageRange{2, 2}, 61, 120},
                      RangeCase{"TheLastPageEndsAtTheLastLine", PageRange{2, 3}, 61, 130},
                      RangeCase{"APagePastTheTextHoldsNothing", PageRange{4, 5}, 1, 0},
                      RangeCase{"TheHighestPageNumberDoesNotOverflow", PageRange{1, 32767}, 1, 130}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineRangeWide, PageNumbersTimesALargePageStayExact) {
  LineRange lines = lines_to_print(32767, PageLayout{1, 100000}, PageRange{32767, 32767});
  EXPECT_GT(lines.first, lines.last) << "page 32767 of 100000-line pages lies past the text";
}

TEST_F(PrintJobTest, OneHundredThirtyLinesAtSixtyPerPageFillThreePages) {
  add_lines(130);
  EXPECT_EQ(print(), PrintOutcome::finished);
  EXPECT_EQ(page_sizes(), (std::vector<std::size_t>{60, 60, 10}));
  EXPECT_EQ(session.printer.pages[0].front(), "line 1");
  EXPECT_EQ(session.printer.pages[1].front(), "line 61");
  EXPECT_EQ(session.printer.pages[2].back(), "line 130");
  EXPECT_EQ(session.log.front(), "choose_printer");
  EXPECT_EQ(session.log[1], "show_printing_dialog");
  EXPECT_EQ(session.log[2], "disable_owner");
  EXPECT_EQ(session.log[3], "start_document TOLM Input/Output");
  EXPECT_EQ(last_steps(5), (std::vector<std::string>{"end_page", "end_document", "destroy_printing_dialog",
                                                     "release_device", "enable_owner"}));
}

TEST_F(PrintJobTest, PageTwoOfTheSameTextPrintsItsLinesOnOnePage) {
  add_lines(130);
  session.choice = PrintChoice{PageRange{2, 2}, 1};
  print();
  ASSERT_EQ(page_sizes(), (std::vector<std::size_t>{60}));
  EXPECT_EQ(session.printer.pages[0].front(), "line 61");
  EXPECT_EQ(session.printer.pages[0].back(), "line 120");
}

TEST_F(PrintJobTest, TwoCopiesAreTwoWholePassesEachFromTheFirstLine) {
  add_lines(10);
  session.choice = PrintChoice{std::nullopt, 2};
  print();
  ASSERT_EQ(page_sizes(), (std::vector<std::size_t>{10, 10}));
  EXPECT_EQ(session.printer.pages[1].front(), "line 1");
  EXPECT_EQ(std::count(session.log.begin(), session.log.end(), "end_document"), 1);
}

TEST_F(PrintJobTest, ARangeThatFillsItsLastPageExactlyGivesNoEmptySheet) {
  add_lines(120);
  print();
  EXPECT_EQ(page_sizes(), (std::vector<std::size_t>{60, 60}));
  EXPECT_EQ(std::count(session.log.begin(), session.log.end(), "start_page"), 2);
}

TEST_F(PrintJobTest, ARangePastTheLastLinePrintsNoPage) {
  add_lines(10);
  session.choice = PrintChoice{PageRange{3, 4}, 1};
  EXPECT_EQ(print(), PrintOutcome::finished);
  EXPECT_TRUE(session.printer.pages.empty());
}

TEST_F(PrintJobTest, CancelAfterTheFirstPageDrawsNoFurtherLineAndCleansUp) {
  add_lines(130);
  session.cancel_at_serve = 60;
  EXPECT_EQ(print(), PrintOutcome::cancelled);
  EXPECT_EQ(page_sizes(), (std::vector<std::size_t>{60}));
  EXPECT_EQ(std::count(session.log.begin(), session.log.end(), "end_document"), 0)
      << "a cancelled job is left for the printing system to abandon";
  EXPECT_EQ(last_steps(4), (std::vector<std::string>{"end_page", "destroy_printing_dialog", "release_device",
                                                     "enable_owner"}));
}

TEST_F(PrintJobTest, ACancelLeftFromAnEarlierJobDoesNotStopTheNextOne) {
  add_lines(3);
  session.print_continue = 0;
  EXPECT_EQ(print(), PrintOutcome::finished);
  EXPECT_EQ(page_sizes(), (std::vector<std::size_t>{3}));
}

TEST_F(PrintJobTest, ACancelledPrintDialogDoesNothingElse) {
  add_lines(3);
  session.choice = std::nullopt;
  EXPECT_EQ(print(), PrintOutcome::not_started);
  EXPECT_EQ(session.log, (std::vector<std::string>{"choose_printer"}));
}

struct FailureCase {
  const char* name;
  bool failing_document;
  int failing_start_page;
  int failing_end_page;
  std::vector<std::size_t> pages;
};

class PrintFailureTest : public PrintJobTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PrintFailureTest, AFailedStepStopsTheJobUnendedAndTheCleanUpStillRuns) {
  const FailureCase& c = GetParam();
  add_lines(130);
  session.printer.failing_document = c.failing_document;
  session.printer.failing_start_page = c.failing_start_page;
  session.printer.failing_end_page = c.failing_end_page;
  EXPECT_EQ(print(), PrintOutcome::failed);
  EXPECT_EQ(page_sizes(), c.pages);
  EXPECT_EQ(std::count(session.log.begin(), session.log.end(), "end_document"), 0);
  EXPECT_EQ(last_steps(3), kCleanUp);
}

INSTANTIATE_TEST_SUITE_P(Steps, PrintFailureTest,
                         ::testing::Values(FailureCase{"DocumentCannotStart", true, 0, 0, {}},
                                           FailureCase{"FirstPageCannotStart", false, 1, 0, {0}},
                                           FailureCase{"SecondPageCannotStart", false, 2, 0, {60, 0}},
                                           FailureCase{"FirstPageCannotEnd", false, 0, 1, {60}},
                                           FailureCase{"LastPageCannotEnd", false, 0, 3, {60, 60, 10}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintJobTest, NoCopiesEndTheDocumentAtOnce) {
  add_lines(3);
  session.choice = PrintChoice{std::nullopt, 0};
  EXPECT_EQ(print(), PrintOutcome::finished);
  EXPECT_TRUE(session.printer.pages.empty());
  EXPECT_EQ(last_steps(5), (std::vector<std::string>{"start_document TOLM Input/Output", "end_document",
                                                     "destroy_printing_dialog", "release_device", "enable_owner"}));
}

}  // namespace
}  // namespace console

// The Input/Output window on Qt: output through the write hook, typing and
// Enter through the read hook, the scroll bars following the text, and the
// keys and the mouse reaching the line editor and the selection.
#include <gtest/gtest.h>

#include <ostream>

#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include "console/qt/window_hooks.h"
#include "console_qt/support/frame_fixture.h"
#include "rio/hooks.h"

namespace console::qt {
namespace {

class IoWidgetTest : public test::FrameTest {
 protected:
  std::string read_after(std::function<void()> typing) {
    QTimer::singleShot(0, std::move(typing));
    char buffer[256];
    int count = rio::call_read_hook(buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, static_cast<std::size_t>(count));
  }

  const IoView& view() const { return io->window().view; }
  int rows() const { return io->viewport()->height() / view().char_height; }
  int columns() const { return io->viewport()->width() / view().char_width; }
};

struct WrittenCase {
  std::string bytes;
  std::string line;
};

void PrintTo(const WrittenCase& c, std::ostream* out) { *out << ::testing::PrintToString(c.bytes); }

class WriteHookTest : public IoWidgetTest, public ::testing::WithParamInterface<WrittenCase> {};

TEST_P(WriteHookTest, StoresOneLineWithoutAFinalLineFeedThenCarriageReturn) {
  const std::string& bytes = GetParam().bytes;
  int count = static_cast<int>(bytes.size());
  EXPECT_EQ(rio::call_write_hook(bytes.data(), count, rio::kConsoleOutputHandle), count);
  ASSERT_EQ(state.text_store->line_count(), 1);
  EXPECT_EQ(store_line(1), GetParam().line);
  EXPECT_EQ(state.text_unchanged, 0);
}

INSTANTIATE_TEST_SUITE_P(Records, WriteHookTest,
                         ::testing::Values(WrittenCase{"TEXT\r\n", "TEXT"}, WrittenCase{"TEXT\n\r", "TEXT\n"},
                                           WrittenCase{"TEXT", "TEXT"}, WrittenCase{"\r\n", ""},
                                           WrittenCase{"A\rB\r\r\n", "A\rB\r"}));

TEST_F(IoWidgetTest, ErrorOutputGoesToTheWindowAsWell) {
  std::string report = "? VELMORA Runtime Error:\n";
  rio::call_write_hook(report.data(), static_cast<int>(report.size()), rio::kErrorOutputHandle);
  EXPECT_EQ(store_line(1), "? VELMORA Runtime Error:");
}

TEST_F(IoWidgetTest, TypedKeysAndEnterAreTheAnswerOfTheRead) {
  write_line(" ENTER FILENAME FOR dendrogram 1");
  std::string answer = read_after([this] {
    QTest::keyClicks(io, "abc");
    QTest::keyClick(io, Qt::Key_Left);
    QTest::keyClick(io, Qt::Key_Left);
    QTest::keyClicks(io, "X");
    QTest::keyClick(io, Qt::Key_Return);
  });
  EXPECT_EQ(answer, "aXbc\r\n");
  EXPECT_EQ(store_line(2), "aXbc");
  EXPECT_FALSE(view().waiting_for_input);
}

TEST_F(IoWidgetTest, EnterAloneAnswersWithAnEmptyLine) {
  std::string answer = read_after([this] { QTest::keyClick(io, Qt::Key_Return); });
  EXPECT_EQ(answer, "\r\n");
  EXPECT_EQ(state.text_store->line_count(), 1);
}

TEST_F(IoWidgetTest, BackspaceTabAndDeleteEditTheInputLine) {
  std::string answer = read_after([this] {
    QTest::keyClicks(io, "abc");
    QTest::keyClick(io, Qt::Key_Backspace);
    QTest::keyClick(io, Qt::Key_Tab);
    QTest::keyClicks(io, "d");
    QTest::keyClick(io, Qt::Key_Home);  // only scrolls the view
    QTest::keyClick(io, Qt::Key_Left);
    QTest::keyClick(io, Qt::Key_Delete);
    QTest::keyClick(io, Qt::Key_Return);
  });
  EXPECT_EQ(answer, "ab      \r\n");
}

TEST_F(IoWidgetTest, ALongAnswerIsCutToTheBufferLessTheLineEnd) {
  std::string answer = read_after([this] {
    QTest::keyClicks(io, QString(300, QLatin1Char('x')));
    QTest::keyClick(io, Qt::Key_Return);
  });
  EXPECT_EQ(answer, std::string(254, 'x') + "\r\n");
}

TEST_F(IoWidgetTest, TheVerticalRangeFollowsTheLineCount) {
  ASSERT_GT(rows(), 2);
  int lines = rows() + 10;
  for (int i = 0; i < lines; ++i) write_line("line " + std::to_string(i));
  int expected = std::max(lines + 2 - rows(), 0);
  EXPECT_EQ(io->verticalScrollBar()->maximum(), expected);
  EXPECT_EQ(io->verticalScrollBar()->value(), view().first_line);
  EXPECT_EQ(view().first_line, expected) << "the view did not follow the output";
}

TEST_F(IoWidgetTest, ALongLineSetsTheHorizontalRangeAndAShorterOneKeepsIt) {
  ASSERT_LT(columns(), 100);
  write_line(std::string(100, 'w'));
  write_line("short");
  EXPECT_EQ(io->horizontalScrollBar()->maximum(), 100 - columns());
}

TEST_F(IoWidgetTest, TheScrollBarsMoveTheView) {
  for (int i = 0; i < rows() + 10; ++i) write_line("line");
  io->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(view().first_line, 0);
  io->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(view().first_line, 1);
  EXPECT_EQ(io->verticalScrollBar()->value(), 1);
  io->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(view().first_line, view().max_first_line);
}

TEST_F(IoWidgetTest, ADraggedVerticalThumbMovesTheTextOnlyWhenReleased) {
  for (int i = 0; i < rows() + 10; ++i) write_line("line");
  io->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
  QScrollBar* bar = io->verticalScrollBar();
  bar->setSliderDown(true);
  bar->setSliderPosition(3);
  EXPECT_EQ(view().first_line, 0);
  bar->setSliderDown(false);
  EXPECT_EQ(view().first_line, 3);
}

TEST_F(IoWidgetTest, ADoubleClickSelectsTheWordUnderThePointer) {
  write_line("alpha beta");
  int x = 7 * view().char_width;  // on the e of beta
  QTest::mouseDClick(io->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 1));
  EXPECT_EQ(view().selection_count, 1);
  EXPECT_EQ(view().selection_start, 6);
  EXPECT_EQ(view().selection_end, 10);
}

TEST_F(IoWidgetTest, TypingCountsAsAChangeOfTheText) {
  state.text_unchanged = 1;
  QTest::keyClicks(io, "a");
  EXPECT_EQ(state.text_unchanged, 0);
}

TEST_F(IoWidgetTest, CtrlWithOtherLettersTypesTheirControlCodes) {
  QTest::keyClick(io, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(store_line(1), "\x01");
}

TEST_F(IoWidgetTest, TheCaretIsInViewAfterTypingAHundredAndTwentyCharactersAndAfterErasingThem) {
  io->setFocus();
  QTest::keyClicks(io, QString(120, QLatin1Char('w')));
  const QRect client = io->viewport()->rect();
  ASSERT_LT(columns(), 120);
  EXPECT_TRUE(io->caret_visible());
  EXPECT_TRUE(client.contains(io->caret_rect()));
  // The last character typed stands whole in the cell left of the caret.
  EXPECT_TRUE(client.contains(io->caret_rect().translated(-view().char_width, 0)));
  EXPECT_EQ(io->horizontalScrollBar()->value(), view().first_column);
  for (int k = 0; k < 120; ++k) QTest::keyClick(io, Qt::Key_Backspace);
  EXPECT_EQ(store_line(1), "");
  EXPECT_TRUE(io->caret_visible());
  EXPECT_TRUE(client.contains(io->caret_rect()));
  EXPECT_EQ(io->caret_rect().topLeft(), QPoint(0, 0));
  EXPECT_EQ(io->horizontalScrollBar()->value(), 0);
}

// The mean grey level of a part of the bar as it is drawn.
double mean_grey(const QImage& image, const QRect& part) {
  double sum = 0;
  int count = 0;
  for (int y = part.top(); y <= part.bottom(); ++y) {
    for (int x = part.left(); x <= part.right(); ++x) {
      sum += qGray(image.pixel(x, y));
      ++count;
    }
  }
  return count > 0 ? sum / count : 0;
}

TEST_F(IoWidgetTest, TheScrollBarHandleIsClearlyDarkerThanItsGroove) {
  for (int k = 0; k < 3 * rows(); ++k) write_line("line");
  QScrollBar* bar = io->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = Qt::Vertical;
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.pageStep = bar->pageStep();
  option.singleStep = bar->singleStep();
  option.subControls = QStyle::SC_All;
  QRect handle = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
  // The view follows the text to its end: the groove lies above the handle.
  QRect groove = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSubPage, bar);
  ASSERT_FALSE(handle.isEmpty());
  ASSERT_FALSE(groove.isEmpty());
  // Inside the outlines, where the fills are.
  QImage image = bar->grab().toImage();
  double handle_grey = mean_grey(image, handle.adjusted(2, 2, -2, -2));
  double groove_grey = mean_grey(image, groove.adjusted(2, 2, -2, -2));
  EXPECT_GE(groove_grey - handle_grey, 20.0) << "handle " << handle_grey << ", groove " << groove_grey;
}

}  // namespace
}  // namespace console::qt

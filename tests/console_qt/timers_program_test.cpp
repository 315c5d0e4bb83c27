// Program timers: a hundred slots, expiries reaching the handler through
// the frame, stopping, and the pacing timer with its question when no timer
// can be had.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>
#include <vector>

#include "console/qt/program_timers.h"
#include "console_qt/support/frame_fixture.h"

namespace console::qt {
namespace {

using test::FrameTest;

constexpr int kLongInterval = 1000000;  // never expires during a test

TEST_F(FrameTest, TheHundredAndFirstSimultaneousTimerIsRefused) {
  for (int id = 1; id <= 100; ++id) ASSERT_EQ(start_timer(state, id, kLongInterval, [] {}), 1) << id;
  EXPECT_EQ(start_timer(state, 101, kLongInterval, [] {}), 0);
  stop_timer(state, 42);
  EXPECT_EQ(start_timer(state, 101, kLongInterval, [] {}), 1);
}

TEST_F(FrameTest, AnExpiryCallsTheHandlerOfTheFirstSlotWithItsId) {
  std::vector<int> fired;
  ASSERT_EQ(start_timer(state, 5, 1, [&] { fired.push_back(1); }), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !fired.empty(); }, 5000));
  stop_timer(state, 5);
  EXPECT_EQ(state.timer_slots[0].timer_id, 0);
  EXPECT_FALSE(state.timer_slots[0].handler);
}

TEST_F(FrameTest, StoppingAnIdInNoSlotChangesNothing) {
  ASSERT_EQ(start_timer(state, 9, kLongInterval, [] {}), 1);
  stop_timer(state, 10);
  EXPECT_EQ(state.timer_slots[0].timer_id, 9);
  EXPECT_NE(state.timer_slots[0].platform_timer, nullptr);
}

TEST_F(FrameTest, PaceClearsTheFlagWhichComesBackWhenTheDelayHasPassed) {
  state.pacing.delay_ms = 1;
  pace(state);
  EXPECT_EQ(state.pacing.timer_fired, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return state.pacing.timer_fired == 1; }, 5000));
}

struct NoTimerCase {
  QMessageBox::StandardButton answer;
  int finished;
};

class PaceWithoutTimersTest : public ::testing::TestWithParam<NoTimerCase> {};

TEST_P(PaceWithoutTimersTest, AsksWhetherToGoOnAndNoEndsTheProgram) {
  ConsoleState lone;  // no frame: no timer can be had
  std::vector<QString> texts;
  int finished = 0;
  PaceHooks hooks;
  hooks.run_message_box = [&](QMessageBox& box) {
    texts.push_back(box.windowTitle() + "|" + box.text());
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
    return static_cast<int>(GetParam().answer);
  };
  hooks.finish_program = [&] { ++finished; };
  pace(lone, hooks);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "TOLM|No timers available. Continue?");
  EXPECT_EQ(finished, GetParam().finished);
}

INSTANTIATE_TEST_SUITE_P(Answers, PaceWithoutTimersTest,
                         ::testing::Values(NoTimerCase{QMessageBox::Yes, 0}, NoTimerCase{QMessageBox::No, 1}));

}  // namespace
}  // namespace console::qt

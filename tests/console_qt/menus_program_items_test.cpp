// Menu items a program adds: their ids from 800, labels, insertion in front
// of an item or as a new popup, check marks and deletion.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <string>
#include <vector>

#include "console/qt/frame_menu.h"
#include "console/qt/program_menus.h"
#include "console_qt/support/frame_fixture.h"

namespace console::qt {
namespace {

using test::FrameTest;

QMenu& popup(const ConsoleState& state, int position) { return *state.main_menu->actions()[position - 1]->menu(); }

int append(ConsoleState& state, const std::string& label, MenuHandler handler = nullptr, int flags = 0) {
  return append_menu_item(state, 1, flags, label.data(), std::move(handler), static_cast<int>(label.size()));
}

TEST_F(FrameTest, TwoAppendedItemsGetTheIds800And801) {
  std::vector<int> chosen;
  ASSERT_EQ(append(state, "First   ", [&](std::int32_t&) { chosen.push_back(800); }), 1);
  ASSERT_EQ(append(state, "Second", [&](std::int32_t&) { chosen.push_back(801); }), 1);
  QList<QAction*> items = popup(state, 1).actions();
  EXPECT_EQ(command_id_of(*items[items.size() - 2]), 800);
  EXPECT_EQ(command_id_of(*items.back()), 801);
  EXPECT_EQ(items[items.size() - 2]->text(), "First");
  frame->dispatch_command(801);
  frame->dispatch_command(800);
  EXPECT_EQ(chosen, (std::vector<int>{801, 800}));
}

TEST_F(FrameTest, ALongLabelKeeps511CharactersAndAMissingPopupIsRefused) {
  ASSERT_EQ(append(state, std::string(600, 'L')), 1);
  EXPECT_EQ(popup(state, 1).actions().back()->text().size(), 511);
  std::string label = "Nowhere";
  EXPECT_EQ(append_menu_item(state, 9, 0, label.data(), nullptr, 7), 0);
}

TEST_F(FrameTest, AnInsertedItemGoesInFrontOfTheItemAtItsPosition) {
  int flags = 0;
  std::string label = "Top";
  ASSERT_EQ(insert_menu_item(state, 2, 1, flags, label.data(), nullptr, 3), 1);
  QAction* first = popup(state, 2).actions().front();
  EXPECT_EQ(first->text(), "Top");
  EXPECT_EQ(command_id_of(*first), 800);
  EXPECT_EQ(flags, 0);
}

TEST_F(FrameTest, InsertingAtItemPositionZeroPutsANewPopupOnTheMenuBar) {
  int flags = 0;
  std::string label = "&Plot";
  ASSERT_EQ(insert_menu_item(state, 2, 0, flags, label.data(), nullptr, 5), 1);
  EXPECT_EQ(flags, kMenuPopup | kMenuByPosition);
  QList<QAction*> bar = state.main_menu->actions();
  ASSERT_EQ(bar.size(), 4);
  EXPECT_EQ(bar[1]->text(), "&Plot");
  EXPECT_TRUE(bar[1]->menu()->actions().isEmpty());
  EXPECT_EQ(state.next_menu_command, 800);
}

TEST_F(FrameTest, CheckingReturnsThePreviousStateAndTheHandlerSeesTheMark) {
  std::vector<std::int32_t> seen;
  ASSERT_EQ(append(state, "Grid", [&](std::int32_t& checked) { seen.push_back(checked); }), 1);
  int position = static_cast<int>(popup(state, 1).actions().size());
  int check = kMenuChecked;
  EXPECT_EQ(check_menu_item(state, 1, position, check), 0);
  EXPECT_EQ(check, kMenuChecked | kMenuByPosition);
  int uncheck = 0;
  EXPECT_EQ(check_menu_item(state, 1, position, uncheck), kMenuChecked);
  check = kMenuChecked;
  check_menu_item(state, 1, position, check);
  frame->dispatch_command(800);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1}));
}

TEST_F(FrameTest, ADeletedItemGoesButItsHandlerEntryStays) {
  ASSERT_EQ(append(state, "Gone", [](std::int32_t&) {}), 1);
  int before = static_cast<int>(popup(state, 1).actions().size());
  delete_menu_item(state, 1, 0);
  EXPECT_EQ(popup(state, 1).actions().size(), before);
  delete_menu_item(state, 1, before);
  EXPECT_EQ(popup(state, 1).actions().size(), before - 1);
  EXPECT_TRUE(state.menu_handlers[1]);
}

}  // namespace
}  // namespace console::qt

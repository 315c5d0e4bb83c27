// The frame's menus and their commands: the items with their ids, labels
// and shortcuts, which commands reach the services, the grayed items whose
// shortcuts do nothing, and the program-defined items and timers.
#include <gtest/gtest.h>

#include <ostream>

#include <QAction>
#include <QKeySequence>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "console/qt/frame_menu.h"
#include "console_qt/support/frame_fixture.h"

namespace console::qt {
namespace {

using test::FrameTest;
using Strings = std::vector<std::string>;

struct MenuItemCase {
  int id;
  const char* label;
  bool enabled;
  const char* shortcut;  // empty: none
};

void PrintTo(const MenuItemCase& c, std::ostream* out) { *out << c.id; }

class MenuItemTest : public FrameTest, public ::testing::WithParamInterface<MenuItemCase> {};

TEST_P(MenuItemTest, CarriesItsLabelStateAndShortcut) {
  const MenuItemCase& c = GetParam();
  QAction& item = action(c.id);
  EXPECT_EQ(item.text().toStdString(), c.label);
  EXPECT_EQ(item.isEnabled(), c.enabled);
  EXPECT_EQ(item.shortcut(), QKeySequence(QString::fromLatin1(c.shortcut)));
}

INSTANTIATE_TEST_SUITE_P(
    MainMenu, MenuItemTest,
    ::testing::Values(MenuItemCase{500, "&Save", true, ""}, MenuItemCase{501, "Save As...", true, ""},
                      MenuItemCase{510, "Print...", true, ""}, MenuItemCase{520, "&About...", true, ""},
                      MenuItemCase{530, "E&xit", true, ""}, MenuItemCase{600, "&Undo\tCtrl+Z", false, "Ctrl+Z"},
                      MenuItemCase{610, "Cu&t\tCtrl+X", false, "Ctrl+X"},
                      MenuItemCase{611, "&Copy\tCtrl+C", false, "Ctrl+C"},
                      MenuItemCase{612, "&Paste\tCtrl+V", false, "Ctrl+V"}, MenuItemCase{613, "De&lete", false, ""},
                      MenuItemCase{701, "&Cascade\tShift+F5", true, "Shift+F5"},
                      MenuItemCase{700, "&Tile\tShift+F4", true, "Shift+F4"},
                      MenuItemCase{702, "&Arrange Icons", true, ""}));

TEST_F(FrameTest, MenuBarHasFileEditAndWindowWithWindowAsTheThirdPopup) {
  QList<QAction*> popups = frame->menuBar()->actions();
  ASSERT_EQ(popups.size(), 3);
  EXPECT_EQ(popups[0]->text(), "&File");
  EXPECT_EQ(popups[1]->text(), "&Edit");
  EXPECT_EQ(popups[2]->text(), "&Window");
  EXPECT_EQ(popups[2]->menu(), state.window_menu);
}

TEST_F(FrameTest, CtrlZTypesNothingAndUndoStaysGrayed) {
  QTest::keyClicks(io, "ab");
  QTest::keyClick(io, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(store_line(1), "ab");
  EXPECT_FALSE(action(kUndo).isEnabled());
  EXPECT_TRUE(services.calls.empty());
}

TEST_F(FrameTest, CtrlVDoesNothingUntilACopyHasWrittenTheClipboard) {
  QTest::keyClick(io, Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(services.calls.empty());
  services.clipboard_result = 0;
  frame->dispatch_command(kCopy);
  QTest::keyClick(io, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(services.calls, (Strings{"copy"}));
  EXPECT_FALSE(action(kPaste).isEnabled());

  services.clipboard_result = 1;
  frame->dispatch_command(kCopy);
  EXPECT_TRUE(action(kPaste).isEnabled());
  QTest::keyClick(io, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(services.calls, (Strings{"copy", "copy", "paste"}));
  EXPECT_EQ(state.text_store->line_count(), 0) << "the shortcut typed a character";
}

TEST_F(FrameTest, ASuccessfulCutAlsoEnablesPaste) {
  frame->dispatch_command(kCut);
  EXPECT_TRUE(action(kPaste).isEnabled());
}

TEST_F(FrameTest, EditCommandsGoToTheServicesInTheirOrder) {
  for (int id : {kCut, kCopy, kPaste, kDelete}) frame->dispatch_command(id);
  EXPECT_EQ(services.calls, (Strings{"cut", "copy", "paste", "delete"}));
}

TEST_F(FrameTest, PrintGoesToTheServicesWithTheFrameAsOwner) {
  frame->dispatch_command(kPrint);
  EXPECT_EQ(services.calls, (Strings{"print"}));
  EXPECT_EQ(services.print_owner, frame.get());
}

TEST_F(FrameTest, AMouseSelectionEnablesCutCopyAndDeleteButNotPaste) {
  write_line("alpha beta");
  QPoint on_alpha(1, 1);
  QTest::mouseDClick(io->viewport(), Qt::LeftButton, Qt::NoModifier, on_alpha);
  QTest::mouseRelease(io->viewport(), Qt::LeftButton, Qt::NoModifier, on_alpha);
  for (int id : {kCut, kCopy, kDelete}) EXPECT_TRUE(action(id).isEnabled()) << id;
  EXPECT_FALSE(action(kPaste).isEnabled());
  QTest::keyClick(io, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(services.calls, (Strings{"copy"}));
}

TEST_F(FrameTest, SaveWithoutAFileNameRunsSaveAsAndRetitlesTheWindow) {
  frame->dispatch_command(kSave);
  EXPECT_EQ(services.calls, (Strings{"choose ", "save /tmp/out/RUN1.TXT"}));
  EXPECT_EQ(state.io_window->windowTitle(), "RUN1.TXT");
}

TEST_F(FrameTest, ASecondSaveWritesToTheSameFileWithoutAsking) {
  frame->dispatch_command(kSaveAs);
  frame->dispatch_command(kSave);
  EXPECT_EQ(services.calls, (Strings{"choose ", "save /tmp/out/RUN1.TXT", "save /tmp/out/RUN1.TXT"}));
}

TEST_F(FrameTest, CancelledSaveAsWritesNothingAndKeepsTheTitle) {
  services.confirm_dialog = false;
  frame->dispatch_command(kSaveAs);
  EXPECT_EQ(services.calls, (Strings{"choose "}));
  EXPECT_EQ(state.io_window->windowTitle(), "Input/Output");
}

TEST_F(FrameTest, ProgramItemsGetIdsFromEightHundredAndTheirCheckState) {
  std::vector<std::int32_t> seen;
  QAction* first = frame->add_program_item(*state.window_menu, "First", [&](std::int32_t& c) { seen.push_back(c); });
  QAction* second = frame->add_program_item(*state.window_menu, "Second", [&](std::int32_t& c) { seen.push_back(c); });
  EXPECT_EQ(command_id_of(*first), 800);
  EXPECT_EQ(command_id_of(*second), 801);
  second->setCheckable(true);
  second->setChecked(true);
  first->trigger();
  second->trigger();
  EXPECT_EQ(seen, (std::vector<std::int32_t>{0, 1}));
  EXPECT_TRUE(second->isChecked()) << "choosing an item changed its check mark";
}

TEST_F(FrameTest, ProgramIdsEndWithTheHandlerTable) {
  state.next_menu_command = kLastProgramCommand;
  EXPECT_NE(frame->add_program_item(*state.window_menu, "Last", nullptr), nullptr);
  EXPECT_EQ(frame->add_program_item(*state.window_menu, "Beyond", nullptr), nullptr);
}

TEST_F(FrameTest, ATimerCallsTheFirstSlotWithItsIdAndAHandler) {
  std::vector<int> fired;
  state.timer_slots[0] = {7, nullptr};
  state.timer_slots[1] = {7, [&] { fired.push_back(2); }};
  state.timer_slots[2] = {7, [&] { fired.push_back(3); }};
  EXPECT_TRUE(frame->dispatch_timer(7));
  EXPECT_FALSE(frame->dispatch_timer(8));
  EXPECT_EQ(fired, (std::vector<int>{2}));
}

TEST_F(FrameTest, WindowMenuListsTheChildWindowsAndActivatesTheChosenOne) {
  emit state.window_menu->aboutToShow();
  QList<QAction*> items = state.window_menu->actions();
  ASSERT_EQ(items.size(), 5);
  EXPECT_TRUE(items[3]->isSeparator());
  EXPECT_EQ(items[4]->text(), "&1 Input/Output");
  EXPECT_EQ(command_id_of(*items[4]), kFirstChildCommand);
  emit state.window_menu->aboutToShow();
  EXPECT_EQ(state.window_menu->actions().size(), 5) << "the list was added twice";
}

TEST_F(FrameTest, CascadeGivesTheInputOutputWindowTheSizeItOpenedWith) {
  state.io_window->resize(300, 200);
  frame->dispatch_command(kCascade);
  EXPECT_EQ(state.io_window->size(), QSize(600, 300));
  EXPECT_EQ(state.io_window->pos(), QPoint(0, 0));
}

TEST_F(FrameTest, CascadeKeepsTheInputOutputWindowWithinASmallFrame) {
  frame->resize(400, 250);
  QApplication::processEvents();
  frame->dispatch_command(kCascade);
  QSize area = state.mdi_client->viewport()->size();
  EXPECT_EQ(state.io_window->size(), area.boundedTo(QSize(600, 300)));
}

}  // namespace
}  // namespace console::qt

// The system clipboard as the edit commands see it: bytes through Latin-1
// and back, and a copy and paste through the standard frame services.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>
#include <string>

#include "console/io_line_editor.h"
#include "console/io_window.h"
#include "console/qt/qt_clipboard.h"
#include "console/qt/standard_frame_services.h"
#include "console/text_store.h"
#include "console_qt/services_application.h"

namespace console::qt {
namespace {

class NullSurface : public console::IoSurface {
 public:
  void invalidate(console::PixelRect, bool) override {}
  void scroll_client(int, int) override {}
  void set_scroll_range(console::ScrollBar, int, bool) override {}
  void set_scroll_position(console::ScrollBar, int, bool) override {}
  void repaint_now() override {}
  void draw_text(int, int, std::string_view, console::TextColours) override {}
  void draw_char_now(int, int, char) override {}
  void place_caret(int, int) override {}
  void show_caret() override {}
  void hide_caret() override {}
  void set_edit_items_enabled(bool) override {}
  void text_changed() override {}
};

class ServicesClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { test::services_application(); }

  QtClipboard clipboard;
};

TEST_F(ServicesClipboardTest, EveryByteButNulComesBackAsItWent) {
  std::string bytes;
  for (int code = 1; code <= 255; ++code) bytes.push_back(static_cast<char>(code));
  ASSERT_TRUE(clipboard.open());
  ASSERT_TRUE(clipboard.empty());
  ASSERT_TRUE(clipboard.set_text(bytes + '\0'));
  clipboard.close();
  EXPECT_TRUE(clipboard.has_text());
  EXPECT_EQ(clipboard.get_text(), bytes);
}

TEST_F(ServicesClipboardTest, TextAfterTheNulIsNotHandedOver) {
  ASSERT_TRUE(clipboard.set_text(std::string("abc\0def", 7)));
  EXPECT_EQ(clipboard.get_text(), "abc");
}

TEST_F(ServicesClipboardTest, CharactersBeyondLatin1FromOtherProgramsArriveAsQuestionMarks) {
  QGuiApplication::clipboard()->setText(QString::fromUtf8("x\u20ACy"));
  EXPECT_EQ(clipboard.get_text(), "x?y");
}

TEST_F(ServicesClipboardTest, AnEmptiedClipboardHoldsNoText) {
  ASSERT_TRUE(clipboard.set_text(std::string("abc\0", 4)));
  ASSERT_TRUE(clipboard.empty());
  EXPECT_FALSE(clipboard.has_text());
  EXPECT_EQ(clipboard.get_text(), std::nullopt);
}

// The standard services on an Input/Output window of their own.
class ServicesPasteTest : public ServicesClipboardTest {
 protected:
  ServicesPasteTest() {
    console::create_io_window(window, 8, 16);
    console::resize_io_window(window, 640, 320);
  }

  console::TextStore store;
  NullSurface surface;
  console::IoWindow window{store, surface};
  int text_unchanged = 0;
  std::unique_ptr<FrameServices> services = make_standard_frame_services(window, text_unchanged);
};

TEST_F(ServicesPasteTest, CopyThenPasteTypesTheSelectedWordIntoTheInputLine) {
  console::show_output_line(window, "hello world");
  window.view.selection_count = 1;
  window.view.selection_line = 0;
  window.view.selection_start = 6;
  window.view.selection_end = 11;
  EXPECT_EQ(services->copy_selection(), 1);
  services->paste_clipboard();
  ASSERT_EQ(store.line_count(), 2);
  EXPECT_EQ(store.line_text(2), "world");
}

TEST_F(ServicesPasteTest, WhatFollowsTheAnswerToAWaitingReadIsTypedOnTheNextPass) {
  clipboard.open();
  clipboard.empty();
  ASSERT_TRUE(clipboard.set_text(std::string("one\rtwo", 8)));
  clipboard.close();
  window.view.waiting_for_input = true;
  services->paste_clipboard();
  ASSERT_EQ(store.line_count(), 1);
  EXPECT_EQ(store.line_text(1), "one");
  QCoreApplication::processEvents();
  ASSERT_EQ(store.line_count(), 2);
  EXPECT_EQ(store.line_text(2), "two");
}

}  // namespace
}  // namespace console::qt

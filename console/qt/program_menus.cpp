#include "console/qt/program_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "console/qt/body_thread.h"
#include "console/qt/frame_window.h"

namespace console::qt {

namespace {

constexpr std::size_t kLabelConsidered = 1024;
constexpr std::size_t kLabelKept = 511;

QString label_text(const char* label, int label_length) {
  if (label == nullptr || label_length <= 0) return {};
  std::string_view text(label, std::min(static_cast<std::size_t>(label_length), kLabelConsidered));
  text = text.substr(0, text.find('\0'));
  std::size_t end = text.find_last_not_of(' ');
  text = end == std::string_view::npos ? std::string_view() : text.substr(0, std::min(end + 1, kLabelKept));
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QAction* at_position(const QList<QAction*>& actions, int position) {
  return position >= 1 && position <= actions.size() ? actions[position - 1] : nullptr;
}

QMenu* popup_at(const ConsoleState& state, int popup_position) {
  if (state.main_menu == nullptr) return nullptr;
  QAction* entry = at_position(state.main_menu->actions(), popup_position);
  return entry != nullptr ? entry->menu() : nullptr;
}

void apply_flags(QAction& item, int flags) {
  if (flags & (kMenuGrayed | kMenuDisabled)) item.setEnabled(false);
  if (flags & kMenuChecked) {
    item.setCheckable(true);
    item.setChecked(true);
  }
}

// A new item with an id and a handler, in front of before (null: at the end).
int add_item(ConsoleState& state, QMenu& popup, QAction* before, int flags, const char* label,
             MenuHandler handler, int label_length) {
  if (flags & kMenuSeparator) {
    QAction* separator = popup.insertSeparator(before);
    return separator != nullptr ? 1 : 0;
  }
  QAction* item = state.frame_window->add_program_item(popup, label_text(label, label_length),
                                                       std::move(handler), before);
  if (item == nullptr) return 0;
  apply_flags(*item, flags);
  return 1;
}

}  // namespace

int append_menu_item(ConsoleState& state, int popup_position, int flags, const char* label,
                     MenuHandler handler, int label_length) {
  if (body_thread_calling(state) != nullptr) {
    int result = 0;
    on_window_thread(state, [&] {
      result = append_menu_item(state, popup_position, flags, label, std::move(handler), label_length);
    });
    return result;
  }
  QMenu* popup = popup_at(state, popup_position);
  if (popup == nullptr || state.frame_window == nullptr) return 0;
  return add_item(state, *popup, nullptr, flags, label, std::move(handler), label_length);
}

int insert_menu_item(ConsoleState& state, int popup_position, int item_position, int& flags, const char* label,
                     MenuHandler handler, int label_length) {
  if (body_thread_calling(state) != nullptr) {
    int result = 0;
    on_window_thread(state, [&] {
      result = insert_menu_item(state, popup_position, item_position, flags, label, std::move(handler), label_length);
    });
    return result;
  }
  if (state.main_menu == nullptr || state.frame_window == nullptr) return 0;
  if (item_position == 0) {
    flags |= kMenuPopup | kMenuByPosition;
    auto* popup = new QMenu(label_text(label, label_length), state.main_menu);
    QAction* before = at_position(state.main_menu->actions(), popup_position);
    state.main_menu->insertMenu(before, popup);
    return 1;
  }
  QMenu* popup = popup_at(state, popup_position);
  if (popup == nullptr) return 0;
  QAction* before = at_position(popup->actions(), item_position);
  if (before == nullptr) return 0;
  return add_item(state, *popup, before, flags, label, std::move(handler), label_length);
}

int check_menu_item(ConsoleState& state, int popup_position, int item_position, int& check_flags) {
  if (body_thread_calling(state) != nullptr) {
    int result = 0;
    on_window_thread(state, [&] { result = check_menu_item(state, popup_position, item_position, check_flags); });
    return result;
  }
  check_flags |= kMenuByPosition;
  QMenu* popup = popup_at(state, popup_position);
  QAction* item = popup != nullptr ? at_position(popup->actions(), item_position) : nullptr;
  if (item == nullptr) return -1;
  int previous = item->isChecked() ? kMenuChecked : 0;
  item->setCheckable(true);
  item->setChecked((check_flags & kMenuChecked) != 0);
  return previous;
}

void delete_menu_item(ConsoleState& state, int popup_position, int item_position) {
  if (body_thread_calling(state) != nullptr) {
    on_window_thread(state, [&] { delete_menu_item(state, popup_position, item_position); });
    return;
  }
  if (item_position == 0) return;
  QMenu* popup = popup_at(state, popup_position);
  QAction* item = popup != nullptr ? at_position(popup->actions(), item_position) : nullptr;
  if (item == nullptr) return;
  popup->removeAction(item);
  item->deleteLater();
}

}  // namespace console::qt

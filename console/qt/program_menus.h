#pragma once
// Menu items a program body adds to the frame's menus, each with a handler
// that the frame calls with the item's check state. Popup and item
// positions are 1-based.
#include <string_view>

#include "console/qt/console_state.h"

namespace console::qt {

// The menu flags a program passes, as the frame's menus understand them;
// other bits are carried along and ignored.
inline constexpr int kMenuGrayed = 0x0001;
inline constexpr int kMenuDisabled = 0x0002;
inline constexpr int kMenuChecked = 0x0008;
inline constexpr int kMenuPopup = 0x0010;
inline constexpr int kMenuByPosition = 0x0400;
inline constexpr int kMenuSeparator = 0x0800;

// Appends an item with the next program command id to the popup: 1 on
// success, 0 when there is no such popup or no id is left (ids end at
// 1299). The label is label[0 .. label_length) without trailing blanks,
// at most 1024 characters considered and 511 kept.
int append_menu_item(ConsoleState& state, int popup_position, int flags, const char* label,
                     MenuHandler handler, int label_length);
// The same in front of the item at item_position. With item_position 0,
// a new empty popup with the label goes on the menu bar at popup_position
// (no id is used), and the popup and by-position flags are added to flags.
int insert_menu_item(ConsoleState& state, int popup_position, int item_position, int& flags, const char* label,
                     MenuHandler handler, int label_length);
// Sets or clears the check mark of an item; the by-position flag is added
// to check_flags. Returns the previous state (kMenuChecked or 0), or -1
// when there is no such item.
int check_menu_item(ConsoleState& state, int popup_position, int item_position, int& check_flags);
// Removes an item; its handler entry stays. Item position 0 does nothing.
void delete_menu_item(ConsoleState& state, int popup_position, int item_position);

}  // namespace console::qt

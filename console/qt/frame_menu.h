#pragma once
// The frame's menu bar: File, Edit and Window with their fixed command ids
// and shortcuts. Every item carries its id as data, so that choosing it, by
// mouse or by shortcut, comes to one dispatch by id. A disabled item's
// shortcut does nothing, which is what keeps Undo, and Cut, Copy and Paste
// until they are enabled, from acting.
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QString;

namespace console::qt {

enum Command : int {
  kSave = 500,
  kSaveAs = 501,
  kPrint = 510,
  kAbout = 520,
  kExit = 530,
  kUndo = 600,
  kCut = 610,
  kCopy = 611,
  kPaste = 612,
  kDelete = 613,
  kTile = 700,
  kCascade = 701,
  kArrangeIcons = 702,
};

// Ids given to the Window menu's list of child windows, in their order.
inline constexpr int kFirstChildCommand = 100;

struct MainMenu {
  QMenu* file = nullptr;
  QMenu* edit = nullptr;
  QMenu* window = nullptr;
};

// Fills the bar; each item's choice is handed to dispatch with its id.
MainMenu build_main_menu(QMenuBar& bar, const std::function<void(QAction&)>& dispatch);

// Adds an item with a command id to a popup, handing its choice to dispatch.
QAction* add_command_item(QMenu& popup, const QString& label, int id, const std::function<void(QAction&)>& dispatch);

int command_id_of(const QAction& action);
// The item with the id anywhere in the bar; null when there is none.
QAction* find_command(const QMenuBar* bar, int id);
void set_command_enabled(const QMenuBar* bar, int id, bool enabled);

}  // namespace console::qt

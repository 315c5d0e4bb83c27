#include "console/qt/frame_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace console::qt {

namespace {

struct Item {
  const char* label;  // null: a separator
  int id;
  bool enabled;
  QKeyCombination shortcut;
};

constexpr QKeyCombination kNoShortcut{};

// The text after a tab in a label is the shortcut text Qt shows.
const Item kFileItems[] = {
    {"&Save", kSave, true, kNoShortcut},     {"Save As...", kSaveAs, true, kNoShortcut},
    {nullptr, 0, false, kNoShortcut},        {"Print...", kPrint, true, kNoShortcut},
    {nullptr, 0, false, kNoShortcut},        {"&About...", kAbout, true, kNoShortcut},
    {nullptr, 0, false, kNoShortcut},        {"E&xit", kExit, true, kNoShortcut},
};

const Item kEditItems[] = {
    {"&Undo\tCtrl+Z", kUndo, false, Qt::CTRL | Qt::Key_Z},
    {nullptr, 0, false, kNoShortcut},
    {"Cu&t\tCtrl+X", kCut, false, Qt::CTRL | Qt::Key_X},
    {"&Copy\tCtrl+C", kCopy, false, Qt::CTRL | Qt::Key_C},
    {"&Paste\tCtrl+V", kPaste, false, Qt::CTRL | Qt::Key_V},
    {"De&lete", kDelete, false, kNoShortcut},
};

const Item kWindowItems[] = {
    {"&Cascade\tShift+F5", kCascade, true, Qt::SHIFT | Qt::Key_F5},
    {"&Tile\tShift+F4", kTile, true, Qt::SHIFT | Qt::Key_F4},
    {"&Arrange Icons", kArrangeIcons, true, kNoShortcut},
};

template <std::size_t n>
QMenu* add_popup(QMenuBar& bar, const char* title, const Item (&items)[n],
                 const std::function<void(QAction&)>& dispatch) {
  QMenu* popup = bar.addMenu(QString::fromLatin1(title));
  for (const Item& item : items) {
    if (item.label == nullptr) {
      popup->addSeparator();
      continue;
    }
    QAction* action = add_command_item(*popup, QString::fromLatin1(item.label), item.id, dispatch);
    action->setEnabled(item.enabled);
    if (item.shortcut != kNoShortcut) action->setShortcut(QKeySequence(item.shortcut));
  }
  return popup;
}

}  // namespace

QAction* add_command_item(QMenu& popup, const QString& label, int id, const std::function<void(QAction&)>& dispatch) {
  QAction* action = popup.addAction(label);
  action->setData(id);
  QObject::connect(action, &QAction::triggered, action, [action, dispatch] { dispatch(*action); });
  return action;
}

MainMenu build_main_menu(QMenuBar& bar, const std::function<void(QAction&)>& dispatch) {
  MainMenu menu;
  menu.file = add_popup(bar, "&File", kFileItems, dispatch);
  menu.edit = add_popup(bar, "&Edit", kEditItems, dispatch);
  menu.window = add_popup(bar, "&Window", kWindowItems, dispatch);
  return menu;
}

int command_id_of(const QAction& action) {
  bool ok = false;
  int id = action.data().toInt(&ok);
  return ok ? id : 0;
}

QAction* find_command(const QMenuBar* bar, int id) {
  if (bar == nullptr) return nullptr;
  for (QAction* top : bar->actions()) {
    if (top->menu() == nullptr) continue;
    for (QAction* action : top->menu()->actions()) {
      if (!action->isSeparator() && command_id_of(*action) == id) return action;
    }
  }
  return nullptr;
}

void set_command_enabled(const QMenuBar* bar, int id, bool enabled) {
  if (QAction* action = find_command(bar, id)) action->setEnabled(enabled);
}

}  // namespace console::qt

#include "console/qt/frame_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimerEvent>
#include <new>

#include "console/qt/about_box.h"
#include "console/qt/body_thread.h"
#include "console/qt/frame_menu.h"
#include "console/qt/io_widget.h"
#include "rio/rio.h"

namespace console::qt {

namespace {

constexpr QPoint kIoWindowPlace{15, 15};
constexpr QSize kIoWindowSize{600, 300};
// The size a child window was opened with, which Cascade gives back to it.
constexpr const char* kOpeningSize = "opening_size";

// The Input/Output window lives as long as the frame: only the frame's own
// close takes it along.
class CloseGuard : public QObject {
 public:
  CloseGuard(const ConsoleState& state, QObject* parent) : QObject(parent), state_(state) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close && state_.closing == 0) {
      event->ignore();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  const ConsoleState& state_;
};

// A close holds the program body where it is from the save prompt until
// the close is decided: after Yes or No the body stops there, having
// written nothing more (a results file not yet in place is left out);
// after Cancel it goes on as if nothing had happened.
class BodyHold {
 public:
  explicit BodyHold(const ConsoleState& state) : body_(state.body_thread) {
    if (body_ != nullptr) body_->hold();
  }
  ~BodyHold() {
    if (body_ != nullptr) body_->release_hold();
  }
  BodyHold(const BodyHold&) = delete;
  BodyHold& operator=(const BodyHold&) = delete;

 private:
  BodyThread* body_;
};

void gray_close_item(QMdiSubWindow& child) {
  if (QMenu* menu = child.systemMenu()) {
    for (QAction* action : menu->actions()) {
      if (action->shortcut() == QKeySequence(QKeySequence::Close)) action->setEnabled(false);
    }
  }
}

FrameHooks with_defaults(FrameHooks hooks) {
  if (!hooks.finish_program) hooks.finish_program = [] { rio::io_finish(); };
  if (!hooks.run_message_box) hooks.run_message_box = [](QMessageBox& box) { return box.exec(); };
  if (!hooks.run_dialog) hooks.run_dialog = [](QDialog& dialog) { return dialog.exec(); };
  return hooks;
}

// The children stepped down from the top-left corner, each at the size it
// was opened with as far as the client area allows; Qt's own cascade would
// shrink them to their smallest useful size.
void cascade_child_windows(QMdiArea& client) {
  client.cascadeSubWindows();
  const QSize area = client.viewport()->size();
  for (QMdiSubWindow* child : client.subWindowList()) {
    if (child->isMinimized() || child->isMaximized()) continue;
    QSize opening = child->property(kOpeningSize).toSize();
    if (!opening.isValid()) continue;
    QSize room(area.width() - child->x(), area.height() - child->y());
    child->resize(opening.boundedTo(room).expandedTo(child->minimumSizeHint()));
  }
}

}  // namespace

FrameWindow::FrameWindow(ConsoleState& state, FrameServices* services, FrameHooks hooks)
    : state_(state), services_(services), hooks_(with_defaults(std::move(hooks))) {
  auto* client = new QMdiArea(this);
  // Child windows moved beyond the client area stay reachable.
  client->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  client->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(client);
  MainMenu menu = build_main_menu(*menuBar(), [this](QAction& action) { choose(action); });
  connect(menu.window, &QMenu::aboutToShow, this, &FrameWindow::list_child_windows);
  state_.frame_window = this;
  state_.mdi_client = client;
  state_.main_menu = menuBar();
  state_.window_menu = menu.window;
}

FrameWindow::~FrameWindow() {
  if (state_.frame_window != this) return;
  state_.frame_window = nullptr;
  state_.mdi_client = nullptr;
  state_.io_window = nullptr;
  state_.io_widget = nullptr;
  state_.main_menu = nullptr;
  state_.window_menu = nullptr;
}

IoWidget* FrameWindow::open_io_window() {
  IoWidget* widget;
  try {
    widget = new IoWidget(state_);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  QMdiSubWindow* child = open_child_window(widget, QStringLiteral("Input/Output"), QRect(kIoWindowPlace, kIoWindowSize));
  if (child == nullptr) return nullptr;
  widget->setFocus();
  state_.io_window = child;
  state_.io_widget = widget;
  return widget;
}

QMdiSubWindow* FrameWindow::open_child_window(QWidget* contents, const QString& title, const QRect& geometry) {
  try {
    QMdiSubWindow* child = state_.mdi_client->addSubWindow(
        contents, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowMinMaxButtonsHint);
    child->setWindowTitle(title);
    child->setGeometry(geometry);
    child->setProperty(kOpeningSize, geometry.size());
    child->installEventFilter(new CloseGuard(state_, child));
    gray_close_item(*child);
    child->show();
    return child;
  } catch (const std::bad_alloc&) {
    delete contents;
    return nullptr;
  }
}

QAction* FrameWindow::command_action(int id) const { return find_command(menuBar(), id); }

// Choosing a menu item never changes its check mark: that is the program's
// to set. Qt flips a checkable item on its way here, so the flip is undone.
void FrameWindow::choose(QAction& action) {
  if (action.isCheckable()) action.setChecked(!action.isChecked());
  dispatch_command(command_id_of(action));
}

void FrameWindow::dispatch_command(int id) {
  switch (id) {
    case kSave: save(true); return;
    case kSaveAs: save_as(true); return;
    case kPrint:
      if (services_ != nullptr) services_->print_window_text(this);
      return;
    case kAbout: show_about_box(); return;
    case kExit: exit_command(); return;
    case kCut:
      if (services_ != nullptr) copy_to_clipboard(services_->cut_selection());
      break;
    case kCopy:
      if (services_ != nullptr) copy_to_clipboard(services_->copy_selection());
      break;
    case kPaste:
      if (services_ != nullptr) services_->paste_clipboard();
      break;
    case kDelete:
      if (services_ != nullptr) services_->delete_selection();
      break;
    default: run_program_item(id); break;
  }
  default_frame_command(id);
}

// Paste stays grayed until this run has put something on the clipboard.
void FrameWindow::copy_to_clipboard(int result) {
  if (result == 1) set_command_enabled(menuBar(), kPaste, true);
}

bool FrameWindow::save(bool retitle) {
  if (services_ == nullptr) return false;
  if (state_.file_name.empty()) return save_as(retitle);
  services_->save_window_text(state_.file_name);
  return true;
}

bool FrameWindow::save_as(bool retitle) {
  if (services_ == nullptr || !services_->choose_save_file(state_.file_name, state_.file_title)) return false;
  if (retitle && state_.io_window != nullptr) {
    state_.io_window->setWindowTitle(QString::fromLocal8Bit(state_.file_title));
  }
  services_->save_window_text(state_.file_name);
  return true;
}

void FrameWindow::show_about_box() {
  std::unique_ptr<QDialog> box = make_about_box(read_system_information(), this);
  hooks_.run_dialog(*box);
}

void FrameWindow::run_program_item(int id) {
  if (id < kFirstProgramCommand || id >= state_.next_menu_command || id > kLastProgramCommand) return;
  const MenuHandler& handler = state_.menu_handlers[static_cast<std::size_t>(id - kFirstProgramCommand + 1)];
  if (!handler) return;
  QAction* item = command_action(id);
  std::int32_t checked = item != nullptr && item->isChecked() ? 1 : 0;
  handler(checked);
}

QAction* FrameWindow::add_program_item(QMenu& popup, const QString& label, MenuHandler handler,
                                       QAction* before) {
  if (state_.next_menu_command > kLastProgramCommand) return nullptr;
  int id = state_.next_menu_command++;
  state_.menu_handlers[static_cast<std::size_t>(id - kFirstProgramCommand + 1)] = std::move(handler);
  QAction* item = add_command_item(popup, label, id, [this](QAction& action) { choose(action); });
  if (before != nullptr) {
    popup.removeAction(item);
    popup.insertAction(before, item);
  }
  return item;
}

bool FrameWindow::dispatch_timer(int timer_id) {
  for (const TimerSlot& slot : state_.timer_slots) {
    if (slot.timer_id == timer_id && slot.handler) {
      slot.handler();
      return true;
    }
  }
  return false;
}

void FrameWindow::timerEvent(QTimerEvent* event) {
  if (!dispatch_timer(event->timerId())) QMainWindow::timerEvent(event);
}

// What the platform's own frame does with the commands it is handed: the
// Window menu's arrangements and its list of child windows.
void FrameWindow::default_frame_command(int id) {
  QMdiArea* client = state_.mdi_client;
  if (client == nullptr) return;
  if (id == kTile) client->tileSubWindows();
  if (id == kCascade) cascade_child_windows(*client);
  QList<QMdiSubWindow*> children = client->subWindowList();
  qsizetype index = id - kFirstChildCommand;
  if (index >= 0 && index < children.size()) client->setActiveSubWindow(children[index]);
}

void FrameWindow::list_child_windows() {
  for (QAction* item : child_items_) delete item;
  child_items_.clear();
  QMdiArea* client = state_.mdi_client;
  QList<QMdiSubWindow*> children = client->subWindowList();
  if (children.isEmpty()) return;
  child_items_.append(state_.window_menu->addSeparator());
  for (qsizetype i = 0; i < children.size(); ++i) {
    QString label = QStringLiteral("&%1 %2").arg(i + 1).arg(children[i]->windowTitle());
    QAction* item = add_command_item(*state_.window_menu, label, kFirstChildCommand + static_cast<int>(i),
                                     [this](QAction& action) { choose(action); });
    item->setCheckable(true);
    item->setChecked(children[i] == client->activeSubWindow());
    child_items_.append(item);
  }
}

int FrameWindow::ask_save_on_exit(QWidget* owner) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("TOLM"), QStringLiteral("Save the Input/Output window?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
  int answer = hooks_.run_message_box(box);
  if (answer == QMessageBox::Yes) {
    // A cancelled file dialog still lets the window close; a save that was
    // tried and failed (its message has been shown) keeps it open, so that
    // the text is not lost. The title is not worth changing on the way out.
    bool tried = save(false);
    return !tried || state_.text_unchanged != 0 ? 1 : 0;
  }
  return answer == QMessageBox::No ? 1 : 0;
}

bool FrameWindow::may_close() { return state_.text_unchanged != 0 || ask_save_on_exit(this) != 0; }

void FrameWindow::destroyed_frame() { state_.quit_received = true; }

void FrameWindow::exit_command() {
  BodyHold hold(state_);
  if (!may_close()) return;
  state_.closing = 1;
  close();
  // A body still running, say waiting for an answer, ends here: its files
  // are flushed and closed.
  if (state_.program_finished == 0) hooks_.finish_program();
}

void FrameWindow::closeEvent(QCloseEvent* event) {
  BodyHold hold(state_);
  if (state_.closing == 0 && !may_close()) {
    event->ignore();
    return;
  }
  event->accept();
  destroyed_frame();
  if (state_.closing != 0) return;
  state_.closing = 1;
  if (state_.program_finished == 0) hooks_.finish_program();
}

}  // namespace console::qt

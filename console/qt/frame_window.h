#pragma once
// The frame window: the menu bar, the MDI client that holds the child
// windows, the dispatch of menu commands by id, and the close sequence with
// its save prompt.
#include <QMainWindow>
#include <functional>

#include "console/qt/console_state.h"
#include "console/qt/frame_services.h"

class QAction;
class QDialog;
class QMessageBox;

namespace console::qt {

// What the frame does beyond itself, replaceable so that tests can answer
// the modal dialogs and see the end of the program instead of living it.
struct FrameHooks {
  // The runtime's end-of-program shutdown, for a close while the program
  // body still runs. Unset: the runtime's own, which ends the process.
  std::function<void()> finish_program;
  // The end of the process once the body has reached the exit hook and the
  // frame is gone, on the window thread, with the hook's code. Unset: the
  // runtime's exit. One that returns lets the exit hook return.
  std::function<void(int code)> end_process;
  // Runs a modal message box or dialog and returns its result. Unset: exec.
  std::function<int(QMessageBox&)> run_message_box;
  std::function<int(QDialog&)> run_dialog;
};

class FrameWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the menus and the MDI client and records them in the state.
  // Without services, Save, Print and the edit commands do nothing.
  FrameWindow(ConsoleState& state, FrameServices* services, FrameHooks hooks = {});

  ~FrameWindow() override;

  void set_services(FrameServices* services) { services_ = services; }
  FrameServices* services() const { return services_; }

  // The Input/Output child window, made by the MDI client and recorded in
  // the state; null when it could not be made.
  IoWidget* open_io_window();
  // A child window of the MDI client holding contents, which it owns; it
  // lives as long as the frame, its Close item grayed. Null when it could
  // not be made.
  QMdiSubWindow* open_child_window(QWidget* contents, const QString& title, const QRect& geometry);

  // One menu command, as chosen from the menu or by its shortcut.
  void dispatch_command(int id);
  // The timer of a program-defined slot fired: true when a slot took it.
  bool dispatch_timer(int timer_id);
  // A program-defined item at the end of the popup, with the next free id;
  // null when all ids are taken.
  // With before, the item goes in front of that one instead.
  QAction* add_program_item(QMenu& popup, const QString& label, MenuHandler handler,
                            QAction* before = nullptr);

  // The exit prompt: 0 when the user cancelled, or chose to save and the
  // save failed; 1 when closing may go on.
  int ask_save_on_exit(QWidget* owner);

  QAction* command_action(int id) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void choose(QAction& action);
  // Both return whether a file was written to, or tried: false when no
  // name was chosen.
  bool save(bool retitle);
  bool save_as(bool retitle);
  void show_about_box();
  void copy_to_clipboard(int result);
  void run_program_item(int id);
  void default_frame_command(int id);
  void list_child_windows();
  // The close sequence of the Exit command; a close event runs its own.
  void exit_command();
  bool may_close();
  void destroyed_frame();

  ConsoleState& state_;
  FrameServices* services_;
  FrameHooks hooks_;
  QList<QAction*> child_items_;
};

}  // namespace console::qt

#include "console/qt/computation_progress.h"

#include <QApplication>
#include <QCursor>
#include <QStatusBar>

#include "console/qt/body_thread.h"
#include "console/qt/frame_window.h"
#include "console/qt/message_pump.h"

namespace console::qt {

QString computation_progress_text(int done, int total, ComputationLabel label) {
  long long percent = total > 0 ? 100LL * done / total : 100;
  return QStringLiteral("%1: %2% (%3 of the %4 levels of dendrogram %5 below its top)")
      .arg(QString::fromLatin1(label.activity))
      .arg(percent)
      .arg(done)
      .arg(total)
      .arg(label.dendrogram);
}

void show_computation_progress(ConsoleState& state, int done, int total, ComputationLabel label) {
  if (done >= total) {
    end_computation_display(state);
    return;
  }
  if (!state.computing) {
    state.computing = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
  }
  if (state.frame_window != nullptr) {
    QStatusBar* bar = state.frame_window->statusBar();
    bar->showMessage(computation_progress_text(done, total, label));
    // A status bar made for a window already shown appears only once the
    // layout gets round to it; shown here, it is there with its message.
    bar->show();
  }
}

void end_computation_display(ConsoleState& state) {
  if (!state.computing) return;
  state.computing = false;
  QApplication::restoreOverrideCursor();
  // The frame had no status line before; an empty one would stay as a
  // blank strip under the child windows.
  if (state.frame_window != nullptr) state.frame_window->setStatusBar(nullptr);
}

bool report_computation(ConsoleState& state, int done, int total) {
  BodyThread* body = state.body_thread;
  if (body == nullptr || !body->on_body_thread()) {
    // A body on the window thread is served only here.
    show_computation_progress(state, done, total);
    pump_pending_messages();
    return true;
  }
  body->post_to_window_thread([&state, done, total] { show_computation_progress(state, done, total); });
  return body->continue_computation();
}

}  // namespace console::qt

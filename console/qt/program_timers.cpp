#include "console/qt/program_timers.h"

#include <QMessageBox>
#include <QTimer>

#include "console/qt/body_thread.h"
#include "console/qt/frame_window.h"
#include "console/qt/message_pump.h"
#include "rio/rio.h"

namespace console::qt {

namespace {

TimerSlot* free_slot(ConsoleState& state) {
  for (TimerSlot& slot : state.timer_slots)
    if (slot.timer_id == 0 && !slot.handler && slot.platform_timer == nullptr) return &slot;
  return nullptr;
}

bool ask_to_go_on_without_timers(PaceHooks& hooks) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("TOLM"), QStringLiteral("No timers available. Continue?"),
                  QMessageBox::Yes | QMessageBox::No);
  int answer = hooks.run_message_box ? hooks.run_message_box(box) : box.exec();
  return answer != QMessageBox::No;
}

}  // namespace

int start_timer(ConsoleState& state, int timer_id, int interval_ms, TimerHandler handler) {
  if (body_thread_calling(state) != nullptr) {
    int result = 0;
    on_window_thread(state, [&] { result = start_timer(state, timer_id, interval_ms, std::move(handler)); });
    return result;
  }
  if (state.frame_window == nullptr || interval_ms < 0) return 0;
  TimerSlot* slot = free_slot(state);
  if (slot == nullptr) return 0;
  FrameWindow* frame = state.frame_window;
  auto* timer = new QTimer(frame);
  QObject::connect(timer, &QTimer::timeout, frame, [frame, timer_id] { frame->dispatch_timer(timer_id); });
  timer->start(interval_ms);
  if (!timer->isActive()) {
    delete timer;
    return 0;
  }
  *slot = TimerSlot{timer_id, std::move(handler), timer};
  return 1;
}

void stop_timer(ConsoleState& state, int timer_id) {
  if (body_thread_calling(state) != nullptr) {
    on_window_thread(state, [&] { stop_timer(state, timer_id); });
    return;
  }
  for (TimerSlot& slot : state.timer_slots) {
    if (slot.timer_id != timer_id || slot.platform_timer == nullptr) continue;
    // A handler may stop its own timer: the timer goes once its signal is over.
    slot.platform_timer->stop();
    slot.platform_timer->deleteLater();
    slot = TimerSlot{};
    return;
  }
}

void pace(ConsoleState& state, PaceHooks hooks) {
  if (body_thread_calling(state) != nullptr) {
    // The timer and the question belong to the window thread; the end of
    // the program, when the user wants it, to the body's.
    bool end_program = false;
    PaceHooks on_window = hooks;
    on_window.finish_program = [&end_program] { end_program = true; };
    on_window_thread(state, [&] { pace(state, on_window); });
    if (!end_program) return;
    if (hooks.finish_program) {
      hooks.finish_program();
    } else {
      rio::io_finish();
    }
    return;
  }
  pump_pending_messages();
  QObject* owner = state.frame_window;
  if (owner == nullptr) {
    if (!ask_to_go_on_without_timers(hooks)) {
      if (hooks.finish_program) hooks.finish_program();
      else rio::io_finish();
      return;
    }
  } else {
    std::int32_t* fired = &state.pacing.timer_fired;
    QTimer::singleShot(state.pacing.delay_ms, Qt::PreciseTimer, owner, [fired] { *fired = 1; });
  }
  state.pacing.timer_fired = 0;
}

}  // namespace console::qt

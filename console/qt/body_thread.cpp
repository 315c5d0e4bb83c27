#include "console/qt/body_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <utility>

#include "console/qt/console_state.h"
#include "rio/platform.h"

namespace console::qt {

BodyThread::BodyThread(ConsoleState& state, std::function<void()> body, std::function<void()> finish_program,
                       std::function<void(int)> end_process)
    : state_(state),
      body_(std::move(body)),
      finish_program_(std::move(finish_program)),
      end_process_(end_process ? std::move(end_process) : [](int code) { rio::platform::exit_process(code); }) {}

BodyThread::~BodyThread() {
  if (thread_.joinable()) thread_.join();
}

bool BodyThread::on_body_thread() const { return std::this_thread::get_id() == body_thread_id_; }

bool BodyThread::body_may_end() const {
  if (returned_) return true;
  return at_exit_ && (state_.quit_received || state_.frame_window == nullptr);
}

void BodyThread::run() {
  thread_ = std::thread([this] {
    body_thread_id_ = std::this_thread::get_id();
    body_();
    finish_program_();
    returned_ = true;
    wake_window_thread();
  });
  while (!body_may_end()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  window_thread_left_ = true;
  // Qt's global objects are torn down by the exit, and some of them (the
  // pixmap cache with its timer, for one) belong to this thread: the exit
  // runs here, the body staying parked in its exit hook.
  if (at_exit_ && !returned_) end_process_(exit_code_);
  {
    std::lock_guard lock(mutex_);
    released_ = true;
  }
  release_.notify_all();
  thread_.join();
}

void BodyThread::wake_window_thread() { post_to_window_thread([] {}); }

void BodyThread::run_on_window_thread(const std::function<void()>& work) {
  if (!on_body_thread() || window_thread_left_ || QCoreApplication::instance() == nullptr) {
    work();
    return;
  }
  wait_while_held();
  QMetaObject::invokeMethod(QCoreApplication::instance(), work, Qt::BlockingQueuedConnection);
}

void BodyThread::post_to_window_thread(std::function<void()> work) {
  if (QCoreApplication::instance() == nullptr) return;
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

void BodyThread::request_finish() {
  finish_requested_ = true;
  wake_window_thread();
}

void BodyThread::hold() {
  std::lock_guard lock(mutex_);
  ++holds_;
}

void BodyThread::release_hold() {
  {
    std::lock_guard lock(mutex_);
    if (holds_ > 0) --holds_;
  }
  hold_released_.notify_all();
}

void BodyThread::wait_while_held() {
  std::unique_lock lock(mutex_);
  hold_released_.wait(lock, [this] { return holds_ == 0; });
}

void BodyThread::finish_if_requested() {
  wait_while_held();
  if (!finish_requested_ || finishing_.exchange(true)) return;
  finish_program_();
}

bool BodyThread::continue_computation() {
  wait_while_held();
  if (finish_requested_) {
    finishing_ = true;
    return false;
  }
  return true;
}

void BodyThread::wait_at_exit(int code) {
  exit_code_ = code;
  at_exit_ = true;
  wake_window_thread();
  // In a real run the window thread ends the process meanwhile.
  std::unique_lock lock(mutex_);
  release_.wait(lock, [this] { return released_; });
}

BodyThread* body_thread_calling(const ConsoleState& state) {
  BodyThread* body = state.body_thread;
  return body != nullptr && body->on_body_thread() ? body : nullptr;
}

void on_window_thread(const ConsoleState& state, const std::function<void()>& work) {
  if (BodyThread* body = body_thread_calling(state)) {
    body->run_on_window_thread(work);
  } else {
    work();
  }
}

}  // namespace console::qt

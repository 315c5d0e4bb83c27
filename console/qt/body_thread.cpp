#include "console/qt/body_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <utility>

#include "console/qt/console_state.h"

namespace console::qt {

BodyThread::BodyThread(ConsoleState& state, std::function<void()> body, std::function<void()> finish_program)
    : state_(state), body_(std::move(body)), finish_program_(std::move(finish_program)) {}

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
  {
    std::lock_guard lock(mutex_);
    released_ = true;
  }
  release_.notify_all();
  // The body thread now ends the process in the runtime's exit, with this
  // thread parked here, touching nothing.
  thread_.join();
}

void BodyThread::wake_window_thread() { post_to_window_thread([] {}); }

void BodyThread::run_on_window_thread(const std::function<void()>& work) {
  if (!on_body_thread() || released_ || QCoreApplication::instance() == nullptr) {
    work();
    return;
  }
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

void BodyThread::finish_if_requested(bool at_any_point) {
  if (!finish_requested_ || (computation_complete_ && !at_any_point)) return;
  if (finishing_.exchange(true)) return;
  finish_program_();
}

bool BodyThread::continue_computation(int done, int total) {
  if (finish_requested_) {
    finishing_ = true;
    return false;
  }
  if (done >= total) computation_complete_ = true;
  return true;
}

void BodyThread::wait_at_exit() {
  at_exit_ = true;
  wake_window_thread();
  std::unique_lock lock(mutex_);
  release_.wait(lock, [this] { return released_.load(); });
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

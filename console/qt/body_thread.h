#pragma once
// The program body on a thread of its own, so that the windows stay served
// while it computes. The body's console hooks hand their work to the window
// thread and wait for it there, so every line arrives whole and in order. A
// close of the frame while the body runs reaches the body at its next hook
// call or progress report, where the runtime's shutdown ends it; while the
// close's save prompt is up the body waits there, so that nothing it does
// meanwhile (its results file above all) outruns the user's answer. The
// process ends on the window thread, where Qt's objects live.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace console::qt {

struct ConsoleState;

class BodyThread {
 public:
  // finish_program is the runtime's end-of-program shutdown; the body
  // thread runs it after a body that returns, and when a close asks for it.
  // end_process ends the process with the exit hook's code, on the window
  // thread; unset: the runtime's own exit. One that returns lets the exit
  // hook return.
  BodyThread(ConsoleState& state, std::function<void()> body, std::function<void()> finish_program,
             std::function<void(int code)> end_process = {});
  ~BodyThread();
  BodyThread(const BodyThread&) = delete;
  BodyThread& operator=(const BodyThread&) = delete;

  // Window thread: starts the body and serves the windows until the body
  // has returned, or has reached the exit hook and the frame is gone; then
  // ends the process for a body at the exit hook, with the hook's code.
  // Returns once the body thread has ended.
  void run();

  bool on_body_thread() const;

  // Runs work on the window thread and waits for it; on the window thread
  // itself, or once the window thread only waits for the body, at once.
  void run_on_window_thread(const std::function<void()>& work);
  // Hands work to the window thread without waiting for it.
  void post_to_window_thread(std::function<void()> work);

  // Window thread: the frame has closed while the body runs.
  void request_finish();
  // Window thread: the body waits at its next hook call or progress report
  // until every hold is released. Holds nest.
  void hold();
  void release_hold();

  // Body thread. Waits while held; then ends the program through the
  // shutdown when a close asked for it, wherever the body is: a results
  // file not yet in place is left out.
  void finish_if_requested();
  // A progress report of the computation, waiting while held: false once a
  // close asked for the end, so that the computation stops there and ends
  // the program itself.
  bool continue_computation();
  // The exit hook's wait: the window thread ends the process with this
  // code once the frame is gone.
  void wait_at_exit(int code);

 private:
  bool body_may_end() const;
  void wake_window_thread();
  void wait_while_held();

  ConsoleState& state_;
  std::function<void()> body_;
  std::function<void()> finish_program_;
  std::function<void(int)> end_process_;
  std::thread thread_;
  std::atomic<std::thread::id> body_thread_id_;
  std::atomic<bool> finish_requested_{false};
  std::atomic<bool> finishing_{false};
  std::atomic<bool> returned_{false};
  std::atomic<bool> at_exit_{false};
  std::atomic<int> exit_code_{0};
  // The window thread serves no more events: work for it runs at once.
  std::atomic<bool> window_thread_left_{false};
  std::mutex mutex_;
  int holds_ = 0;         // guarded by mutex_
  bool released_ = false;  // the exit hook may return; guarded by mutex_
  std::condition_variable hold_released_;
  std::condition_variable release_;
};

// The body's thread when called on it; null on the window thread, and
// while no body runs on a thread of its own.
BodyThread* body_thread_calling(const ConsoleState& state);

// Runs work where the windows live: at once on the window thread, else
// handed to it, the caller waiting. For the services a program body calls.
void on_window_thread(const ConsoleState& state, const std::function<void()>& work);

}  // namespace console::qt

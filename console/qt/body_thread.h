#pragma once
// The program body on a thread of its own, so that the windows stay served
// while it computes. The body's console hooks hand their work to the window
// thread and wait for it there, so every line arrives whole and in order. A
// close of the frame while the body runs reaches the body at its next hook
// call or progress report, where the runtime's shutdown ends it.
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
  BodyThread(ConsoleState& state, std::function<void()> body, std::function<void()> finish_program);
  ~BodyThread();
  BodyThread(const BodyThread&) = delete;
  BodyThread& operator=(const BodyThread&) = delete;

  // Window thread: starts the body and serves the windows until the body
  // has returned, or has reached the exit hook and the frame is gone. Then
  // waits for the body thread to end: in a real run the process ends on it.
  void run();

  bool on_body_thread() const;

  // Runs work on the window thread and waits for it; on the window thread
  // itself, or once the window thread only waits for the body, at once.
  void run_on_window_thread(const std::function<void()>& work);
  // Hands work to the window thread without waiting for it.
  void post_to_window_thread(std::function<void()> work);

  // Window thread: the frame has closed while the body runs.
  void request_finish();

  // Body thread. Ends the program through the shutdown when a close asked
  // for it. Once the computation is complete its results are written, not
  // cut short, unless at_any_point.
  void finish_if_requested(bool at_any_point);
  // A progress report of the computation: false once a close asked for the
  // end, so that the computation stops there and ends the program itself.
  bool continue_computation(int done, int total);
  // The exit hook's wait: until the frame is gone.
  void wait_at_exit();

 private:
  bool body_may_end() const;
  void wake_window_thread();

  ConsoleState& state_;
  std::function<void()> body_;
  std::function<void()> finish_program_;
  std::thread thread_;
  std::atomic<std::thread::id> body_thread_id_;
  std::atomic<bool> finish_requested_{false};
  std::atomic<bool> finishing_{false};
  std::atomic<bool> computation_complete_{false};
  std::atomic<bool> returned_{false};
  std::atomic<bool> at_exit_{false};
  std::atomic<bool> released_{false};
  std::mutex mutex_;
  std::condition_variable release_;
};

// The body's thread when called on it; null on the window thread, and
// while no body runs on a thread of its own.
BodyThread* body_thread_calling(const ConsoleState& state);

// Runs work where the windows live: at once on the window thread, else
// handed to it, the caller waiting. For the services a program body calls.
void on_window_thread(const ConsoleState& state, const std::function<void()>& work);

}  // namespace console::qt

#include "engine/exact/parallel_tasks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace compare::exact {

int thread_count(int requested) {
  if (requested > 0) return requested;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

bool run_tasks(int tasks, int threads, const std::function<void(int task, int worker)>& work,
               const TaskProgress& progress) {
  std::atomic<int> next{0}, done{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable all_done;
  const auto worker = [&](int id) {
    while (!stop.load(std::memory_order_relaxed)) {
      const int task = next++;
      if (task >= tasks) break;
      work(task, id);
      if (++done == tasks) {
        std::lock_guard lock(mutex);
        all_done.notify_all();
      }
    }
  };
  const bool watched = static_cast<bool>(progress);
  threads = std::max(1, std::min(threads, std::max(tasks, 1)));
  {
    std::vector<std::jthread> pool;
    for (int id = watched ? 0 : 1; id < threads; ++id) pool.emplace_back(worker, id);
    if (!watched) {
      worker(0);
      return true;
    }
    while (done.load() < tasks) {
      if (!progress(done.load(), tasks)) {
        stop = true;
        return false;  // the pool is joined on the way out
      }
      std::unique_lock lock(mutex);
      all_done.wait_for(lock, std::chrono::milliseconds(50), [&] { return done.load() >= tasks; });
    }
  }
  return progress(tasks, tasks);
}

}  // namespace compare::exact

#pragma once
// Independent tasks handed out one at a time to a few threads, with a view
// of how far they have come that may stop them.
#include <functional>

namespace compare::exact {

// Called on the calling thread about every 50 ms and once at the end with
// the tasks done and their total; false stops the run.
using TaskProgress = std::function<bool(int done, int total)>;

// Runs work(task, worker) for task = 0..tasks-1 on `threads` threads
// (worker = 0..threads-1 tells which one, for scratch of its own). With a
// progress view the calling thread only watches. Returns false when the
// view asked to stop; the tasks not yet started are then left out.
bool run_tasks(int tasks, int threads, const std::function<void(int task, int worker)>& work,
               const TaskProgress& progress);

int thread_count(int requested);

}  // namespace compare::exact

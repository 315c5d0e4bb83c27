#pragma once
// A progress bar on standard error for comparisons that take a while: only
// when standard error is a terminal, only once a second has passed, and
// wiped again at the end so that the terminal shows the report alone.
#include <chrono>
#include <string>

namespace cli {

class ProgressBar {
 public:
  // enabled false (--quiet, or not a terminal) draws nothing.
  explicit ProgressBar(bool enabled);
  ~ProgressBar();
  // A compare::ProgressCallback step: never cancels.
  bool update(int done, int total);

  // The line drawn for done of total after `elapsed` seconds.
  static std::string line(int done, int total, double elapsed_seconds, int width);

 private:
  void clear();
  bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
};

bool standard_error_is_terminal();

}  // namespace cli

#include "app/cli/progress_bar.h"

#include <unistd.h>

#include <cstdio>

namespace cli {
namespace {

constexpr double kQuietSeconds = 1.0;

std::string clock_text(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

bool standard_error_is_terminal() { return ::isatty(STDERR_FILENO) == 1; }

ProgressBar::ProgressBar(bool enabled) : enabled_(enabled), start_(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() { clear(); }

std::string ProgressBar::line(int done, int total, double elapsed, int width) {
  const double fraction = total > 0 ? static_cast<double>(done) / total : 1.0;
  const int filled = static_cast<int>(fraction * width);
  std::string bar = "Comparing [" + std::string(filled, '#') + std::string(width - filled, ' ') + "] ";
  char percent[8];
  std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(fraction * 100));
  bar += percent;
  if (done > 0 && done < total) bar += "  " + clock_text(elapsed * (total - done) / done) + " left";
  return bar;
}

bool ProgressBar::update(int done, int total) {
  if (!enabled_) return true;
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  if (elapsed < kQuietSeconds || done >= total) return true;
  std::fprintf(stderr, "\r%s\033[K", line(done, total, elapsed, 40).c_str());
  std::fflush(stderr);
  drawn_ = true;
  return true;
}

void ProgressBar::clear() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace cli

#include "outputs/pending_removal.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace outputs {
namespace {

// The handler may only read these slots and call unlink: each holds a copy
// of a name made before it is published, and freed only after it is cleared.
std::array<std::atomic<char*>, 256> g_pending{};

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGPIPE};

void remove_pending() {
  for (auto& slot : g_pending)
    if (const char* path = slot.load()) ::unlink(path);
}

extern "C" void remove_pending_and_end(int signal_number) {
  const int saved = errno;
  remove_pending();
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);  // delivered once this handler returns
  errno = saved;
}

void install_handlers() {
  std::atexit(remove_pending);
  for (int signal_number : kSignals) {
    struct sigaction current {};
    if (::sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
        (current.sa_flags & SA_SIGINFO))
      continue;
    struct sigaction action {};
    action.sa_handler = remove_pending_and_end;
    sigemptyset(&action.sa_mask);
    for (int other : kSignals) sigaddset(&action.sa_mask, other);
    ::sigaction(signal_number, &action, nullptr);
  }
}

}  // namespace

int remember_pending(const std::string& path) {
  static std::once_flag installed;
  std::call_once(installed, install_handlers);
  char* copy = ::strdup(path.c_str());
  if (!copy) return -1;
  for (std::size_t i = 0; i < g_pending.size(); ++i) {
    char* empty = nullptr;
    if (g_pending[i].compare_exchange_strong(empty, copy)) return static_cast<int>(i);
  }
  std::free(copy);
  return -1;
}

void forget_pending(int slot) {
  if (slot < 0) return;
  std::free(g_pending[static_cast<std::size_t>(slot)].exchange(nullptr));
}

HoldSignals::HoldSignals() {
  sigset_t held;
  sigemptyset(&held);
  for (int signal_number : kSignals) sigaddset(&held, signal_number);
  ::pthread_sigmask(SIG_BLOCK, &held, &saved_);
}

HoldSignals::~HoldSignals() { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

}  // namespace outputs

#include "rio/support/recording_hooks.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>

#include "rio/rio.h"

namespace rio::test {
namespace {

HookLog g_log;
std::deque<std::string> g_script;
int g_pipe = -1;  // in a child: where every hook event is sent to the parent

void send(char tag, int value, const std::string& bytes) {
  if (g_pipe < 0) return;
  int header[2] = {value, static_cast<int>(bytes.size())};
  [[maybe_unused]] ssize_t a = ::write(g_pipe, &tag, 1);
  [[maybe_unused]] ssize_t b = ::write(g_pipe, header, sizeof header);
  [[maybe_unused]] ssize_t c = ::write(g_pipe, bytes.data(), bytes.size());
}

int read_hook(char* buffer, int max) {
  ++g_log.read_calls;
  if (g_script.empty()) return 0;
  std::string& next = g_script.front();
  int n = std::min(max, static_cast<int>(next.size()));
  std::memcpy(buffer, next.data(), static_cast<std::size_t>(n));
  g_script.pop_front();
  return n;
}

int write_hook(const char* bytes, int* count, int handle) {
  g_log.writes.push_back({std::string(bytes, static_cast<std::size_t>(*count)), handle});
  send('W', handle, g_log.writes.back().bytes);
  return *count;
}

void exit_hook(int code) {
  g_log.exit_codes.push_back(code);
  send('X', code, "");
}

void idle_hook() { ++g_log.idle_calls; }

bool read_exact(int fd, void* into, std::size_t n) {
  char* p = static_cast<char*>(into);
  while (n > 0) {
    ssize_t r = ::read(fd, p, n);
    if (r <= 0) return false;
    p += r;
    n -= static_cast<std::size_t>(r);
  }
  return true;
}

HookLog read_events(int fd) {
  HookLog log;
  char tag;
  int header[2];
  while (read_exact(fd, &tag, 1) && read_exact(fd, header, sizeof header)) {
    std::string bytes(static_cast<std::size_t>(header[1]), '\0');
    if (header[1] > 0 && !read_exact(fd, bytes.data(), bytes.size())) break;
    if (tag == 'W') log.writes.push_back({bytes, header[0]});
    if (tag == 'X') log.exit_codes.push_back(header[0]);
  }
  return log;
}

}  // namespace

void install_recording_hooks() {
  g_log = HookLog{};
  g_script.clear();
  install_console_hooks({read_hook, write_hook, exit_hook, idle_hook});
}

HookLog& hook_log() { return g_log; }

void script_input(std::vector<std::string> deliveries) {
  g_script.assign(deliveries.begin(), deliveries.end());
}

void script_lines(const std::vector<std::string>& lines) {
  std::vector<std::string> deliveries;
  for (const std::string& line : lines) deliveries.push_back(line + "\r\n");
  script_input(std::move(deliveries));
}

std::string written_text(int handle) {
  std::string text;
  for (const WriteCall& call : g_log.writes)
    if (call.handle == handle) text += call.bytes;
  return text;
}

ChildOutcome run_in_child(const std::function<void()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  // Output buffered before the fork would otherwise be written twice.
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    install_recording_hooks();
    g_pipe = fds[1];
    body();
    ::_exit(77);
  }
  ::close(fds[1]);
  ChildOutcome outcome;
  outcome.log = read_events(fds[0]);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) outcome.exit_status = WEXITSTATUS(status);
  return outcome;
}

}  // namespace rio::test

#pragma once
// Console hooks for tests: every write-hook call is recorded with its handle,
// input is served from scripted deliveries, exit and idle calls are counted.
// run_in_child runs a piece of code that ends the process in a forked child
// and brings back what its hooks saw and how it exited.
#include <functional>
#include <string>
#include <vector>

namespace rio::test {

struct WriteCall {
  std::string bytes;
  int handle = 0;
  bool operator==(const WriteCall&) const = default;
};

struct HookLog {
  std::vector<WriteCall> writes;
  std::vector<int> exit_codes;
  int idle_calls = 0;
  int read_calls = 0;
};

// Installs the recording hooks and clears the log and the script.
void install_recording_hooks();
HookLog& hook_log();
// Each string is what one read-hook call delivers (cut to the hook's
// maximum); when the script is used up the hook reports end of file.
void script_input(std::vector<std::string> deliveries);
// Lines typed at the console: each becomes one delivery ending in CR LF.
void script_lines(const std::vector<std::string>& lines);
// The bytes of all write calls on a handle, run together.
std::string written_text(int handle);

struct ChildOutcome {
  int exit_status = -1;  // the child's exit status, -1 if it did not exit
  HookLog log;
};
// Runs body in a forked child with recording hooks installed; body is
// expected to end the process (a return ends the child with status 77).
ChildOutcome run_in_child(const std::function<void()>& body);

}  // namespace rio::test

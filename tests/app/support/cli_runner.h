#pragma once
// Runs the terminal executable as a child process in a directory of its own,
// feeding its standard input and capturing everything it writes.
#include <filesystem>
#include <string>
#include <vector>

namespace cli_test {

struct RunResult {
  std::string out;
  std::string err;
  int exit_status = -1;  // the child's exit status, or -1 if it did not exit
};

std::filesystem::path cli_executable();

// A fresh, empty working directory under the system's temporary directory,
// removed again by the destructor.
class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path path(const std::string& name) const { return dir_ / name; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Runs the executable here with the given standard input.
  RunResult run(const std::string& input) const;
  // The same with command-line arguments.
  RunResult run_with(const std::string& input, const std::vector<std::string>& arguments) const;
  // A bash command line run here, in which "$0" is the executable: for
  // inputs a shell makes, such as <(cat a.npy).
  RunResult run_in_bash(const std::string& command) const;

 private:
  RunResult spawn(const std::string& input, const std::string& program, const std::vector<std::string>& arguments) const;
  std::filesystem::path dir_;
};

}  // namespace cli_test

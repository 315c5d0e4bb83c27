#include "app/support/cli_runner.h"

#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace cli_test {
namespace fs = std::filesystem;

fs::path cli_executable() {
  const char* build = std::getenv("DENDRO_BUILD_DIR");
  if (!build) throw std::runtime_error("DENDRO_BUILD_DIR is not set");
  return fs::path(build) / "app" / "dendrocompare-cli";
}

Workspace::Workspace() {
  std::string pattern = (fs::temp_directory_path() / "dendrocli-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
}

Workspace::~Workspace() {
  std::error_code ignored;
  fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(dir_, ignored);
}

void Workspace::write(const std::string& name, const std::string& content) const {
  std::ofstream(path(name), std::ios::binary) << content;
}

std::string Workspace::read(const std::string& name) const {
  std::ifstream in(path(name), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Workspace::exists(const std::string& name) const { return fs::exists(path(name)); }

RunResult Workspace::run(const std::string& input) const { return run_with(input, {}); }

RunResult Workspace::run_with(const std::string& input, const std::vector<std::string>& arguments) const {
  return spawn(input, cli_executable().string(), arguments);
}

RunResult Workspace::run_in_bash(const std::string& command) const {
  return spawn("", "/bin/bash", {"-c", command, cli_executable().string()});
}

RunResult Workspace::spawn(const std::string& input, const std::string& program,
                           const std::vector<std::string>& arguments) const {
  const fs::path in = dir_ / ".stdin", out = dir_ / ".stdout", err = dir_ / ".stderr";
  write(".stdin", input);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const std::string& exe = program;
  std::vector<char*> argv = {const_cast<char*>(exe.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const std::string cwd = fs::current_path().string();
  fs::current_path(dir_);  // the child inherits the working directory
  pid_t pid = 0;
  int rc = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
  fs::current_path(cwd);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + exe);
  int status = 0;
  waitpid(pid, &status, 0);
  RunResult result;
  result.out = read(".stdout");
  result.err = read(".stderr");
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  fs::remove(in);
  fs::remove(out);
  fs::remove(err);
  return result;
}

}  // namespace cli_test

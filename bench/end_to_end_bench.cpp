// End to end, as a user runs it: the terminal executable reads two generated
// dendrogram files, compares them and writes MATRICES.DAT. Also measures how
// fast the runtime writes list-directed result rows to a file.
//
//   end_to_end_bench [path to dendrocompare-cli] [largest N, default 2000]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "fast_shapes.h"
#include "rio/rio.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

void write_dendrogram(const fs::path& path, const compare::DendrogramFile& file) {
  std::ofstream out(path);
  out << file.object_count << "\n";
  char line[128];
  for (const compare::MergeRecord& m : file.merges) {
    std::snprintf(line, sizeof line, "%d %d %d %d %.9g\n", m.first, m.second, m.companion1,
                  m.companion2, static_cast<double>(m.height));
    out << line;
  }
}

struct ChildRun {
  double seconds = 0;
  long peak_rss_kb = 0;
  int status = -1;
};

ChildRun run_cli(const fs::path& exe, const fs::path& dir) {
  std::ofstream(dir / "answers") << "a.den\nb.den\n";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, (dir / "answers").c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, (dir / "console").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::string exe_text = exe.string();
  char* argv[] = {exe_text.data(), nullptr};
  fs::path cwd = fs::current_path();
  fs::current_path(dir);
  auto start = Clock::now();
  pid_t pid = 0;
  int rc = posix_spawn(&pid, exe_text.c_str(), &actions, nullptr, argv, environ);
  fs::current_path(cwd);
  posix_spawn_file_actions_destroy(&actions);
  ChildRun run;
  if (rc != 0) return run;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.peak_rss_kb = usage.ru_maxrss;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void end_to_end(const fs::path& exe, int largest) {
  std::printf("End to end (read, compare, write MATRICES.DAT, report):\n");
  std::printf("%6s %-18s %9s %12s %12s %14s\n", "N", "shape", "seconds", "peak RSS MB",
              "budget MB", "MATRICES.DAT MB");
  const compare::shapes::Shape shapes[] = {compare::shapes::Shape::random_tree,
                                           compare::shapes::Shape::balanced,
                                           compare::shapes::Shape::chain,
                                           compare::shapes::Shape::caterpillar_pairs};
  std::mt19937_64 random(2026);
  fs::path dir = fs::temp_directory_path() / "dendro-e2e-bench";
  for (int n : {500, 1000, 2000, 5000}) {
    if (n > largest) break;
    for (auto shape : shapes) {
      fs::create_directories(dir);
      compare::shapes::ShapeOptions options;
      options.shape = shape;
      options.object_count = n;
      write_dendrogram(dir / "a.den", compare::shapes::make_dendrogram(options, random));
      write_dendrogram(dir / "b.den", compare::shapes::make_dendrogram(options, random));
      ChildRun run = run_cli(exe, dir);
      double levels = n - 1.0;
      double budget_mb = (2.0 * n * n + 20.0 * levels * levels) / 1e6;
      double file_mb = fs::exists(dir / "MATRICES.DAT") ? fs::file_size(dir / "MATRICES.DAT") / 1e6 : 0;
      std::printf("%6d %-18s %9.2f %12.1f %12.1f %14.1f%s\n", n,
                  compare::shapes::shape_name(shape).c_str(), run.seconds,
                  run.peak_rss_kb / 1024.0, budget_mb, file_mb,
                  run.status == 0 ? "" : "  (run failed)");
      fs::remove_all(dir);
    }
  }
}

// Rows of 1000 reals written list-directed through the runtime, as the
// results file is written.
void write_throughput() {
  fs::path path = fs::temp_directory_path() / "dendro-write-bench.dat";
  std::string name = path.string();
  const int unit = 1;
  rio::OpenSpec open;
  open.unit = &unit;
  open.file = {name.c_str(), name.size()};
  rio::io_open(open);
  std::vector<float> row(1000);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> value(0.0f, 2.0f);
  for (float& v : row) v = value(random);
  rio::ControlInfo control;
  control.unit = &unit;
  auto start = Clock::now();
  const int rows = 8000;
  for (int r = 0; r < rows; ++r) {
    int label = r;
    rio::ItemDescriptor first{rio::kItemScalar, rio::kInteger4, &label, 0};
    rio::io_write(rio::kPhaseBegin, &control, {&first, 1});
    for (float& v : row) {
      rio::ItemDescriptor item{rio::kItemScalar, rio::kReal4, &v, 0};
      rio::io_write(0, nullptr, {&item, 1});
    }
    rio::io_write(rio::kPhaseEnd, nullptr, {});
  }
  rio::CloseSpec close;
  close.unit = &unit;
  rio::io_close(close);
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  double mb = fs::file_size(path) / 1e6;
  std::printf("\nList-directed writing through the runtime: %.1f MB in %.2f s = %.0f MB/s\n", mb,
              seconds, mb / seconds);
  fs::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path exe = argc > 1 && *argv[1] ? fs::path(argv[1])
                          : fs::canonical("/proc/self/exe").parent_path().parent_path() / "app" /
                                "dendrocompare-cli";
  int largest = argc > 2 ? std::atoi(argv[2]) : 2000;
  write_throughput();
  end_to_end(fs::absolute(exe), largest);
  return 0;
}

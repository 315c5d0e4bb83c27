// The comparison on a terminal. Without file arguments it is the dialogue:
// prompts on standard output, answers from standard input, error reports on
// standard error, exit status 0 after a normal end, 255 after a fatal
// report. With file arguments it is a command for scripts (see --help).
#include "app/cli/run.h"
#include "compare/program.h"

int main(int argc, char** argv) {
  if (argc <= 1) compare::compare_dendrograms();
  return cli::run(argc, argv);
}

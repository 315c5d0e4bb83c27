// The comparison on a terminal: prompts on standard output, answers from
// standard input, error reports on standard error. Exit status 0 after a
// normal end, 255 after a fatal report.
#include "compare/program.h"

int main() { compare::compare_dendrograms(); }

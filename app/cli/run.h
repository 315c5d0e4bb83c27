#pragma once
// The command line with file arguments: parse, read, compare, write, report.
namespace cli {

// Exit statuses scripts can rely on.
inline constexpr int kSuccess = 0;
inline constexpr int kBadInput = 1;  // bad input, or a file that could not be read or written
inline constexpr int kUsage = 2;

// Runs the comparison the arguments ask for; returns the exit status.
int run(int argc, char** argv);

}  // namespace cli

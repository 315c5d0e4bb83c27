#pragma once
// The program body: one comparison of two dendrogram files named at the
// console, from the prompts to the minimum report.

namespace compare {

// Asks for the two file names, reads and checks both dendrograms, compares
// every level pair, writes MATRICES.DAT and the minimum report, and ends the
// program through the runtime. Does not return.
[[noreturn]] void compare_dendrograms();

}  // namespace compare

#pragma once
// A fatal report of the program's own, for conditions the runtime cannot
// detect by itself (a dendrogram file that reads cleanly but is no
// dendrogram): the same end as a fatal run-time error.
#include <span>
#include <string>

namespace rio {

// Closes all units, writes each line as "? " + line through the write hook
// on the error handle, calls the exit hook with -1 and ends the process
// with exit code -1.
[[noreturn]] void report_fatal_text(std::span<const std::string> lines);

}  // namespace rio

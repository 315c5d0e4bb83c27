#pragma once
// Run-time error reporting: the decision between IOSTAT=, ERR= and the fatal
// report, the message tables, and the report's exact pieces.
#include <span>
#include <string>
#include <vector>

namespace rio {

inline constexpr int kFirstCatalogueNumber = 10000;
inline constexpr int kLastCatalogueNumber = 10070;
inline constexpr int kSystemErrorTableSize = 2406;

// Catalogue text for 10000..10070, else null.
const char* catalogue_text(int number);
// System error text by code; null past the table (or for a negative code).
const char* system_error_text(int code);
// Name of a statement kind 0..7 ("REWIND" .. "ENDFILE").
const char* statement_name(int kind);
// Text of a run-time condition raised outside I/O statements, 0..7.
const char* condition_text(int index);

// What the statement line of a report names.
struct ReportStatement {
  bool present = false;     // false: an error raised outside any statement
  int kind = 0;
  std::string unit_text;    // "*", "INTERNAL" or the number
  std::string source_file;
  int source_line = 0;      // 0: no source line is shown
};

// The report as the separate write-hook calls it is made of.
std::vector<std::string> report_pieces(int number, const ReportStatement& statement);
std::vector<std::string> condition_report_pieces(int index);

// Reports an error of the current statement: returns 1 when IOSTAT= or ERR=
// takes it, otherwise closes all units, writes the report and ends the
// process with exit code -1.
int report_error(int number);
// A READ met the end of its file: IOSTAT= -1, then END= (2) or error 10013.
int report_end_of_file();
// A non-advancing READ met the end of its record after transferring count
// characters: SIZE=, IOSTAT= -2, then EOR= (3) or error 10039.
int report_end_of_record(int count);
// A run-time condition outside I/O statements: always fatal.
[[noreturn]] void report_condition(int index);
// A fatal report of the program's own, for conditions the runtime cannot
// detect by itself (a file that reads cleanly but is no dendrogram): each
// line is written as "? " + line, then the run ends as after a fatal error.
[[noreturn]] void report_fatal_text(std::span<const std::string> lines);

}  // namespace rio

#include "compare/program.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compare/fortran_array.h"
#include "compare/program_formats.h"
#include "engine/engine.h"
#include "engine/single/fast_engine.h"
#include "formats/results_file.h"
#include "model/validate.h"
#include "rio/errors.h"
#include "rio/rio.h"
#include "rio/statements.h"
#include "rio/status.h"

namespace compare {
namespace {

constexpr int kNameLength = 100;
using namespace statements;

ComputationObserver& computation_observer() {
  static ComputationObserver observer;
  return observer;
}

ResultsObserver& results_observer() {
  static ResultsObserver observer;
  return observer;
}

// The seventeen arrays, each described for the runtime's allocation
// statement and viewed in its shape once allocated.
rio::ArrayDescriptor describe(std::uint32_t type, std::initializer_list<long> extents) {
  rio::ArrayDescriptor array;
  array.type = type;
  array.rank = static_cast<int>(extents.size());
  int d = 0;
  for (long extent : extents) array.dims[d++].extent = extent < 0 ? 0 : extent;
  return array;
}

void allocate(std::initializer_list<rio::ArrayDescriptor*> group) {
  rio::io_allocate({group.begin(), group.size()}, nullptr);
}

template <typename T>
T* base_of(const rio::ArrayDescriptor& array) {
  return array.base == rio::kZeroSizeBase ? nullptr : static_cast<T*>(array.base);
}

// The merge records of both files, read straight into arrays allocated by
// the runtime's allocation statement and released together at the end.
struct MergeArrays {
  explicit MergeArrays(int n)
      : merges1(describe(rio::kInteger4, {n - 1, 4})),
        merges2(describe(rio::kInteger4, {n - 1, 4})),
        heights1(describe(rio::kReal4, {n - 1})),
        heights2(describe(rio::kReal4, {n - 1})) {}

  rio::ArrayDescriptor merges1, merges2, heights1, heights2;

  void allocate_all() { allocate({&merges1, &merges2, &heights1, &heights2}); }
  void release_all() {
    std::initializer_list<rio::ArrayDescriptor*> all = {&merges1, &merges2, &heights1, &heights2};
    rio::io_deallocate({all.begin(), all.size()});
  }
};

IntMatrix int_matrix(const rio::ArrayDescriptor& a) {
  return IntMatrix(base_of<int>(a), a.dims[0].extent, a.dims[1].extent);
}
RealVector real_vector(const rio::ArrayDescriptor& a) {
  return RealVector(base_of<float>(a), a.dims[0].extent);
}

void ask_file_name(const char* prompt, char (&name)[kNameLength]) {
  write_list(nullptr, {text_item(prompt)});
  rio::ControlInfo control = formatted(nullptr, format_9983());
  rio::io_read(rio::kPhaseWhole, &control, span_of({text_item(name, kNameLength)}));
}

// A file that reads cleanly but is no dendrogram ends the run before
// anything is computed, like a run-time error.
[[noreturn]] void refuse_file(int file_number, const char (&name)[kNameLength],
                              const ValidationProblem& problem) {
  std::string trimmed(name, kNameLength);
  trimmed.erase(trimmed.find_last_not_of(' ') + 1);
  trimmed.erase(0, trimmed.find_first_not_of(' '));
  std::vector<std::string> lines = {
      "Invalid dendrogram file:",
      "dendrogram " + std::to_string(file_number) + " (" + trimmed + "): " + problem.message};
  rio::report_fatal_text(lines);
}

DendrogramFile file_content(int n, IntMatrix merges, RealVector heights) {
  DendrogramFile file;
  file.object_count = n;
  for (int i = 1; i <= n - 1; ++i)
    file.merges.push_back({merges(i, 1), merges(i, 2), merges(i, 3), merges(i, 4), heights(i)});
  return file;
}

void read_merge_records(const int& unit, int n, IntMatrix merges, RealVector heights) {
  for (int i = 1; i <= n - 1; ++i)
    read_list(&unit, {integer_item(merges(i, 1)), integer_item(merges(i, 2)),
                      integer_item(merges(i, 3)), integer_item(merges(i, 4)),
                      real_item(heights(i))});
}

void check_file(int file_number, const char (&name)[kNameLength], const DendrogramFile& file) {
  if (auto problem = validate_dendrogram(file)) refuse_file(file_number, name, *problem);
}

// MATRICES.DAT in the current directory. Only a file that could not be
// put in place after it was written completely comes back here.
void write_results(const ComparisonTables& tables) {
  if (write_results_file(tables, "MATRICES.DAT") != 0) {
    const std::vector<std::string> lines = {"MATRICES.DAT could not be put in place: " +
                                            std::string(std::strerror(errno))};
    rio::report_fatal_text(lines);
  }
}

// Compares the two checked dendrograms. Memory that cannot be had ends the
// run like a failed allocation statement.
ComparisonTables compute_tables(const DendrogramFile& file1, const DendrogramFile& file2) {
  try {
    FastRunExtras extras;
    extras.progress = computation_observer();
    ComparisonTables tables = compare_fast(file1, file2, 0, extras);
    if (extras.stopped) rio::io_finish();
    return tables;
  } catch (const std::bad_alloc&) {
    rio::report_error(rio::kBufferAllocationFailed);
    std::abort();  // not reached: the report ends the process
  }
}

}  // namespace

void write_minimum_report(const std::array<MinimumRecord, kMeasureCount>& report_minima, bool results_file_written,
                          int* iostat) {
  std::array<MinimumRecord, kMeasureCount> minima = report_minima;
  const auto failed = [iostat] { return iostat != nullptr && *iostat != 0; };
  const auto line = [&](statements::Items items) {
    if (!failed()) write_list(nullptr, items, iostat);
  };
  line({});
  line({text_item(" MINIMUM VALUES ")});
  line({});
  for (int m = 1; m <= kMeasureCount; ++m) {
    line({text_item(kMeasureHeadings[m - 1])});
    if (failed()) return;
    MinimumRecord& record = minima[m - 1];
    rio::ControlInfo control = formatted(nullptr, format_797());
    control.iostat = iostat;
    rio::io_write(rio::kPhaseWhole, &control,
                  span_of({real_item(record.smallest), integer_item(record.clusters1),
                           integer_item(record.clusters2)}));
  }
  line({});
  line({text_item(results_file_written ? " END OF CALCULATIONS, SEE FILE MATRICES.DAT "
                                       : " END OF CALCULATIONS ")});
}

void write_levels_record(int levels1, int levels2, int* iostat) {
  write_list(nullptr, {text_item("NO OF LEVELS ="), integer_item(levels1), integer_item(levels2)}, iostat);
}

namespace {

int read_object_count(const int& unit, int file_number, const char (&name)[kNameLength]) {
  int n = 0;
  read_list(&unit, {integer_item(n)});
  if (file_number == 1) {
    // The count sizes every array, so it is checked before anything is
    // allocated; the merge records are checked once they are read.
    if (auto problem = validate_dendrogram(DendrogramFile{n, {}}); problem && problem->record == 0)
      refuse_file(file_number, name, *problem);
  }
  return n;
}

}  // namespace

void set_computation_observer(ComputationObserver observer) { computation_observer() = std::move(observer); }
void set_results_observer(ResultsObserver observer) { results_observer() = std::move(observer); }

void compare_dendrograms() {
  char name1[kNameLength];
  char name2[kNameLength];
  const int unit1 = 1;
  const int unit2 = 2;

  ask_file_name(" ENTER FILENAME FOR dendrogram 1", name1);
  open_unit(unit1, std::string_view(name1, kNameLength));
  const int n = read_object_count(unit1, 1, name1);
  MergeArrays arrays(n);
  arrays.allocate_all();
  IntMatrix merges1 = int_matrix(arrays.merges1), merges2 = int_matrix(arrays.merges2);
  RealVector heights1 = real_vector(arrays.heights1), heights2 = real_vector(arrays.heights2);
  read_merge_records(unit1, n, merges1, heights1);
  close_unit(unit1);
  const DendrogramFile file1 = file_content(n, merges1, heights1);
  check_file(1, name1, file1);

  ask_file_name(" ENTER FILENAME FOR dendrogram 2", name2);
  open_unit(unit2, std::string_view(name2, kNameLength));
  read_object_count(unit2, 2, name2);  // read and passed over: N of file 1 governs
  read_merge_records(unit2, n, merges2, heights2);
  close_unit(unit2);
  const DendrogramFile file2 = file_content(n, merges2, heights2);
  check_file(2, name2, file2);

  // The level counts are known before the long computation, and shown then.
  const std::vector<float> levels1 = level_heights(file1), levels2 = level_heights(file2);
  write_levels_record(static_cast<int>(levels1.size()) + 1, static_cast<int>(levels2.size()) + 1);
  const ComparisonTables tables = compute_tables(file1, file2);
  write_results(tables);
  write_minimum_report(tables.minima);
  if (results_observer()) results_observer()({tables, levels1, levels2, file1, file2});
  arrays.release_all();
  rio::io_finish();
}

}  // namespace compare

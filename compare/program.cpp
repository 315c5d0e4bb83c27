#include "compare/program.h"

#include <cstring>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compare/dendrogram.h"
#include "compare/level_pairs.h"
#include "compare/minimum.h"
#include "compare/program_formats.h"
#include "compare/validate.h"
#include "rio/fatal_text.h"
#include "rio/rio.h"

namespace compare {
namespace {

constexpr int kNameLength = 100;
using Items = std::initializer_list<rio::ItemDescriptor>;

rio::ItemDescriptor integer_item(int& value) {
  return {rio::kItemScalar, rio::kInteger4, &value, 0};
}
rio::ItemDescriptor real_item(float& value) { return {rio::kItemScalar, rio::kReal4, &value, 0}; }
rio::ItemDescriptor text_item(const char* text) {
  return {rio::kItemScalar, rio::kCharacter, const_cast<char*>(text),
          static_cast<int>(std::strlen(text))};
}
rio::ItemDescriptor text_item(char* text, int length) {
  return {rio::kItemScalar, rio::kCharacter, text, length};
}

std::span<const rio::ItemDescriptor> span_of(Items items) { return {items.begin(), items.size()}; }

rio::ControlInfo list_directed(const int* unit) {
  rio::ControlInfo control;
  control.unit = unit;
  return control;
}

rio::ControlInfo formatted(const int* unit, const rio::PrecompiledFormat& format) {
  rio::ControlInfo control;
  control.unit = unit;
  control.format = &format;
  control.format_text = format.source_text;
  control.format_length = std::strlen(format.source_text);
  return control;
}

// One list-directed WRITE statement (unit null: the console).
void write_list(const int* unit, Items items) {
  rio::ControlInfo control = list_directed(unit);
  rio::io_write(rio::kPhaseWhole, &control, span_of(items));
}

void read_list(const int* unit, Items items) {
  rio::ControlInfo control = list_directed(unit);
  rio::io_read(rio::kPhaseWhole, &control, span_of(items));
}

// A list-directed WRITE with an implied loop: begun with its first item,
// fed one item per call, then ended.
class ListWrite {
 public:
  ListWrite(const int* unit, rio::ItemDescriptor first) {
    rio::ControlInfo control = list_directed(unit);
    rio::io_write(rio::kPhaseBegin, &control, span_of({first}));
  }
  void add(rio::ItemDescriptor item) { rio::io_write(0, nullptr, span_of({item})); }
  ~ListWrite() { rio::io_write(rio::kPhaseEnd, nullptr, {}); }
};

void open_unit(const int& unit, const char* name, int length) {
  rio::OpenSpec spec;
  spec.unit = &unit;
  spec.file = {name, static_cast<std::size_t>(length)};
  rio::io_open(spec);
}

void close_unit(const int& unit) {
  rio::CloseSpec spec;
  spec.unit = &unit;
  rio::io_close(spec);
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

struct RunArrays {
  explicit RunArrays(int n)
      : merges1(describe(rio::kInteger4, {n - 1, 4})),
        merges2(describe(rio::kInteger4, {n - 1, 4})),
        heights1(describe(rio::kReal4, {n - 1})),
        heights2(describe(rio::kReal4, {n - 1})),
        pair_levels1(describe(rio::kInteger4, {packed_table_length(n)})),
        pair_levels2(describe(rio::kInteger4, {packed_table_length(n)})),
        label_work(describe(rio::kInteger4, {n})),
        membership(describe(rio::kInteger4, {n, n})),
        labels1(describe(rio::kInteger4, {n})),
        labels2(describe(rio::kInteger4, {n})),
        triangle1(describe(rio::kInteger4, {packed_table_length(n)})),
        triangle2(describe(rio::kInteger4, {packed_table_length(n)})),
        measure_table(describe(rio::kReal4, {kMeasureCount, n, n})),
        contingency(describe(rio::kInteger4, {n, n})),
        row_sums(describe(rio::kReal4, {n})),
        column_sums(describe(rio::kReal4, {n})),
        cluster_counts(describe(rio::kInteger4, {2, n})) {}

  rio::ArrayDescriptor merges1, merges2, heights1, heights2, pair_levels1, pair_levels2;
  rio::ArrayDescriptor label_work, membership, labels1, labels2, triangle1, triangle2;
  rio::ArrayDescriptor measure_table;
  rio::ArrayDescriptor contingency, row_sums, column_sums, cluster_counts;

  void allocate_inputs() {
    allocate({&merges1, &merges2, &heights1, &heights2, &pair_levels1, &pair_levels2});
  }
  void allocate_decoding() {
    allocate({&label_work, &membership, &labels1, &labels2, &triangle1, &triangle2});
  }
  void allocate_measures() { allocate({&measure_table}); }
  void allocate_loop_work() { allocate({&contingency, &row_sums, &column_sums, &cluster_counts}); }
  void release_all() {
    std::initializer_list<rio::ArrayDescriptor*> all = {
        &merges1,  &merges2,   &heights1,      &heights2,  &pair_levels1, &pair_levels2,
        &label_work, &membership, &labels1,     &labels2,   &triangle1,    &triangle2,
        &measure_table, &contingency, &row_sums, &column_sums, &cluster_counts};
    rio::io_deallocate({all.begin(), all.size()});
  }
};

IntMatrix int_matrix(const rio::ArrayDescriptor& a) {
  return IntMatrix(base_of<int>(a), a.dims[0].extent, a.dims[1].extent);
}
IntVector int_vector(const rio::ArrayDescriptor& a) {
  return IntVector(base_of<int>(a), a.dims[0].extent);
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

const char* const kHeadings[kMeasureCount] = {
    " 1 - jaccard", " 1 - simple match = 1 - RAND", " Euclidean", " 1 - Sorensen",
    " 1 - ADJUSTED RAND"};

void write_results_file(int levels1, int levels2, RealArray3 measures, IntMatrix counts) {
  const int unit = 1;
  static const char kResultsName[] = "MATRICES.DAT";
  open_unit(unit, kResultsName, 12);
  int zero = 0;
  {
    ListWrite header(&unit, integer_item(zero));
    for (int l = 1; l <= levels2 - 1; ++l) header.add(integer_item(counts(2, l)));
  }
  for (int m = 1; m <= kMeasureCount; ++m) {
    write_list(&unit, {text_item(kHeadings[m - 1])});
    for (int k = 1; k <= levels1 - 1; ++k) {
      ListWrite row(&unit, integer_item(counts(1, k)));
      for (int l = 1; l <= levels2 - 1; ++l) row.add(real_item(measures(m, k, l)));
    }
  }
  close_unit(unit);
}

void write_minimum_report(std::array<MinimumRecord, kMeasureCount>& minima) {
  write_list(nullptr, {});
  write_list(nullptr, {text_item(" MINIMUM VALUES ")});
  write_list(nullptr, {});
  for (int m = 1; m <= kMeasureCount; ++m) {
    write_list(nullptr, {text_item(kHeadings[m - 1])});
    MinimumRecord& record = minima[m - 1];
    rio::ControlInfo control = formatted(nullptr, format_797());
    rio::io_write(rio::kPhaseWhole, &control,
                  span_of({real_item(record.smallest), integer_item(record.clusters1),
                           integer_item(record.clusters2)}));
  }
  write_list(nullptr, {});
  write_list(nullptr, {text_item(" END OF CALCULATIONS, SEE FILE MATRICES.DAT ")});
}

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

void compare_dendrograms() {
  char name1[kNameLength];
  char name2[kNameLength];
  const int unit1 = 1;
  const int unit2 = 2;

  ask_file_name(" ENTER FILENAME FOR dendrogram 1", name1);
  open_unit(unit1, name1, kNameLength);
  const int n = read_object_count(unit1, 1, name1);
  RunArrays arrays(n);
  arrays.allocate_inputs();
  arrays.allocate_decoding();
  read_merge_records(unit1, n, int_matrix(arrays.merges1), real_vector(arrays.heights1));
  close_unit(unit1);
  check_file(1, name1, file_content(n, int_matrix(arrays.merges1), real_vector(arrays.heights1)));

  ask_file_name(" ENTER FILENAME FOR dendrogram 2", name2);
  open_unit(unit2, name2, kNameLength);
  read_object_count(unit2, 2, name2);  // read and passed over: N of file 1 governs
  read_merge_records(unit2, n, int_matrix(arrays.merges2), real_vector(arrays.heights2));
  close_unit(unit2);
  check_file(2, name2, file_content(n, int_matrix(arrays.merges2), real_vector(arrays.heights2)));

  const int merge_count = n - 1;
  const int pack_length = packed_table_length(n);
  int levels1 = 0;
  int levels2 = 0;
  decode_dendrogram(int_matrix(arrays.merges1), real_vector(arrays.heights1), merge_count,
                    pack_length, levels1, int_vector(arrays.pair_levels1),
                    int_vector(arrays.label_work), int_matrix(arrays.membership), n);
  decode_dendrogram(int_matrix(arrays.merges2), real_vector(arrays.heights2), merge_count,
                    pack_length, levels2, int_vector(arrays.pair_levels2),
                    int_vector(arrays.label_work), int_matrix(arrays.membership), n);

  arrays.allocate_measures();
  write_list(nullptr, {text_item("NO OF LEVELS ="), integer_item(levels1), integer_item(levels2)});

  arrays.allocate_loop_work();
  std::array<MinimumRecord, kMeasureCount> minima;
  start_minima(minima);
  const rio::ArrayDescriptor& mt = arrays.measure_table;
  RealArray3 measures(base_of<float>(mt), mt.dims[0].extent, mt.dims[1].extent, mt.dims[2].extent);
  LevelPairStorage storage{int_vector(arrays.pair_levels1),
                           int_vector(arrays.pair_levels2),
                           int_vector(arrays.triangle1),
                           int_vector(arrays.triangle2),
                           int_vector(arrays.labels1),
                           int_vector(arrays.labels2),
                           measures,
                           {int_matrix(arrays.contingency), real_vector(arrays.row_sums),
                            real_vector(arrays.column_sums)},
                           int_matrix(arrays.cluster_counts)};
  compare_level_pairs(n, levels1, levels2, storage, minima);

  write_results_file(levels1, levels2, measures, int_matrix(arrays.cluster_counts));
  write_minimum_report(minima);
  arrays.release_all();
  rio::io_finish();
}

}  // namespace compare

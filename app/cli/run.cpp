#include "app/cli/run.h"

#include <CLI/CLI.hpp>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <map>
#include <new>
#include <optional>

#include "app/cli/options.h"
#include "app/cli/progress_bar.h"
#include "compare/program.h"
#include "console/plots/render.h"
#include "engine/engine.h"
#include "engine/tanglegram.h"
#include "formats/den_reader.h"
#include "formats/exports.h"
#include "formats/inputs.h"
#include "formats/matrices_writer.h"
#include "outputs/run_outputs.h"

namespace cli {
namespace {

compare::ReadOptions read_options(const Options& options) {
  compare::ReadOptions read;
  read.format = *compare::input_format_named(options.from);
  if (!options.labels.empty()) read.labels = compare::read_labels(options.labels);
  return read;
}

compare::Comparison compare_with_progress(const compare::DendrogramFile& first, const compare::DendrogramFile& second,
                                          const Options& options, compare::Precision precision) {
  ProgressBar bar(!options.quiet && standard_error_is_terminal());
  compare::CompareOptions compare_options;
  compare_options.threads = options.threads;
  compare_options.precision = precision;
  compare_options.max_clusters = options.max_clusters;
  compare_options.information = precision == compare::Precision::exact && options.wants_information();
  compare_options.keep_pair_counts = options.wants_pair_counts() && !options.exact_exports();
  compare_options.progress = [&](int done, int total) { return bar.update(done, total); };
  return compare::run_comparison(first, second, compare_options);
}

std::string format_of(const std::string& path, const Options& options) {
  const compare::InputFormat given = *compare::input_format_named(options.from);
  return compare::input_format_name(given == compare::InputFormat::automatic ? compare::detect_input_format(path)
                                                                             : given);
}

std::string matrices_path(const Options& options) {
  return options.output_dir.empty() ? "MATRICES.DAT" : options.output_dir + "/MATRICES.DAT";
}

std::vector<compare::MeasureId> export_measures(const Options& options) {
  std::vector<compare::MeasureId> measures;
  for (const std::string& name : options.measures) measures.push_back(*compare::measure_named(name));
  return measures.empty() ? default_export_measures() : measures;
}

// Every output of the run, resolved and checked before the comparison
// starts, so that a name in the way costs no computation and stops the run
// before any file is replaced.
struct ResolvedOutputs {
  outputs::RunOutputs run;
  const outputs::Sink *matrices = nullptr, *tsv = nullptr, *csv = nullptr, *bk = nullptr, *json = nullptr,
                      *plot = nullptr, *den = nullptr;
  std::map<std::string, const outputs::Sink*> npy;
};

void resolve_outputs(const Options& options, ResolvedOutputs& out) {
  outputs::RunOutputs& run = out.run;
  run.add_input("the first input", options.first);
  if (!options.second.empty()) run.add_input("the second input", options.second);
  if (!options.labels.empty()) run.add_input("--labels", options.labels);
  if (!options.write_den.empty()) {
    out.den = &run.add("--write-den", options.write_den);
    return;
  }
  if (!options.no_matrices) out.matrices = &run.add("MATRICES.DAT", matrices_path(options));
  if (!options.tsv.empty()) out.tsv = &run.add("--tsv", options.tsv);
  if (!options.csv.empty()) out.csv = &run.add("--csv", options.csv);
  if (!options.npy.empty()) {
    run.add_directory(options.npy);
    for (const std::string& name : npy_file_names(export_measures(options)))
      out.npy[name] = &run.add("--npy " + name, options.npy + "/" + name);
  }
  if (!options.bk.empty()) out.bk = &run.add("--bk", options.bk);
  if (!options.json.empty()) out.json = &run.add("--json", options.json);
  if (!options.plot.empty()) out.plot = &run.add("--plot", options.plot, true);
}

std::vector<QString> picture_labels(const Options& options, const compare::ReadOptions& read) {
  std::vector<QString> names;
  for (const std::string& label : compare::object_labels(options.first, read)) names.push_back(QString::fromStdString(label));
  return names;
}

console::plots::TangleSettings tangle_settings(const Options& options, const compare::ReadOptions& read) {
  if (options.measure != "tanglegram") return {};
  return {picture_labels(options, read), options.tangle_clusters, !options.no_untangle};
}

void write_exports(const compare::Comparison& result, const Options& options, const compare::ReadOptions& read,
                   const ResolvedOutputs& out) {
  const std::vector<compare::MeasureId> measures = export_measures(options);
  if (out.tsv) write_level_pairs(result, *out.tsv, '\t', measures);
  if (out.csv) write_level_pairs(result, *out.csv, ',', measures);
  if (!out.npy.empty())
    write_npy_directory(
        result, [&](const std::string& name) -> const outputs::Sink& { return *out.npy.at(name); }, measures);
  if (out.bk) write_bk_table(result, *out.bk, '\t', options.bk_sd);
  if (out.json) {
    // Over every level only: with --max-clusters the trees may be too large.
    const bool whole_trees = options.max_clusters == 0;
    std::optional<compare::Tanglegram> tangle;
    if (whole_trees) tangle = compare::tanglegram_layout(result, {0, -1, true, false});
    write_json_summary(result, {{options.first, format_of(options.first, options)},
                                {options.second, format_of(options.second, options)}},
                       *out.json, whole_trees, tangle ? &*tangle : nullptr);
  }
  if (out.plot) {
    std::string error;
    if (console::plots::render_file(result, out.plot->open_by_name, *console::plots::parse_measure(options.measure),
                                    &error, tangle_settings(options, read)) != 0)
      throw compare::OutputError(options.plot + ": cannot write the picture");
  }
  std::cout.flush();
}

// The minimum report of a run without MATRICES.DAT: the exact minima as the
// report's 4-byte reals.
std::array<compare::MinimumRecord, compare::kMeasureCount> report_minima(const compare::Comparison& result,
                                                                         int threads) {
  if (result.precision == compare::Precision::single) return result.tables.minima;
  std::array<compare::MinimumRecord, compare::kMeasureCount> minima{};
  const auto exact = compare::exact_minima(result, threads);
  for (int m = 0; m < compare::kMeasureCount; ++m)
    if (exact[m].found) minima[m] = {static_cast<float>(exact[m].smallest), exact[m].clusters1, exact[m].clusters2};
  return minima;
}

int compare_files(const Options& options) {
  set_export_threads(options.threads);
  ResolvedOutputs outputs;
  resolve_outputs(options, outputs);
  const compare::ReadOptions read = read_options(options);
  if (!options.write_den.empty()) {
    compare::write_den_file(compare::read_dendrogram(options.first, read), *outputs.den);
    outputs.run.commit();
    return kSuccess;
  }
  const auto [first, second] = compare::read_dendrogram_pair(options.first, options.second, read);
  // The single-precision tables only where MATRICES.DAT or an export needs them.
  std::optional<compare::Comparison> single, exact;
  if (!options.no_matrices || !options.exact_exports())
    single = compare_with_progress(first, second, options, compare::Precision::single);
  if (options.exact_exports()) exact = compare_with_progress(first, second, options, compare::Precision::exact);
  const compare::Comparison& exported = exact ? *exact : *single;
  if (outputs.matrices) compare::write_matrices(single->tables, *outputs.matrices);
  write_exports(exported, options, read, outputs);
  outputs.run.commit();
  // The console records come once every file is in place, in the
  // dialogue's bytes; an export on standard output replaces them.
  if (!options.writes_to_standard_output()) {
    int status = 0;
    compare::write_levels_record(exported.levels1, exported.levels2, &status);
    if (status == 0)
      compare::write_minimum_report(report_minima(single ? *single : exported, options.threads), !options.no_matrices,
                                    &status);
    if (status != 0) throw compare::OutputError("standard output: cannot write the report");
  }
  return kSuccess;
}

}  // namespace

// An error report is one line, whatever a file name holds.
std::string one_line(const std::string& message) {
  std::string line;
  for (const char c : message) {
    if (c == '\n') line += "\\n";
    else if (c == '\r') line += "\\r";
    else if (static_cast<unsigned char>(c) < 0x20) line += '?';
    else line += c;
  }
  return line;
}

void open_missing_standard_descriptors() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open takes the lowest free descriptor, which is this one.
    if (::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd) std::abort();
  }
}

int run(int argc, char** argv) {
  // A descriptor left closed would be taken by the next file opened, and
  // the report written into it.
  open_missing_standard_descriptors();
  Options options;
  CLI::App app;
  define_options(app, options);
  try {
    app.parse(argc, argv);
    check_options(options);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "dendrocompare-cli: " << e.what() << "\n"
              << "Try 'dendrocompare-cli --help' for more information.\n";
    return kUsage;
  }
  try {
    return compare_files(options);
  } catch (const outputs::SameFileError& e) {
    std::cerr << "dendrocompare-cli: " << one_line(e.what()) << "\n";
    return kUsage;
  } catch (const std::bad_alloc&) {
    std::cerr << "dendrocompare-cli: not enough memory for this comparison\n";
  } catch (const std::exception& e) {
    std::cerr << "dendrocompare-cli: " << one_line(e.what()) << "\n";
  }
  return kBadInput;
}

}  // namespace cli

#include "app/cli/run.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <new>
#include <optional>

#include "app/cli/options.h"
#include "app/cli/progress_bar.h"
#include "compare/program.h"
#include "console/plots/render.h"
#include "engine/engine.h"
#include "formats/den_reader.h"
#include "formats/exports.h"
#include "formats/inputs.h"
#include "formats/matrices_writer.h"
#include "outputs/staged_outputs.h"

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

void write_exports(const compare::Comparison& result, const Options& options, StagedOutputs& outputs) {
  std::vector<compare::MeasureId> measures;
  for (const std::string& name : options.measures) measures.push_back(*compare::measure_named(name));
  if (measures.empty()) measures = default_export_measures();
  if (!options.tsv.empty()) write_level_pairs(result, outputs.stage(options.tsv), '\t', measures);
  if (!options.csv.empty()) write_level_pairs(result, outputs.stage(options.csv), ',', measures);
  if (!options.npy.empty())
    write_npy_directory(result, options.npy, [&](const std::string& path) { return outputs.stage(path); }, measures);
  if (!options.bk.empty()) write_bk_table(result, outputs.stage(options.bk), '\t', options.bk_sd);
  if (!options.json.empty())
    write_json_summary(result, {{options.first, format_of(options.first, options)},
                                {options.second, format_of(options.second, options)}},
                       outputs.stage(options.json), options.max_clusters == 0);
  if (!options.plot.empty()) {
    std::string error;
    if (console::plots::render_file(result, outputs.stage(options.plot, true),
                                    *console::plots::parse_measure(options.measure), &error) != 0)
      throw compare::OutputError(error.empty() ? options.plot + ": cannot write the picture" : error);
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
  const compare::ReadOptions read = read_options(options);
  if (!options.write_den.empty()) {
    compare::write_den_file(compare::read_dendrogram(options.first, read), options.write_den);
    return kSuccess;
  }
  const auto [first, second] = compare::read_dendrogram_pair(options.first, options.second, read);
  // The single-precision tables only where MATRICES.DAT or an export needs them.
  std::optional<compare::Comparison> single, exact;
  if (!options.no_matrices || !options.exact_exports())
    single = compare_with_progress(first, second, options, compare::Precision::single);
  if (options.exact_exports()) exact = compare_with_progress(first, second, options, compare::Precision::exact);
  const compare::Comparison& exported = exact ? *exact : *single;
  StagedOutputs outputs;
  try {
    if (!options.no_matrices) compare::write_matrices(single->tables, outputs.stage(matrices_path(options)));
    write_exports(exported, options, outputs);
  } catch (const compare::OutputError& e) {
    throw compare::OutputError(outputs.with_final_names(e.what()));
  }
  outputs.commit();
  // The console records come once every file is in place, in the
  // dialogue's bytes; an export on standard output replaces them.
  if (!options.writes_to_standard_output()) {
    compare::write_levels_record(exported.levels1, exported.levels2);
    compare::write_minimum_report(report_minima(single ? *single : exported, options.threads), !options.no_matrices);
  }
  return kSuccess;
}

}  // namespace

int run(int argc, char** argv) {
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
  } catch (const std::bad_alloc&) {
    std::cerr << "dendrocompare-cli: not enough memory for this comparison\n";
  } catch (const std::exception& e) {
    std::cerr << "dendrocompare-cli: " << e.what() << "\n";
  }
  return kBadInput;
}

}  // namespace cli

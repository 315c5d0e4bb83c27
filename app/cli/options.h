#pragma once
// The command line's options, parsed by CLI11, and the checks between them.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace cli {

struct Options {
  std::string first, second;
  std::string from = "auto";
  std::string labels;
  std::string output_dir;
  std::string tsv, csv, npy, json;
  std::string write_den;
  std::string plot;
  std::string measure = "adjusted_rand";
  std::vector<std::string> measures;  // of the exports; empty: the five tables and Fowlkes-Mallows
  std::string bk;
  double bk_sd = 2.0;
  int tangle_clusters = 0;  // the tanglegram's colour level; 0: where 1 - adjusted Rand is smallest
  bool no_untangle = false;
  bool exact = false;
  bool no_matrices = false;
  int max_clusters = 0;
  bool quiet = false;
  int threads = 0;

  bool wants_exports() const { return !tsv.empty() || !csv.empty() || !npy.empty() || !plot.empty() || !json.empty(); }
  bool wants_pair_counts() const { return !tsv.empty() || !csv.empty() || !npy.empty() || !plot.empty() || !bk.empty(); }
  bool plots_information() const { return !plot.empty() && (measure == "variation_of_information" || measure == "nmi"); }
  // Variation of information or NMI among the exported or drawn measures.
  bool wants_information() const {
    for (const std::string& m : measures)
      if (m == "variation_of_information" || m == "nmi") return true;
    return plots_information();
  }
  // Exports from the exact engine rather than from the single-precision tables.
  bool exact_exports() const { return exact || max_clusters > 0; }
  bool writes_to_standard_output() const { return tsv == "-" || csv == "-" || json == "-" || bk == "-"; }
};

void define_options(CLI::App& app, Options& options);

// Relations CLI11 does not express: two inputs unless --write-den, at most
// one export on standard output. Throws CLI::ValidationError.
void check_options(const Options& options);

}  // namespace cli

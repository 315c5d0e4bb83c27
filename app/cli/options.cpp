#include "app/cli/options.h"

namespace cli {
namespace {

const char kDescription[] =
    "Compares two hierarchical clusterings (dendrograms) of the same objects level by level.\n"
    "Each dendrogram is cut at every distinct merge height; every level of FIRST is compared\n"
    "with every level of SECOND by five dissimilarities (1 - Jaccard, 1 - Rand, Euclidean,\n"
    "1 - Sorensen, 1 - adjusted Rand). The tables go to MATRICES.DAT, the smallest value of\n"
    "each measure and where it occurs to standard output.\n"
    "\n"
    "Without FIRST and SECOND the program asks for the two file names, as the desktop program does.";

const char kFooter[] =
    "Input formats (--from, else detected from the extension and the content):\n"
    "  den      our own: N, then N-1 lines 'first second companion1 companion2 height'\n"
    "  npy      a scipy linkage matrix saved with numpy.save (float64, shape (N-1, 4))\n"
    "  linkage  a scipy linkage matrix as numpy.savetxt writes it (blanks or commas)\n"
    "  hclust   R: write.csv(data.frame(hc$merge, hc$height)), header and row names optional\n"
    "  newick   a tree with branch lengths, heights measured from the leaves\n"
    "\n"
    "Examples:\n"
    "  dendrocompare-cli average.den complete.den\n"
    "  dendrocompare-cli --tsv pairs.tsv --json - single.npy ward.npy\n"
    "  dendrocompare-cli --labels names.txt --output-dir out tree1.nwk tree2.nwk\n"
    "  dendrocompare-cli --plot ari.png --measure adjusted_rand a.den b.den\n"
    "  dendrocompare-cli --plot tangle.svg --measure tanglegram --tangle-clusters 4 a.nwk b.nwk\n"
    "  dendrocompare-cli --exact --no-matrices --npy out/ a.npy b.npy\n"
    "  dendrocompare-cli --no-matrices --max-clusters 1000 --json - cells1.npy cells2.npy\n"
    "\n"
    "Levels are the distinct merge heights as 4-byte reals. MATRICES.DAT and the default exports hold\n"
    "the single-precision values, up to 46340 objects; --exact gives every export exact values from\n"
    "pair counts for any N (add --no-matrices to skip the single-precision tables), and\n"
    "--max-clusters K compares only the top levels, with at most K clusters each.\n"
    "\n"
    "Exit status: 0 success, 1 bad input or a file that could not be read or written, 2 usage error.\n"
    "Without file arguments the dialogue ends with status 255 after a run-time error report.";

}  // namespace

void define_options(CLI::App& app, Options& o) {
  app.description(kDescription);
  app.name("dendrocompare-cli");
  app.footer(kFooter);
  app.set_version_flag("--version", "dendrocompare-cli " DENDROCOMPARE_VERSION);
  app.add_option("FIRST", o.first, "first dendrogram");
  app.add_option("SECOND", o.second, "second dendrogram");
  app.add_option("--from", o.from, "input format of both files")
      ->check(CLI::IsMember({"auto", "den", "npy", "linkage", "hclust", "newick"}));
  app.add_option("--labels", o.labels, "Newick leaf labels in object order, one a line")->check(CLI::ExistingFile);
  app.add_option("-o,--output-dir", o.output_dir, "where MATRICES.DAT goes (default: the current directory)")
      ->check(CLI::ExistingDirectory);
  app.add_option("--tsv", o.tsv, "one row per level pair, tab-separated ('-': standard output)");
  app.add_option("--csv", o.csv, "the same rows, comma-separated ('-': standard output)");
  app.add_flag("--exact", o.exact,
               "every export from the exact engine: double-precision values from exact pair counts, for any N");
  app.add_flag("--no-matrices", o.no_matrices,
               "leave MATRICES.DAT out; with --exact no single-precision table is computed at all");
  app.add_option("--max-clusters", o.max_clusters,
                 "compare only the levels with at most K clusters (exact values; needs --no-matrices): "
                 "cheap on trees of millions of objects")
      ->check(CLI::PositiveNumber)
      ->option_text("K");
  app.add_option("--npy", o.npy, "a directory of NumPy arrays: one per measure, clusters and heights");
  app.add_option("--json", o.json, "a summary: levels, minima, inputs, version ('-': standard output)");
  app.add_option("--plot", o.plot, "draw a measure's table as a heat map, FILE.png or FILE.svg");
  app.add_option("--measure", o.measure,
                 "what --plot draws: jaccard, rand, euclidean, sorensen, adjusted_rand (default), agreement "
                 "(all five where both dendrograms have the same number of clusters), or with --exact "
                 "variation_of_information or nmi (drawn as 1 - NMI); bk: the Fowlkes-Mallows curve with its null band; "
                 "tanglegram: the two trees face to face, untangled, each object's leaves joined by a line")
      ->check(CLI::IsMember({"jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "agreement",
                             "variation_of_information", "nmi", "bk", "tanglegram"}));
  app.add_option("--tangle-clusters", o.tangle_clusters,
                 "the tanglegram's lines in the colours of the first dendrogram's K clusters (the level with the "
                 "fewest clusters, at least K), against the second's level most like it by adjusted Rand "
                 "(default: the level pair where 1 - adjusted Rand is smallest)")
      ->check(CLI::PositiveNumber)
      ->option_text("K");
  app.add_flag("--no-untangle", o.no_untangle, "draw the tanglegram's trees as the inputs give them, unrotated");
  app.add_option("--measures", o.measures,
                 "the measures the exports hold, in this order (default: jaccard, rand, euclidean, sorensen, "
                 "adjusted_rand, fowlkes_mallows); variation_of_information and nmi need --exact")
      ->delimiter(',')
      ->check(CLI::IsMember({"jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "fowlkes_mallows",
                             "variation_of_information", "nmi"}));
  app.add_option("--bk", o.bk,
                 "the Fowlkes-Mallows curve at every k both dendrograms have, with its expectation, variance and "
                 "band under random partitions of the same sizes, tab-separated ('-': standard output)");
  app.add_option("--bk-sd", o.bk_sd, "the band of --bk in standard deviations about the expectation (default 2)")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--write-den", o.write_den, "write FIRST in our own format to FILE, then stop");
  app.add_option("-j,--threads", o.threads, "threads for the comparison (default: all cores)")
      ->check(CLI::Range(0, 1024));
  app.add_flag("-q,--quiet", o.quiet, "no progress bar");
}

void check_options(const Options& o) {
  if (o.first.empty()) throw CLI::ValidationError("FIRST", "give two dendrogram files (or none for the dialogue)");
  if (o.second.empty() && o.write_den.empty())
    throw CLI::ValidationError("SECOND", "give the second dendrogram file");
  int to_standard_output = (o.tsv == "-") + (o.csv == "-") + (o.json == "-") + (o.bk == "-");
  if (to_standard_output > 1)
    throw CLI::ValidationError("only one of --tsv, --csv, --json and --bk can write to '-'");
  if (o.wants_information() && !o.exact_exports())
    throw CLI::ValidationError("--measures", "variation_of_information and nmi come from exact comparisons: add --exact");
  if (o.plots_information() && !o.exact_exports())
    throw CLI::ValidationError("--measure", "variation_of_information and nmi come from exact comparisons: add --exact");
  if (o.max_clusters > 0 && !o.no_matrices)
    throw CLI::ValidationError("--max-clusters compares the top levels alone, which MATRICES.DAT cannot hold: "
                               "add --no-matrices");
  if ((o.tangle_clusters > 0 || o.no_untangle) && (o.plot.empty() || o.measure != "tanglegram"))
    throw CLI::ValidationError("--tangle-clusters and --no-untangle shape a tanglegram: add --plot FILE --measure tanglegram");
  const bool picture_name = o.plot.size() > 4 && (o.plot.ends_with(".png") || o.plot.ends_with(".svg"));
  if (!o.plot.empty() && !picture_name)
    throw CLI::ValidationError("--plot", "the picture's name must end in .png or .svg");
}

}  // namespace cli

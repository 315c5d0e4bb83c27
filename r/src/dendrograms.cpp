// Dendrograms between R and the engine: R's hclust merges, scipy linkage
// matrices and our own records in, the project's readers for files. The
// readers and merge builder do every check, so R users see the command
// line's words.
#include <cstddef>
#include <string>
#include <vector>

#include "binding.h"
#include "engine/engine.h"
#include "formats/inputs.h"

namespace dendro_r {
namespace {

using compare::DendrogramFile;
using compare::InputError;

DendrogramFile hclust_dendrogram(const Rcpp::List& spec) {
  const Rcpp::IntegerMatrix merge = spec["merge"];
  const Rcpp::NumericVector height = spec["height"];
  const std::string source = Rcpp::as<std::string>(spec["source"]);
  std::vector<int> merge1(merge.nrow()), merge2(merge.nrow());
  for (int t = 0; t < merge.nrow(); ++t) {
    merge1[t] = merge(t, 0);
    merge2[t] = merge(t, 1);
  }
  return compare::from_hclust(merge1, merge2, std::vector<double>(height.begin(), height.end()), source);
}

DendrogramFile linkage_dendrogram(const Rcpp::List& spec) {
  const Rcpp::NumericVector values = spec["values"];  // row-major
  const auto rows = static_cast<std::size_t>(Rcpp::as<double>(spec["rows"]));
  const auto columns = static_cast<std::size_t>(Rcpp::as<double>(spec["columns"]));
  return compare::from_linkage(values.begin(), rows, columns, Rcpp::as<std::string>(spec["source"]));
}

DendrogramFile records_dendrogram(const Rcpp::List& spec) {
  const Rcpp::IntegerMatrix records = spec["records"];
  const Rcpp::NumericVector heights = spec["heights"];
  DendrogramFile file;
  file.object_count = Rcpp::as<int>(spec["object_count"]);
  file.merges.resize(static_cast<std::size_t>(records.nrow()));
  for (int i = 0; i < records.nrow(); ++i)
    file.merges[i] = {records(i, 0), records(i, 1), records(i, 2), records(i, 3), static_cast<float>(heights[i])};
  return file;
}

// How R gives an input labels, ending the message that refuses to pair
// an input with labels and one without.
constexpr const char* kHowToGiveLabels =
    "as its labels ($labels, or read_dendrogram(path, labels = ...) for a file)";

compare::ReadOptions read_options(SEXP format, SEXP labels) {
  compare::ReadOptions options;
  options.labels_source = "labels";
  options.how_to_give_labels = kHowToGiveLabels;
  if (!Rf_isNull(labels)) options.labels = Rcpp::as<std::vector<std::string>>(labels);
  if (Rf_isNull(format)) return options;
  const auto named = compare::input_format_named(Rcpp::as<std::string>(format));
  if (!named)
    throw InputError("unknown input format '" + Rcpp::as<std::string>(format) +
                     "'; the formats are auto, den, npy, linkage, hclust, newick");
  options.format = *named;
  return options;
}

}  // namespace

DendrogramFile dendrogram_from(const Rcpp::List& spec) {
  const std::string kind = Rcpp::as<std::string>(spec["kind"]);
  if (kind == "hclust") return hclust_dendrogram(spec);
  if (kind == "linkage") return linkage_dendrogram(spec);
  return records_dendrogram(spec);
}

Rcpp::List records_of(const DendrogramFile& file) {
  const int count = static_cast<int>(file.merges.size());
  Rcpp::IntegerMatrix records(count, 4);
  Rcpp::NumericVector heights(count);
  for (int i = 0; i < count; ++i) {
    const compare::MergeRecord& r = file.merges[i];
    records(i, 0) = r.first;
    records(i, 1) = r.second;
    records(i, 2) = r.companion1;
    records(i, 3) = r.companion2;
    heights[i] = r.height;
  }
  return Rcpp::List::create(Rcpp::Named("kind") = "records", Rcpp::Named("object_count") = file.object_count,
                            Rcpp::Named("records") = records, Rcpp::Named("heights") = heights);
}

}  // namespace dendro_r

// One file, or the two of a comparison read together as the command line
// reads them (Newick trees sharing one order of objects); each checked under
// its own path.
extern "C" SEXP dc_read_files(SEXP paths, SEXP format, SEXP labels) {
  return dendro_r::guarded([&]() -> SEXP {
    const auto names = Rcpp::as<std::vector<std::string>>(paths);
    const compare::ReadOptions options = dendro_r::read_options(format, labels);
    Rcpp::List result;
    if (names.size() == 2) {
      const auto pair = compare::read_dendrogram_pair(names[0], names[1], options);
      compare::check_dendrogram(pair.first, names[0]);
      compare::check_dendrogram(pair.second, names[1]);
      return Rcpp::List::create(dendro_r::records_of(pair.first), dendro_r::records_of(pair.second));
    }
    const compare::DendrogramFile file = compare::read_dendrogram(names.at(0), options);
    compare::check_dendrogram(file, names[0]);
    return Rcpp::List::create(dendro_r::records_of(file));
  });
}

// One file beside an R object, named `other` in messages, whose labels
// (or NULL) a Newick tree takes as its order of objects; a tree with labels
// beside an object without any is refused. `newick` says whether the file
// took the labels: list(records, newick).
extern "C" SEXP dc_read_beside(SEXP path, SEXP other, SEXP labels) {
  return dendro_r::guarded([&]() -> SEXP {
    const std::string name = Rcpp::as<std::string>(path);
    const compare::ReadResult read =
        compare::read_dendrogram_beside(name, Rcpp::as<std::string>(other), dendro_r::read_options(R_NilValue, labels));
    compare::check_dendrogram(read.dendrogram, name);
    return Rcpp::List::create(dendro_r::records_of(read.dendrogram),
                              Rcpp::wrap(read.format == compare::InputFormat::newick));
  });
}

// The message refusing to pair an input with labels and one without, in
// the readers' words, for the objects R pairs itself.
extern "C" SEXP dc_unpaired_message(SEXP labelled, SEXP plain) {
  return Rcpp::wrap(compare::unpaired_message(Rcpp::as<std::string>(labelled), Rcpp::as<std::string>(plain),
                                              dendro_r::kHowToGiveLabels));
}

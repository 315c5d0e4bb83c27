// The readers of the forms users already have: scipy linkage matrices as
// .npy or text, R hclust CSV, and Newick trees (alone, or two of them
// sharing one leaf order, with or without a labels file). A reader either
// refuses its input with InputError or gives a dendrogram the validator
// accepts; anything else escaping it, or an accepted dendrogram the
// validator refuses, is a finding. An accepted dendrogram is also written
// in our own format and read back through the runtime: a record that does
// not come back the same is a finding too.
//
// Input: one byte choosing the reader (low three bits: 0 npy, 1 linkage
// text, 2 hclust, 3 Newick, 4 Newick pair, else detected from the content),
// then the file's bytes. For the Newick pair the bytes are split at NUL
// into the first tree, the second tree and, when there is a third part, a
// labels file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "formats/den_reader.h"
#include "formats/inputs.h"
#include "fuzz_support.h"
#include "model/validate.h"

namespace {

std::string scratch_named(const char* suffix) { return fuzz::scratch_path() + suffix; }

void write_file(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

[[noreturn]] void finding(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

// What the reader gave must be a dendrogram the comparison can use, and
// must survive our own format unchanged.
void check_accepted(const compare::DendrogramFile& file) {
  // The readers take dendrograms up to the exact engine's limit, beyond the 46 340
  // objects of the single-precision tables.
  if (compare::validate_dendrogram(file, compare::kLargestExactObjectCount))
    finding("a reader accepted a dendrogram the validator refuses");
  const std::string den = scratch_named(".den");
  compare::write_den_file(file, den);
  compare::DendrogramFile back = compare::read_den_file(den);
  fuzz::reset_runtime();
  if (back.object_count != file.object_count || back.merges != file.merges)
    finding("a dendrogram written in our own format reads back different");
}

std::vector<std::string_view> split_at_nul(std::string_view bytes) {
  std::vector<std::string_view> parts;
  for (std::size_t end; (end = bytes.find('\0')) != std::string_view::npos && parts.size() < 2;) {
    parts.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 1);
  }
  parts.push_back(bytes);
  return parts;
}

void read_pair(std::string_view bytes) {
  std::vector<std::string_view> parts = split_at_nul(bytes);
  const std::string first = scratch_named(".1.nwk"), second = scratch_named(".2.nwk");
  write_file(first, parts[0]);
  write_file(second, parts.size() > 1 ? parts[1] : std::string_view());
  compare::ReadOptions options;
  options.format = compare::InputFormat::newick;
  if (parts.size() > 2) {
    const std::string labels = scratch_named(".labels");
    write_file(labels, parts[2]);
    options.labels = compare::read_labels(labels);
  }
  auto [one, two] = compare::read_dendrogram_pair(first, second, options);
  if (one.object_count != two.object_count) finding("a Newick pair of different object counts was accepted");
  check_accepted(one);
  check_accepted(two);
}

void read_single(compare::InputFormat format, std::string_view bytes) {
  write_file(fuzz::scratch_path(), bytes);
  compare::ReadOptions options;
  options.format = format;
  check_accepted(compare::read_dendrogram(fuzz::scratch_path(), options));
}

compare::InputFormat format_chosen(std::uint8_t choice) {
  switch (choice & 7) {
    case 0: return compare::InputFormat::linkage_npy;
    case 1: return compare::InputFormat::linkage_text;
    case 2: return compare::InputFormat::hclust;
    case 3: return compare::InputFormat::newick;
    default: return compare::InputFormat::automatic;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::install_memory_console("");
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    if ((data[0] & 7) == 4)
      read_pair(bytes);
    else
      read_single(format_chosen(data[0]), bytes);
  } catch (const compare::InputError&) {
    // A refusal with its message is what bad input should give.
  }
  fuzz::reset_runtime();
  return 0;
}

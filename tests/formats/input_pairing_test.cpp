// How the objects of two inputs are paired: by label where both have
// labels, by number where neither has, and never silently by position
// between a tree with labels and an input without any. A Newick label's
// unquoted underscore is a blank, and a repeated leaf is blamed on the file
// that repeats it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/inputs.h"
#include "formats/support/scratch_folder.h"
#include "model/errors.h"

namespace compare {
namespace {

using formats_test::refusal;
using formats_test::ScratchFolder;

// Objects a, b, c, d: {a, c} at 0.5, {b, d} at 0.7, all at 1. The linkage
// numbers them 1 to 4 in that order; the tree's leaves come a, c, b, d, so
// pairing by position would pair b with c.
const char kTree[] = "((a:0.5,c:0.5):0.5,(b:0.7,d:0.7):0.3);\n";
const char kLinkage[] = "0 2 0.5 2\n1 3 0.7 2\n4 5 1.0 4\n";
const std::vector<MergeRecord> kMerges = {{1, 3, 1, 1, 0.5f}, {2, 4, 1, 1, 0.7f}, {1, 2, 2, 2, 1.0f}};

TEST(InputPairing, ATreeWithLabelsBesideAnInputWithoutIsRefusedSayingHowToGiveThem) {
  ScratchFolder dir;
  const std::string tree = dir.write("t.nwk", kTree), linkage = dir.write("z.txt", kLinkage);
  const std::string how = "'s objects in their order with --labels FILE, one a line";
  EXPECT_EQ(refusal([&] { read_dendrogram_pair(tree, linkage); }),
            tree + " has labels and " + linkage + " has none, so their objects cannot be paired: give the labels of " +
                linkage + how);
  EXPECT_EQ(refusal([&] { read_dendrogram_pair(linkage, tree); }),
            tree + " has labels and " + linkage + " has none, so their objects cannot be paired: give the labels of " +
                linkage + how);
  ReadOptions python;
  python.how_to_give_labels = "with labels=[...]";
  EXPECT_EQ(refusal([&] { read_dendrogram_beside(tree, "dendrogram 2", python); }),
            tree + " has labels and dendrogram 2 has none, so their objects cannot be paired: give the labels of "
                   "dendrogram 2's objects in their order with labels=[...]");
}

TEST(InputPairing, LabelsGivenNumberTheTreesObjectsAsTheOtherInputsPositions) {
  ScratchFolder dir;
  const std::string tree = dir.write("t.nwk", kTree), linkage = dir.write("z.txt", kLinkage);
  const auto [first, second] = read_dendrogram_pair(tree, linkage, {InputFormat::automatic, {"a", "b", "c", "d"}});
  EXPECT_EQ(first.merges, kMerges);
  EXPECT_EQ(second.merges, kMerges);
  const ReadResult beside = read_dendrogram_beside(tree, "dendrogram 1", {InputFormat::automatic, {"a", "b", "c", "d"}});
  EXPECT_EQ(beside.dendrogram.merges, kMerges);
  EXPECT_EQ(beside.format, InputFormat::newick);
}

// R's ape writes the numbers 1..N as the leaves of a tree without labels.
TEST(InputPairing, LeavesThatAreTheObjectNumbersPairByNumber) {
  ScratchFolder dir;
  const std::string numbered = dir.write("n.nwk", "((1:0.5,3:0.5):0.5,(2:0.7,4:0.7):0.3);\n");
  const std::string linkage = dir.write("z.txt", kLinkage);
  const auto [first, second] = read_dendrogram_pair(numbered, linkage);
  EXPECT_EQ(first.merges, kMerges);
  EXPECT_EQ(second.merges, kMerges);
  EXPECT_EQ(read_dendrogram(numbered).merges, kMerges);
  EXPECT_EQ(read_dendrogram_beside(numbered, "dendrogram 2").dendrogram.merges, kMerges);
  const auto [tree1, tree2] = read_dendrogram_pair(numbered, numbered);
  EXPECT_EQ(tree2.merges, kMerges);

  // Anything but exactly 1..N is a label like any other.
  for (const char* labels : {"((0:0.5,2:0.5):0.5,(1:0.7,3:0.7):0.3);", "((1:0.5,3:0.5):0.5,(2:0.7,5:0.7):0.3);",
                             "((01:0.5,3:0.5):0.5,(2:0.7,4:0.7):0.3);", "((1:0.5,3:0.5):0.5,(3:0.7,4:0.7):0.3);"}) {
    const std::string tree = dir.write("l.nwk", labels);
    EXPECT_NE(refusal([&] { read_dendrogram_pair(tree, linkage); }).find("has labels and"), std::string::npos)
        << labels;
  }
  const std::string named = dir.write("t.nwk", kTree);
  EXPECT_NE(refusal([&] { read_dendrogram_pair(numbered, named); }).find("the trees' leaf labels differ"),
            std::string::npos);
}

TEST(InputPairing, AnUnquotedUnderscoreIsABlank) {
  ScratchFolder dir;
  const std::string ape = dir.write("ape.nwk", "((New_York:1,'Los_Angeles':1):1,Ohio:2);");
  const std::string quoted = dir.write("q.nwk", "(('New York':1,Ohio:1):1,'Los_Angeles':2);");
  const auto [first, second] = read_dendrogram_pair(ape, quoted);
  // New York = 1, Los_Angeles = 2, Ohio = 3 in the first tree's order.
  EXPECT_EQ(second.merges, (std::vector<MergeRecord>{{1, 3, 1, 1, 1.0f}, {1, 2, 2, 1, 2.0f}}));
  const std::string names = dir.write("names.txt", "Ohio\nNew York\nLos_Angeles\n");
  EXPECT_EQ(read_dendrogram(ape, {InputFormat::automatic, read_labels(names)}).merges,
            (std::vector<MergeRecord>{{2, 3, 1, 1, 1.0f}, {2, 1, 2, 1, 2.0f}}));
}

TEST(InputPairing, ARepeatedLeafIsBlamedOnTheFileThatRepeatsIt) {
  ScratchFolder dir;
  const std::string sound = dir.write("ok.nwk", "((L1:1,L2:1):1,(L3:1.5,L4:1.5):0.5);");
  const std::string repeats = dir.write("rep.nwk", "((L1:1,L2:1):1,(L2:1.5,L4:1.5):0.5);");
  EXPECT_EQ(refusal([&] { read_dendrogram_pair(sound, repeats); }), repeats + ": leaf 'L2' appears twice");
  EXPECT_EQ(refusal([&] { read_dendrogram_pair(repeats, sound); }), repeats + ": leaf 'L2' appears twice");
  const std::string labels = dir.write("labels.txt", "L1\nL2\n\nL3\n L2 \n");
  EXPECT_EQ(refusal([&] { read_labels(labels); }), labels + ": label 'L2' is repeated (lines 2 and 5)");
  ReadOptions listed{InputFormat::automatic, {"L1", "L2", "L1", "L4"}};
  listed.labels_source = "labels";
  EXPECT_EQ(refusal([&] { read_dendrogram(sound, listed); }), "labels: label 'L1' is repeated");
}

}  // namespace
}  // namespace compare

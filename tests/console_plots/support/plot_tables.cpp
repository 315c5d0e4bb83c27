#include "console_plots/support/plot_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "console/plots/render.h"
#include "formats/den_reader.h"

namespace console::plots::test {

compare::ComparisonTables make_tables(const std::vector<int>& row_clusters, const std::vector<int>& column_clusters,
                                      const std::function<float(int m, int k, int l)>& value) {
  compare::ComparisonTables tables;
  tables.levels1 = static_cast<int>(row_clusters.size()) + 1;
  tables.levels2 = static_cast<int>(column_clusters.size()) + 1;
  tables.cluster_counts1 = row_clusters;
  tables.cluster_counts2 = column_clusters;
  for (std::size_t k = 1; k <= row_clusters.size(); ++k) {
    for (std::size_t l = 1; l <= column_clusters.size(); ++l) {
      for (int m = 1; m <= compare::kMeasureCount; ++m) {
        tables.values.push_back(value(m, static_cast<int>(k), static_cast<int>(l)));
      }
    }
  }
  return tables;
}

compare::Comparison make_results(compare::ComparisonTables tables) {
  compare::Comparison results;
  results.tables = std::move(tables);
  for (std::size_t k = 1; k <= results.tables.compared_rows(); ++k) results.heights1.push_back(0.5f * k);
  for (std::size_t l = 1; l <= results.tables.compared_columns(); ++l) results.heights2.push_back(0.25f * l);
  return results;
}

compare::Comparison five_object_results() {
  std::string examples = std::string(DENDRO_SOURCE_DIR) + "/examples/";
  return compare::run_comparison(compare::read_den_file(examples + "five1.den"),
                                 compare::read_den_file(examples + "five2.den"));
}

namespace {

// Fonts need a graphical application; the suite makes the one a program
// without windows gets.
class GraphicalEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_NE(graphical_application(), nullptr); }
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new GraphicalEnvironment);

}  // namespace

}  // namespace console::plots::test

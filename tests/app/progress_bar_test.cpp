#include "app/cli/progress_bar.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressBar, ShowsTheShareDoneAndTheTimeLeftAtTheRateSoFar) {
  struct Case {
    int done, total;
    double elapsed;
    const char* line;
  };
  const Case cases[] = {
      // 37 columns took 37 s, so the other 63 take 63 s.
      {37, 100, 37.0, "Comparing [###       ]  37%  1:03 left"},
      {1, 3, 10.0, "Comparing [###       ]  33%  0:20 left"},
      {0, 10, 5.0, "Comparing [          ]   0%"},
      {10, 10, 5.0, "Comparing [##########] 100%"},
  };
  for (const Case& c : cases) EXPECT_EQ(cli::ProgressBar::line(c.done, c.total, c.elapsed, 10), c.line);
}

}  // namespace

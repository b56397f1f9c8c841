// The summary file's name must be the one the plug-in writes, or the command line prints nothing.
#include "host/cli/summary_file.h"

#include <gtest/gtest.h>

namespace tlhost {
namespace {

TEST(SummaryFileName, ReplacesOnlyTheFileNamesExtension) {
  const struct {
    const char* pdf;
    const char* summary;
  } cases[] = {
      {"ch1.pdf", "ch1.smry"},
      {"dir/ch1.final.pdf", "dir/ch1.final.smry"},  // only the last extension
      {"review", "review.smry"},
      {"rev.2/review", "rev.2/review.smry"},  // a dot in a folder is no extension
      {"rev.2\\review", "rev.2\\review.smry"},
      {"review.", "review.smry"},
  };
  for (const auto& c : cases) EXPECT_EQ(SummaryFileName(c.pdf), c.summary) << c.pdf;
}

}  // namespace
}  // namespace tlhost

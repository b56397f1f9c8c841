// The command line's run and import, as a person or another program calls them: exit status
// and the native dialogs it lists.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "reviewed_pdf.h"

namespace tlhost {
namespace {

struct Outcome {
  int status = -1;
  std::string output;
};

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pdf_.ExportExample("chapter1.tlv")) << pdf_.error(); }

  Outcome Tolvane(const std::string& arguments) {
    const std::string command = "TOLVANE_USER_DIR='" + pdf_.directory() + "' '" + TOLVANE_PROGRAM +
                                "' " + arguments + " </dev/null 2>&1";
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return outcome;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, n);
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
  }

  Outcome RunWithFilterActions(const std::string& filterActions) {
    const std::string script = pdf_.directory() + "/answers.txt";
    std::ofstream(script) << "dialog warningdialog\n  press 3\nend\n"
                          << "dialog inputfile\n  text 3 " << pdf_.exportedPdf()
                          << "\n  choose 12\n  press 1\nend\n"
                          << "dialog customfilterdialog\n"
                          << filterActions << "end\n";
    return Tolvane("run '" + pdf_.sourcePath() + "' --dialogs '" + script + "'");
  }

  osprevan::fixtures::ReviewedPdf pdf_;
};

TEST_F(CommandLine, RunAnswersZeroWhenTheImportRanThroughTheFilterDialog) {
  const Outcome outcome = RunWithFilterActions("  check 114\n  enter\n");
  EXPECT_EQ(outcome.status, 0) << outcome.output;
  EXPECT_NE(outcome.output.find("[native dialog] customfilterdialog\n"), std::string::npos)
      << outcome.output;
}

TEST_F(CommandLine, RunAnswersOneWhenTheFilterDialogIsCancelled) {
  Outcome outcome = RunWithFilterActions("  press 101\n");
  EXPECT_EQ(outcome.status, 1) << outcome.output;
  EXPECT_NE(outcome.output.find("[native dialog] customfilterdialog\n"), std::string::npos);
  // A script that runs out cancels too, and a wrong entry is said so.
  outcome = RunWithFilterActions("  select 123 no such kind\n  press 100\n");
  EXPECT_EQ(outcome.status, 1) << outcome.output;
  EXPECT_NE(outcome.output.find("no entry \"no such kind\" in list 123"), std::string::npos)
      << outcome.output;
}

TEST_F(CommandLine, ImportAnswersWhetherTheImportRan) {
  Outcome outcome = Tolvane("import '" + pdf_.sourcePath() + "' '" + pdf_.exportedPdf() + "'");
  EXPECT_EQ(outcome.status, 0) << outcome.output;
  EXPECT_EQ(outcome.output.find("[native dialog]"), std::string::npos);
  outcome = Tolvane("import '" + pdf_.sourcePath() + "' '" + pdf_.directory() + "/missing.pdf'");
  EXPECT_EQ(outcome.status, 1) << outcome.output;
  // The plug-in says nothing about a PDF that does not open; the host says the import did not
  // run.
  EXPECT_NE(outcome.output.find("tolvane: the import did not run"), std::string::npos)
      << outcome.output;
}

}  // namespace
}  // namespace tlhost

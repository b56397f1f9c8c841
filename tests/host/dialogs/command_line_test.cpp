// The command line's run, as a person or another program calls it: exit status and the native
// dialogs it lists. (import is checked by import_case.cmake.)
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

// run answers 0 when the import ran through the filter dialog, 1 when the dialog was
// cancelled: by its button, by a script that runs out, or by a wrong entry, which is said so.
TEST_F(CommandLine, RunAnswersWhetherTheImportRanThroughTheFilterDialog) {
  const struct {
    const char* actions;
    int status;
    const char* said;
  } cases[] = {
      {"  check 114\n  enter\n", 0, ""},
      {"  press 101\n", 1, ""},
      {"  select 123 no such kind\n  press 100\n", 1, "no entry \"no such kind\" in list 123"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunWithFilterActions(c.actions);
    EXPECT_EQ(outcome.status, c.status) << outcome.output;
    EXPECT_NE(outcome.output.find("[native dialog] customfilterdialog\n"), std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find(c.said), std::string::npos) << outcome.output;
  }
}

}  // namespace
}  // namespace tlhost

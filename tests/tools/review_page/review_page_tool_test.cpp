#include <gtest/gtest.h>

#include <filesystem>

#include "review_pipeline.h"
#include "reviewed_pdf.h"

namespace osprevan::review {
namespace {

using testing::MillDocument;
using testing::ReviewPageTool;
using testing::RunCommand;
using testing::WriteFile;

// Inputs the page cannot be made from are refused with a reason, and no page (nor a temporary
// file) is left behind.
TEST(ReviewPageTool, RefusesWhatItCannotReadAndLeavesNoPage) {
  fixtures::ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportText(MillDocument("Short."))) << pdf.error();
  const std::string folder = pdf.directory() + "/";
  WriteFile(folder + "report.json", R"({"comments": []})");
  WriteFile(folder + "broken.json", R"({"comments": [{"page": "one"}]})");
  WriteFile(folder + "not.pdf", "%PDF-1.7\nnothing else");
  const std::string exported = pdf.exportedPdf(), document = pdf.sourcePath();
  struct Case {
    const char* name;
    std::string report, pdf, document;
    const char* says;
  };
  const Case cases[] = {
      {"broken report", folder + "broken.json", exported, document, "cannot be read"},
      {"not a PDF", folder + "report.json", folder + "not.pdf", document, "cannot open the PDF"},
      {"no document", folder + "report.json", exported, folder + "missing.tlv", "cannot open"},
  };
  for (const Case& c : cases) {
    const std::string page = folder + "page.html";
    const auto run = RunCommand({ReviewPageTool(), c.report, c.pdf, c.document, "-o", page});
    EXPECT_EQ(run.status, 1) << c.name << ": " << run.output;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << c.name << ": " << run.output;
    EXPECT_FALSE(std::filesystem::exists(page)) << c.name;
  }
  size_t left = 0;
  for (const auto& entry : std::filesystem::directory_iterator(pdf.directory()))
    left += entry.path().filename().string().find("page") != std::string::npos;
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(RunCommand({ReviewPageTool(), folder + "report.json"}).status, 2);
}

// The tool's own usage and refusals are said in the language --lang chooses; the exit status
// is the same in both.
TEST(ReviewPageTool, SaysItsUsageAndRefusalsInTheChosenLanguage) {
  fixtures::ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportText(MillDocument("Short."))) << pdf.error();
  const std::string missing = pdf.directory() + "/missing.json";
  const std::string page = pdf.directory() + "/page.html";
  const std::string report = pdf.directory() + "/report.json";
  WriteFile(report, R"({"comments": []})");
  struct Case {
    const char* name;
    std::vector<std::string> words;  // after the program and --lang LANG
    int status;
    const char* english;
    const char* japanese;
  };
  const Case cases[] = {
      {"help",
       {"--help"},
       0,
       "usage: tolvane-review-page REPORT.json",
       "使い方: tolvane-review-page"},
      {"inputs missing", {missing}, 2, "REPORT, PDF and DOC are needed", "REPORT、PDF、DOC を指定"},
      {"usage after a wrong use", {missing}, 2, "\nusage: tolvane-review-page", "\n使い方: "},
      {"no page",
       {missing, pdf.exportedPdf(), pdf.sourcePath()},
       2,
       "-o PAGE.html is needed",
       "-o PAGE.html を指定"},
      {"-o without its path", {"-o"}, 2, "-o needs a path", "-o にはパスを指定"},
      {"no report",
       {missing, pdf.exportedPdf(), pdf.sourcePath(), "-o", page},
       1,
       "cannot open the report",
       "を開けません"},
      // The system's cause is worded too, not only the sentence around it.
      {"page in a missing folder",
       {report, pdf.exportedPdf(), pdf.sourcePath(), "-o", pdf.directory() + "/none/page.html"},
       1,
       "page.html: no such file",
       "page.html に書き込めません : ファイルまたはフォルダーがありません"},
  };
  for (const Case& c : cases) {
    for (const auto& [lang, expected] :
         {std::pair<std::string, const char*>{"en", c.english}, {"ja", c.japanese}}) {
      std::vector<std::string> words = {ReviewPageTool(), "--lang", lang};
      words.insert(words.end(), c.words.begin(), c.words.end());
      const auto run = RunCommand(words);
      EXPECT_EQ(run.status, c.status) << c.name << " " << lang << ": " << run.output;
      EXPECT_NE(run.output.find(expected), std::string::npos)
          << c.name << " " << lang << ": " << run.output;
    }
  }
  // A wrong --lang is said in the language of the settings, with the usage.
  const auto wrong = RunCommand({ReviewPageTool(), "--lang", "fr"});
  EXPECT_EQ(wrong.status, 2) << wrong.output;
  EXPECT_NE(wrong.output.find("--lang"), std::string::npos) << wrong.output;
  EXPECT_FALSE(std::filesystem::exists(page));
}

// The page never takes the place of an import's input or of its report: the import is refused
// before it runs.
TEST(ImportReviewPage, NeverReplacesAnInput) {
  fixtures::ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportText(MillDocument("Short."))) << pdf.error();
  ASSERT_TRUE(pdf.Review(R"({"comments": [{"kind": "highlight", "find": "old mill"}]})"))
      << pdf.error();
  const std::string report = pdf.directory() + "/r.json";
  WriteFile(report, "{}");
  for (const std::string& input : {pdf.annotatedPdf(), pdf.sourcePath(), report}) {
    const std::string before = testing::ReadFile(input);
    const auto run = RunCommand({testing::Tolvane(), "import", pdf.sourcePath(), pdf.annotatedPdf(),
                                 "--report", report, "--review-page", input});
    EXPECT_EQ(run.status, 1) << input << ": " << run.output;
    EXPECT_NE(run.output.find("(--review-page): is "), std::string::npos) << run.output;
    EXPECT_EQ(testing::ReadFile(input), before) << input;
  }
}

}  // namespace
}  // namespace osprevan::review

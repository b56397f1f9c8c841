// What the tools' tests share: running the programs the build made, and a small
// document to review. The reviewed PDFs and every file the tests write live in the temporary
// folder of a fixtures::ReviewedPdf.
#pragma once

#include <string>
#include <vector>

namespace osprevan::review::testing {

struct CommandResult {
  int status = -1;
  std::string output;  // standard output and error together
};

// Runs `words` (each quoted for the shell) and collects what it printed; with `errorFile`, the
// error output goes there instead.
CommandResult RunCommand(const std::vector<std::string>& words, const std::string& errorFile = "");

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);

// The programs the tests drive, as the build gives them.
std::string Tolvane();
std::string ReviewPageTool();

// A small document: a heading and two paragraphs of body text in one flow, the second
// holding `secondParagraph` (document markup).
std::string MillDocument(const std::string& secondParagraph);

}  // namespace osprevan::review::testing

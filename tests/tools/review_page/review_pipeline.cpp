#include "review_pipeline.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace osprevan::review::testing {

namespace {

std::string Quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& words, const std::string& errorFile) {
  std::string line;
  for (const std::string& w : words) line += Quoted(w) + " ";
  line += errorFile.empty() ? "2>&1" : "2>" + Quoted(errorFile);
  CommandResult result;
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Tolvane() {
  return TOLVANE_PROGRAM;
}

std::string ReviewPageTool() {
  return REVIEW_PAGE_PROGRAM;
}

std::string MillDocument(const std::string& secondParagraph) {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="4">
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading1">The mill</p>
    <p unique="2" format="Body">The old mill turned slowly by the river while the miller counted sacks of grain and the children ran along the bank chasing geese over the meadow.</p>
    <p unique="3" format="Body">)" +
         secondParagraph + R"(</p>
  </flow>
</document>
)";
}

}  // namespace osprevan::review::testing

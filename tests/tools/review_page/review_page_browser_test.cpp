// The review page as a browser shows it: headless Chromium loads each page and prints the tree
// it built (after the page's own script ran), and the tests read that tree, not the HTML file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "review_pipeline.h"
#include "reviewed_pdf.h"

namespace osprevan::review {
namespace {

using testing::CommandResult;
using testing::MillDocument;
using testing::ReadFile;
using testing::RunCommand;
using testing::Tolvane;
using testing::WriteFile;

std::string Chromium() {
  const char* given = std::getenv("CHROMIUM");
  return given ? given : "/usr/bin/chromium";
}

// One comment's element as the browser built it.
struct ShownComment {
  std::string outcome;
  std::string html;  // its inner HTML
  std::string section;
};

struct ShownPage {
  std::string dom;
  std::map<int, ShownComment> comments;  // by the comment's place in the report, from 1
  std::vector<int> order;                // as shown, top to bottom
  int images = 0, imagesLoaded = 0;
};

// Loads `page` in headless Chromium with a fresh profile in `folder` and reads the tree.
ShownPage Load(const std::string& folder, const std::string& page) {
  // The browser keeps settings and caches under the home folder too: that is the test's folder.
  const CommandResult run =
      RunCommand({"env", "HOME=" + folder, "XDG_CONFIG_HOME=" + folder + "/config",
                  "XDG_CACHE_HOME=" + folder + "/cache", Chromium(), "--headless", "--no-sandbox",
                  "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--user-data-dir=" + folder + "/profile", "--dump-dom", "file://" + page},
                 folder + "/chromium.err");
  ShownPage shown;
  shown.dom = run.output;
  EXPECT_EQ(run.status, 0) << ReadFile(folder + "/chromium.err");
  static const std::regex section(R"re(<section data-document="([^"]*)")re");
  static const std::regex article(
      R"re(<article id="comment-(\d+)" data-outcome="([^"]*)"[^>]*>([\s\S]*?)</article>)re");
  std::vector<std::pair<size_t, std::string>> sections;
  for (std::sregex_iterator it(shown.dom.begin(), shown.dom.end(), section), end; it != end; ++it)
    sections.emplace_back(it->position(), (*it)[1]);
  for (std::sregex_iterator it(shown.dom.begin(), shown.dom.end(), article), end; it != end; ++it) {
    const int index = std::stoi((*it)[1]);
    std::string in;
    for (const auto& [at, name] : sections)
      if (at < static_cast<size_t>(it->position())) in = name;
    shown.comments[index] = {(*it)[2], (*it)[3], in};
    shown.order.push_back(index);
  }
  static const std::regex image(R"(<img [^>]*>)");
  for (std::sregex_iterator it(shown.dom.begin(), shown.dom.end(), image), end; it != end; ++it) {
    ++shown.images;
    if (it->str().find("data-loaded=\"yes\"") != std::string::npos) ++shown.imagesLoaded;
  }
  return shown;
}

nlohmann::json Report(const std::string& path) {
  return nlohmann::json::parse(ReadFile(path));
}

// Every comment of the report is on the page with its outcome and its author, and every
// picture loaded: one picture per comment.
void ExpectEveryCommentShown(const ShownPage& page, const nlohmann::json& report) {
  const auto& comments = report.at("comments");
  EXPECT_EQ(page.comments.size(), comments.size());
  for (size_t i = 0; i < comments.size(); ++i) {
    const auto found = page.comments.find(static_cast<int>(i) + 1);
    ASSERT_NE(found, page.comments.end()) << "comment " << i + 1 << " is not on the page";
    EXPECT_EQ(found->second.outcome, comments[i].at("outcome").get<std::string>());
    const std::string author = comments[i].at("author");
    EXPECT_NE(found->second.html.find(author), std::string::npos) << author;
  }
  EXPECT_EQ(page.images, static_cast<int>(comments.size()));
  EXPECT_EQ(page.imagesLoaded, page.images);
  EXPECT_NE(page.dom.find("data-images-checked=\"all\""), std::string::npos);
}

class ReviewPageInBrowser : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access(Chromium().c_str(), X_OK) != 0)
      GTEST_SKIP() << Chromium() << " is missing: install chromium (scripts/install-deps.sh)";
  }

  std::string In(const std::string& name) const { return pdf.directory() + "/" + name; }

  // Imports the reviewed PDF into `document`, saving to `out` (in place when empty), with the
  // report and the page named `name` in the fixture's folder.
  void Import(const std::string& document, const std::string& out, const std::string& name) {
    std::vector<std::string> words = {Tolvane(),          "import",          document,
                                      pdf.annotatedPdf(), "--report",        In(name + ".json"),
                                      "--review-page",    In(name + ".html")};
    if (!out.empty()) words.insert(words.end(), {"-o", out});
    const CommandResult run = RunCommand(words);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("[review page] " + In(name + ".html")), std::string::npos)
        << run.output;
  }

  ShownPage Shown(const std::string& name) const {
    return Load(pdf.directory(), In(name + ".html"));
  }

  fixtures::ReviewedPdf pdf;
};

constexpr const char* kHostile =
    R"(<script>document.body.setAttribute('data-injected','1')</script>)"
    R"js(<img src=x onerror="document.body.setAttribute('data-injected','2')"> & "quoted")js";

// One import that places a comment, flags one whose text changed since the PDF was made and
// fails one whose place lies in deleted text; a second import of the same PDF finds the
// placed ones already imported.
TEST_F(ReviewPageInBrowser, ShowsEachOutcomeAndAlreadyImported) {
  ASSERT_TRUE(pdf.ExportText(MillDocument(R"(The lamps were <c cond="TL8_TRACK_CHANGES_DELETED" )"
                                          R"(author="Rei" time="0">ever</c> lit one by one.)")))
      << pdf.error();
  const nlohmann::json review = {
      {"comments",
       {{{"kind", "highlight"}, {"find", "old mill"}, {"author", "Kim"}, {"contents", kHostile}},
        {{"kind", "strikeout"}, {"find", "counted sacks"}, {"author", "Sato"}},
        {{"kind", "insert"}, {"find", "were ev"}, {"text", " not"}, {"author", "Rei"}},
        {{"kind", "note"},
         {"find", "river"},
         {"author", "Mika"},
         {"contents", "Which river?"},
         {"replies",
          {{{"author", "Kim"},
            {"contents", "The <b>Avon</b>"},
            {"replies", {{{"author", "Mika"}, {"contents", "Thanks"}}}}}}}}}}};
  ASSERT_TRUE(pdf.Review(review.dump())) << pdf.error();
  // The struck words change after the PDF was made: that comment is flagged, not placed.
  std::string text = ReadFile(pdf.sourcePath());
  text.replace(text.find("counted sacks"), 13, "weighed sacks");
  WriteFile(pdf.sourcePath(), text);

  Import(pdf.sourcePath(), In("imported.tlv"), "first");
  const nlohmann::json first = Report(In("first.json"));
  const ShownPage page = Shown("first");
  ExpectEveryCommentShown(page, first);

  std::map<std::string, int> byOutcome;  // the report's index of each outcome's comment
  for (size_t i = 0; i < first["comments"].size(); ++i)
    byOutcome[first["comments"][i]["outcome"]] = static_cast<int>(i) + 1;
  ASSERT_TRUE(byOutcome.count("successful") && byOutcome.count("misplaced") &&
              byOutcome.count("failed"))
      << first.dump();
  // Failed and flagged come before placed.
  const auto rank = [&](int index) {
    const std::string& o = page.comments.at(index).outcome;
    return o == "failed" ? 0 : o == "misplaced" ? 1 : 2;
  };
  for (size_t i = 1; i < page.order.size(); ++i)
    EXPECT_LE(rank(page.order[i - 1]), rank(page.order[i]));
  // The hostile contents are text on the page, and ran nowhere.
  EXPECT_FALSE(std::regex_search(page.dom, std::regex("<body[^>]*data-injected")));
  EXPECT_EQ(page.dom.find("<img src=\"x\""), std::string::npos);
  std::string highlight;
  for (const auto& [index, shown] : page.comments)
    if (shown.html.find("old mill") != std::string::npos && shown.outcome == "successful")
      highlight = shown.html;
  EXPECT_NE(highlight.find("&lt;script&gt;document.body"), std::string::npos) << highlight;
  EXPECT_NE(highlight.find("<mark>old mill</mark>"), std::string::npos) << highlight;
  // The flagged strike-out shows its marker in the document's text, the failed insertion its
  // reason, and the note its thread of replies, nested.
  const ShownComment& flagged = page.comments.at(byOutcome["misplaced"]);
  EXPECT_NE(flagged.html.find("class=\"marker\""), std::string::npos) << flagged.html;
  // Its place is where its marker now stands, past what the comments applied after it, earlier
  // in the paragraph, added.
  EXPECT_NE(flagged.html.find("weighed sacks<span class=\"point\">|</span><ins title=\"Sato\">"
                              "<span class=\"marker\""),
            std::string::npos)
      << flagged.html;
  const ShownComment& failed = page.comments.at(byOutcome["failed"]);
  EXPECT_NE(failed.html.find(first["comments"][byOutcome["failed"] - 1]["reason"]),
            std::string::npos)
      << failed.html;
  EXPECT_NE(failed.html.find("<del"), std::string::npos) << failed.html;
  std::string note;
  for (size_t i = 0; i < first["comments"].size(); ++i)
    if (first["comments"][i]["contents"] == "Which river?")
      note = page.comments.at(static_cast<int>(i) + 1).html;
  const std::regex thread(R"(<li><b>Kim</b>[^<]*The &lt;b&gt;Avon&lt;/b&gt;<ul><li><b>Mika</b>)");
  EXPECT_TRUE(std::regex_search(note, thread)) << note;
  // The script ran: the outcome filter is shown.
  EXPECT_NE(page.dom.find("<form id=\"filter\">"), std::string::npos);

  Import(In("imported.tlv"), In("again.tlv"), "second");
  const nlohmann::json second = Report(In("second.json"));
  const ShownPage again = Shown("second");
  ExpectEveryCommentShown(again, second);
  // Every comment the first import placed or flagged is shown as already imported.
  int already = 0, placed = 0;
  for (const auto& [index, shown] : again.comments) already += shown.outcome == "alreadyImported";
  for (const auto& [index, shown] : page.comments)
    placed += shown.outcome == "successful" || shown.outcome == "misplaced";
  EXPECT_GE(already, placed);
  EXPECT_GE(placed, 3);
}

// A book's comments are grouped by the component they went to.
TEST_F(ReviewPageInBrowser, GroupsABooksCommentsByComponent) {
  ASSERT_TRUE(pdf.ExportExample("manual.tlb")) << pdf.error();
  const std::string review = R"({"comments": [
    {"kind": "highlight", "find": "マニュアル", "author": "Sato"},
    {"kind": "underline", "find": "The table lists the", "author": "Kim"},
    {"kind": "note", "find": "takes effect", "author": "Kim", "contents": "Always?"}]})";
  ASSERT_TRUE(pdf.Review(review)) << pdf.error();
  Import(pdf.sourcePath(), "", "book");
  const nlohmann::json report = Report(In("book.json"));
  const ShownPage page = Shown("book");
  ExpectEveryCommentShown(page, report);
  std::set<std::string> components;
  for (size_t i = 0; i < report["comments"].size(); ++i) {
    const std::string document = report["comments"][i]["document"];
    components.insert(document);
    EXPECT_EQ(page.comments.at(static_cast<int>(i) + 1).section, document);
  }
  EXPECT_EQ(components, (std::set<std::string>{"chapter1.tlv", "table-footnote.tlv"}));
  EXPECT_NE(page.dom.find("<h2>table-footnote.tlv</h2>"), std::string::npos);
}

// A comment on a turned page is shown and its picture loads.
TEST_F(ReviewPageInBrowser, ShowsACommentOnATurnedPage) {
  tlhost::pdfexport::ExportOptions turned;
  turned.pageRotation[0] = 90;
  ASSERT_TRUE(pdf.ExportText(MillDocument("The lamps were lit one by one."), {}, turned))
      << pdf.error();
  ASSERT_TRUE(pdf.Review(
      R"({"comments": [{"kind": "underline", "find": "children ran", "author": "Kim"}]})"))
      << pdf.error();
  Import(pdf.sourcePath(), In("imported.tlv"), "turned");
  const nlohmann::json report = Report(In("turned.json"));
  const ShownPage page = Shown("turned");
  ExpectEveryCommentShown(page, report);
  ASSERT_EQ(page.comments.size(), 1u);
  EXPECT_EQ(page.comments.at(1).outcome, "successful");
  EXPECT_NE(page.comments.at(1).html.find("<u>children ran</u>"), std::string::npos)
      << page.comments.at(1).html;
}

}  // namespace
}  // namespace osprevan::review

// Comments placed into a host document end to end: the host exports a document, the reviewer
// tool comments on the PDF, the source may change, and the plug-in imports the comments as
// another client would. What these tests hold is where things go, what they become (tracked
// changes, conditions, markers), and that no text of the writer's is ever lost.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "host/engine/show.h"
#include "imported_document.h"
#include "reviewed_pdf.h"
#include "tests/client/plugin_host_fixture.h"
#include "tests/fixtures/plugin_messages.h"

namespace osprevan::testing {
namespace {

namespace fs = std::filesystem;
using fixtures::Message;

constexpr const char* kDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="6">
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading1" autonumber="1&#9;">Reading comments</p>
    <p unique="2" format="Body">Reviewers mark the text they want changed.</p>
    <p unique="3" format="Body">Every comment comes back where the reviewer put it.</p>
    <p unique="4" format="Body">Nothing the writer wrote is ever lost.</p>
    <p unique="5" format="Body">The summary counts what was imported.</p>
  </flow>
</document>
)";

class ApplyCommentsTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    UseAnsweredUserDir(fs::path(pdf_.directory()) / "user");
  }

  // Exports the document, reviews it, lets `edit` change the source afterwards (or puts
  // `importInto` in its place), imports.
  void Import(const std::string& review,
              const std::vector<std::pair<std::string, std::string>>& edits = {},
              const std::string& document = kDocument, const std::string& importInto = "") {
    ASSERT_TRUE(pdf_.ExportText(document)) << pdf_.error();
    ASSERT_TRUE(pdf_.Review(review)) << pdf_.error();
    if (!pdfBytes_.first.empty()) ReplaceInFile(pdf_.annotatedPdf(), pdfBytes_);
    std::string source = importInto.empty() ? document : importInto;
    for (const auto& [from, to] : edits) {
      const size_t at = source.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      source.replace(at, from.size(), to);
    }
    std::ofstream(pdf_.sourcePath()) << source;
    std::vector<tlhost::PropValue> returned;
    ASSERT_EQ(host().engine().OpenFile(pdf_.sourcePath(), {}, document_, returned), 0);
    host().engine().session().activeDocument = document_;
    before_ = Paragraphs();
    client_ = &LoadAndInitialize();
    client_->Notify(tolvane::NOTE_CLIENT_CALL, 0, pdf_.annotatedPdf(), 0);
    ASSERT_TRUE(host().recorder().ImportRan());
  }

  // Saves the document, opens it again from its file and imports the reviewed PDF once more.
  void ImportAgain() {
    tlhost::Engine& engine = host().engine();
    ASSERT_EQ(engine.Save(document_, pdf_.sourcePath()), 0);
    ASSERT_EQ(engine.Close(document_, tolvane::CLOSE_DISCARD), 0);
    std::vector<tlhost::PropValue> returned;
    ASSERT_EQ(engine.OpenFile(pdf_.sourcePath(), {}, document_, returned), 0);
    engine.session().activeDocument = document_;
    host().recorder().Clear();
    client_->Notify(tolvane::NOTE_CLIENT_CALL, 0, pdf_.annotatedPdf(), 0);
    ASSERT_TRUE(host().recorder().ImportRan());
  }

  std::string File(const std::string& name) {
    std::ifstream in(fs::path(pdf_.directory()) / name);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }

  // Replaces bytes of a file by as many others, so that offsets stay right.
  static void ReplaceInFile(const std::string& path,
                            const std::pair<std::string, std::string>& edit) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const size_t at = bytes.find(edit.first);
    ASSERT_NE(at, std::string::npos) << edit.first;
    ASSERT_EQ(edit.first.size(), edit.second.size());
    bytes.replace(at, edit.first.size(), edit.second);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }

  // The document as `tolvane show` prints it.
  std::string Shown() {
    std::ostringstream out;
    tlhost::ShowDocument(*host().engine().document(document_), out);
    return out.str();
  }

  // Every paragraph, in tables and footnotes too, one a line.
  std::vector<std::string> Paragraphs() {
    std::vector<std::string> lines;
    std::istringstream in(Shown());
    for (std::string line; std::getline(in, line);)
      if (std::regex_search(line, std::regex(R"(^ +\[\d+\])"))) lines.push_back(line);
    return lines;
  }

  // The writer's text is as it was, paragraph by paragraph: marked maybe, never lost.
  void ExpectNoTextLost() {
    const std::vector<std::string> after = Paragraphs();
    ASSERT_EQ(after.size(), before_.size());
    for (size_t i = 0; i < after.size(); ++i)
      EXPECT_EQ(fixtures::WritersText(after[i], "Mika"), fixtures::WritersText(before_[i], "Mika"));
  }

  // Successful, misplaced and failed of one row of the summary file ("ノート注釈", ...).
  std::string Counts(const std::string& label) {
    return fixtures::SummaryCounts((fs::path(pdf_.directory()) / "annotated.smry").string(), label);
  }

  fixtures::ReviewedPdf pdf_;
  tlhost::ClientConnection* client_ = nullptr;
  tolvane::ObjectId document_ = 0;
  std::pair<std::string, std::string> pdfBytes_;  // replaced in the reviewed PDF before the import
  std::vector<std::string> before_;
};

// A note's icon starts at the found text; its box leaves out the first character's left part, so
// the note is tied to the second character.
TEST_F(ApplyCommentsTest, ANoteBecomesAMarkerAtTheWordItPointsAt) {
  Import(R"({"comments": [{"kind": "note", "find": "the reviewer", "author": "Mika",
             "modified": "D:20260101120000Z", "contents": "Say who."}]})");
  const std::vector<std::string> after = Paragraphs();
  EXPECT_NE(after[2].find("where the{+"), std::string::npos) << after[2];
  EXPECT_NE(after[2].find("ノート注釈 :  : Mika : 2026/01/01 12:00:00 : 注意 : Say who."),
            std::string::npos)
      << after[2];
  EXPECT_EQ(Counts("ノート注釈"), "1/0/0");
  ExpectNoTextLost();
}

TEST_F(ApplyCommentsTest, NotesInTableCellsAndAFootnoteLandInTheirParagraphs) {
  std::ifstream in(std::string(OSPREVAN_EXAMPLES_DIR) + "/table-footnote.tlv");
  const std::string document((std::istreambuf_iterator<char>(in)), {});
  // The second cell of the second body row is written anew after the export: its paragraph is
  // no longer found by its identifier, and is counted inside the cell the table leads to. That
  // note lands there but is flagged: a counted paragraph may be another one.
  Import(R"({"comments": [{"kind": "note", "find": "Meaning", "contents": "cell"},
                          {"kind": "note", "find": "of version", "contents": "footnote"},
                          {"kind": "note", "find": "Updates", "contents": "rewritten"}]})",
         {{R"(<p unique="14">)", R"(<p unique="21">)"},
          {R"(next-unique="21")", R"(next-unique="22")"}},
         document);
  std::ostringstream out;
  tlhost::ShowDocument(*host().engine().document(document_), out);
  EXPECT_NE(out.str().find("[12]: Meaning{+"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("[20] Footnote: As of{+"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("[21]: Updates{+"), std::string::npos) << out.str();
  EXPECT_EQ(Counts("ノート注釈"), "2/1/0");
  // What they left in the cells and the footnote is found again: nothing is imported twice.
  ImportAgain();
  EXPECT_EQ(Counts("ノート注釈"), "0/0/0");
  EXPECT_NE(File("annotated.smry").find(Message(support::MSG_ALREADY_IMPORTED) + " 3\n"),
            std::string::npos);
}

TEST_F(ApplyCommentsTest, DoubtfulPlacesBecomeMisplacedMarkersAndTouchNoText) {
  struct Case {
    const char* name;
    const char* review;
    std::vector<std::pair<std::string, std::string>> edits;
    const char* row;
    const char* counts;
  };
  const Case cases[] = {
      {"StartsInTheParagraphNumber",
       R"({"comments": [{"kind": "highlight", "find": "1 Reading"}]})",
       {},
       "ハイライト",
       "0/1/0"},
      {"ParagraphDeletedAfterExport",
       R"({"comments": [{"kind": "highlight", "find": "comes back"}]})",
       {{R"(<p unique="3" format="Body">Every comment comes back where the reviewer put it.</p>)",
         ""}},
       "ハイライト",
       "0/1/0"},
      {"ParagraphShortenedAfterExport",
       R"({"comments": [{"kind": "highlight", "find": "ever lost"}]})",
       {{"Nothing the writer wrote is ever lost.", "Nothing is lost."}},
       "ハイライト",
       "0/1/0"},
      // Rewritten within the same length: the ends still map, the characters between are others.
      {"EqualLengthRewriteInsideAHighlight",
       R"({"comments": [{"kind": "highlight", "find": "they want changed"}]})",
       {{"they want changed", "they wish changed"}},
       "ハイライト",
       "0/1/0"},
      {"EqualLengthRewriteInsideAReplacement",
       R"({"comments": [{"kind": "replace", "find": "summary", "text": "report"}]})",
       {{"The summary counts", "The summery counts"}},
       "置換",
       "0/1/0"},
      // A point has no text of its own: the words around it must be the ones it was put among.
      {"InsertionInARewrittenSentence",
       R"({"comments": [{"kind": "insert", "find": "comes back", "text": " wooden"}]})",
       {{"comes back where", "returns where"}},
       "挿入",
       "0/1/0"},
      {"NoteOnAParagraphDeletedAfterExport",
       R"({"comments": [{"kind": "note", "find": "the reviewer"}]})",
       {{R"(<p unique="3" format="Body">Every comment comes back where the reviewer put it.</p>)",
         ""}},
       "ノート注釈",
       "0/1/0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Import(c.review, c.edits);
    EXPECT_EQ(Counts(c.row), c.counts);
    ExpectNoTextLost();
    TearDown();
  }
}

// A review by Mika on 2026-01-01 12:00 UTC; each entry is the inside of one comment.
std::string ByMika(std::initializer_list<std::string> comments) {
  std::string out = R"({"comments": [)";
  for (const std::string& c : comments) {
    if (out.back() == '}') out += ", ";
    out += "{" + c + R"(, "author": "Mika", "modified": "D:20260101120000Z"})";
  }
  return out + "]}";
}

std::string Edited(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  return at == std::string::npos ? "not found: " + from : text.replace(at, from.size(), to);
}

std::string Example(const std::string& name) {
  std::ifstream in(std::string(OSPREVAN_EXAMPLES_DIR) + "/" + name);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST_F(ApplyCommentsTest, ChangesBecomeTrackedChangesAndMarksConditions) {
  struct Case {
    const char* name;
    std::string document;            // as exported
    std::string comment;             // the inside of Mika's one comment
    const char* counts;              // "ROW S/M/F"
    std::vector<std::string> shown;  // in the document afterwards; after "!": nowhere in it
    std::vector<std::pair<std::string, std::string>> edits = {};  // after the export
    std::pair<std::string, std::string> pdfBytes = {};            // in the reviewed PDF
  };
  const std::string ins = "{+Mika 2026-01-01T12:00:00Z|", del = "{-Mika 2026-01-01T12:00:00Z|";
  const std::string hl = "{TL_PDF_Comments_Highlight|", rei = R"( author="Rei" time="0")";
  const std::string sato = R"( author="Sato" time="1700000100")";
  const std::string bySato = "{-Sato 2023-11-14T22:15:00Z|";
  const std::string tables = Example("table-footnote.tlv");
  const std::vector<std::pair<std::string, std::string>> moveTable = {
      {R"(.<table-anchor ref="t1"/>)", "."},
      {"The table lists the", R"(The table lists<table-anchor ref="t1"/> the)"}};
  auto withCondition = [](const std::string& name, const std::string& attributes = "") {
    return Edited(kDocument, "<marker-type",
                  "<condition name=\"" + name + "\" " + attributes + "/><marker-type");
  };
  auto marked = [](std::string document, const std::string& text, const std::string& how) {
    return Edited(document, text, "<c " + how + ">" + text + "</c>");
  };
  const Case cases[] = {
      Case{"InsertionAtTheCaret",
           kDocument,
           R"("kind": "insert", "find": "Reviewers mark", "text": " clearly")",
           "挿入 1/0/0",
           {"Reviewers mark" + ins + " clearly+} the text"}},
      Case{"InsertionBesideARewrittenSentence",
           Edited(kDocument, "they want changed.", "they want it. Then it changes."),
           R"("kind": "insert", "find": "Reviewers mark", "text": " clearly")",
           "挿入 1/0/0",
           {"Reviewers mark" + ins + " clearly+} the text they want it. It must change."},
           {{"Then it changes.", "It must change."}}},
      Case{"TwoInsertionsInOneParagraph",
           kDocument,
           R"("kind": "insert", "find": "Every comment", "text": " single", "author": "Mika",)"
           R"( "modified": "D:20260101120000Z"}, {"kind": "insert", "find": "comes back",)"
           R"( "text": " surely")",
           "挿入 2/0/0",
           {"Every comment" + ins + " single+} comes back" + ins + " surely+} where"}},
      Case{"HighlightOverUnderlinedTextKeepsBoth",
           marked(withCondition("TL_PDF_Comments_Underline"), "the text",
                  R"(cond="TL_PDF_Comments_Underline")"),
           R"("kind": "highlight", "find": "the text")",
           "ハイライト 1/0/0",
           {"{TL_PDF_Comments_Underline|{TL_PDF_Comments_Highlight|the text}}"}},
      Case{"FreeTextBecomesANoteMarker",
           kDocument,
           R"("kind": "freetext", "find": "summary", "contents": "Boxed.")",
           "ノート注釈 1/0/0",
           {"[marker Comment: TL_PDF_Comment: ノート注釈 :  : Mika : 2026/01/01 12:00:00 : 注意 : "
            "Boxed.]"}},
      Case{"NoDeletionConditionNothingMarked",
           Edited(kDocument, R"(<condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>)", ""),
           R"("kind": "strikeout", "find": "ever ")",
           "削除 0/0/1",
           {"!{-"}},
      Case{"DeletionKeepsTheText",
           kDocument,
           R"("kind": "strikeout", "find": "ever ")",
           "削除 1/0/0",
           {"is " + del + "ever -}lost."}},
      Case{"ReplacementNewTextAfterTheStruck",
           kDocument,
           R"("kind": "replace", "find": "summary", "text": "report")",
           "置換 1/0/0",
           {"The " + del + "summary-}" + ins + "report+} counts"}},
      Case{"Squiggly",
           kDocument,
           R"("kind": "squiggly", "find": "Nothing")",
           "下線 1/0/0",
           {"{TL_PDF_Comments_Underline|Nothing} the"}},
      Case{
          "HighlightWithContentsGetsAMarkerAtItsEnd",
          kDocument,
          R"("kind": "highlight", "find": "comes back", "contents": "Why?")",
          "ハイライト 1/0/0",
          {hl + "comes back}{+Mika 2026-01-01T12:00:00Z|[marker Comment: TL_PDF_Comment: ハイライト"
                " : Mika : 2026/01/01 12:00:00 : 注意 : Why? : ハイライトテキスト : comes "
                "back]+} where"}},
      Case{"DeletionOverTwoParagraphsMarksTheEndBetween",
           kDocument,
           R"("kind": "strikeout", "find": "want changed. Every comment")",
           "削除 1/0/0",
           {del + "want changed.-}" + del + "¶-}\n", "[3] Body: " + del + "Every comment-} "}},
      Case{"DeletionOfInsertedTextDropsTheInsertion",
           marked(kDocument, "ever lost", R"(cond="TL8_TRACK_CHANGES_ADDED")" + rei),
           R"("kind": "strikeout", "find": "ever", "occurrence": 1)",
           "削除 1/0/0",
           {"is " + del + "ever-}{+Rei", "!{+Rei 1970-01-01T00:00:00Z|ever"}},
      Case{"DeletionTakesInHiddenText",
           Edited(withCondition("Internal", R"(shown="no")"), "writer ",
                  R"(writer <c cond="Internal">secretly </c>)"),
           R"("kind": "strikeout", "find": "writer wrote")",
           "削除 1/0/0",
           {"{Internal|" + del + "secretly -}}"}},
      Case{"InsertionIntoHighlightedTextIsNotHighlighted",
           marked(withCondition("TL_PDF_Comments_Highlight"), "the text they",
                  R"(cond="TL_PDF_Comments_Highlight")"),
           R"("kind": "insert", "find": "mark the text", "text": " new")",
           "挿入 1/0/0",
           {hl + "the text}" + ins + " new+}" + hl + " they}"}},
      // The writer's deletion stays the writer's: rejecting the reviewer's changes keeps it.
      Case{"HighlightOverATrackedDeletionKeepsItsAuthorAndTime",
           marked(kDocument, "ever", R"(cond="TL8_TRACK_CHANGES_DELETED")" + sato),
           R"("kind": "highlight", "find": "is ever lost")",
           "ハイライト 1/0/0",
           {hl + "is }" + bySato + hl + "ever}-}" + hl + " lost}"}},
      Case{"DeletionOverATrackedDeletionKeepsItsAuthorAndTime",
           marked(kDocument, "ever", R"(cond="TL8_TRACK_CHANGES_DELETED")" + sato),
           R"("kind": "strikeout", "find": "is ever lost")",
           "削除 1/0/0",
           {del + "is -}" + bySato + "ever-}" + del + " lost-}"}},
      Case{"NoInsertionConditionNothingInserted",
           Edited(kDocument, R"(<condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>)", ""),
           R"("kind": "insert", "find": "Reviewers mark", "text": " clearly")",
           "挿入 0/0/1",
           {"!clearly"}},
      // Text crosses to the host as a C string, which would end at the NUL.
      Case{"InsertionWithANulInItsText",
           kDocument,
           R"("kind": "insert", "find": "Reviewers mark", "text": " clXearly")",
           "挿入 0/0/1",
           {"!cl"},
           {},
           {"clXearly", std::string("cl\0early", 8)}},
      Case{"InsertionPointInDeletedText",
           marked(kDocument, "ever", R"(cond="TL8_TRACK_CHANGES_DELETED")" + rei),
           R"("kind": "insert", "find": "is ever", "text": " not")",
           "挿入 0/0/1",
           {"!not"}},
      Case{"DeletionOverATableAnchorTakesTheWholeTable",
           tables,
           R"("kind": "strikeout", "find": "table lists the")",
           "削除 1/0/0",
           {del + "[table]-}", R"("Table 1: ": )" + del + "Settings-}", "[14]: " + del + "Updates",
            "[16]: " + del + "¶-}"},
           moveTable},
      Case{"PlainHighlightOverATableAnchorTakesOnlyTheAnchor",
           tables,
           R"("kind": "highlight", "find": "table lists the")",
           "ハイライト 1/0/0",
           {hl + "[table]}", "[11]: Name\n", R"("Table 1: ": Settings)", "![marker Comment"},
           moveTable},
      Case{"DeletionOverAFootnoteAnchorTakesTheFootnote",
           tables,
           R"("kind": "strikeout", "find": "settings1.")",
           "削除 1/0/0",
           {del + "[footnote 1]-}", "[20] Footnote: " + del + "As of version 17.-}"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    pdfBytes_ = c.pdfBytes;
    Import(ByMika({c.comment}), c.edits, c.document);
    const std::string counts = c.counts, row = counts.substr(0, counts.find(' '));
    EXPECT_EQ(row + " " + Counts(row), counts);
    const std::string shown = Shown();
    for (const std::string& part : c.shown) {
      if (part[0] == '!')
        EXPECT_EQ(shown.find(part.substr(1)), std::string::npos) << part << "\n" << shown;
      else
        EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
    }
    ExpectNoTextLost();
    TearDown();
  }
}

TEST_F(ApplyCommentsTest, NewConditionsGetTheirLookAndExistingOnesKeepTheirs) {
  struct Case {
    const char* name;
    std::string document;
    const char* highlight;  // the look of each condition afterwards
    const char* underline;
  };
  const Case cases[] = {
      {"Created", Example("table-footnote.tlv"), "shown background Yellow style 0",
       "shown colour Magenta style 1"},
      {"NoReservedColourAndAnUnderlineThere",
       Edited(kDocument, "<marker-type",
              R"(<condition name="TL_PDF_Comments_Underline" style="double-underline"/>
  <marker-type)"),
       "shown background 0 style 0", "shown style 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    // Two of each: the second finds the condition the first made.
    Import(ByMika({R"("kind": "highlight", "find": "e", "occurrence": 0)",
                   R"("kind": "highlight", "find": "e", "occurrence": 2)",
                   R"("kind": "underline", "find": "e", "occurrence": 4)",
                   R"("kind": "underline", "find": "e", "occurrence": 6)"}),
           {}, c.document);
    EXPECT_EQ(Counts("ハイライト"), "2/0/0");
    EXPECT_EQ(Counts("下線"), "2/0/0");
    const tlhost::Document& d = *host().engine().document(document_);
    auto look = [&](const char* name) {
      const tlhost::Condition* k = d.FindCondition(name);
      if (!k) return std::string("none");
      auto colour = [&](tolvane::ObjectId id) {
        const tlhost::Colour* colour = tlhost::Document::Find(d.colours, id);
        return colour ? colour->name : std::string("0");
      };
      return std::string(k->shown ? "shown" : "hidden") +
             (k->backgroundOn ? " background " + colour(k->backgroundColour) : "") +
             (k->colourOverride ? " colour " + colour(k->overrideColour) : "") + " style " +
             std::to_string(k->styleOverride);
    };
    EXPECT_EQ(look("TL_PDF_Comments_Highlight"), c.highlight);
    EXPECT_EQ(look("TL_PDF_Comments_Underline"), c.underline);
    ExpectNoTextLost();
    TearDown();
  }
}

// A marker whose place a deletion of the same import struck stands after the struck text
// instead of being refused with its comment.
TEST_F(ApplyCommentsTest, AMarkerWhosePlaceIsStruckStandsAfterTheStruckText) {
  struct Case {
    const char* name;
    std::string review;
    const char* row;
    const char* counts;
    std::vector<std::string> shown;  // in the document afterwards
    const char* report;              // in the marker's comment's line of the report
  };
  const std::string marker = "-} {+Mika 2026-01-01T12:00:00Z|[marker Comment: TL_PDF_Comment: ";
  const Case cases[] = {
      // A caret left of the paragraph's first line is tied to the paragraph's start.
      {"MisplacedInsertionStaysFlagged",
       ByMika({R"("kind": "strikeout", "find": "Reviewers")",
               R"("kind": "insert", "point": [40, 100], "page": 0, "text": "lost text")"}),
       "挿入",
       "0/1/0",
       {"Reviewers" + marker + "挿入 : 未確認の配置 : ", "lost text]+}mark the text"},
       R"("outcome": "misplaced", "flow": "A", "paragraph": 2, "begin": 10, "end": 10)"},
      {"NoteOnAStruckWord",
       ByMika({R"("kind": "strikeout", "find": "wrote is ever")",
               R"("kind": "note", "find": "is ever", "contents": "Why?")"}),
       "ノート注釈",
       "1/0/0",
       {"wrote is ever" + marker + "ノート注釈 :  : Mika", "Why?]+}lost."},
       R"("outcome": "successful", "flow": "A", "paragraph": 4, "begin": 33, "end": 33)"},
      // Struck up to and with the paragraph end: nothing after it is outside the deletion.
      {"NoteOnTextStruckToTheParagraphEnd",
       ByMika({R"("kind": "strikeout", "find": "want changed. Every")",
               R"("kind": "note", "find": "changed", "contents": "Why?")"}),
       "ノート注釈",
       "1/0/0",
       {"they {+Mika 2026-01-01T12:00:00Z|[marker Comment: TL_PDF_Comment: ノート注釈",
        "Why?]+}{-Mika 2026-01-01T12:00:00Z|want changed."},
       R"("outcome": "successful", "flow": "A", "paragraph": 2, "begin": 29, "end": 29)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Import(c.review);
    EXPECT_EQ(Counts(c.row), c.counts);
    EXPECT_EQ(Counts("削除"), "1/0/0");
    const std::string shown = Shown();
    for (const std::string& part : c.shown) EXPECT_NE(shown.find(part), std::string::npos) << part;
    std::ifstream in(fs::path(pdf_.directory()) / "annotated.report.json");
    const std::string report((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(report.find(c.report), std::string::npos) << report;
    ExpectNoTextLost();
    TearDown();
  }
}

// Every comment read has its line in the report, with what became of it and, for doubtful
// and failed ones, why.
TEST_F(ApplyCommentsTest, TheReportSaysWhatBecameOfEachComment) {
  Import(R"({"comments": [
      {"kind": "highlight", "find": "summary counts", "author": "Mika"},
      {"kind": "highlight", "find": "1 Reading"},
      {"kind": "insert", "find": "Reviewers mark", "text": " clearly", "replies": [{}]}]})",
         {{"Reviewers mark", R"(<c cond="TL8_TRACK_CHANGES_DELETED">Reviewers mark</c>)"}});
  std::ifstream in(fs::path(pdf_.directory()) / "annotated.report.json");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.find("\"page\"") != std::string::npos) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u);
  const std::string report = lines[0] + lines[1] + lines[2];
  EXPECT_NE(
      report.find(R"("subtype": "Highlight", "author": "Mika", "date": "", )"
                  R"("contents": "", )"
                  R"("markedText": "summary counts", "replies": 0, "placement": "highlight", )"
                  R"("outcome": "successful", "flow": "A", "paragraph": 5, "begin": 4, )"
                  R"("end": 18, "reason": "")"),
      std::string::npos)
      << report;
  EXPECT_NE(report.find(R"("outcome": "misplaced", "flow": "A", "paragraph": 1, "begin": 7, )"
                        R"("end": 7, "reason": "starts inside the paragraph number")"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find(R"("replies": 1, "placement": "insertion", "outcome": "failed")"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find(R"("reason": "insertion point inside deleted text")"), std::string::npos)
      << report;
}

// The frame's text stands in the PDF inside its anchoring paragraph but is no text of that
// paragraph: a comment inside it cannot be placed, one on the paragraph's own text after it is
// counted without it.
TEST_F(ApplyCommentsTest, TextOfAnAnchoredFrameIsNotCountedInItsParagraph) {
  Import(
      ByMika({R"("kind": "highlight", "find": "caption")", R"("kind": "note", "find": "read on")"}),
      {}, R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="3">
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Body">Look at the picture <frame-anchor ref="a1"/>and read on.</p>
  </flow>
  <frame key="a1">
    <flow name="Inset">
      <p unique="2" format="Body">inset caption text</p>
    </flow>
  </frame>
</document>
)");
  EXPECT_EQ(Counts("ハイライト"), "0/1/0");
  EXPECT_EQ(Counts("ノート注釈"), "1/0/0");
  const std::vector<std::string> after = Paragraphs();
  ASSERT_FALSE(after.empty());
  EXPECT_NE(after[0].find("and read{+"), std::string::npos) << after[0];
  std::ifstream in(fs::path(pdf_.directory()) / "annotated.report.json");
  const std::string report((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(report.find(R"("reason": "inside a block")"), std::string::npos) << report;
  ExpectNoTextLost();
}

// Structured when the main flow has a root element, whatever the other flows hold; the
// comments of a structured document are found through its element identifiers.
TEST_F(ApplyCommentsTest, StructuredDocumentsAreToldByTheirMainFlow) {
  const std::string sideStructured = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="3">
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <element-def name="p"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Body">Plain text of the main flow.</p>
  </flow>
  <flow name="Side" page="1">
    <structure><element key="e1" def="p"/></structure>
    <p unique="2" format="Body"><element-begin ref="e1"/>Side text.<element-end ref="e1"/></p>
  </flow>
</document>
)";
  struct Case {
    std::string document;
    const char* find;
    const char* feature;
    const char* where;
  };
  const Case cases[] = {
      {Example("structured.tlv"), "second paragraph", "StructureDoc", "The second{+"},
      {sideStructured, "main flow", "UnstructureDoc", "of the main{+"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.feature);
    SetUp();
    Import(ByMika({std::string(R"("kind": "note", "find": ")") + c.find + "\""}), {}, c.document);
    std::vector<std::string> features;
    for (const auto& u : host().recorder().usage)
      if (u.category == "Osprevan") features.push_back(u.feature);
    EXPECT_FALSE(features.empty());
    for (const std::string& feature : features) EXPECT_EQ(feature, c.feature);
    EXPECT_EQ(Counts("ノート注釈"), "1/0/0");
    EXPECT_NE(Shown().find(c.where), std::string::npos) << Shown();
    TearDown();
  }
}

// Counts of "needle" in "text".
size_t Occurrences(const std::string& text, const std::string& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
    ++count;
  return count;
}

const char* const kRows[] = {"挿入", "削除", "置換", "ノート注釈", "下線", "ハイライト"};

// A review made on another document: its identifiers name paragraphs that hold other text, or
// none. Every comment is a marker flagged misplaced, and the import says once, in each place it
// reports to, that the PDF may not have been made from this document.
TEST_F(ApplyCommentsTest, AReviewOfAnotherDocumentPlacesNothingUnflagged) {
  Import(ByMika({R"("kind": "note", "find": "the reviewer", "contents": "Say who.")",
                 R"("kind": "note", "find": "Nothing")",
                 R"("kind": "insert", "find": "Reviewers mark", "text": " wooden")",
                 R"("kind": "insert", "find": "comes back", "text": " wooden")",
                 R"("kind": "replace", "find": "counts", "text": "tallies")",
                 R"("kind": "strikeout", "find": "ever ")",
                 R"("kind": "highlight", "find": "the text")",
                 R"("kind": "underline", "find": "imported")"}),
         {}, kDocument, Example("table-footnote.tlv"));
  for (const char* row : kRows) EXPECT_EQ(Counts(row).substr(0, 2), "0/") << row;
  EXPECT_EQ(Shown().find(" wooden+}"), std::string::npos) << Shown();
  const std::string warning = Message(support::MSG_OTHER_DOCUMENT);
  EXPECT_EQ(Occurrences(File("annotated.smry"), warning + "\n"), 1u) << File("annotated.smry");
  EXPECT_EQ(Occurrences(host().recorder().console, "\n" + warning), 1u);
  EXPECT_NE(File("annotated.report.json")
                .find(R"("warnings": ["the PDF may not have been made from this document"])"),
            std::string::npos)
      << File("annotated.report.json");
  ExpectNoTextLost();
}

// Each imported comment leaves its identity in the document, which the host keeps in its file:
// the same PDF imported into the saved and opened document adds nothing, whether the comments
// have names of their own or are told apart by a digest.
TEST_F(ApplyCommentsTest, TheSamePdfImportedAgainAddsNothing) {
  for (const std::string named : {"", R"(, "name": null)"}) {
    SCOPED_TRACE(named.empty() ? "named" : "unnamed");
    SetUp();
    Import(ByMika({R"("kind": "insert", "find": "Reviewers mark", "text": " clearly")" + named,
                   R"("kind": "highlight", "find": "the text")" + named,
                   R"("kind": "note", "find": "the reviewer", "contents": "Say who.")" + named,
                   R"("kind": "replace", "find": "summary", "text": "report")" + named}));
    const std::string once = Shown();
    ImportAgain();
    EXPECT_EQ(Shown(), once);
    for (const char* row : kRows) EXPECT_EQ(Counts(row), "0/0/0") << row;
    EXPECT_NE(File("annotated.smry").find(Message(support::MSG_ALREADY_IMPORTED) + " 4\n"),
              std::string::npos);
    EXPECT_NE(host().recorder().console.find(Message(support::MSG_ALREADY_IMPORTED) + " 4"),
              std::string::npos);
    EXPECT_EQ(Occurrences(File("annotated.report.json"), R"("outcome": "alreadyImported")"), 4u);
    ExpectNoTextLost();
    TearDown();
  }
}

// The reviewer's updated PDF holds the comments imported before, one of them with a reply
// added since, and two new ones: only the new ones are imported, and the report says that the
// reply stayed out; the marker of its comment is left as it was.
TEST_F(ApplyCommentsTest, AnUpdatedReviewImportsOnlyItsNewComments) {
  const std::string highlight = R"("kind": "highlight", "find": "the text", "name": "h1")";
  const std::string note =
      R"("kind": "note", "find": "the reviewer", "contents": "Say who.", "name": "n1")";
  Import(ByMika({highlight, note}));
  ASSERT_TRUE(pdf_.Review(
      ByMika({highlight, note + R"(, "replies": [{"author": "Rei", "contents": "Agreed."}])",
              R"("kind": "insert", "find": "Reviewers mark", "text": " clearly", "name": "i1")",
              R"("kind": "underline", "find": "Nothing", "name": "u1")"})))
      << pdf_.error();
  ImportAgain();
  EXPECT_EQ(Counts("挿入"), "1/0/0");
  EXPECT_EQ(Counts("下線"), "1/0/0");
  EXPECT_EQ(Counts("ハイライト"), "0/0/0");
  EXPECT_EQ(Counts("ノート注釈"), "0/0/0");
  EXPECT_NE(File("annotated.smry").find(Message(support::MSG_ALREADY_IMPORTED) + " 2\n"),
            std::string::npos);
  const std::string report = File("annotated.report.json");
  EXPECT_NE(report.find(R"("replies": 1, "placement": "note", "outcome": "alreadyImported", )"
                        R"("flow": "", "paragraph": 0, "begin": -1, "end": -1, )"
                        R"("reason": "replies added since it was imported")"),
            std::string::npos)
      << report;
  EXPECT_EQ(Shown().find("Agreed."), std::string::npos);
  EXPECT_EQ(Occurrences(Shown(), "{TL_PDF_Comments_Highlight|"), 1u);
  ExpectNoTextLost();
}

// A comment's date is its modification date, else its creation date; one with neither has no
// date in its marker or the report, and its change is stamped with the time of the import.
TEST_F(ApplyCommentsTest, ADateIsTheModificationElseTheCreationElseNone) {
  auto stampNow = [] {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
    return std::string(text);
  };
  const std::string first = stampNow();
  Import(R"({"comments": [
      {"kind": "note", "find": "Reviewers", "author": "Mika", "contents": "m",
       "modified": "D:20260101120000Z", "created": "D:20250505050505Z"},
      {"kind": "note", "find": "Every", "author": "Mika", "contents": "c",
       "created": "D:20250505140505+09'00'"},
      {"kind": "note", "find": "Nothing", "author": "Mika", "contents": "n"}]})");
  const std::string last = stampNow();
  const std::vector<std::string> after = Paragraphs();
  ASSERT_EQ(after.size(), 5u);
  const std::string marker = "[marker Comment: TL_PDF_Comment: ノート注釈 :  : Mika : ";
  EXPECT_NE(
      after[1].find("{+Mika 2026-01-01T12:00:00Z|" + marker + "2026/01/01 12:00:00 : 注意 : m]"),
      std::string::npos)
      << after[1];
  EXPECT_NE(
      after[2].find("{+Mika 2025-05-05T05:05:05Z|" + marker + "2025/05/05 05:05:05 : 注意 : c]"),
      std::string::npos)
      << after[2];
  std::smatch stamp;
  ASSERT_TRUE(std::regex_search(after[3], stamp, std::regex(R"(\{\+Mika ([^|]+)\|)"))) << after[3];
  EXPECT_GE(stamp[1].str(), first);
  EXPECT_LE(stamp[1].str(), last);
  EXPECT_NE(after[3].find(marker + " : 注意 : n]"), std::string::npos) << after[3];
  EXPECT_NE(File("annotated.report.json").find(R"("date": "", "contents": "n")"),
            std::string::npos);
  ExpectNoTextLost();
}

}  // namespace
}  // namespace osprevan::testing

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

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::string Example(const std::string& name) {
  return Read(fs::path(OSPREVAN_EXAMPLES_DIR) / name);
}

// `text` with the first `from` replaced by `to`; a `from` not found fails the test.
std::string Edited(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at == std::string::npos) ADD_FAILURE() << "not found: " << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A review by Mika on 2026-01-01 12:00 UTC; each entry is the inside of one comment. Without
// `byMika` each entry names its author.
std::string ByMika(const std::vector<std::string>& comments, bool byMika = true) {
  std::string out = R"({"comments": [)";
  for (const std::string& c : comments) {
    if (out.back() == '}') out += ", ";
    out +=
        "{" + c + (byMika ? R"(, "author": "Mika")" : "") + R"(, "modified": "D:20260101120000Z"})";
  }
  return out + "]}";
}

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
    if (!pdfBytes_.first.empty()) {
      ASSERT_EQ(pdfBytes_.first.size(), pdfBytes_.second.size());  // so that offsets stay right
      const std::string bytes = Read(pdf_.annotatedPdf());
      std::ofstream(pdf_.annotatedPdf(), std::ios::binary)
          << Edited(bytes, pdfBytes_.first, pdfBytes_.second);
    }
    std::string source = importInto.empty() ? document : importInto;
    for (const auto& [from, to] : edits) source = Edited(source, from, to);
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

  std::string File(const std::string& name) { return Read(fs::path(pdf_.directory()) / name); }

  // Runs `check` for each case, each in a host of its own.
  template <typename Cases, typename Check>
  void ForEachCase(const Cases& cases, Check check) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      SetUp();
      check(c);
      TearDown();
    }
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

  // The writer's text is as it was, paragraph by paragraph: marked maybe, never lost. The
  // reviewers' insertions, a pattern of their names, are taken out.
  void ExpectNoTextLost(const std::string& reviewers = "Mika") {
    const std::vector<std::string> after = Paragraphs();
    ASSERT_EQ(after.size(), before_.size());
    for (size_t i = 0; i < after.size(); ++i)
      EXPECT_EQ(fixtures::WritersText(after[i], reviewers),
                fixtures::WritersText(before_[i], reviewers));
  }

  // Each part is in `text`; a part after "!" is nowhere in it.
  static void ExpectParts(const std::string& text, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
      if (part[0] == '!')
        EXPECT_EQ(text.find(part.substr(1)), std::string::npos) << part << "\n" << text;
      else
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
  }

  // Successful, misplaced and failed of one row of the summary file ("ノート注釈", ...).
  std::string Counts(const std::string& label) {
    return fixtures::SummaryCounts(pdf_.directory() + "/annotated.smry", label);
  }
  // "ROW S/M/F" of the row that `expected` names.
  std::string RowCounts(const std::string& expected) {
    const std::string row = expected.substr(0, expected.find(' '));
    return row + " " + Counts(row);
  }

  fixtures::ReviewedPdf pdf_;
  tlhost::ClientConnection* client_ = nullptr;
  tolvane::ObjectId document_ = 0;
  std::pair<std::string, std::string> pdfBytes_;  // replaced in the reviewed PDF before the import
  std::vector<std::string> before_;
};

TEST_F(ApplyCommentsTest, NotesInTableCellsAndAFootnoteLandInTheirParagraphs) {
  // The second cell of the second body row is written anew after the export: its paragraph is
  // no longer found by its identifier, and is counted inside the cell the table leads to. That
  // note lands there but is flagged: a counted paragraph may be another one.
  Import(R"({"comments": [{"kind": "note", "find": "Meaning", "contents": "cell"},
                          {"kind": "note", "find": "of version", "contents": "footnote"},
                          {"kind": "note", "find": "Updates", "contents": "rewritten"}]})",
         {{R"(<p unique="14">)", R"(<p unique="21">)"},
          {R"(next-unique="21")", R"(next-unique="22")"}},
         Example("table-footnote.tlv"));
  const std::string shown = Shown();
  for (const char* part : {"[12]: Meaning{+", "[20] Footnote: As of{+", "[21]: Updates{+"})
    EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
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
    const char* row;  // that counts it misplaced
    const char* comment;
    std::vector<std::pair<std::string, std::string>> edits;
    const char* report = "";  // in the report afterwards
  };
  const std::pair<std::string, std::string> deleteThird = {
      R"(<p unique="3" format="Body">Every comment comes back where the reviewer put it.</p>)", ""};
  const Case cases[] = {
      {"StartsInTheParagraphNumber",
       "ハイライト",
       R"("kind": "highlight", "find": "1 Reading")",
       {},
       R"("outcome": "misplaced", "flow": "A", "paragraph": 1, "begin": 7, "end": 7, )"
       R"("reason": "starts inside the paragraph number")"},
      {"ParagraphDeletedAfterExport",
       "ハイライト",
       R"("kind": "highlight", "find": "comes back")",
       {deleteThird}},
      {"ParagraphShortenedAfterExport",
       "ハイライト",
       R"("kind": "highlight", "find": "ever lost")",
       {{"Nothing the writer wrote is ever lost.", "Nothing is lost."}}},
      // Rewritten within the same length: the ends still map, the characters between are others.
      {"EqualLengthRewriteInsideAHighlight",
       "ハイライト",
       R"("kind": "highlight", "find": "they want changed")",
       {{"they want changed", "they wish changed"}}},
      {"EqualLengthRewriteInsideAReplacement",
       "置換",
       R"("kind": "replace", "find": "summary", "text": "report")",
       {{"The summary counts", "The summery counts"}}},
      // A point has no text of its own: the words around it must be the ones it was put among.
      {"InsertionInARewrittenSentence",
       "挿入",
       R"("kind": "insert", "find": "comes back", "text": " wooden")",
       {{"comes back where", "returns where"}}},
      {"NoteOnAParagraphDeletedAfterExport",
       "ノート注釈",
       R"("kind": "note", "find": "the reviewer")",
       {deleteThird}},
  };
  ForEachCase(cases, [&](const Case& c) {
    Import(ByMika({c.comment}), c.edits);
    EXPECT_EQ(Counts(c.row), "0/1/0");
    EXPECT_NE(File("annotated.report.json").find(c.report), std::string::npos) << c.report;
    ExpectNoTextLost();
  });
}

TEST_F(ApplyCommentsTest, ChangesBecomeTrackedChangesAndMarksConditions) {
  struct Case {
    const char* name;
    std::vector<std::string> comments;  // the inside of each of Mika's comments
    const char* counts;                 // "ROW S/M/F"
    std::vector<std::string> shown;     // in the document afterwards; after "!": nowhere in it
    std::string document = kDocument;   // as exported
    std::string report = "";            // in the report afterwards
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
  const std::string framed = Edited(
      Edited(Edited(kDocument, R"(next-unique="6")", R"(next-unique="7")"), "they want changed.",
             R"(they want to look at the picture <frame-anchor ref="a1"/>and read on.)"),
      "</document>", R"(  <frame key="a1">
    <flow name="Inset"><p unique="6" format="Body">inset caption text</p></flow>
  </frame>
</document>)");
  const Case cases[] = {
      Case{"InsertionAtTheCaret",
           {R"("kind": "insert", "find": "Reviewers mark", "text": " clearly")"},
           "挿入 1/0/0",
           {"Reviewers mark" + ins + " clearly+} the text"}},
      Case{"InsertionBesideARewrittenSentence",
           {R"("kind": "insert", "find": "Reviewers mark", "text": " clearly")"},
           "挿入 1/0/0",
           {"Reviewers mark" + ins + " clearly+} the text they want it. It must change."},
           Edited(kDocument, "they want changed.", "they want it. Then it changes."),
           "",
           {{"Then it changes.", "It must change."}}},
      Case{"TwoInsertionsInOneParagraph",
           {R"("kind": "insert", "find": "Every comment", "text": " single")",
            R"("kind": "insert", "find": "comes back", "text": " surely")"},
           "挿入 2/0/0",
           {"Every comment" + ins + " single+} comes back" + ins + " surely+} where"}},
      Case{"HighlightOverUnderlinedTextKeepsBoth",
           {R"("kind": "highlight", "find": "the text")"},
           "ハイライト 1/0/0",
           {"{TL_PDF_Comments_Underline|{TL_PDF_Comments_Highlight|the text}}"},
           marked(withCondition("TL_PDF_Comments_Underline"), "the text",
                  R"(cond="TL_PDF_Comments_Underline")")},
      // A note's icon starts at the found text; its box leaves out the first character's left
      // part, so the note is tied to the second character.
      Case{"NoteAtTheWordItPointsAt",
           {R"("kind": "note", "find": "the reviewer", "contents": "Say who.")"},
           "ノート注釈 1/0/0",
           {"where the{+", "ノート注釈 :  : Mika : 2026/01/01 12:00:00 : 注意 : Say who."}},
      // The frame's text stands in the PDF inside its anchoring paragraph but is no text of that
      // paragraph: a comment inside it cannot be placed, one on the paragraph's own text after
      // it is counted without it.
      Case{"HighlightInAnAnchoredFrame",
           {R"("kind": "highlight", "find": "caption")"},
           "ハイライト 0/1/0",
           {"!{TL_PDF_Comments_Highlight|"},
           framed,
           R"("reason": "inside a block")"},
      Case{"NoteAfterAnAnchoredFrame",
           {R"("kind": "note", "find": "read on")"},
           "ノート注釈 1/0/0",
           {"and read{+"},
           framed},
      Case{"FreeTextBecomesANoteMarker",
           {R"("kind": "freetext", "find": "summary", "contents": "Boxed.")"},
           "ノート注釈 1/0/0",
           {"[marker Comment: TL_PDF_Comment: ノート注釈 :  : Mika : 2026/01/01 12:00:00 : 注意 : "
            "Boxed.]"}},
      Case{"NoDeletionConditionNothingMarked",
           {R"("kind": "strikeout", "find": "ever ")"},
           "削除 0/0/1",
           {"!{-"},
           Edited(kDocument, R"(<condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>)", "")},
      Case{"DeletionKeepsTheText",
           {R"("kind": "strikeout", "find": "ever ")"},
           "削除 1/0/0",
           {"is " + del + "ever -}lost."}},
      Case{"ReplacementNewTextAfterTheStruck",
           {R"("kind": "replace", "find": "summary", "text": "report")"},
           "置換 1/0/0",
           {"The " + del + "summary-}" + ins + "report+} counts"}},
      Case{"Squiggly",
           {R"("kind": "squiggly", "find": "Nothing")"},
           "下線 1/0/0",
           {"{TL_PDF_Comments_Underline|Nothing} the"}},
      Case{
          "HighlightWithContentsGetsAMarkerAtItsEnd",
          {R"("kind": "highlight", "find": "comes back", "contents": "Why?")"},
          "ハイライト 1/0/0",
          {hl + "comes back}{+Mika 2026-01-01T12:00:00Z|[marker Comment: TL_PDF_Comment: ハイライト"
                " : Mika : 2026/01/01 12:00:00 : 注意 : Why? : ハイライトテキスト : comes "
                "back]+} where"},
          kDocument,
          R"("subtype": "Highlight", "author": "Mika", "date": "2026/01/01 12:00:00", )"
          R"("contents": "Why?", "markedText": "comes back", "replies": 0, )"
          R"("placement": "highlight note", "outcome": "successful", "flow": "A", )"
          R"("paragraph": 3, "begin": 14, "end": 24, "reason": "")"},
      Case{"DeletionOverTwoParagraphsMarksTheEndBetween",
           {R"("kind": "strikeout", "find": "want changed. Every comment")"},
           "削除 1/0/0",
           {del + "want changed.-}" + del + "¶-}\n", "[3] Body: " + del + "Every comment-} "},
           kDocument,
           R"("paragraph": 3, "begin": 29, "end": 13, "reason": "", "beginParagraph": 2, )"},
      Case{"DeletionOfInsertedTextDropsTheInsertion",
           {R"("kind": "strikeout", "find": "ever", "occurrence": 1)"},
           "削除 1/0/0",
           {"is " + del + "ever-}{+Rei", "!{+Rei 1970-01-01T00:00:00Z|ever"},
           marked(kDocument, "ever lost", R"(cond="TL8_TRACK_CHANGES_ADDED")" + rei)},
      Case{"DeletionTakesInHiddenText",
           {R"("kind": "strikeout", "find": "writer wrote")"},
           "削除 1/0/0",
           {"{Internal|" + del + "secretly -}}"},
           Edited(withCondition("Internal", R"(shown="no")"), "writer ",
                  R"(writer <c cond="Internal">secretly </c>)")},
      Case{"InsertionIntoHighlightedTextIsNotHighlighted",
           {R"("kind": "insert", "find": "mark the text", "text": " new")"},
           "挿入 1/0/0",
           {hl + "the text}" + ins + " new+}" + hl + " they}"},
           marked(withCondition("TL_PDF_Comments_Highlight"), "the text they",
                  R"(cond="TL_PDF_Comments_Highlight")")},
      // The writer's deletion stays the writer's: rejecting the reviewer's changes keeps it.
      Case{"HighlightOverATrackedDeletionKeepsItsAuthorAndTime",
           {R"("kind": "highlight", "find": "is ever lost")"},
           "ハイライト 1/0/0",
           {hl + "is }" + bySato + hl + "ever}-}" + hl + " lost}"},
           marked(kDocument, "ever", R"(cond="TL8_TRACK_CHANGES_DELETED")" + sato)},
      Case{"DeletionOverATrackedDeletionKeepsItsAuthorAndTime",
           {R"("kind": "strikeout", "find": "is ever lost")"},
           "削除 1/0/0",
           {del + "is -}" + bySato + "ever-}" + del + " lost-}"},
           marked(kDocument, "ever", R"(cond="TL8_TRACK_CHANGES_DELETED")" + sato)},
      Case{"NoInsertionConditionNothingInserted",
           {R"("kind": "insert", "find": "Reviewers mark", "text": " clearly")"},
           "挿入 0/0/1",
           {"!clearly"},
           Edited(kDocument, R"(<condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>)", "")},
      // Text crosses to the host as a C string, which would end at the NUL; the host refuses a
      // backspace. Both show as U+FFFD in the document, a tab stays a tab, and the report keeps
      // the reviewer's text.
      Case{"InsertionWithANulInItsText",
           {R"("kind": "insert", "find": "Reviewers mark", "text": " clXearly")"},
           "挿入 1/0/0",
           {ins + " cl\xEF\xBF\xBD"
                  "early+}"},
           kDocument,
           R"("contents": " cl\u0000early")",
           {},
           {"clXearly", std::string("cl\0early", 8)}},
      Case{"InsertionWithATabAndABackspace",
           {R"("kind": "insert", "find": "Reviewers mark", "text": " a\tb\bc")"},
           "挿入 1/0/0",
           {ins + " a\\tb\xEF\xBF\xBD"
                  "c+}"},
           kDocument,
           R"("contents": " a\tb\u0008c")"},
      // The end of struck text is outside it: the new text follows it.
      Case{"InsertionPointAtTheEndOfDeletedText",
           {R"("kind": "insert", "find": "is ever", "text": " not", "replies": [{}])"},
           "挿入 1/0/0",
           {"{-Rei 1970-01-01T00:00:00Z|ever-}" + ins + " not+}" + ins + "[marker Comment: "},
           marked(kDocument, "ever", R"(cond="TL8_TRACK_CHANGES_DELETED")" + rei),
           R"("replies": 1, "placement": "insertion", "outcome": "successful", "flow": "A", )"
           R"("paragraph": 4, "begin": 32, "end": 32, "reason": "")"},
      // Between two struck characters nothing goes in; the marker keeps the text and replies.
      Case{"InsertionPointInDeletedText",
           {R"("kind": "insert", "find": "is ev", "text": " not", "replies": [{}])"},
           "挿入 0/0/1",
           {"!{+Mika 2026-01-01T12:00:00Z| not",
            "ever-}" + ins + "[marker Comment: ", "追加テキスト :  not\\n-> : "},
           marked(kDocument, "ever", R"(cond="TL8_TRACK_CHANGES_DELETED")" + rei),
           R"("replies": 1, "placement": "insertion", "outcome": "failed", "flow": "A", )"
           R"("paragraph": 4, "begin": 32, "end": 32, )"
           R"("reason": "insertion point inside deleted text")"},
      // Striking the anchor would strike the whole table: flagged, nothing struck.
      Case{"DeletionOverATableAnchorIsFlagged",
           {R"("kind": "strikeout", "find": "table lists the")"},
           "削除 0/1/0",
           {"!{-", "the" + ins + "[marker Comment: TL_PDF_Comment: 削除 : 未確認の配置"},
           tables,
           R"("reason": "struck range covers an anchor, a marker or an element boundary")",
           moveTable},
      Case{"PlainHighlightOverATableAnchorTakesOnlyTheAnchor",
           {R"("kind": "highlight", "find": "table lists the")"},
           "ハイライト 1/0/0",
           {hl + "[table]}", "[11]: Name\n", R"("Table 1: ": Settings)", "![marker Comment"},
           tables,
           "",
           moveTable},
      // The footnote's number stands on the line: a caret on either side of it is on that side
      // of the anchor.
      Case{"InsertionBeforeAFootnoteNumber",
           {R"("kind": "insert", "find": "settings", "occurrence": 1, "text": "X")"},
           "挿入 1/0/0",
           {"settings" + ins + "X+}[footnote 1]."},
           tables},
      Case{"ReplacementBeforeAFootnoteNumber",
           {R"("kind": "replace", "find": "settings", "occurrence": 1, "text": "options")"},
           "置換 1/0/0",
           {del + "settings-}" + ins + "options+}[footnote 1]."},
           tables},
      Case{"InsertionAfterAFootnoteNumber",
           {R"("kind": "insert", "find": "settings1", "text": "X")"},
           "挿入 1/0/0",
           {"settings[footnote 1]" + ins + "X+}."},
           tables},
      Case{"DeletionOverAFootnoteAnchorIsFlagged",
           {R"("kind": "strikeout", "find": "settings1.")"},
           "削除 0/1/0",
           {"!{-", "[20] Footnote: As of version 17."},
           tables,
           R"("reason": "struck range covers an anchor, a marker or an element boundary")"},
      // A caret left of the paragraph's first line is tied to the paragraph's start, which is
      // the edge of the struck word there.
      Case{"MisplacedInsertionStaysFlagged",
           {R"("kind": "strikeout", "find": "Reviewers")",
            R"("kind": "insert", "point": [40, 100], "page": 0, "text": "lost text")"},
           "挿入 0/1/0",
           {"[2] Body: " + ins + "[marker Comment: TL_PDF_Comment: 挿入 : 未確認の配置 : ",
            "lost text]+}" + del + "Reviewers-} mark"},
           kDocument,
           R"("outcome": "misplaced", "flow": "A", "paragraph": 2, "begin": 0, "end": 0)"},
      Case{"NoteOnAStruckWord",
           {R"("kind": "strikeout", "find": "wrote is ever")",
            R"("kind": "note", "find": "is ever", "contents": "Why?")"},
           "ノート注釈 1/0/0",
           {"wrote is ever-}" + ins + "[marker Comment: TL_PDF_Comment: ノート注釈 :  : Mika",
            "Why?]+} lost."},
           kDocument,
           R"("outcome": "successful", "flow": "A", "paragraph": 4, "begin": 32, "end": 32)"},
      // Struck up to and with the paragraph end: nothing after it is outside the deletion.
      Case{"NoteOnTextStruckToTheParagraphEnd",
           {R"("kind": "strikeout", "find": "want changed. Every")",
            R"("kind": "note", "find": "changed", "contents": "Why?")"},
           "ノート注釈 1/0/0",
           {"they {+Mika 2026-01-01T12:00:00Z|[marker Comment: TL_PDF_Comment: ノート注釈",
            "Why?]+}{-Mika 2026-01-01T12:00:00Z|want changed."},
           kDocument,
           R"("outcome": "successful", "flow": "A", "paragraph": 2, "begin": 29, "end": 29)"},
  };
  ForEachCase(cases, [&](const Case& c) {
    pdfBytes_ = c.pdfBytes;
    Import(ByMika(c.comments), c.edits, c.document);
    EXPECT_EQ(RowCounts(c.counts), c.counts);
    const std::string shown = Shown();
    ExpectParts(shown, c.shown);
    EXPECT_NE(File("annotated.report.json").find(c.report), std::string::npos) << c.report;
    ExpectNoTextLost();
  });
}

// Comments that meet at one place are each applied as drawn, or left as a marker that is counted
// and reported misplaced or failed with its reason; only what a reviewer drew is marked deleted.
TEST_F(ApplyCommentsTest, CommentsThatMeetAreAppliedAsDrawnOrFlagged) {
  struct Case {
    const char* name;
    std::vector<std::string> comments;     // the inside of each comment, its author first
    std::vector<std::string> counts;       // "ROW S/M/F" of each row that counts one
    std::vector<std::string> shown;        // in the document afterwards; after "!": nowhere in it
    std::string struck;                    // all text marked deleted afterwards, "|" between runs
    std::string document;                  // as exported
    std::vector<std::string> report = {};  // in the report afterwards; after "!": nowhere in it
  };
  const std::string mill = Edited(Edited(kDocument, "Reviewers mark the text they want changed.",
                                         "The old mill turned slowly beside the river bank."),
                                  "Every comment", "Its wheel has not moved since. Every comment");
  const std::string tables = Example("table-footnote.tlv"), structured = Example("structured.tlv");
  const std::string mika = R"("author": "Mika", )", rei = R"("author": "Rei", )";
  const std::string stamp = " 2026-01-01T12:00:00Z|";
  const std::string insM = "{+Mika" + stamp, delM = "{-Mika" + stamp, insR = "{+Rei" + stamp;
  const std::string marker = "[marker Comment: TL_PDF_Comment: ";
  const std::string struckBySato =
      Edited(mill, "slowly",
             R"(<c cond="TL8_TRACK_CHANGES_DELETED" author="Sato" time="1700000100">slowly</c>)");
  const std::string earlierMarker =
      Edited(mill, "slowly beside",
             R"(slowly<marker type="Comment" text="TL_PDF_Comment: earlier"/> beside)");
  const std::string framed = Edited(Edited(Edited(mill, R"(next-unique="6")", R"(next-unique="7")"),
                                           "river bank.", R"(river bank.<frame-anchor ref="a1"/>)"),
                                    "</document>", R"(  <frame key="a1">
    <flow name="Inset"><p unique="6" format="Body">inset caption text</p></flow>
  </frame>
</document>)");
  const std::string covers =
      R"("reason": "struck range covers an anchor, a marker or an element boundary")";
  const std::string noneFlagged = R"(!"outcome": "misplaced")",
                    noneFailed = R"(!"outcome": "failed")";
  const Case cases[] = {
      {"StrikeOutAndCaretAtItsEnd",
       {mika + R"("kind": "strikeout", "find": "slowly")",
        mika + R"("kind": "insert", "find": "slowly", "text": " gently")"},
       {"削除 1/0/0", "挿入 1/0/0"},
       {"turned " + delM + "slowly-}" + insM + " gently+} beside"},
       "slowly",
       mill},
      {"StrikeOutWithANoteAndACaretByAnother",
       {mika + R"("kind": "strikeout", "find": "slowly", "contents": "redundant")",
        rei + R"("kind": "insert", "find": "slowly", "text": " gently")"},
       {"削除 1/0/0", "挿入 1/0/0"},
       {delM + "slowly-}" + insR + " gently+}" + insM + marker + "削除", "redundant"},
       "slowly",
       mill,
       {noneFlagged, noneFailed}},
      {"CaretAtTheStartOfAStrikeOut",
       {mika + R"("kind": "strikeout", "find": "slowly")",
        rei + R"("kind": "insert", "find": "slowly", "at": "start", "text": "very ")"},
       {"削除 1/0/0", "挿入 1/0/0"},
       {"turned " + insR + "very +}" + delM + "slowly-} beside"},
       "slowly",
       mill},
      {"CaretAfterTextStruckByAnEarlierImport",
       {mika + R"("kind": "insert", "find": "slowly", "text": " gently")"},
       {"挿入 1/0/0"},
       {"{-Sato 2023-11-14T22:15:00Z|slowly-}" + insM + " gently+} beside"},
       "slowly",
       struckBySato},
      {"CaretInsideTextStruckByAnEarlierImport",
       {mika + R"("kind": "insert", "find": "slow", "text": " gently")"},
       {"挿入 0/0/1"},
       {"!" + insM + " gently", "slowly-}" + insM + marker + "挿入 : 未確認の配置",
        "追加テキスト :  gently]+} beside"},
       "slowly",
       struckBySato,
       {R"("outcome": "failed")", R"("reason": "insertion point inside deleted text")"}},
      {"CaretInsideTextStruckByAnotherComment",
       {mika + R"("kind": "strikeout", "find": "slowly beside")",
        rei + R"("kind": "insert", "find": "slowly", "text": " gently")"},
       {"削除 1/0/0", "挿入 0/1/0"},
       {delM + "slowly beside-}" + insR + marker + "挿入 : 未確認の配置", "!" + insR + " gently"},
       "slowly beside",
       mill,
       {R"("outcome": "misplaced")",
        R"("reason": "meets another comment: deletion by Mika on page 1 of \"slowly beside\"")"}},
      {"TwoCaretsAtOnePoint",
       {mika + R"("kind": "insert", "find": "slowly", "text": " gently")",
        rei + R"("kind": "insert", "find": "slowly", "text": " and softly")"},
       {"挿入 2/0/0"},
       {"slowly" + insM + " gently+}" + insR + " and softly+} beside"},
       "",
       mill},
      {"HighlightWithANoteAndACaretAtItsEnd",
       {mika + R"("kind": "highlight", "find": "slowly", "contents": "Why?")",
        rei + R"("kind": "insert", "find": "slowly", "text": " gently")"},
       {"ハイライト 1/0/0", "挿入 1/0/0"},
       {"{TL_PDF_Comments_Highlight|slowly}" + insR + " gently+}" + insM + marker + "ハイライト"},
       "",
       mill,
       {noneFlagged, noneFailed}},
      {"UnderlineAndACaretAtItsEnd",
       {mika + R"("kind": "underline", "find": "slowly")",
        mika + R"("kind": "insert", "find": "slowly", "text": " gently")"},
       {"下線 1/0/0", "挿入 1/0/0"},
       {"{TL_PDF_Comments_Underline|slowly}" + insM + " gently+} beside"},
       "",
       mill},
      // New text goes after what takes no room at the struck text's end; the strike stays as drawn.
      {"ReplacementBeforeATableAnchor",
       {mika + R"("kind": "replace", "find": ".", "text": "!")"},
       {"置換 1/0/0"},
       {"[footnote 1]" + delM + ".-}[table]" + insM + "!+}"},
       ".",
       tables},
      {"ReplacementBeforeAFrameAnchor",
       {mika + R"("kind": "replace", "find": "bank.", "text": "shore.")"},
       {"置換 1/0/0"},
       {"river " + delM + "bank.-}[frame]" + insM + "shore.+}", "inset caption text"},
       "bank.",
       framed},
      {"ReplacementBeforeAMarker",
       {mika + R"("kind": "replace", "find": "slowly", "text": "gently")"},
       {"置換 1/0/0"},
       {delM + "slowly-}[marker Comment: TL_PDF_Comment: earlier]" + insM + "gently+} beside"},
       "slowly",
       earlierMarker},
      {"ReplacementAtAStructuredElementEnd",
       {mika + R"("kind": "replace", "find": ".", "text": "!")"},
       {"置換 1/0/0"},
       {"paragraph" + delM + ".-}" + insM + "!+}", "!</p>{+Mika"},
       ".",
       structured,
       {noneFlagged, noneFailed}},
      {"InsertionAtAStructuredParagraphEnd",
       {mika + R"("kind": "insert", "find": "first paragraph.", "text": " More.")"},
       {"挿入 1/0/0"},
       {"paragraph." + insM + " More.+}", "!</p>{+Mika"},
       "",
       structured},
      // What the reviewer drew takes in what must not be struck with it: flagged, not applied.
      {"StrikeOverAnElementBoundary",
       {mika + R"("kind": "strikeout", "find": "paragraph. The second")"},
       {"削除 0/1/0"},
       {"The second" + insM + marker + "削除 : 未確認の配置"},
       "",
       structured,
       {covers}},
      {"StrikeOverAMarker",
       {mika + R"("kind": "strikeout", "find": "slowly beside")"},
       {"削除 0/1/0"},
       {"beside" + insM + marker + "削除 : 未確認の配置"},
       "",
       earlierMarker,
       {covers}},
  };
  ForEachCase(cases, [&](const Case& c) {
    Import(ByMika(c.comments, false), {}, c.document);
    for (const std::string& counts : c.counts) EXPECT_EQ(RowCounts(counts), counts);
    const std::string shown = Shown();
    ExpectParts(shown, c.shown);
    std::string struck;
    const std::regex deleted(R"(\{-[^ |]+ [^|]*\|(.*?)-\})");
    for (std::sregex_iterator it(shown.begin(), shown.end(), deleted), end; it != end; ++it)
      struck += (struck.empty() ? "" : "|") + (*it)[1].str();
    EXPECT_EQ(struck, c.struck) << shown;
    ExpectParts(File("annotated.report.json"), c.report);
    ExpectNoTextLost("(?:Mika|Rei)");
  });
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
  ForEachCase(cases, [&](const Case& c) {
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
  });
}

// Structured when the main flow has a root element, whatever the other flows hold; the
// comments of a structured document are found through its element identifiers.
TEST_F(ApplyCommentsTest, StructuredDocumentsAreToldByTheirMainFlow) {
  const std::string sideStructured =
      Edited(Edited(Edited(kDocument, R"(next-unique="6")", R"(next-unique="7")"), "<page",
                    R"(<element-def name="p"/><page)"),
             "</document>",
             R"(<flow name="Side" page="1"><structure><element key="e1" def="p"/></structure>
    <p unique="6" format="Body"><element-begin ref="e1"/>Side text.<element-end ref="e1"/></p>
  </flow>
</document>)");
  struct Case {
    std::string document;
    const char* find;
    const char* name;  // the feature reported
    const char* where;
  };
  const Case cases[] = {
      {Example("structured.tlv"), "second paragraph", "StructureDoc", "The second{+"},
      {sideStructured, "the reviewer", "UnstructureDoc", "where the{+"},
  };
  ForEachCase(cases, [&](const Case& c) {
    Import(ByMika({std::string(R"("kind": "note", "find": ")") + c.find + "\""}), {}, c.document);
    std::vector<std::string> features;
    for (const auto& u : host().recorder().usage)
      if (u.category == "Osprevan") features.push_back(u.feature);
    EXPECT_FALSE(features.empty());
    for (const std::string& feature : features) EXPECT_EQ(feature, c.name);
    EXPECT_EQ(Counts("ノート注釈"), "1/0/0");
    EXPECT_NE(Shown().find(c.where), std::string::npos) << Shown();
  });
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
  EXPECT_EQ(Counts("挿入") + " " + Counts("下線") + " " + Counts("ハイライト") + " " +
                Counts("ノート注釈"),
            "1/0/0 1/0/0 0/0/0 0/0/0");
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
  const std::string last = stampNow(), shown = Shown();
  const std::string marker = "|[marker Comment: TL_PDF_Comment: ノート注釈 :  : Mika : ";
  for (const std::string& part :
       {"{+Mika 2026-01-01T12:00:00Z" + marker + "2026/01/01 12:00:00 : 注意 : m]",
        "{+Mika 2025-05-05T05:05:05Z" + marker + "2025/05/05 05:05:05 : 注意 : c]"})
    EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
  std::smatch stamp;
  ASSERT_TRUE(std::regex_search(shown, stamp,
                                std::regex(R"(\{\+Mika ([^|]+)\|\[marker Comment: TL_PDF_Comment: )"
                                           R"(ノート注釈 :  : Mika :  : 注意 : n\])")))
      << shown;
  EXPECT_GE(stamp[1].str(), first);
  EXPECT_LE(stamp[1].str(), last);
  EXPECT_NE(File("annotated.report.json").find(R"("date": "", "contents": "n")"),
            std::string::npos);
  ExpectNoTextLost();
}

}  // namespace
}  // namespace osprevan::testing

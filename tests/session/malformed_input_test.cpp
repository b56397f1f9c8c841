// Malformed reviewed PDFs imported by the real plug-in in the stand-in host, as a call from
// another client. Each case damages one thing of a PDF that the host exported and the reviewer
// tool commented; docs/malformed-inputs.md describes every kind and why its outcome is the
// right one. A refused PDF must leave the document as it was, byte for byte once saved; an
// import that ran must keep every character the writer wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/engine/document.h"
#include "imported_document.h"
#include "malformed_pdf.h"
#include "plugin_messages.h"
#include "reviewed_pdf.h"
#include "support/message_ids.h"
#include "tests/client/plugin_host_fixture.h"
#include "tests/fixtures/writers_text.h"

namespace osprevan::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="5">
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading1">Reading comments</p>
    <p unique="2" format="Body">Reviewers mark the text they want changed.</p>
    <p unique="3" format="Body">Every comment comes back where the reviewer put it.</p>
    <p unique="4" format="Body">Nothing the writer wrote is ever lost.</p>
  </flow>
</document>
)";

// One comment of each kind: an insertion in P1, a highlight with a reply in P2, an underline
// and a note with a review state in P3, a replacement and a deletion in P4.
constexpr const char* kReview = R"({"comments": [
  {"kind": "highlight", "find": "mark the text", "author": "Mika", "contents": "Which text?",
   "modified": "D:20260101120000Z",
   "replies": [{"author": "Ana", "modified": "D:20260102120000Z", "contents": "This one."}]},
  {"kind": "note", "find": "comes back", "author": "Mika", "contents": "Say where.",
   "modified": "D:20260101120000Z",
   "states": [{"model": "Review", "state": "Accepted", "author": "Ana",
               "modified": "D:20260103120000Z"}]},
  {"kind": "replace", "find": "wrote", "text": "typed", "author": "Mika",
   "modified": "D:20260101120000Z"},
  {"kind": "insert", "find": "Reading", "text": " all", "author": "Mika",
   "modified": "D:20260101120000Z"},
  {"kind": "strikeout", "find": "ever ", "author": "Mika", "modified": "D:20260101120000Z"},
  {"kind": "underline", "find": "Every comment", "author": "Mika",
   "modified": "D:20260101120000Z"}]})";

// The summary's rows, in its order: insertions, deletions, replacements, notes, underlines,
// highlights.
constexpr const char* kRows[][2] = {{"I", "挿入"},       {"D", "削除"}, {"R", "置換"},
                                    {"N", "ノート注釈"}, {"U", "下線"}, {"H", "ハイライト"}};

struct Case {
  const char* name;
  const char* damage;       // the edits of malformed_pdf.h
  const char* outcome;      // "refused N" (message N of the string table), "not opened", or the
                            // summary's successful/misplaced/failed counts row by row
  const char* report = "";  // a text the per-comment report holds, where the counts hide it
};

// The outcomes most cases share.
constexpr const char* kAll = "I1/0/0 D1/0/0 R1/0/0 N1/0/0 U1/0/0 H1/0/0";
constexpr const char* kNothing = "I0/0/0 D0/0/0 R0/0/0 N0/0/0 U0/0/0 H0/0/0";
// No text of the page belongs to a paragraph: every markup becomes a marker, counted misplaced.
constexpr const char* kNoStructure = "I0/1/0 D0/1/0 R0/1/0 N1/0/0 U0/1/0 H0/1/0";
constexpr const char* kHighlightMisplaced = "I1/0/0 D1/0/0 R1/0/0 N1/0/0 U1/0/0 H0/1/0";
// The highlight is not read; its reply stands alone as a note.
constexpr const char* kHighlightSkipped = "I1/0/0 D1/0/0 R1/0/0 N2/0/0 U1/0/0 H0/0/0";
// The page's text cannot be read: every comment on it fails, and the document is left alone.
constexpr const char* kPageUnread = "I0/0/1 D0/0/1 R0/0/1 N0/0/1 U0/0/1 H0/0/1";
// The reply answers nothing that was read: it is a note of its own.
constexpr const char* kReplyAlone = "I1/0/0 D1/0/0 R1/0/0 N2/0/0 U1/0/0 H1/0/0";

const Case kCases[] = {
    {"Undamaged", "", kAll},
    // The file and its cross-reference table.
    {"XrefOffsetsWrong", "File: xref", kAll},
    {"XrefMissing", "File: noxref", "refused 15"},
    {"StartxrefPastTheEnd", "File: startxref", kAll},
    {"FileCutInHalf", "File: half", "refused 15"},
    {"FileEmpty", "File: empty", "refused 15"},
    {"HeaderMissing", "File: header", kAll},
    {"AnnotationObjectFree", "Page/Annots[0] raw{999 0 R}", kHighlightSkipped,
     "\"contents\": \"This one.\", \"markedText\": \"\", \"replies\": 0, \"placement\": \"note\""},
    // The catalog and the page.
    {"PagesWrongType", "Root/Pages 5", kNothing},
    {"PageCountHuge", "Pages/Count 1000000", kAll},
    {"PageTreeCycle", "Pages/Kids += @Pages", kAll},
    {"PageWithoutContent", "Page/Contents", kNoStructure, "\"reason\": \"no structure element\""},
    {"PageContentsWrongType", "Page/Contents 5", kPageUnread,
     "\"reason\": \"page could not be read\""},
    {"ContentUnclosedString", "Content: BT => BT (unclosed", kNoStructure},
    {"ContentUnknownOperators", "Content: BT => BT 1 2 ] >> frobnicate", kAll},
    {"AnnotsWrongType", "Page/Annots 5", kNothing},
    {"AnnotsEntryNotADictionary", "Page/Annots[0] 42", kHighlightSkipped},
    {"AnnotationListedTwice", "Page/Annots += @Highlight", kAll},
    {"MediaBoxWrongType", "Page/MediaBox (A4)", kAll},
    {"MediaBoxEmpty", "Page/MediaBox [0 0 0 0]", kAll},
    {"RotateWrongType", "Page/Rotate /Ninety", kAll},
    {"RotateNotAQuarter", "Page/Rotate 45", kAll},
    {"StructParentsWrongType", "Page/StructParents (0)", kNoStructure},
    {"StructParentsNowhere", "Page/StructParents 7", kNoStructure},
    // The structure tree.
    {"StructTreeRootMissing", "Root/StructTreeRoot", "refused 11"},
    {"StructTreeRootWrongType", "Root/StructTreeRoot [1 2]", "refused 11"},
    {"RootKidsMissing", "StructTreeRoot/K", "refused 12"},
    {"RootKidsWrongType", "StructTreeRoot/K (Document)", "refused 12"},
    {"RootKidIsMarkedContent", "StructTreeRoot/K 0", "refused 12"},
    {"TopElementWithoutType", "Document/S", "refused 12"},
    {"TopElementTypeWrongType", "Document/S (Document)", "refused 12"},
    {"ParagraphWithoutType", "P2/S", kHighlightMisplaced},
    {"ParagraphTypeWrongType", "P2/S 7", kHighlightMisplaced},
    {"KidsCycle", "Article/K += @Document", kAll},
    {"KidsWrongType", "P2/K /MCID", kAll},
    {"ParentIsItself", "P2/P @P2", kHighlightMisplaced},
    {"ParentChainLoops", "Document/P @Article", kNoStructure},
    {"ParentChainTooDeep", "P2/P *chain 300", kHighlightMisplaced},
    {"ParentWrongType", "P2/P 5", kAll},
    {"PgWrongType", "P2/Pg 5", kAll},
    {"PgNotAPage", "P2/Pg @Info", kAll},
    {"RoleMapWrongType", "StructTreeRoot/RoleMap [/Body /P]", kNoStructure},
    {"RoleMapCycle", "StructTreeRoot/RoleMap << /Body /Heading1 /Heading1 /Body >>", kNoStructure},
    {"ParentTreeMissing", "StructTreeRoot/ParentTree", kNoStructure},
    {"ParentTreeWrongType", "StructTreeRoot/ParentTree 5", kNoStructure},
    {"ParentTreeNumsWrongType", "ParentTree/Nums (0)", kNoStructure},
    {"ParentTreeKidsCycle", "ParentTree/Nums; ParentTree/Kids [@ParentTree]", kNoStructure},
    {"ParentTreeEntryNotAnElement", "ParentEntry[1] 5", kHighlightMisplaced},
    // Identifiers.
    {"IdWrongType", "P2/ID 2", kHighlightMisplaced},
    {"IdDamaged", "P2/ID (P2#0#1#3)", kHighlightMisplaced},
    {"IdNamesNoParagraph", "P2/ID (P99#0#0#0#0)", kHighlightMisplaced},
    {"IdOfAnElement", "P2/ID (Eintro)", kHighlightMisplaced},
    {"IdHuge", "P2/ID *string 100000", kHighlightMisplaced},
    {"NoIdentifiers", "Article/ID; P1/ID; P2/ID; P3/ID; P4/ID",
     "I0/1/0 D0/1/0 R0/1/0 N0/1/0 U0/1/0 H0/1/0", "\"reason\": \"paragraph found by counting\""},
    // Marked content.
    {"McidNowhere", "Content: /MCID 1 => /MCID 9", kHighlightMisplaced,
     "\"reason\": \"unconfirmed by the PDF text\""},
    {"McidWrongType", "Content: /MCID 1 => /MCID (1)", kHighlightMisplaced},
    {"McidNegative", "Content: /MCID 1 => /MCID -1", kHighlightMisplaced},
    {"McidHuge", "Content: /MCID 1 => /MCID 99999999999", kHighlightMisplaced},
    {"EmcMissing", "Content: EMC => ", "I1/0/0 D0/1/0 R0/1/0 N1/0/0 U0/1/0 H0/1/0"},
    {"EmcExtra", "Content: EMC => EMC EMC", kAll},
    {"MarkedContentWithoutProperties", "Content: << /MCID 1 >> BDC => BMC", kHighlightMisplaced},
    // Annotations.
    {"SubtypeMissing", "Highlight/Subtype", kHighlightSkipped},
    {"SubtypeWrongType", "Highlight/Subtype (Highlight)", kHighlightSkipped},
    {"SubtypeUnknown", "Highlight/Subtype /Squiggle", kHighlightSkipped},
    {"RectWrongType", "Note/Rect (here)", kAll, "\"flow\": \"\", \"paragraph\": 1, \"begin\": 0"},
    {"RectShort", "Note/Rect [1 2 3]", kAll, "\"flow\": \"\", \"paragraph\": 1, \"begin\": 0"},
    {"RectInfinite", "Note/Rect[0] raw{inf}", kAll,
     "\"flow\": \"\", \"paragraph\": 1, \"begin\": 0"},
    {"CaretRectWrongType", "Insert/Rect /None", "I0/1/0 D1/0/0 R1/0/0 N1/0/0 U1/0/0 H1/0/0"},
    {"AnnotationPageMissing", "Highlight/P !<< /Type /Page /MediaBox [0 0 10 10] >>", kAll},
    {"AnnotationPageWrongType", "Highlight/P 99", kAll},
    // QuadPoints.
    {"QuadPointsWrongType", "Highlight/QuadPoints 5", kAll},
    {"QuadPointsNotANumber", "Highlight/QuadPoints[2] (x)", kAll},
    {"QuadPointsNaN", "Highlight/QuadPoints[2] raw{nan}", kAll},
    {"QuadPointsInfinite", "Highlight/QuadPoints[2] raw{inf}", kAll},
    {"QuadPointsMinusInfinite", "Highlight/QuadPoints[3] raw{-inf}", kAll},
    {"QuadPointsHugeCount", "Highlight/QuadPoints *quads 1000000", kAll},
    {"QuadPointsSeven", "Highlight/QuadPoints [1 2 3 4 5 6 7]", kAll},
    {"QuadPointsNine", "Highlight/QuadPoints += 5", kAll},
    {"QuadPointsEmpty", "Highlight/QuadPoints []", kAll},
    // Quadrilaterals that mark nothing (off the page and the Rect, all zero, of no area): the
    // Rect says where the markup is.
    {"QuadPointsOffThePage", "Highlight/QuadPoints [5000 5000 5100 5000 5000 5100 5100 5100]", kAll,
     "\"markedText\": \"mark the text\""},
    {"QuadPointsAllZero", "Highlight/QuadPoints [0 0 0 0 0 0 0 0]", kAll,
     "\"markedText\": \"mark the text\""},
    {"QuadPointsNoArea", "Highlight/QuadPoints [100 700 300 700 100 700 300 700]", kAll,
     "\"markedText\": \"mark the text\""},
    // Reply threads and review states.
    {"IrtItself", "Highlight/IRT @Highlight", kAll,
     "\"markedText\": \"mark the text\", \"replies\": 1"},
    {"IrtCycle", "Highlight/IRT @Reply", kAll, "\"markedText\": \"mark the text\", \"replies\": 1"},
    {"IrtWrongType", "Reply/IRT 5", kReplyAlone},
    {"IrtNotAnAnnotation", "Reply/IRT @Page", kReplyAlone},
    {"IrtFreeObject", "Reply/IRT raw{999 0 R}", kReplyAlone},
    {"RtWrongType", "Reply/RT (R)", kReplyAlone},
    {"ReplaceWithoutCaret", "Caret/Subtype /Square", "I1/0/0 D2/0/0 R0/0/0 N1/0/0 U1/0/0 H1/0/0",
     "\"markedText\": \"wrote\", \"replies\": 0, \"placement\": \"deletion\""},
    {"ReplyChainDeep", "Page/Annots += *replies 3000", kAll},
    {"StateWrongType", "State/State 5", kAll},
    {"StateModelWrongType", "State/StateModel 5", kAll},
    {"StateModelMissing", "State/StateModel", kAll},
    {"StateUnknown", "State/State (Maybe)", kAll},
    {"StateOnItself", "State/IRT @State", kReplyAlone,
     "\"author\": \"Ana\", \"date\": \"2026/01/03 12:00:00\", \"contents\": \"\""},
    // Texts and dates.
    {"DateWrongType", "Note/M 20260101", kAll, "\"date\": \"\""},
    {"DateMonth13", "Note/M (D:20261301120000Z)", kAll, "\"date\": \"\""},
    {"DateFebruary30", "Note/M (D:20260230120000Z)", kAll, "\"date\": \"\""},
    {"DateHour24", "Note/M (D:20260101240000Z)", kAll, "\"date\": \"\""},
    {"DateYearZero", "Note/M (D:00000101000000Z)", kAll, "\"date\": \"0000/01/01 00:00:00\""},
    {"DateNotADate", "Note/M (yesterday)", kAll, "\"date\": \"\""},
    {"TitleWrongType", "Note/T 42", kAll, "\"author\": \"\", \"date\""},
    {"TitleLoneSurrogate", "Note/T <FEFFD800004D>", kAll, "\"author\": \"�M\""},
    {"TitleOddByteCount", "Note/T <FEFF004D0069006B006100>", kAll},
    {"ContentsWrongType", "Note/Contents [1 2]", kAll,
     "\"contents\": \"\", \"markedText\": \"\", \"replies\": 0, \"placement\": \"note\""},
    {"ContentsLoneSurrogate", "Note/Contents <FEFF0053DC00>", kAll, "\"contents\": \"S�\""},
    {"ContentsOddByteCount", "Note/Contents <FEFF0053006100>", kAll, "\"contents\": \"Sa\""},
    {"Contents100MB", "Note/Contents *string 104857600", kAll},
    // The information dictionary.
    {"InfoMissing", "Trailer/Info", "refused 16"},
    {"InfoWrongType", "Trailer/Info 5", "refused 16"},
    {"CreatorMissing", "Info/Creator", "refused 16"},
    {"CreatorWrongType", "Info/Creator 17", "refused 16"},
    {"CreatorNotANumber", "Info/Creator (Tolvane nan)", "refused 16"},
    {"CreatorUtf16", "Info/Creator <FEFF0054006F006C00760061006E0065002000310037002E0030>", kAll},
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class MalformedInputTest : public PluginHostTest, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    UseAnsweredUserDir(fs::path(pdf_.directory()) / "user");
  }

  std::map<int32_t, std::string> WritersText() {
    return fixtures::WritersText(*host().engine().document(document_));
  }

  // Opens the source afresh and imports the reviewed PDF with `damage` done to it, as
  // "damaged.pdf" beside it; `before` is the writer's text as it was opened.
  void ImportDamaged(tlhost::ClientConnection& client, const std::string& damage,
                     std::map<int32_t, std::string>& before) {
    const std::string damaged = pdf_.directory() + "/damaged.pdf";
    ASSERT_EQ(DamagePdf(pdf_.annotatedPdf(), damaged, damage), "");
    std::vector<tlhost::PropValue> returned;
    ASSERT_EQ(host().engine().OpenFile(pdf_.sourcePath(), {}, document_, returned), 0);
    host().engine().session().activeDocument = document_;
    before = WritersText();
    host().recorder().Clear();
    client.Notify(tolvane::NOTE_CLIENT_CALL, 0, damaged, 0);
  }

  // The summary's counts, or the message that refused the PDF, or none.
  std::string Outcome(const std::string& pdfPath) {
    if (host().recorder().ImportRan()) {
      const std::string summary = pdfPath.substr(0, pdfPath.size() - 4) + ".smry";
      std::string counts;
      for (const auto& [letter, label] : kRows)
        counts += std::string(counts.empty() ? "" : " ") + letter +
                  fixtures::SummaryCounts(summary, label);
      return counts;
    }
    for (int i = 0; i < support::kMessageCount; ++i) {
      if (host().recorder().console.find(fixtures::Message(i)) != std::string::npos)
        return "refused " + std::to_string(i);
    }
    return "not opened";
  }

  static std::string ReadFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  }

  fixtures::ReviewedPdf pdf_;
  tolvane::ObjectId document_ = 0;
};

TEST_P(MalformedInputTest, EndsInItsOutcome) {
  const Case& c = GetParam();
  ASSERT_TRUE(pdf_.ExportText(kDocument)) << pdf_.error();
  ASSERT_TRUE(pdf_.Review(kReview)) << pdf_.error();
  const std::string damaged = pdf_.directory() + "/damaged.pdf";
  ASSERT_EQ(DamagePdf(pdf_.annotatedPdf(), damaged, c.damage), "");
  const std::string original = ReadFile(pdf_.sourcePath());
  std::vector<tlhost::PropValue> returned;
  ASSERT_EQ(host().engine().OpenFile(pdf_.sourcePath(), {}, document_, returned), 0);
  host().engine().session().activeDocument = document_;
  const std::map<int32_t, std::string> before = WritersText();

  LoadAndInitialize().Notify(tolvane::NOTE_CLIENT_CALL, 0, damaged, 0);

  EXPECT_EQ(Outcome(damaged), c.outcome) << host().recorder().console;
  if (*c.report) {
    EXPECT_NE(ReadFile(pdf_.directory() + "/damaged.report.json").find(c.report), std::string::npos)
        << c.report;
  }
  if (host().recorder().ImportRan()) {
    EXPECT_EQ(WritersText(), before);
  } else {
    const std::string saved = pdf_.directory() + "/saved.tlv";
    ASSERT_EQ(host().engine().Save(document_, saved), 0);
    EXPECT_EQ(ReadFile(saved), original);
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, MalformedInputTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

// Three pages, one flow each, a highlight on each page and a note on the second.
constexpr const char* kThreePages = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="7">
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <page name="2" kind="body"/>
  <page name="3" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading1">First page</p>
    <p unique="2" format="Body">The first page holds the opening words.</p>
  </flow>
  <flow name="B" page="2">
    <p unique="3" format="Heading1">Second page</p>
    <p unique="4" format="Body">The second page holds the middle words.</p>
  </flow>
  <flow name="C" page="3">
    <p unique="5" format="Heading1">Third page</p>
    <p unique="6" format="Body">The third page holds the closing words.</p>
  </flow>
</document>
)";

constexpr const char* kThreePagesReview = R"({"comments": [
  {"kind": "highlight", "find": "opening words", "author": "Mika"},
  {"kind": "highlight", "find": "middle words", "author": "Mika"},
  {"kind": "note", "find": "middle", "author": "Mika", "contents": "Why here?"},
  {"kind": "highlight", "find": "closing words", "author": "Mika"}]})";

using UnreadablePageTest = MalformedInputTest;

// A page the library cannot read among good ones: the good pages import, and the bad one is
// named after the summary's counts, among the report's warnings and on the console. Its
// comments that can be read are failed; a page that cannot be had at all has none to count.
TEST_F(UnreadablePageTest, OtherPagesImportAndTheUnreadOneIsNamed) {
  const struct {
    const char* damage;
    const char* highlights;  // successful/misplaced/failed
    const char* notes;
    const char* page;      // as the summary names it
    const char* reported;  // the report's warning
  } rows[] = {
      {"Page2/Contents 5", "2/0/1", "0/0/1", "2", "pages that could not be read: 2"},
      {"Pages/Count 4", "3/0/0", "1/0/0", "4",
       "pages that could not be read: 4 (annotations unread: 4)"},
  };
  ASSERT_TRUE(pdf_.ExportText(kThreePages)) << pdf_.error();
  ASSERT_TRUE(pdf_.Review(kThreePagesReview)) << pdf_.error();
  tlhost::ClientConnection& client = LoadAndInitialize();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.damage);
    std::map<int32_t, std::string> before;
    ASSERT_NO_FATAL_FAILURE(ImportDamaged(client, row.damage, before));

    const std::string summary = pdf_.directory() + "/damaged.smry";
    EXPECT_EQ(fixtures::SummaryCounts(summary, "ハイライト"), row.highlights);
    EXPECT_EQ(fixtures::SummaryCounts(summary, "ノート注釈"), row.notes);
    const std::string named = fixtures::Message(support::MSG_UNREADABLE_PAGES) + " " + row.page;
    EXPECT_NE(ReadFile(summary).find("\n" + named + "\n"), std::string::npos) << ReadFile(summary);
    EXPECT_NE(host().recorder().console.find("\n" + named), std::string::npos);
    const std::string report = ReadFile(pdf_.directory() + "/damaged.report.json");
    EXPECT_NE(report.find("\"warnings\": [\"" + std::string(row.reported) + "\"]"),
              std::string::npos)
        << report;
    if (std::string(row.highlights).back() == '1') {
      EXPECT_NE(report.find("\"reason\": \"page could not be read\""), std::string::npos);
    }
    EXPECT_EQ(WritersText(), before);
    ASSERT_EQ(host().engine().Close(document_, tolvane::CLOSE_DISCARD), 0);
  }
}

// Drawings a reviewer commented with, of kinds the import does not take, are counted after the
// summary's counts and named by kind in the report. The writer's text is left as it was; the
// note beside them imports.
TEST_F(UnreadablePageTest, CommentsOfKindsNotTakenAreCounted) {
  ASSERT_TRUE(pdf_.ExportText(kThreePages)) << pdf_.error();
  ASSERT_TRUE(pdf_.Review(R"({"comments": [
      {"kind": "square", "find": "opening words", "author": "Mika", "contents": "Box"},
      {"kind": "ink", "find": "middle words", "author": "Mika", "contents": "Line"},
      {"kind": "square", "find": "closing words", "author": "Rei", "contents": "Box"},
      {"kind": "note", "find": "middle", "author": "Mika", "contents": "Why here?"}]})"))
      << pdf_.error();
  const struct {
    const char* shown;  // the count after the summary's
    const char* reported;
  } rows[] = {
      {" 3", "comments of kinds the import does not take: 3 (Ink 1, Square 2)"},
  };
  tlhost::ClientConnection& client = LoadAndInitialize();
  for (const auto& row : rows) {
    std::vector<tlhost::PropValue> returned;
    ASSERT_EQ(host().engine().OpenFile(pdf_.sourcePath(), {}, document_, returned), 0);
    host().engine().session().activeDocument = document_;
    const std::map<int32_t, std::string> before = WritersText();
    host().recorder().Clear();

    client.Notify(tolvane::NOTE_CLIENT_CALL, 0, pdf_.annotatedPdf(), 0);

    const std::string summary = fs::path(pdf_.annotatedPdf()).replace_extension(".smry");
    EXPECT_EQ(fixtures::SummaryCounts(summary, "ノート注釈"), "1/0/0");
    const std::string line = fixtures::Message(support::MSG_UNREAD_KINDS) + row.shown;
    EXPECT_NE(ReadFile(summary).find("\n" + line + "\n"), std::string::npos) << ReadFile(summary);
    EXPECT_NE(host().recorder().console.find("\n" + line), std::string::npos);
    const std::string report =
        ReadFile(fs::path(pdf_.annotatedPdf()).replace_extension(".report.json"));
    EXPECT_NE(report.find("\"warnings\": [\"" + std::string(row.reported) + "\"]"),
              std::string::npos)
        << report;
    EXPECT_EQ(WritersText(), before);
    ASSERT_EQ(host().engine().Close(document_, tolvane::CLOSE_DISCARD), 0);
  }
}

// Annotations the import cannot read are counted after the summary's counts and named in the
// report with their page and why; the rest of the page imports.
TEST_F(UnreadablePageTest, AnnotationsThatCannotBeReadAreCountedAndNamed) {
  const struct {
    const char* name;
    std::string damage;
    const char* highlights;  // successful/misplaced/failed
    const char* notes;
    const char* reported;
  } rows[] = {
      // The note is lost to the library; the review state set on it stands alone as a note.
      {"contents nested 200,000 deep", "Note/Contents raw{" + std::string(200000, '[') + "}",
       "1/0/0", "1/0/0", "annotations that could not be read: 1 (page 1: "},
      {"an entry that is no dictionary", "Page/Annots[0] 42", "0/0/0", "2/0/0",
       "annotations that could not be read: 1 (page 1: not an annotation dictionary)"},
  };
  ASSERT_TRUE(pdf_.ExportText(kDocument)) << pdf_.error();
  ASSERT_TRUE(pdf_.Review(kReview)) << pdf_.error();
  tlhost::ClientConnection& client = LoadAndInitialize();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::map<int32_t, std::string> before;
    ASSERT_NO_FATAL_FAILURE(ImportDamaged(client, row.damage, before));

    const std::string summary = pdf_.directory() + "/damaged.smry";
    EXPECT_EQ(fixtures::SummaryCounts(summary, "ハイライト"), row.highlights);
    EXPECT_EQ(fixtures::SummaryCounts(summary, "ノート注釈"), row.notes);
    const std::string line = fixtures::Message(support::MSG_UNREADABLE_ANNOTS) + " 1";
    EXPECT_NE(ReadFile(summary).find("\n" + line + "\n"), std::string::npos) << ReadFile(summary);
    EXPECT_NE(host().recorder().console.find("\n" + line), std::string::npos);
    const std::string report = ReadFile(pdf_.directory() + "/damaged.report.json");
    EXPECT_NE(report.find(row.reported), std::string::npos) << report;
    EXPECT_EQ(WritersText(), before);
    ASSERT_EQ(host().engine().Close(document_, tolvane::CLOSE_DISCARD), 0);
  }
}

}  // namespace
}  // namespace osprevan::testing

// Reading reviewed PDFs into comment records: review states,
// threads, the filters, and hostile annotations.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <tuple>

#include "filter_test_support.h"
#include "hand_made_pdf.h"
#include "pdf/annotation_handles.h"
#include "pdf/annotation_reader.h"
#include "pdf/comment_kind.h"
#include "pdf/pdf_document.h"
#include "platform/win/utf16.h"
#include "reviewed_pdf.h"

namespace osprevan::pdf {
namespace {

constexpr const char* kEnglish = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="5"><page name="1" kind="body"/><flow name="A" main="yes" page="1">
<p unique="1" format="Heading1">Reading the comments back</p>
<p unique="2" format="Body">Reviewers mark words in the exported file, and every mark they leave is read back into the source document, where it becomes a tracked change, a condition or a comment marker in the right paragraph.</p>
<p unique="3" format="Body">Replies and review states travel with the comment they answer.</p>
<p unique="4" format="Body">A short closing paragraph.</p></flow></document>)";

// chapter1.tlv: a highlight over a line end written twice (the second counter-clockwise), a
// Deletion, a Caret, and state replies of every model.
constexpr const char* kJapanese = R"({"comments": [
  {"kind": "highlight", "find": "説明します。 注釈は", "contents": "two"},
  {"kind": "highlight", "find": "説明します。 注釈は", "contents": "ccw", "quad_order": "ccw"},
  {"kind": "deletion", "find": "すべて", "contents": "deletion"}, {"kind": "insert", "find": "段落"},
  {"kind": "highlight", "find": "はじめに", "contents": "reject", "replies": [{"contents": "返信"}],
   "states": [{"model": "Review", "state": "Accepted"}, {"model": "Review", "state": "Rejected"}]},
  {"kind": "underline", "find": "マニュアル", "contents": "lower",
   "states": [{"model": "review", "state": "accepted"}]},
  {"kind": "squiggly", "find": "読み込み", "contents": "marked",
   "states": [{"model": "Marked", "state": "Marked"}]},
  {"kind": "highlight", "find": "文書", "contents": "unmarked",
   "states": [{"model": "Marked", "state": "Marked"}, {"model": "Marked", "state": "unmarked"}]},
  {"kind": "highlight", "find": "該当", "contents": "other",
   "states": [{"model": "MigrationStatus", "state": "MigrationPending"},
              {"model": "Review", "state": "Bogus"}, {"model": "Frobnicate", "state": "Accepted"}]}]})";

// A replace with a highlight moved between its halves, a replace whose thread hangs on its
// Caret, nested replies with every kind of RT, and a state written before its target.
constexpr const char* kThreads = R"({"comments": [
  {"kind": "replace", "find": "exported", "contents": "strike", "text": "caret", "author": "Ann"},
  {"kind": "highlight", "find": "source", "contents": "between", "annots_index": 1},
  {"kind": "replace", "find": "words", "contents": "strike2", "text": "caret2", "author": "Ann",
   "thread_on": "caret", "replies": [{"contents": "on-caret"}]},
  {"kind": "insert", "find": "mark", "text": "ins", "modified": "D:20240102101500Z"},
  {"kind": "highlight", "find": "condition", "contents": "hl", "replies": [{"contents": "hl-reply"}]},
  {"kind": "note", "point": [300, 60], "page": 0, "contents": "note", "replies": [
    {"contents": "reply", "replies": [{"contents": "nested"}]}, {"contents": "no-rt", "rt": null},
    {"contents": "group", "rt": "Group"}]},
  {"kind": "highlight", "find": "travel", "contents": "later",
   "states": [{"model": "Review", "state": "Accepted", "contents": "early", "annots_index": 0}]}]})";

std::array<float, 6> Sides(const CommentBox& b) {
  return {b.left, b.top, b.right, b.bottom, b.centreX, b.centreY};
}

// A record and its thread in one line: contents (or subtype), [the three states or-ed, their
// bits being apart] when not the defaults, "=" replacement, {replies}.
std::string Describe(const PdfComment& c) {
  std::string out = c.contents().empty() ? c.subtypeName() : c.contents();
  if (c.markedState() != Unmarked || c.reviewState() != None || c.migrationState() != MigrationNone)
    out += "[" + std::to_string(c.markedState() | c.reviewState() | c.migrationState()) + "]";
  if (c.replacement()) out += "=" + Describe(*c.replacement());
  for (size_t i = 0; i < c.replies().size(); ++i)
    out += (i ? "," : "{") + Describe(*c.replies()[i]) + (i + 1 == c.replies().size() ? "}" : "");
  return out;
}
std::string Describe(const std::vector<std::unique_ptr<PdfComment>>& list) {
  std::string out;
  for (const auto& c : list) out += (out.empty() ? "" : " ") + Describe(*c);
  return out;
}

// A PDF read as the import reads it, under the default criteria unless a test narrows them.
struct Reading {
  explicit Reading(const std::string& path) : document(OpenPdfByPath(win::Utf8ToWide(path))) {
    PrepareFilterCriteria(win::Utf8ToWide(path), criteria);
  }
  ~Reading() {
    context.Clear();  // the records' handles go before their document
    ClosePdf(document);
  }
  std::string Read() {
    OkPage* page = Tables().pages->PdfAcquirePage(document, 0);
    context.pageIndex = 0;
    context.page = ReadPageValues(page);
    ReadPageComments(context, page, criteria);
    FilterByReviewState(context, criteria);
    Tables().pages->PdfReleasePage(page);
    return Describe(context.commentsByPage[0]);
  }
  PdfComment& Record(size_t at) { return *context.commentsByPage[0].at(at); }

  OkDoc* document;
  FilterCriteria criteria;
  DocumentContext context;
};

class AnnotationReaderTest : public testing::FilterLibraryTest {
 protected:
  // chapter1.tlv under 0, the English document under -1.
  static void SetUpTestSuite() {
    Add(0, kJapanese, [](auto& pdf) { return pdf.ExportExample("chapter1.tlv"); });
    Add(-1, kThreads, [](auto& pdf) { return pdf.ExportText(kEnglish); });
    // A replace whose strike-out is the last annotation read, its Caret moved before it.
    Add(-2, R"({"comments": [{"kind": "replace", "find": "exported", "contents": "last",
                               "text": "caret", "annots_index": 1}]})",
        [](auto& pdf) { return pdf.ExportText(kEnglish); });
    Add(-3, R"({"comments": [{"kind": "insert", "find": "mark", "text": "ins"}]})",
        [](auto& pdf) { return pdf.ExportText(kEnglish); });
  }
  template <typename Export>
  static void Add(int key, const char* review, Export exportIt) {
    auto& pdf = pdfs_[key] = std::make_unique<fixtures::ReviewedPdf>();
    if (!exportIt(*pdf) || !pdf->Review(review)) errors_ += pdf->error() + "\n";
  }
  static void TearDownTestSuite() { pdfs_.clear(); }
  void SetUp() override {
    FilterLibraryTest::SetUp();
    ASSERT_EQ(errors_, "");
  }
  static std::string Path(int key) { return pdfs_[key]->annotatedPdf(); }
  // A hand-made one-page PDF with these annotations, 100 x 40 pt each at the same place;
  // "@N" in an entry stands for the reference to the N-th annotation; `more` follows them in the
  // page's /Annots. Its path.
  static std::string WriteAnnotations(const std::string& name,
                                      const std::vector<std::string>& annots,
                                      const std::string& more = "") {
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>",
                                        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>", ""};
    std::string refs;
    for (std::string entries : annots) {
      for (size_t at; (at = entries.find('@')) != std::string::npos;) {
        const int index = entries[at + 1] - '0';
        entries.replace(at, 2, std::to_string(4 + index) + " 0 R");
      }
      refs += std::to_string(objects.size() + 1) + " 0 R ";
      objects.push_back("<< /Type /Annot /Rect [100 100 200 140] " + entries + " >>");
    }
    objects[2] =
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Annots [" + refs + more + "] >>";
    const std::string path = pdfs_[-1]->directory() + "/" + name;
    ondrelkit::testing::WriteHandMadePdf(path, objects);
    return path;
  }

  static inline std::map<int, std::unique_ptr<fixtures::ReviewedPdf>> pdfs_;
  static inline std::string errors_;
};

// What is read and where it hangs, for each PDF under narrowed criteria. States apply in
// reading order, the last one read winning, whatever the letter case; the state filter takes
// records out of their lists, with their replies. What one reading met decides nothing in the
// next: a strike-out read last never makes the next PDF's first Caret part of a replace.
TEST_F(AnnotationReaderTest, FiltersDecideWhatIsReadAndWhereItHangs) {
  const auto all = [](FilterCriteria&) {};
  const struct {
    const char* name;
    int pdf;
    std::function<void(FilterCriteria&)> narrow;
    const char* expected;
    const char* filteredOut = nullptr;  // when checked
    size_t records = 0;                 // records found by their annotations, when counted
  } rows[] = {
      // Every record is found by its annotation, the Caret halves and the replies too.
      {"everything", -1, all,
       "early strike=caret between strike2=caret2{on-caret} ins hl{hl-reply} "
       "note{reply{nested},no-rt} group later",
       nullptr, 16},
      // A replace's Caret is filtered as part of the replace, also when another comment
      // stands between it and its strike-out.
      {"replaces", -1, [](FilterCriteria& c) { c.kindMask = Replace; },
       "strike=caret strike2=caret2"},
      {"insertions", -1, [](FilterCriteria& c) { c.kindMask = Insert; }, "ins"},
      // Replies whose targets were filtered out stand on their own.
      {"notes", -1, [](FilterCriteria& c) { c.kindMask = Note; },
       "early on-caret hl-reply note{reply{nested},no-rt} group"},
      {"author", -1, [](FilterCriteria& c) { c.everyAuthor = false, c.acceptedAuthors = {"Ann"}; },
       "strike=caret strike2=caret2"},
      {"date", -1,
       [](FilterCriteria& c) {
         c.dateFilterOn = true;
         testing::SetDate(c.startDate, testing::UtcSeconds(2024, 1, 2));
         testing::SetDate(c.endDate, testing::UtcSeconds(2024, 1, 2));
       },
       "ins"},
      {"review states", 0,
       [](FilterCriteria& c) {
         c.reviewStateMask &= ~Rejected;
         c.markedStateMask = Unmarked;
       },
       "two ccw deletion Caret lower[521] unmarked other[261]", "reject[529]{返信} marked[518]",
       10},
      // Its IRT names the Caret read before it: the two are one replace all the same.
      {"strike-out read last", -2, all, "last=caret"},
      {"the next PDF's Caret", -3, [](FilterCriteria& c) { c.kindMask = Insert; }, "ins"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Reading pdf(Path(row.pdf));
    row.narrow(pdf.criteria);
    EXPECT_EQ(pdf.Read(), row.expected);
    if (row.filteredOut) {
      EXPECT_EQ(Describe(pdf.context.filteredOut), row.filteredOut);
    }
    if (row.records) {
      EXPECT_EQ(pdf.context.commentsByAnnot.size(), row.records);
    }
  }
}

// Corners written counter-clockwise give the same boxes as the common order.
TEST_F(AnnotationReaderTest, CounterClockwiseCornersGiveTheSameBoxes) {
  Reading pdf(Path(0));
  pdf.Read();
  ASSERT_EQ(pdf.Record(1).boxes().size(), 2u);
  for (size_t i = 0; i < 2; ++i)
    EXPECT_EQ(Sides(*pdf.Record(1).boxes()[i]), Sides(*pdf.Record(0).boxes()[i]));
}

TEST_F(AnnotationReaderTest, HostileAnnotationsGiveDefinedResults) {
  const std::string quad = " 100 120 110 120 100 100 110 100";
  std::string many;
  for (int i = 0; i < 10000; ++i) many += quad;
  const UserRect rect{100, 100, 200, 140}, first{96, 100, 114, 120};
  // Objects from 4 on, in this order; an IRT names its target's object.
  const struct {
    std::string entries;
    size_t boxes = 0;
    UserRect last{};
  } annots[] = {
      {"/Subtype /Highlight /Contents (not-numbers) /QuadPoints [(a) /N nan inf 3 4 5 6" + quad +
           "]",
       1, first},
      {"/Subtype /Highlight /Contents (huge) /QuadPoints [1" + std::string(40, '0') +
           " 1 2 3 4 5 6 7" + quad + "]",
       1, first},
      {"/Subtype /Highlight /Contents (ragged) /QuadPoints [" + quad + " 1 2 3 4]", 1, first},
      {"/Subtype /Highlight /Contents (short) /QuadPoints [1 2 3 4 5 6]", 1, rect},
      {"/Subtype /Highlight /Contents (all-bad) /QuadPoints [(a) (b) (c) (d) (e) (f) (g) (h)]", 1,
       rect},
      {"/Subtype /Highlight /Contents (many) /QuadPoints [" + many + "]", 10000, first},
      {"/Subtype /Caret /Contents (bad-rect) /Rect [(x) 1 2 3]"},
      {"/Subtype /Text /Contents (self) /IRT 11 0 R"},
      {"/Subtype /Text /Contents (loop-a) /IRT 13 0 R"},
      {"/Subtype /Text /Contents (loop-b) /IRT 12 0 R"},
      {"/Subtype /Text /Contents (state-self) /IRT 14 0 R /StateModel (Review) /State (Accepted)"},
      {"/Subtype /Text /Contents (number-irt) /IRT 5"},
      {"/Subtype /Text /Contents (twice) /IRT 16 0 R"},
      {"/Contents (no-subtype)"},
  };
  std::vector<std::string> entries;
  for (const auto& a : annots) entries.push_back(a.entries);
  Reading pdf(WriteAnnotations("hostile.pdf", entries, "42 (damaged) 16 0 R"));
  EXPECT_EQ(pdf.Read(),
            "not-numbers huge ragged short all-bad many bad-rect self "
            "loop-a{loop-b} state-self number-irt twice");
  for (size_t i = 0; i < 7; ++i) {
    SCOPED_TRACE(Describe(pdf.Record(i)));
    ASSERT_EQ(pdf.Record(i).boxes().size(), annots[i].boxes);
    if (annots[i].boxes) {
      EXPECT_EQ(Sides(*pdf.Record(i).boxes().back()),
                Sides(CommentBoxFromRect(annots[i].last, pdf.context.page)));
    }
  }
  const AnnotationCount count = CountAnnotations(pdf.document, 0, 99);
  EXPECT_EQ(count.total, static_cast<int64_t>(std::size(annots) + 3));
  EXPECT_EQ(count.lastPage, 0);
  EXPECT_EQ(CountAnnotations(pdf.document, 1, 5).lastPage, -1);
}

// A replace is one comment whichever of its halves the page lists first, and whichever half is
// grouped with the other; a Caret that answers a strike-out, or one that is a reply, stays an
// insertion.
TEST_F(AnnotationReaderTest, ReplacesPairWhicheverHalfComesFirst) {
  const std::string strike = "/Subtype /StrikeOut /QuadPoints [100 120 110 120 100 100 110 100] ";
  const std::string caret = "/Subtype /Caret ";
  const struct {
    const char* name;
    std::vector<std::string> annots;
    const char* expected;
  } rows[] = {
      {"strike-out first",
       {strike + "/Contents (s) /IRT @1 /RT /Group", caret + "/Contents (c)"},
       "s=c"},
      {"caret first",
       {caret + "/Contents (c)", strike + "/Contents (s) /IRT @0 /RT /Group"},
       "s=c"},
      {"caret grouped with it",
       {strike + "/Contents (s)", caret + "/Contents (c) /IRT @0 /RT /Group"},
       "s=c"},
      // Without RT the strike-out also answers its Caret: it takes the Caret all the same, and
      // is not hung under the Caret it holds.
      {"caret first, no RT", {caret + "/Contents (c)", strike + "/Contents (s) /IRT @0"}, "s=c"},
      {"caret grouped with it, listed first",
       {caret + "/Contents (c) /IRT @1 /RT /Group", strike + "/Contents (s)"},
       "s=c"},
      {"caret answers it", {strike + "/Contents (s)", caret + "/Contents (c) /IRT @0"}, "s{c}"},
      {"caret is a reply",
       {"/Subtype /Text /Contents (t)", caret + "/Contents (c) /IRT @0 /RT /R",
        strike + "/Contents (s) /IRT @1 /RT /Group"},
       "t{c} s"},
      {"strike-out names a highlight",
       {"/Subtype /Highlight /Contents (h) /QuadPoints [100 120 110 120 100 100 110 100]",
        strike + "/Contents (s) /IRT @0 /RT /Group"},
       "h s"},
      {"strike-out taken already",
       {strike + "/Contents (s) /IRT @1 /RT /Group", caret + "/Contents (c1)",
        caret + "/Contents (c2) /IRT @0 /RT /Group"},
       "s=c1 c2"},
  };
  // Read under the default criteria (nullptr), then under kind filters, which take a replace as
  // one comment: with insertions or deletions only, neither half comes in.
  const std::pair<uint32_t, const char*> filters[] = {
      {0, nullptr}, {Insert, ""}, {Delete, ""}, {Insert | Delete, ""}, {Replace, "s=c"}};
  for (const auto& row : rows) {
    const std::string path = WriteAnnotations("replace.pdf", row.annots);
    for (const auto& [kinds, expected] : filters) {
      if (expected && std::string(row.expected) != "s=c") continue;
      SCOPED_TRACE(std::string(row.name) + ", kinds " + std::to_string(kinds));
      Reading pdf(path);
      if (expected) pdf.criteria.kindMask = kinds;
      EXPECT_EQ(pdf.Read(), expected ? expected : row.expected);
    }
  }
}

// Once a page is read its records give their annotations back, keeping what finds them: a
// reply and the Caret of a replace on the next page still find the note and the strike-out of
// the page before, and the strike-out that waits for its Caret keeps its annotation until then.
TEST_F(AnnotationReaderTest, APageReadGivesItsAnnotationsBackButWhatWaits) {
  const std::string strike = "/Subtype /StrikeOut /QuadPoints [100 120 110 120 100 100 110 100] ";
  const std::string rect = "/Type /Annot /Rect [100 100 200 140] ";
  const std::string path = pdfs_[-1]->directory() + "/two-pages.pdf";
  // Objects 5 (the note) and 6 (the strike-out) on the first page, 7 (the reply) and 8 (the
  // Caret) on the second.
  ondrelkit::testing::WriteHandMadePdf(
      path, {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
             "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Annots [5 0 R 6 0 R] >>",
             "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Annots [7 0 R 8 0 R] >>",
             "<< " + rect + "/Subtype /Text /Contents (n) >>",
             "<< " + rect + strike + "/Contents (s) /IRT 8 0 R /RT /Group >>",
             "<< " + rect + "/Subtype /Text /Contents (r) /IRT 5 0 R >>",
             "<< " + rect + "/Subtype /Caret /Contents (c) >>"});
  Reading pdf(path);
  const auto readPage = [&](int32_t index) {
    OkPage* page = Tables().pages->PdfAcquirePage(pdf.document, index);
    ASSERT_NE(page, nullptr);
    pdf.context.pageIndex = index;
    pdf.context.page = ReadPageValues(page);
    ReadPageComments(pdf.context, page, pdf.criteria);
    Tables().pages->PdfReleasePage(page);
  };
  readPage(0);
  ASSERT_EQ(Describe(pdf.context.commentsByPage[0]), "n s");
  const PdfComment& note = pdf.Record(0);
  const PdfComment& strikeOut = pdf.Record(1);
  EXPECT_EQ(AnnotOf(note), nullptr);
  EXPECT_NE(AnnotObjectOf(note), nullptr);
  EXPECT_NE(AnnotOf(strikeOut), nullptr);
  readPage(1);
  EXPECT_EQ(Describe(pdf.context.commentsByPage[0]), "n{r} s=c");
  EXPECT_TRUE(pdf.context.commentsByPage[1].empty());
  ASSERT_NE(strikeOut.replacement(), nullptr);
  EXPECT_EQ(AnnotOf(*strikeOut.replacement()), nullptr);
  EXPECT_EQ(AnnotOf(*note.replies().at(0)), nullptr);
}

// An IRT that names no annotation, the annotation itself or a note makes no pair: the Caret is
// an insertion, which the kind filter lets through as one.
TEST_F(AnnotationReaderTest, ACaretWithoutItsStrikeOutPassesAsAnInsertion) {
  const std::string strike = "/Subtype /StrikeOut /QuadPoints [100 120 110 120 100 100 110 100] ";
  const std::string caret = "/Subtype /Caret ";
  const std::vector<std::string> unpaired[] = {
      {caret + "/Contents (c) /IRT 7 /RT /Group", strike + "/Contents (s)"},
      {caret + "/Contents (c) /IRT 99 0 R /RT /Group", strike + "/Contents (s)"},
      {caret + "/Contents (c) /IRT @0 /RT /Group", strike + "/Contents (s) /IRT @1"},
      {"/Subtype /Text /Contents (t)", caret + "/Contents (c) /IRT @0 /RT /Group"},
  };
  for (size_t form = 0; form < std::size(unpaired); ++form) {
    SCOPED_TRACE("unpaired form " + std::to_string(form));
    Reading pdf(WriteAnnotations("replace-unpaired.pdf", unpaired[form]));
    pdf.criteria.kindMask = Insert;
    EXPECT_EQ(pdf.Read(), "c");
  }
}

// Drawings of kinds the import does not take are counted by kind when the filter's authors and
// dates pass them; links and pop-ups hold no reviewer's words and are not.
TEST_F(AnnotationReaderTest, DrawingsOfKindsNotTakenAreCounted) {
  const std::vector<std::string> annots = {
      "/Subtype /Square /T (Ann) /M (D:20240102000000Z)",
      "/Subtype /Ink /T (Bob) /M (D:20240102000000Z)",
      "/Subtype /Circle /T (Ann) /M (D:20250101000000Z)",
      "/Subtype /Link",
      "/Subtype /Popup",
      "/Subtype /Text /T (Ann) /Contents (t)",
  };
  const struct {
    const char* name;
    std::function<void(FilterCriteria&)> narrow;
    std::map<std::string, int32_t> counted;
  } rows[] = {
      {"every author", [](FilterCriteria&) {}, {{"Circle", 1}, {"Ink", 1}, {"Square", 1}}},
      {"one author",
       [](FilterCriteria& c) { c.everyAuthor = false, c.acceptedAuthors = {"Ann"}; },
       {{"Circle", 1}, {"Square", 1}}},
      {"one day",
       [](FilterCriteria& c) {
         c.dateFilterOn = true;
         testing::SetDate(c.startDate, testing::UtcSeconds(2024, 1, 2));
         testing::SetDate(c.endDate, testing::UtcSeconds(2024, 1, 2));
       },
       {{"Ink", 1}, {"Square", 1}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Reading pdf(WriteAnnotations("drawings.pdf", annots));
    row.narrow(pdf.criteria);
    pdf.Read();
    EXPECT_EQ(pdf.context.unreadKinds, row.counted);
  }
}

// A free text points with its callout line's tip only when the line is whole: two or three
// points of usable numbers, and no intent other than a callout. Else its rectangle covers text.
TEST_F(AnnotationReaderTest, CalloutLinesPointOnlyWhenWhole) {
  const UserRect rect{100, 100, 200, 140}, tip{120, 110, 120, 110};
  const struct {
    std::string entries;
    bool pointing;
  } annots[] = {
      {"/Contents (knee) /CL [120 110 180 130 190 130]", true},
      {"/Contents (straight) /IT /FreeTextCallout /CL [120 110 190 130]", true},
      {"/Contents (typewriter) /IT /FreeTextTypeWriter /CL [120 110 190 130]", false},
      {"/Contents (intent-string) /IT (FreeTextCallout) /CL [120 110 190 130]", false},
      {"/Contents (five) /CL [120 110 180 130 190]", false},
      {"/Contents (bad-tip) /CL [(a) 110 190 130]", false},
      {"/Contents (huge-tip) /CL [1" + std::string(40, '0') + " 110 190 130]", false},
      {"/Contents (not-array) /CL 120", false},
      {"/Contents (none)", false},
  };
  std::vector<std::string> entries;
  for (const auto& a : annots) entries.push_back("/Subtype /FreeText " + a.entries);
  Reading pdf(WriteAnnotations("callouts.pdf", entries));
  EXPECT_EQ(pdf.Read(),
            "knee straight typewriter intent-string five bad-tip huge-tip not-array none");
  for (size_t i = 0; i < std::size(annots); ++i) {
    SCOPED_TRACE(Describe(pdf.Record(i)));
    const PdfComment& comment = pdf.Record(i);
    EXPECT_EQ(comment.pointing(), annots[i].pointing);
    ASSERT_EQ(comment.areas().size(), 1u);
    const UserRect& area = comment.areas().front();
    const UserRect& expected = annots[i].pointing ? tip : rect;
    EXPECT_EQ(std::tie(area.xMin, area.yMin, area.xMax, area.yMax),
              std::tie(expected.xMin, expected.yMin, expected.xMax, expected.yMax));
  }
}

}  // namespace
}  // namespace osprevan::pdf

// The page text as the content walk collects it, and where each comment lands in it, on PDFs
// that the host exports and the reviewer tool annotates (and hand-made ones for what the
// export never writes).
#include "pdf/content_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "hand_made_pdf.h"
#include "pdf/annotation_reader.h"
#include "pdf/comment_kind.h"
#include "pdf/page_reading.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"
#include "reviewed_pdf.h"

namespace osprevan::pdf {
namespace {

constexpr const char* kEnglish = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="4">
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading1">Reading comments back</p>
    <p unique="2" format="Body">The reviewer marks words in the exported PDF, and the import finds them again in the source document by the identifiers that the export wrote into the structure tree.</p>
    <p unique="3" format="Body">Second paragraph starts here.</p>
  </flow>
</document>
)";

// The reviewer tool's description of one comment by the test's author; its contents (a Caret:
// its inserted text) name it for Reading::Comment.
std::string Described(const std::string& kind, const std::string& find, const std::string& name,
                      const std::string& more = "") {
  const char* contents = kind == "insert" ? "text" : "contents";
  return R"({"author": "R", "kind": ")" + kind + R"(", "find": ")" + find + R"(", ")" + contents +
         R"(": ")" + name + "\"" + more + "},";
}

std::string Described(std::string comments) {
  comments.pop_back();  // the last comma
  return R"({"comments": [)" + comments + "]}";
}

struct Markup {
  const char* kind;
  const char* find;
  const char* expected;   // markedText: "\n" before the first character of an element
  const char* more = "";  // further entries of the reviewer tool's description
};

std::string Text(const ContentElement& element, size_t from = 0, size_t to = SIZE_MAX) {
  return element.chars.Text(from, to);
}

// Reads every page of a PDF as the placing loop does: the annotations, the walk, the fallback.
class Reading {
 public:
  explicit Reading(const std::string& path) {
    pdf_ = OpenPdfByPath(std::u16string(path.begin(), path.end()));  // temporary paths are ASCII
    criteria_.kindMask = kAllCommentKinds;
    criteria_.markedStateMask = kAllMarkedStates;
    criteria_.reviewStateMask = kAllReviewStates;
    criteria_.migrationStateMask = kAllMigrationStates;
    criteria_.acceptedAuthors = {"R"};
    if (!pdf_) return;
    context.document = pdf_;
    context.hasRoleMap = HasRoleMap(pdf_);
    ReadPages(context, pdf_, 0, Tables().document->PdfPageCount(pdf_) - 1, criteria_);
  }
  ~Reading() {
    context.Clear();
    if (pdf_) ClosePdf(pdf_);
  }
  const PdfComment& Comment(const std::string& name) const {
    for (const auto& [page, list] : context.commentsByPage) {
      for (const auto& comment : list) {
        if (comment->contents() == name) return *comment;
      }
    }
    ADD_FAILURE() << "no comment " << name;
    static const PdfComment none;
    return none;
  }

  DocumentContext context;

 private:
  FilterCriteria criteria_;
  OkDoc* pdf_ = nullptr;
};

class ContentWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok()) << PdfLibraryLastError();
  }
  void TearDown() override { PdfLibraryUnload(); }

  // The English text (or an example) exported, its first page turned by `rotation`.
  void Export(const char* example = nullptr, int rotation = 0) {
    tlhost::pdfexport::ExportOptions options;
    options.pageRotation[0] = rotation;
    ASSERT_TRUE(example ? pdf_.ExportExample(example, {}, options)
                        : pdf_.ExportText(kEnglish, {}, options))
        << pdf_.error();
  }
  // The exported PDF with the comments added, read.
  std::unique_ptr<Reading> Read(const std::string& comments) {
    if (!pdf_.Review(Described(comments))) ADD_FAILURE() << pdf_.error();
    return std::make_unique<Reading>(pdf_.annotatedPdf());
  }

  fixtures::ReviewedPdf pdf_;
};

// Markup at an element's start, over a line end whose blank the quadrilateral leaves out, and
// over two paragraphs takes the text the reviewer marked, also on rotated pages. Words marked
// mid-line by every kind are read in MarkupOfEveryWriterTakesWholeWordsOnly.
TEST_F(ContentWalkTest, CommentsTakeTheTextTheReviewerMarked) {
  const struct {
    const char* example;  // nullptr: the English text
    std::vector<int> rotations;
    std::vector<Markup> markups;
  } texts[] = {
      {nullptr,
       {90, 270, 0},
       {{"underline", "Reading", "\nReading"},
        // Its line's quadrilateral ends before the blank at the line end: the blank is still
        // part of the range and of its text.
        {"highlight", "finds them again in the source", "finds them again in the source",
         R"(, "line_ends": "trim")"},
        {"highlight", "tree. Second", "tree.\nSecond"}}},  // over two paragraphs
      {"chapter1.tlv", {0}, {{"underline", "このマニュアル", "\nこのマニュアル"}}},
  };
  for (const auto& text : texts) {
    for (int rotation : text.rotations) {
      SCOPED_TRACE(std::string(text.example ? text.example : "English") + " rotation " +
                   std::to_string(rotation));
      Export(text.example, rotation);
      std::string comments;
      for (const Markup& m : text.markups) comments += Described(m.kind, m.find, m.find, m.more);
      const auto reading = Read(comments);
      for (const Markup& m : text.markups) {
        const PdfComment& comment = reading->Comment(m.find);
        EXPECT_EQ(comment.markedText(), m.expected);
        EXPECT_TRUE(comment.hasRange() && comment.placementConfirmed() && !comment.approximate())
            << m.find;
      }
    }
  }
}

// Carets as other viewers draw them: narrow and wide, a small caret inside a wide rectangle
// given by /RD insets (evenly or not), on pages at every rotation. Each lands on the character
// boundary the reviewer put it at: paragraph starts and ends, line starts and ends, mid-line.
TEST_F(ContentWalkTest, CaretsOfEveryGeometryLandOnTheirBoundary) {
  struct Target {
    const char* find;
    const char* at;
  };
  const struct {
    const char* example;  // nullptr: the English text
    std::vector<Target> targets;
  } texts[] = {
      {nullptr,
       {{"Reading", "start"},
        {"back", "end"},
        {"marks words", "end"},
        {"marks words", "start"},
        {"exported PDF", "end"},
        {"structure tree.", "end"},
        {"Second", "start"},
        {"here.", "end"},
        {"identifiers", "start"},
        {"the source", "end"},
        {"source", "start"},  // at a line's start
        {"document by", "start"}}},
      {"chapter1.tlv", {{"該当する", "end"}, {"該当する", "start"}, {"注釈は", "start"}}},
  };
  const struct {
    double width;
    const char* insets;  // "" for none
  } carets[] = {
      {6, ""},
      {6.5, ""},
      {8, ""},
      {10, ""},
      {13, ""},
      {16, ""},
      {20, ""},
      {6, "[7, 3, 7, 3]"},
      {8, "[2, 1, 9, 1]"},
      {10, "[5, 0, 5, 0]"},
  };
  const auto name = [](size_t t, size_t c) {
    return "c" + std::to_string(t) + "." + std::to_string(c);
  };
  for (const auto& text : texts) {
    for (int rotation : {0, 90, 180, 270}) {
      SCOPED_TRACE(std::string(text.example ? text.example : "English") + " rotation " +
                   std::to_string(rotation));
      Export(text.example, rotation);
      std::string comments;
      for (size_t t = 0; t < text.targets.size(); ++t) {
        for (size_t c = 0; c < std::size(carets); ++c) {
          std::string more = std::string(R"(, "at": ")") + text.targets[t].at +
                             R"(", "caret_width": )" + std::to_string(carets[c].width);
          if (*carets[c].insets) more += std::string(R"(, "caret_insets": )") + carets[c].insets;
          comments += Described("insert", text.targets[t].find, name(t, c), more);
        }
      }
      const auto reading = Read(comments);
      for (size_t t = 0; t < text.targets.size(); ++t) {
        const std::string find = text.targets[t].find;
        const bool atEnd = std::string(text.targets[t].at) == "end";
        for (size_t c = 0; c < std::size(carets); ++c) {
          SCOPED_TRACE(std::string(text.targets[t].at) + " of " + find + ", width " +
                       std::to_string(carets[c].width) + " insets " + carets[c].insets);
          const PdfComment& caret = reading->Comment(name(t, c));
          ASSERT_TRUE(caret.hasRange() && caret.range().start.element);
          EXPECT_TRUE(caret.placementConfirmed() && !caret.approximate());
          EXPECT_EQ(caret.otherPlace(), "");
          const TextPosition& point = caret.range().start;
          const ContentElement& element = *point.element;
          EXPECT_EQ(point, caret.range().end);
          EXPECT_TRUE(atEnd ? Text(element, 0, point.offset).ends_with(find)
                            : Text(element, point.offset).starts_with(find))
              << "[" << Text(element, 0, point.offset) << "|" << Text(element, point.offset) << "]";
        }
      }
    }
  }
}

// A paragraph whose footnote number stands raised on its third line, right under the second,
// and a short paragraph after it, set apart by a little leading.
constexpr const char* kFootnoted = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="4">
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Body">Inside, the pit wheel drives a cast wallower, which turns the upright shaft; near the ceiling a great spur wheel then feeds power to both pairs of millstones through small stone nuts that can be lifted out of gear.<footnote-anchor ref="fn1"/> The cogs of the spur wheel are hornbeam, chosen because its dense grain wears smoothly against iron teeth.</p>
    <p unique="3" format="Body">Dressing the stones is slow, patient craft.</p>
  </flow>
  <footnote key="fn1" number="1">
    <p unique="2" format="Footnote">Stone nuts are disengaged by a screw jack.</p>
  </footnote>
</document>
)";

// A caret centred on a raised footnote number: a short one stands on the number's line; one
// 14 pt tall (a common default) reaches with its tip into the leading under the line above,
// on no glyph there, while its middle lies on the number. It keeps the tip's place, flagged,
// and names the number's as the other.
TEST_F(ContentWalkTest, ACaretWithTwoComparablePlacesNamesTheOther) {
  ASSERT_TRUE(pdf_.ExportText(kFootnoted)) << pdf_.error();
  const struct {
    double height;
    bool flagged;
  } rows[] = {{8, false}, {12, false}, {14, true}};
  const char* sides[] = {"start", "end"};
  std::string comments;
  for (size_t r = 0; r < std::size(rows); ++r) {
    for (const char* side : sides) {
      // The footnote's number is the page's first "1".
      comments += Described("insert", "1", "h" + std::to_string(r) + side,
                            std::string(R"(, "at": ")") + side + R"(", "caret_height": )" +
                                std::to_string(rows[r].height));
    }
  }
  const auto reading = Read(comments);
  for (size_t r = 0; r < std::size(rows); ++r) {
    for (const char* side : sides) {
      SCOPED_TRACE("height " + std::to_string(rows[r].height) + " at " + side);
      const PdfComment& caret = reading->Comment("h" + std::to_string(r) + side);
      ASSERT_TRUE(caret.hasRange() && caret.range().start.element);
      const TextPosition& at = caret.range().start;
      const std::string before = Text(*at.element, 0, at.offset);
      const std::string after = Text(*at.element, at.offset);
      const bool onNumber =
          std::string(side) == "start" ? before.ends_with("gear.") : after.starts_with(" The cogs");
      EXPECT_EQ(onNumber, !rows[r].flagged) << before << "|" << after;
      if (rows[r].flagged) {
        EXPECT_NE(caret.otherPlace().find("gear."), std::string::npos)
            << caret.otherPlace() << " placed " << before << "|" << after;
      } else {
        EXPECT_EQ(caret.otherPlace(), "");
      }
    }
  }
}

// Notes whose icon's corner has a claim on two lines: on the lower half of a line's characters,
// while the icon hung from it covers the next line; in the leading between two paragraphs, about
// as near to both; on a footnote number where it reaches into the line above. Each goes to the
// line nearer its corner (the covered one when both are as near) and names the other. A corner
// on the upper half of a word, as writers set it, or in the third of the leading next to the
// covered line, is not flagged.
TEST_F(ContentWalkTest, ANoteWithTwoComparablePlacesNamesTheOther) {
  ASSERT_TRUE(pdf_.ExportText(kFootnoted)) << pdf_.error();
  // "out" stands over "wears" (the third and fourth lines), "wears" over "stones" across the
  // leading between the paragraphs ("millstones" comes first), "feeds" over the footnote's
  // number.
  using Boxes = std::map<std::string, CommentBox>;
  Boxes boxes;
  {
    std::string marks;
    for (const char* word : {"out", "wears", "stones is", "feeds", "1"})
      marks += Described("highlight", word, word);
    const auto words = Read(marks);
    for (const char* word : {"out", "wears", "stones is", "feeds", "1"}) {
      ASSERT_FALSE(words->Comment(word).boxes().empty()) << word;
      boxes[word] = *words->Comment(word).boxes().front();
    }
  }
  const auto middle = [](const CommentBox& box) { return (box.top + box.bottom) / 2; };
  // Where the icon's upper left corner is set, y downward from the page's top; no x: the
  // reviewer tool's own note on "wears", 1 pt into the word's upper left corner.
  using Place = float (*)(const Boxes&);
  const Place overWears = [](const Boxes& b) { return b.at("wears").left + 4; };
  const Place overStones = [](const Boxes& b) { return b.at("stones is").left + 4; };
  const struct {
    const char* name;
    Place x;
    Place y;
    const char* placedAfter;
    const char* other;  // in the other place's text; "" for none
  } rows[] = {
      {"the tool's own corner", nullptr, nullptr, "wears", ""},
      {"just above the middle of a word", overWears,
       [](const Boxes& b) { return (b.at("out").top + b.at("out").bottom) / 2 - 0.5f; }, "out", ""},
      {"just below the middle of a word", overWears,
       [](const Boxes& b) { return (b.at("out").top + b.at("out").bottom) / 2 + 0.5f; }, "out",
       "wears|"},
      {"low on a word, over the next line", overWears,
       [](const Boxes& b) { return b.at("out").bottom - 2; }, "out", "wears|"},
      {"the middle of the leading", overStones,
       [](const Boxes& b) { return (b.at("wears").bottom + b.at("stones is").top) / 2; }, "stones",
       "wears|"},
      {"the leading, near the paragraph above", overStones,
       [](const Boxes& b) { return b.at("wears").bottom + 0.5f; }, "wears", "stones|"},
      {"the leading, near the paragraph below", overStones,
       [](const Boxes& b) { return b.at("stones is").top - 0.5f; }, "stones", ""},
      {"the top of a raised footnote number", [](const Boxes& b) { return b.at("1").left + 1; },
       [](const Boxes& b) { return b.at("1").top + 0.3f; }, "feeds", "gear.1|"},
      {"the middle of a raised footnote number", [](const Boxes& b) { return b.at("1").left + 1; },
       [](const Boxes& b) { return (b.at("1").top + b.at("1").bottom) / 2; }, "gear.1", ""},
  };
  ASSERT_LT(boxes["out"].bottom, middle(boxes["wears"]));
  ASSERT_LT(boxes["wears"].bottom, boxes["stones is"].top);
  std::string comments;
  for (size_t r = 0; r < std::size(rows); ++r) {
    const std::string name = "n" + std::to_string(r);
    if (!rows[r].x) {
      comments += Described("note", "wears", name);
      continue;
    }
    // The tool's library sets its icon 1 pt right of and below the point it is given.
    const std::string point = "[" + std::to_string(rows[r].x(boxes) - 1) + ", " +
                              std::to_string(rows[r].y(boxes) - 1) + "]";
    comments += R"({"kind": "note", "point": )" + point + R"(, "page": 0, "author": "R", )" +
                R"("contents": ")" + name + "\"},";
  }
  const auto reading = Read(comments);
  for (size_t r = 0; r < std::size(rows); ++r) {
    SCOPED_TRACE(rows[r].name);
    const PdfComment& note = reading->Comment("n" + std::to_string(r));
    ASSERT_TRUE(note.hasRange() && note.range().start.element);
    EXPECT_EQ(note.range().start, note.range().end);
    const TextPosition& at = note.range().start;
    const std::string before = Text(*at.element, 0, at.offset);
    EXPECT_TRUE(before.ends_with(rows[r].placedAfter)) << before;
    if (*rows[r].other) {
      EXPECT_NE(note.otherPlace().find(rows[r].other), std::string::npos) << note.otherPlace();
    } else {
      EXPECT_EQ(note.otherPlace(), "");
    }
  }
}

// Markup whose two ends stand off the glyphs each by its own amount, as a viewer that selects
// over a text layer of its own draws it: a punctuation mark at an end that the markup covers
// nearly whole is taken whatever the other end does, a word's last letter is kept and the
// blank or comma beside it is not; highlights and underlines never end with a blank, while a
// strike-out takes the blank it covers. Markup padded alike at both ends is read elsewhere
// (MarkupOfEveryWriterTakesWholeWordsOnly).
TEST_F(ContentWalkTest, EachEndOfMarkupIsDecidedOnItsOwn) {
  const std::vector<double> drifts = {-2.5, -1.2, 0, 1.2, 2.5};
  // A strike-out that starts 2.5 pt early covers three quarters of the blank before its word,
  // which it then deletes too (the last row).
  const std::vector<double> struck = {-2, -1.2, 0, 1.2, 2.5};
  // The end stops at most half a point short of a punctuation mark it means, or 2 pt into one
  // it does not: between those no rule can tell.
  const std::vector<double> onPunctuation = {-0.5, 0, 1.2, 2.5};
  const std::vector<double> beforePunctuation = {-2.5, -1.2, 0, 1.2, 2};
  const std::vector<double> struckOnPunctuation = {-0.5, 0, 1.2, 2};
  const struct {
    const char* find;
    std::vector<const char*> kinds;
    std::vector<double> starts;
    std::vector<double> ends;  // each with every start
    const char* expected;
  } rows[] = {
      {"marks", {"highlight", "underline", "squiggly"}, drifts, drifts, "marks"},
      {"PDF,", {"highlight", "underline"}, drifts, onPunctuation, "PDF,"},
      {"PDF,", {"strikeout"}, struck, struckOnPunctuation, "PDF,"},
      {"exported PDF", {"highlight", "underline"}, drifts, beforePunctuation, "exported PDF"},
      {"exported PDF", {"strikeout"}, struck, beforePunctuation, "exported PDF"},
      // Paragraph ends: the full stop a viewer's selection ends on or just past.
      {"structure tree.", {"highlight"}, drifts, onPunctuation, "structure tree."},
      {"here.", {"highlight"}, drifts, onPunctuation, "here."},
      {"here.", {"strikeout"}, struck, struckOnPunctuation, "here."},
      // A strike-out that covers three quarters of a blank beside its word deletes it too.
      {"marks", {"strikeout"}, {0}, {2.5}, "marks "},
      {"marks", {"strikeout"}, {-2.5}, {0}, " marks"},
  };
  for (int rotation : {0, 90}) {
    SCOPED_TRACE("rotation " + std::to_string(rotation));
    Export(nullptr, rotation);
    std::string comments;
    int n = 0;
    for (const auto& row : rows) {
      for (const char* kind : row.kinds) {
        for (double start : row.starts) {
          for (double end : row.ends) {
            comments += Described(
                kind, row.find, "d" + std::to_string(n++),
                R"(, "outset": [)" + std::to_string(-start) + ", " + std::to_string(end) + "]");
          }
        }
      }
    }
    const auto reading = Read(comments);
    n = 0;
    for (const auto& row : rows) {
      for (const char* kind : row.kinds) {
        for (double start : row.starts) {
          for (double end : row.ends) {
            SCOPED_TRACE(std::string(kind) + " of " + row.find + ", start " +
                         std::to_string(start) + ", end " + std::to_string(end));
            const PdfComment& comment = reading->Comment("d" + std::to_string(n++));
            std::string marked = comment.markedText();
            if (marked.starts_with("\n")) marked.erase(0, 1);
            EXPECT_EQ(marked, row.expected);
            ASSERT_TRUE(comment.hasRange());
            EXPECT_EQ(Text(*comment.range().start.element, comment.range().start.offset,
                           comment.range().end.offset),
                      row.expected);
          }
        }
      }
    }
  }
}

// Markup drawn on the glyphs, a point and a half inside them, and two points past them: each
// kind takes exactly the words marked, never the blanks beside them, at every rotation; text
// boxes take whole words, and notes and text boxes with a callout line (their box in the
// margin, or over other text) point after the word under the icon's corner or the line's tip.
TEST_F(ContentWalkTest, MarkupOfEveryWriterTakesWholeWordsOnly) {
  const char* kinds[] = {"highlight", "underline", "squiggly", "strikeout", "deletion", "replace"};
  const struct {
    const char* example;
    std::vector<const char*> finds;  // each marked by every kind at every outset
    const char* box;                 // a text box over it takes it whole
    const char* note;                // a note on it points after it
  } texts[] = {
      {nullptr,
       {"reviewer marks", "in the source document", "PDF, and"},
       "identifiers",
       "structure"},
      {"chapter1.tlv", {"注釈の読み込み", "すべて戻されます"}, "このマニュアル", "文書"},
      {"table-footnote.tlv", {"Meaning", "takes effect"}, "Meaning", "lists"},
  };
  for (const auto& text : texts) {
    for (int rotation : {0, 90, 180, 270}) {
      SCOPED_TRACE(std::string(text.example ? text.example : "English") + " rotation " +
                   std::to_string(rotation));
      Export(text.example, rotation);
      std::string comments;
      int n = 0;
      for (const char* find : text.finds) {
        for (const char* kind : kinds) {
          for (const char* outset : {"0", "-1.5", "2"}) {
            comments += Described(kind, find, "m" + std::to_string(n++),
                                  std::string(R"(, "outset": )") + outset);
          }
        }
      }
      comments += Described("freetext", text.box, "box") + Described("note", text.note, "note");
      const struct {
        const char* name;
        const char* offset;  // of the callout's box from the word's middle
      } callouts[] = {{"callout apart", "[70, -45]"}, {"callout over text", "[-8, 10]"}};
      for (const auto& callout : callouts) {
        comments += Described("freetext", text.note, callout.name,
                              std::string(R"(, "callout": )") + callout.offset);
      }
      const auto reading = Read(comments);
      n = 0;
      for (const char* find : text.finds) {
        for (const char* kind : kinds) {
          for (const char* outset : {"0", "-1.5", "2"}) {
            SCOPED_TRACE(std::string(kind) + " of " + find + ", outset " + outset);
            const PdfComment& comment = reading->Comment("m" + std::to_string(n++));
            // An element's first character comes after a line break of the marked text.
            std::string marked = comment.markedText();
            if (marked.starts_with("\n")) marked.erase(0, 1);
            EXPECT_EQ(marked, find);
            EXPECT_TRUE(comment.placementConfirmed() && !comment.approximate());
          }
        }
      }
      const PdfComment& box = reading->Comment("box");
      EXPECT_EQ(box.markedText().substr(box.markedText().starts_with("\n") ? 1 : 0), text.box);
      for (const char* name : {"note", "callout apart", "callout over text"}) {
        SCOPED_TRACE(name);
        const PdfComment& note = reading->Comment(name);
        ASSERT_TRUE(note.hasRange() && note.range().start.element);
        EXPECT_EQ(note.range().start.offset, note.range().end.offset);
        EXPECT_TRUE(
            Text(*note.range().start.element, 0, note.range().start.offset).ends_with(text.note))
            << Text(*note.range().start.element, 0, note.range().start.offset);
      }
    }
  }
}

// A highlight over two paragraphs runs from the first element it touches to the last; notes
// beside the text are placed on the nearest element, rows counting double, and say so.
TEST_F(ContentWalkTest, RangesRunOverElementsAndTheFallbackPlacesWhatNoTextMatched) {
  Export();
  const auto reading =
      Read(Described("highlight", "tree. Second", "across") +
           R"({"kind": "note", "point": [540, 96], "page": 0, "author": "R", "contents": "margin"},
         {"kind": "note", "point": [231, 128], "page": 0, "author": "R", "contents": "beside"},)");
  const TextRange& across = reading->Comment("across").range();
  ASSERT_TRUE(across.start.element && across.end.element);
  EXPECT_TRUE(Text(*across.start.element).starts_with("The reviewer"));
  EXPECT_EQ(Text(*across.start.element, across.start.offset), "tree.");
  EXPECT_EQ(Text(*across.end.element, 0, across.end.offset), "Second");

  // In the right margin of the second paragraph's first line.
  const PdfComment& margin = reading->Comment("margin");
  EXPECT_TRUE(margin.hasRange() && margin.approximate() && margin.markedText().empty());
  EXPECT_EQ(margin.placementConfirmed(), 0u);
  ASSERT_TRUE(margin.range().start.element);
  EXPECT_TRUE(Text(*margin.range().start.element).starts_with("The reviewer"));
  // Right of the last paragraph, a little further from its end than from the paragraph above.
  const ContentElement* beside = reading->Comment("beside").range().start.element;
  ASSERT_TRUE(beside);
  EXPECT_TRUE(Text(*beside).starts_with("Second"));
}

// A box in the margin beside two paragraphs, that reaches a little into the rows of one,
// goes to the paragraph it mostly stands beside, above or below (a browser viewer's text box is
// taller than the line it is typed beside).
TEST_F(ContentWalkTest, AMarginBoxGoesToTheParagraphItMostlyStandsBeside) {
  Export();
  const auto paragraphs = Read(Described("highlight", "tree. Second", "across"));
  const TextRange& across = paragraphs->Comment("across").range();
  ASSERT_TRUE(across.start.element && across.end.element);
  const CommentBox first = across.start.element->box;
  const CommentBox second = across.end.element->box;
  ASSERT_LT(first.bottom, second.top);
  const struct {
    const char* name;
    float top, bottom;
    const char* startsWith;
  } boxes[] = {
      {"into the row above", first.bottom - 0.5f, first.bottom + 19.5f, "Second"},
      {"into the row below", second.top - 19.5f, second.top + 0.5f, "The reviewer"},
  };
  for (const auto& box : boxes) {
    SCOPED_TRACE(box.name);
    const std::string rect =
        "[545, " + std::to_string(box.top) + ", 585, " + std::to_string(box.bottom) + "]";
    const auto reading = Read(R"({"kind": "freetext", "page": 0, "author": "R", "rect": )" + rect +
                              R"(, "contents": "typed"},)");
    const PdfComment& typed = reading->Comment("typed");
    ASSERT_TRUE(typed.hasRange() && typed.range().start.element);
    EXPECT_TRUE(Text(*typed.range().start.element).starts_with(box.startsWith))
        << Text(*typed.range().start.element);
  }
}

// Paragraphs in a table, its title or a footnote carry the table's and the footnote's elements,
// innermost first, up to the flow's article.
TEST_F(ContentWalkTest, TableCellsAndFootnotesClassifyIntoTheirChains) {
  using K = ElementKind;
  const std::vector<std::pair<const char*, std::vector<ElementKind>>> cases = {
      {"Updates the screen", {K::TableCell, K::TableRow, K::TableBody, K::Table, K::Section}},
      {"Meaning", {K::TableCell, K::TableRow, K::TableHeading, K::Table, K::Section}},
      {"1: Settings", {K::TableTitle, K::Table, K::Section}},
      {"As of version", {K::Footnote, K::Section}},
      {"takes effect", {K::Section}},
  };
  std::string comments;
  for (const auto& [find, chain] : cases) comments += Described("highlight", find, find);
  Export("table-footnote.tlv");
  const auto reading = Read(comments);
  for (const auto& [find, expected] : cases) {
    const ContentElement* element = reading->Comment(find).range().start.element;
    ASSERT_TRUE(element) << find;
    std::vector<ElementKind> chain;
    for (const ElementEntry* e = element->containers; e; e = e->outer) chain.push_back(e->kind);
    EXPECT_EQ(chain, expected) << find;
    EXPECT_EQ(element->SectionName(), "Article_A") << find;
  }
}

// What the export never writes: a book part under a role map, figures with and without a span
// below them, an element without a type, an MCID the parent tree does not name, a parent loop,
// text outside marked content, and a comment on a page without any structure.
TEST_F(ContentWalkTest, HandMadeStructureGivesDefinedResults) {
  std::string content;
  const char* const texts[] = {"Chapter", "Spanned", "Pictured", "Untyped",
                               "Nowhere", "Looping", "Plain"};
  for (int mcid = 0; mcid < 7; ++mcid) {
    content += "/P <</MCID " + std::to_string(mcid) + ">> BDC BT /F1 12 Tf 72 " +
               std::to_string(700 - 20 * mcid) + " Td (" + texts[mcid] + ") Tj ET EMC ";
  }
  const std::string loose = "BT /F1 12 Tf 72 500 Td (Loose) Tj ET";
  const std::string page =
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources "
      "<< /Font << /F1 6 0 R >> >> /Contents ";
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 5 0 R >>",
      "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
      page + "7 0 R /StructParents 0 /Annots [9 0 R] >>",
      page + "8 0 R /Annots [10 0 R] >>",
      "<< /Type /StructTreeRoot /K [11 0 R] /RoleMap << /Body /P >> /ParentTree "
      "<< /Nums [0 [13 0 R 16 0 R 17 0 R 18 0 R null 20 0 R 19 0 R]] >> >>",
      ondrelkit::testing::kHelvetica,
      ondrelkit::testing::Stream(content + loose),
      ondrelkit::testing::Stream(loose),
      "<< /Subtype /Highlight /Rect [72 636 122 654] /T (R) /Contents (outside) "
      "/QuadPoints [72 654 122 654 72 636 122 636] >>"};
  // Objects 10 on, one a line: the note of the page without structure, then the tree.
  std::istringstream rest(
      R"(<< /Subtype /Text /Rect [300 300 320 320] /T (R) /Contents (alone) >>
<< /S /Document /P 5 0 R /K [12 0 R 14 0 R 19 0 R] >>
<< /S /Part /P 11 0 R /K 13 0 R >>
<< /S /Body /P 12 0 R /K 0 /Pg 3 0 R >>
<< /S /P /P 11 0 R /K [15 0 R 17 0 R] >>
<< /S /Figure /P 14 0 R /K 16 0 R >>
<< /S /Span /P 15 0 R /K 1 /Pg 3 0 R >>
<< /S /Figure /P 14 0 R /K 2 /Pg 3 0 R >>
<< /P 19 0 R /K 3 /Pg 3 0 R >>
<< /S /P /P 11 0 R /K [18 0 R 6] /Pg 3 0 R >>
<< /S /Span /P 21 0 R /K 5 /Pg 3 0 R >>
<< /S /P /P 22 0 R /K 20 0 R >>
<< /S /Div /P 21 0 R /K 21 0 R >>)");
  for (std::string line; std::getline(rest, line);) objects.push_back(line);
  const std::string path = pdf_.directory() + "/hand-made.pdf";
  ondrelkit::testing::WriteHandMadePdf(path, objects);
  const Reading reading(path);
  const auto& elements = reading.context.elements;
  std::vector<std::string> read;
  for (const auto& element : elements) read.push_back(Text(*element));
  ASSERT_EQ(read, (std::vector<std::string>{"Chapter", "Spanned", "Plain"}));
  ASSERT_TRUE(elements[0]->containers);
  EXPECT_EQ(elements[0]->containers->kind, ElementKind::BookPart);
  // The two paragraphs right under the document share its empty chain.
  EXPECT_EQ(elements[1]->containers, nullptr);
  EXPECT_EQ(elements[1]->containerIndex, 1u);
  EXPECT_EQ(elements[2]->containerIndex, 2u);
  EXPECT_EQ(elements[2]->containerCount, 2u);

  // Text outside the structure is marked but cannot be placed; its offsets run on from the
  // element before it, so it never starts a line of the marked text.
  const PdfComment& outside = reading.Comment("outside");
  EXPECT_EQ(outside.markedText(), "Untyped");
  EXPECT_TRUE(outside.approximate() && outside.placementConfirmed() == 0);
  const PdfComment& alone = reading.Comment("alone");
  EXPECT_TRUE(!alone.hasRange() && alone.placementConfirmed() == 0);
}

}  // namespace
}  // namespace osprevan::pdf

// Reading a reviewed PDF for one host document: the value placing gets holds what it needs of
// the PDF's structure tree, and no reading depends on the one before it.
#include "pdf/review_read.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "hostlink/host_ops.h"
#include "pdf/comment_kind.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "platform/win/module.h"
#include "platform/win/utf16.h"
#include "reviewed_pdf.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::pdf {
namespace {

using tolvane::ObjectId;

class ReviewReadTest : public apply::InProcessPluginTest {
 protected:
  void SetUp() override {
    InProcessPluginTest::SetUp();
    criteria_.kindMask = kAllCommentKinds;
    criteria_.markedStateMask = kAllMarkedStates;
    criteria_.reviewStateMask = kAllReviewStates;
    criteria_.migrationStateMask = kAllMigrationStates;
    criteria_.acceptedAuthors = {"R"};
  }
  // The example exported and reviewed, and its source open in the host.
  ObjectId Prepare(fixtures::ReviewedPdf& pdf, const char* example, const std::string& comments) {
    EXPECT_TRUE(pdf.ExportExample(example)) << pdf.error();
    EXPECT_TRUE(pdf.Review(R"({"comments": [)" + comments + "]}")) << pdf.error();
    ObjectId document = 0;
    std::vector<tlhost::PropValue> returned;
    EXPECT_EQ(host_.engine().OpenFile(pdf.sourcePath(), {}, document, returned), 0);
    return document;
  }

  // Every record as placing sees it: contents, subtype, both ends (identifier, offset, offset in
  // the host paragraph) and what the chain of the start's element knows of the tree.
  std::string Read(const fixtures::ReviewedPdf& pdf, ObjectId document) {
    const OpenedPdf open(win::Utf8ToWide(pdf.annotatedPdf()));
    if (!open.isOpen()) return "not opened";
    std::ostringstream out;
    {
      const ReviewRead read = ReadReview(open, document, WholePdfPart(open), criteria_);
      for (const auto& [page, comments] : read.commentsByPage) {
        for (const auto& comment : comments) {
          out << comment->contents() << ":" << comment->subtypeName();
          if (!comment->hasRange()) {
            out << " unplaced\n";
            continue;
          }
          for (const TextPosition* end : {&comment->range().start, &comment->range().end}) {
            out << " " << (end->element ? end->element->identifier : "-") << "@" << end->offset
                << "/" << end->hostOffset;
          }
          if (const ContentElement* element = comment->range().start.element) {
            for (const ElementEntry* e = element->containers; e; e = e->outer) {
              out << " " << static_cast<int>(e->kind) << ":" << e->placeAmongKind;
              if (e->anchorParagraph)
                out << "<" << HostGetInt(document, e->anchorParagraph, tolvane::P_PGF_UNIQUE) << "+"
                    << e->anchorsBetween;
            }
          }
          out << "\n";
        }
      }
    }
    return out.str();
  }

  FilterCriteria criteria_;
};

// Rows and cells know their place among their parent's kids of their kind; a table and a
// footnote know the paragraph whose anchor they follow.
TEST_F(ReviewReadTest, TablesAndFootnotesKnowWhereTheyStand) {
  fixtures::ReviewedPdf pdf;
  const ObjectId document = Prepare(
      pdf, "table-footnote.tlv",
      R"({"author": "R", "kind": "highlight", "find": "Updates the screen", "contents": "cell"},
         {"author": "R", "kind": "underline", "find": "Spanning note", "contents": "row"},
         {"author": "R", "kind": "strikeout", "find": "As of version", "contents": "note"})");
  const std::string read = Read(pdf, document);
  // Entries are kind:placeAmongKind, and <anchor paragraph+anchors between.
  const struct {
    const char* name;
    const char* chain;
  } expected[] = {
      // a cell (5), second among its row's cells; its row (6), first of the body (8); the table
      // (11) follows paragraph 2's first table anchor; all in the flow's section (3)
      {"cell:", " 5:1 6:0 8:0 11:0<2+0 3:0"},
      {"row:", " 5:0 6:1 8:0 11:0<2+0 3:0"},
      // a footnote (4) follows paragraph 2's first footnote anchor
      {"note:", " 4:0<2+0 3:0"},
  };
  for (const auto& e : expected) {
    const size_t at = read.find(e.name);
    ASSERT_NE(at, std::string::npos) << read;
    const std::string line = read.substr(at, read.find('\n', at) - at);
    EXPECT_TRUE(line.ends_with(e.chain)) << line << " should end " << e.chain;
  }
}

// A strike-out read last in one import once turned the next import's first Caret into part of
// a replacement; each reading now starts from nothing.
TEST_F(ReviewReadTest, AReadingDoesNotDependOnTheOneBefore) {
  fixtures::ReviewedPdf first, second;
  const ObjectId firstDocument =
      Prepare(first, "chapter1.tlv",
              R"({"author": "R", "kind": "highlight", "find": "注釈", "contents": "h"},
         {"author": "R", "kind": "strikeout", "find": "段落", "contents": "s"})");
  const ObjectId secondDocument =
      Prepare(second, "table-footnote.tlv",
              R"({"author": "R", "kind": "insert", "find": "Display", "text": "caret"},
         {"author": "R", "kind": "highlight", "find": "Meaning", "contents": "meaning"})");
  criteria_.kindMask = Insert | Highlight;
  const std::string alone = Read(second, secondDocument);
  EXPECT_NE(alone.find("caret:"), std::string::npos) << alone;
  criteria_.kindMask = kAllCommentKinds;
  EXPECT_NE(Read(first, firstDocument).find("s:"), std::string::npos);
  criteria_.kindMask = Insert | Highlight;
  EXPECT_EQ(Read(second, secondDocument), alone);
}

}  // namespace
}  // namespace osprevan::pdf

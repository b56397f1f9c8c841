// Reading only the pages the comments need: the reading is the one a walk of every page gives,
// and the pages it leaves unwalked are the ones no comment's paragraph touches.
#include "pdf/walk_plan.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "hand_made_pdf.h"
#include "host/link/client_connection.h"
#include "host/link/host.h"
#include "pdf/comment_kind.h"
#include "pdf/library_handles.h"
#include "pdf/marked_content_owner.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_parts.h"
#include "pdf/review_read.h"
#include "pdf/structure_tree.h"
#include "platform/win/module.h"
#include "platform/win/utf16.h"
#include "reviewed_pdf.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::pdf {
namespace {

using tolvane::ObjectId;

constexpr int kParagraphs = 60;

// Long paragraphs, each starting with a word of its own ("W7x"), so that most page breaks fall
// inside one; a heading now and then gives the chain a second element kind.
std::string LongDocument() {
  std::ostringstream body;
  for (int n = 1; n <= kParagraphs; ++n) {
    const bool heading = n % 15 == 1;
    body << "    <p unique=\"" << n << "\" format=\"" << (heading ? "Heading1" : "Body") << "\">W"
         << n << "x";
    for (int word = 0; word < (heading ? 3 : 70); ++word)
      body << " " << (word % 3 == 0 ? "review" : word % 3 == 1 ? "place" : "text") << word;
    body << "</p>\n";
  }
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1">
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
)" + body.str() +
         R"(  </flow>
</document>
)";
}

// The plug-in linked to the host and the PDF library loaded; every comment of "R" passes.
class PlanReadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const int index = host_.LinkClient(
        T_ApiClientInit, win::ModuleFromAddress(reinterpret_cast<void*>(&T_ApiClientInit)), "");
    ASSERT_EQ(host_.client(index).initResult(), 0);
    ASSERT_TRUE(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok()) << PdfLibraryLastError();
    criteria_.kindMask = kAllCommentKinds;
    criteria_.markedStateMask = kAllMarkedStates;
    criteria_.reviewStateMask = kAllReviewStates;
    criteria_.migrationStateMask = kAllMigrationStates;
    criteria_.acceptedAuthors = {"R"};
  }
  void TearDown() override { PdfLibraryUnload(); }

  tlhost::Host host_;
  FilterCriteria criteria_;
  fixtures::ReviewedPdf pdf_;
};

class WalkPlanTest : public PlanReadingTest {
 protected:
  void SetUp() override {
    PlanReadingTest::SetUp();
    ASSERT_TRUE(pdf_.ExportText(LongDocument())) << pdf_.error();
    std::vector<tlhost::PropValue> returned;
    ASSERT_EQ(host_.engine().OpenFile(pdf_.sourcePath(), {}, document_, returned), 0);
  }

  // Everything placing sees of each record: its ends with their elements' counts, pages and
  // text, and each end's offset in its element and in the host paragraph.
  static std::string Described(const ReviewRead& read) {
    std::ostringstream out;
    for (const auto& [page, comments] : read.commentsByPage) {
      for (const auto& comment : comments) {
        out << page << " " << comment->contents() << " " << comment->markedText();
        if (!comment->hasRange()) out << " unplaced";
        for (const TextPosition* end : {&comment->range().start, &comment->range().end}) {
          if (!comment->hasRange() || !end->element) continue;
          const ContentElement& e = *end->element;
          out << " [" << e.identifier << " " << e.containerIndex << "/" << e.containerCount << " p"
              << e.firstPage << "-" << e.lastPage << " @" << end->offset << "/" << end->hostOffset
              << " " << e.chars.Text(0, e.chars.size()) << "]";
        }
        out << "\n";
      }
    }
    out << "unread text on " << read.textUnread.size() << " pages\n";
    return out.str();
  }

  // The planned and the full reading of the reviewed PDF, described.
  std::pair<std::string, std::string> ReadBothWays() {
    const OpenedPdf open(win::Utf8ToWide(pdf_.annotatedPdf()));
    if (!open.isOpen()) return {"not opened", ""};
    ReviewPart part = WholePdfPart(open);
    std::pair<std::string, std::string> out;
    out.first = Described(ReadReview(open, document_, part, criteria_));
    part.walkEveryPage = true;
    out.second = Described(ReadReview(open, document_, part, criteria_));
    return out;
  }

  ObjectId document_ = 0;
};

std::string Comment(const char* kind, const std::string& find, const std::string& contents) {
  return R"({"author": "R", "kind": ")" + std::string(kind) + R"(", "find": ")" + find +
         R"(", "contents": ")" + contents + R"("})";
}

// Comments in the first, a middle and the last paragraph, in one whose text runs over a page
// break, and a note beside a page's text (placed by the nearest element) give the same records,
// ranges, counts and texts as a walk of every page.
TEST_F(WalkPlanTest, PlannedReadingIsTheFullOne) {
  const std::string last = "W" + std::to_string(kParagraphs) + "x review0";
  const std::vector<std::string> reviews = {
      Comment("highlight", "W1x review0", "first"),
      Comment("strikeout", last, "last"),
      Comment("underline", "W31x review0", "middle"),
      Comment("highlight", "review66 place67", "page break"),
      Comment("note", "W40x", "note"),
      Comment("highlight", "W2x review0", "second") + ", " + Comment("insert", last, "again"),
  };
  for (const std::string& review : reviews) {
    SCOPED_TRACE(review);
    ASSERT_TRUE(pdf_.Review(R"({"comments": [)" + review + "]}")) << pdf_.error();
    const auto [planned, full] = ReadBothWays();
    EXPECT_NE(planned.find(" ["), std::string::npos) << planned;  // something was placed
    EXPECT_EQ(planned, full);
  }
}

// A comment on the last page leaves the earlier pages unwalked, but for those where its
// paragraph begins.
TEST_F(WalkPlanTest, WalksTheCommentedPagesAndWhereTheirParagraphsBegin) {
  OkDoc* open = OpenPdfByPath(win::Utf8ToWide(pdf_.exportedPdf()));
  ASSERT_TRUE(open);
  const StructureTree tree(open);
  const int32_t pages = tree.PageCount();
  ASSERT_GE(pages, 4);
  DocumentContext context;
  context.document = open;
  context.hasRoleMap = HasRoleMap(open);
  TakeRoleMap(context);
  const WalkPlan plan = PlanWalk(context, open, 0, pages - 1, {pages - 1});
  EXPECT_TRUE(plan.Walks(pages - 1));
  EXPECT_FALSE(plan.Walks(0));
  EXPECT_FALSE(plan.Walks(1));
  EXPECT_LE(plan.walked.size(), 2u);
  // Every page had its owners named, and the plan left no counts behind.
  EXPECT_EQ(plan.owners.size(), static_cast<size_t>(pages));
  EXPECT_FALSE(plan.owners.at(0).empty());
  EXPECT_TRUE(context.groups.empty());
  EXPECT_TRUE(context.unwalked.empty());
  ClosePdf(open);
}

// Marked content that the parent tree names but that holds no text makes no element, which the
// plan cannot see on a page it does not walk. On the commented page it shows: the plan named an
// owner the walk did not meet, and the reading walks every page, counting as a full walk does.
TEST_F(PlanReadingTest, AWalkThatMeetsOtherOwnersMakesTheReadingWalkEveryPage) {
  const auto marked = [](int mcid, const std::string& text) {
    const std::string shown = text.empty() ? "" : "BT /F1 12 Tf 72 700 Td (" + text + ") Tj ET ";
    return "/P <</MCID " + std::to_string(mcid) + ">> BDC " + shown + "EMC ";
  };
  const std::string page =
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources "
      "<< /Font << /F1 6 0 R >> >> /Contents ";
  // Page 1 holds the text of A and B's empty marked content; page 2 that of C, with a highlight
  // on it, and D's empty marked content.
  const std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 5 0 R >>",
      "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
      page + "7 0 R /StructParents 0 >>",
      page + "8 0 R /StructParents 1 /Annots [9 0 R] >>",
      "<< /Type /StructTreeRoot /K [10 0 R] /ParentTree "
      "<< /Nums [0 [11 0 R 12 0 R] 1 [13 0 R 14 0 R]] >> >>",
      ondrelkit::testing::kHelvetica,
      ondrelkit::testing::Stream(marked(0, "Alpha") + marked(1, "")),
      ondrelkit::testing::Stream(marked(0, "Gamma") + marked(1, "")),
      "<< /Type /Annot /Subtype /Highlight /Rect [70 695 115 715] /T (R) /Contents (c) "
      "/QuadPoints [70 715 115 715 70 695 115 695] >>",
      "<< /S /Document /P 5 0 R /K [11 0 R 12 0 R 13 0 R 14 0 R] >>",
      "<< /S /P /P 10 0 R /K 0 /Pg 3 0 R >>",
      "<< /S /P /P 10 0 R /K 1 /Pg 3 0 R >>",
      "<< /S /P /P 10 0 R /K 0 /Pg 4 0 R >>",
      "<< /S /P /P 10 0 R /K 1 /Pg 4 0 R >>"};
  const std::string path = pdf_.directory() + "/hand-made.pdf";
  ondrelkit::testing::WriteHandMadePdf(path, objects);
  const OpenedPdf open(win::Utf8ToWide(path));
  ASSERT_TRUE(open.isOpen());
  ReviewPart part = WholePdfPart(open);
  ASSERT_EQ(part.lastPage, 1);
  const auto startOf = [&](const ReviewRead& read) -> const ContentElement* {
    const auto page = read.commentsByPage.find(1);
    if (page == read.commentsByPage.end() || page->second.empty()) return nullptr;
    return page->second.front()->range().start.element;
  };
  {
    const ReviewRead planned = ReadReview(open, 0, part, criteria_);
    const ContentElement* element = startOf(planned);
    ASSERT_TRUE(element);
    // A and C are the document's elements; the empty B counts for nothing.
    EXPECT_EQ(element->containerIndex, 2u);
    EXPECT_EQ(element->containerCount, 2u);
    EXPECT_EQ(planned.elements.size(), 2u);
  }
  part.walkEveryPage = true;
  const ReviewRead full = ReadReview(open, 0, part, criteria_);
  ASSERT_TRUE(startOf(full));
  EXPECT_EQ(startOf(full)->containerIndex, 2u);
}

}  // namespace
}  // namespace osprevan::pdf

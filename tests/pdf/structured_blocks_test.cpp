// Blocks of a structured document's PDF: collected from the structure tree, and positions
// inside them told apart from positions at their edges.
#include "pdf/structured_blocks.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"
#include "platform/win/utf16.h"
#include "reviewed_pdf.h"
#include "tests/ondrelkit/hand_made_pdf.h"

namespace osprevan::pdf {
namespace {

class StructuredBlocksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok()) << PdfLibraryLastError();
  }
  void TearDown() override {
    reading_.reset();
    for (OkDoc* pdf : pdfs_) ClosePdf(pdf);
    PdfLibraryUnload();
  }
  const OkStructElem* Top(const std::string& path) {
    pdfs_.push_back(OpenPdfByPath(win::Utf8ToWide(path)));
    return StructureTree(pdfs_.back()).Top();
  }
  // The walks ask the tree about elements only, whichever PDF they belong to.
  bool Collect(const OkStructElem* top) {
    return CollectBlocks(Reading(), StructureTree(pdfs_.back()), top).ok();
  }
  // A PDF whose top element holds one element for each "Type:ID" word of `kids`.
  const OkStructElem* HandMade(const std::string& kids) {
    std::string refs;
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 4 0 R >>",
                                        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                        "<< /Type /Page /Parent 2 0 R >>",
                                        "<< /Type /StructTreeRoot /K [5 0 R] >>", ""};
    std::istringstream words(kids);
    for (std::string word; words >> word;) {
      refs += std::to_string(objects.size() + 1) + " 0 R ";
      const size_t colon = word.find(':');
      objects.push_back("<< /S /" + word.substr(0, colon) + " /P 5 0 R /ID (" +
                        word.substr(colon + 1) + ") >>");
    }
    objects[4] = "<< /S /Document /K [" + refs + "] >>";
    const std::string path = pdf_.directory() + "/hand" + std::to_string(pdfs_.size()) + ".pdf";
    ondrelkit::testing::WriteHandMadePdf(path, objects);
    return Top(path);
  }
  DocumentContext& Reading() {
    if (!reading_) reading_ = std::make_unique<DocumentContext>();
    return *reading_;
  }

  fixtures::ReviewedPdf pdf_;
  std::vector<OkDoc*> pdfs_;
  std::unique_ptr<DocumentContext> reading_;
};

TEST_F(StructuredBlocksTest, AnAnchoredFrameIsOneBlockInItsParagraphWithItsSpan) {
  ASSERT_TRUE(pdf_.ExportText(R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="3">
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1">before <frame-anchor ref="a1"/>after</p>
  </flow>
  <frame key="a1">
    <flow name="Inset">
      <p unique="2">inset text</p>
    </flow>
  </frame>
</document>
)")) << pdf_.error();
  const OkStructElem* top = Top(pdf_.exportedPdf());
  ASSERT_NE(top, nullptr);
  DocumentContext& reading = Reading();
  EXPECT_TRUE(Collect(top));
  ASSERT_EQ(reading.blocks.size(), 1u);
  const StructureBlock& block = reading.blocks.front();
  EXPECT_FALSE(reading.openBlockName);
  ASSERT_NE(block.endElement, nullptr);
  EXPECT_EQ(block.startParent, block.endParent);
  char id[16] = {};
  Tables().structElemId(block.startParent, id, sizeof id);
  EXPECT_EQ(std::string(id).rfind("P1#", 0), 0u) << id;
  ASSERT_EQ(reading.blockSpans.size(), 1u);
  EXPECT_EQ(reading.blockSpans.begin()->second, &block);
  EXPECT_EQ(Tables().structElemParent(reading.blockSpans.begin()->first), block.startParent);
}

// `then`: a second walk, over another tree, with the state the first left.
TEST_F(StructuredBlocksTest, MarkersThatDoNotCloseOrNameTheirBlock) {
  struct Case {
    const char *name, *kids, *then;
    bool wellFormed;
    size_t blocks;
    bool open;  // a block is still open after the walks
    size_t spans;
  };
  const Case cases[] = {
      {"EndOfAnotherBlock", "BlockStart:BSF1 Span:S BlockEnd:BEF2", "", true, 1, true, 1},
      {"EndInAnotherTree", "BlockStart:BSF7", "Span:S BlockEnd:BEF7", true, 1, false, 1},
      {"ShortStart", "BlockStart:BS Span:S BlockEnd:BEF1", "", false, 1, false, 0},
      {"ShortEnd", "BlockStart:BSF1 BlockEnd:BE Span:S", "", false, 1, true, 1},
      {"StartWhileOpen", "BlockStart:BSF1 BlockStart:BSF2 BlockEnd:BEF1", "", true, 1, false, 0},
      {"EndWhileClosed", "BlockEnd:BEF1 Span:S", "", true, 0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DocumentContext& reading = Reading();
    reading.Clear();
    bool wellFormed = Collect(HandMade(c.kids));
    if (*c.then) wellFormed &= Collect(HandMade(c.then));
    EXPECT_EQ(wellFormed, c.wellFormed);
    EXPECT_EQ(reading.blocks.size(), c.blocks);
    EXPECT_EQ(reading.openBlockName.has_value(), c.open);
    EXPECT_EQ(reading.blockSpans.size(), c.spans);
  }
}

// Kids that lead back to an ancestor end the walk; a marker nested too deep is not walked to.
TEST_F(StructuredBlocksTest, LoopingAndDeepTreesEndTheWalk) {
  for (const auto& [depth, blocks] : {std::pair(10, 1u), std::pair(3000, 0u)}) {
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 4 0 R >>",
                                        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                        "<< /Type /Page /Parent 2 0 R >>",
                                        "<< /Type /StructTreeRoot /K [5 0 R] >>",
                                        "<< /S /Document /K [6 0 R 7 0 R] >>",
                                        "<< /S /Sect /P 5 0 R /K [5 0 R 6 0 R] >>"};
    for (int i = 0; i < depth; ++i) {
      const int self = static_cast<int>(objects.size()) + 1;
      objects.push_back("<< /S /Div /K [" + std::to_string(self + 1) + " 0 R] >>");
    }
    objects.push_back("<< /S /BlockStart /ID (BSF1) >>");
    const std::string path = pdf_.directory() + "/deep" + std::to_string(depth) + ".pdf";
    ondrelkit::testing::WriteHandMadePdf(path, objects);
    DocumentContext& reading = Reading();
    reading.Clear();
    EXPECT_TRUE(Collect(Top(path)));
    EXPECT_EQ(reading.blocks.size(), blocks) << depth;
  }
}

// Characters "ab" outside, "cd" in a block's span, "ef" outside; the element's own block
// parents as given.
TEST(InsideBlockTest, PositionsInsideAndAtTheEdgesOfABlock) {
  struct Case {
    std::vector<bool> marked;
    bool startsBlock, endsBlock;
    uint32_t offset;
    bool inside;
  };
  const std::vector<bool> middle = {false, false, true, true, false, false};
  const std::vector<bool> whole = {true, true};
  const Case cases[] = {
      {middle, true, true, 2, false}, {middle, true, true, 3, true}, {middle, true, true, 4, false},
      {middle, true, true, 0, false}, {whole, true, true, 0, false}, {whole, false, true, 0, true},
      {whole, true, true, 2, false},  {whole, true, false, 2, true}, {whole, true, false, 99, true},
      {{}, false, false, 0, false},
  };
  for (const Case& c : cases) {
    ContentElement element;
    for (bool marked : c.marked) {
      element.chars.Append({{}, {}, "x", marked});
    }
    element.startsBlock = c.startsBlock;
    element.endsBlock = c.endsBlock;
    TextPosition position;
    position.element = &element;
    position.offset = c.offset;
    EXPECT_EQ(InsideBlock(position), c.inside)
        << c.marked.size() << " chars, offset " << c.offset << ", starts " << c.startsBlock
        << ", ends " << c.endsBlock;
  }
}

}  // namespace
}  // namespace osprevan::pdf

// Element identifiers of exported PDFs resolved against the host document as it is now.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "hand_made_pdf.h"
#include "hostlink/host_ops.h"
#include "pdf/element_id.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_tables.h"
#include "pdf/structure_tree.h"
#include "platform/win/utf16.h"
#include "reviewed_pdf.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::pdf {
namespace {

// Main-flow paragraphs with these unique numbers; the first anchors a one-paragraph footnote.
std::string ParagraphDocument(const std::vector<int>& flow, int footnote) {
  std::string text = R"(<document version="1"><page name="1" kind="body"/>)"
                     R"(<flow name="A" main="yes" page="1">)";
  for (int unique : flow) {
    text += "<p unique=\"" + std::to_string(unique) + "\">P" + std::to_string(unique) +
            (unique == flow.front() ? R"(<footnote-anchor ref="fn1"/>)" : "") + "</p>";
  }
  return text + R"(</flow><footnote key="fn1" number="1"><p unique=")" + std::to_string(footnote) +
         R"(">Note</p></footnote></document>)";
}

class ElementIdTest : public apply::InProcessPluginTest {
 protected:
  static void SetUpTestSuite() {
    paragraphs_ = std::make_unique<fixtures::ReviewedPdf>();
    structured_ = std::make_unique<fixtures::ReviewedPdf>();
    if (!paragraphs_->ExportText(ParagraphDocument({1, 2, 3, 4, 5}, 6))) {
      setupError_ = paragraphs_->error();
    } else if (!structured_->ExportExample("structured.tlv")) {
      setupError_ = structured_->error();
    }
  }
  static void TearDownTestSuite() { paragraphs_.reset(), structured_.reset(); }
  void SetUp() override {
    ASSERT_EQ(setupError_, "");
    InProcessPluginTest::SetUp();
  }
  void TearDown() override {
    for (OkDoc* pdf : pdfs_) ClosePdf(pdf);
    InProcessPluginTest::TearDown();
  }

  ObjectId Load(const std::string& text) {
    ObjectId doc = 0;
    const std::string path = "/virtual/" + std::to_string(++loaded_) + ".tlv";
    EXPECT_EQ(host_.engine().LoadDocumentText(text, path, doc), 0) << host_.engine().lastError();
    return doc;
  }
  ObjectId Open(const std::string& path) {
    ObjectId id = 0;
    std::vector<tlhost::PropValue> returned;
    EXPECT_EQ(host_.engine().OpenFile(path, {}, id, returned), 0) << host_.engine().lastError();
    return id;
  }
  const OkStructElem* PdfRoot(const std::string& path) {
    pdfs_.push_back(OpenPdfByPath(win::Utf8ToWide(path)));
    return pdfs_.back() ? Tables().structRootKid(pdfs_.back(), 0) : nullptr;
  }
  // The first structure element (depth first) whose identifier begins with `prefix`.
  static const OkStructElem* WithId(const OkStructElem* element, const std::string& prefix) {
    char id[64] = {};
    Tables().structElemId(element, id, sizeof id);
    if (std::string(id).rfind(prefix, 0) == 0) return element;
    const OkStructElem* found = nullptr;
    for (int32_t i = 0; !found && i < Tables().structElemKidCount(element); ++i)
      if (const OkStructElem* kid = Tables().structElemKid(element, i)) found = WithId(kid, prefix);
    return found;
  }
  // The paragraph the element's identifier names, and whether it had one.
  static std::pair<int, bool> Resolve(ObjectId doc, const OkStructElem* element) {
    const std::string identifier = StructureTree(nullptr).Identifier(element);
    const ObjectId paragraph = ResolveElementId(doc, identifier);
    return {paragraph ? HostGetInt(doc, paragraph, tolvane::P_PGF_UNIQUE) : 0, !identifier.empty()};
  }

  static std::unique_ptr<fixtures::ReviewedPdf> paragraphs_, structured_;
  static std::string setupError_;
  std::vector<OkDoc*> pdfs_;
  int loaded_ = 0;
};

std::unique_ptr<fixtures::ReviewedPdf> ElementIdTest::paragraphs_, ElementIdTest::structured_;
std::string ElementIdTest::setupError_;

// The PDF was made from paragraphs 1 to 5 and footnote paragraph 6; then the source changed.
TEST_F(ElementIdTest, ParagraphIdentifiersFollowTheSourceThroughTheNeighbours) {
  struct Case {
    std::vector<int> flow;
    int footnote;
    const char* identifier;
    int expected;
  };
  const Case cases[] = {
      {{1, 2, 3, 4, 5}, 6, "P3#1#2#4#5", 3}, {{1, 2, 4, 5}, 6, "P3#", 0},  // deleted
      {{1, 2, 7, 4, 5}, 6, "P3#", 7},        {{1, 2, 7, 8, 5}, 6, "P3#", 7},
      {{1, 2, 7, 5}, 6, "P3#", 0},           {{1, 7, 8, 4, 5}, 6, "P3#", 8},  // one before gone
      {{1, 7, 4, 5}, 6, "P3#", 0},           {{1, 2, 3, 4, 5}, 9, "P6#0#0#0#0", 0},
  };
  const OkStructElem* root = PdfRoot(paragraphs_->exportedPdf());
  for (const Case& c : cases) {
    EXPECT_EQ(Resolve(Load(ParagraphDocument(c.flow, c.footnote)), WithId(root, c.identifier)),
              std::pair(c.expected, true))
        << testing::PrintToString(c.flow) << c.identifier;
  }
}

TEST_F(ElementIdTest, DamagedAndForeignIdentifiersNameNothing) {
  // The first two are no identifier (no /ID, an empty one); each of the others would name
  // paragraph 2 of structured.tlv if it were read leniently.
  const char* const identifiers[] = {
      nullptr,       "",       "P2#0#1#3#0x",        "P2#0#1#3", "P 2#0#1#3#0", "P+2#0#1#3#0",
      "P2#0#1#3#-1", "Nfirst", "P4294967298#0#1#3#0"};
  std::string kids;
  for (const char* id : identifiers)
    kids += "<< /S /P /P 5 0 R " + (id ? "/ID (" + std::string(id) + ")" : "") + " >> ";
  const std::string path = structured_->directory() + "/damaged.pdf";
  ondrelkit::testing::WriteHandMadePdf(
      path, {"<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 4 0 R >>",
             "<< /Type /Pages /Kids [3 0 R] /Count 1 >>", "<< /Type /Page /Parent 2 0 R >>",
             "<< /Type /StructTreeRoot /K [5 0 R] >>", "<< /S /Document /K [" + kids + "] >>"});
  const ObjectId doc = Open(structured_->directory() + "/structured.tlv");
  const OkStructElem* root = PdfRoot(path);
  for (int32_t i = 0; i < static_cast<int32_t>(std::size(identifiers)); ++i)
    EXPECT_EQ(Resolve(doc, Tables().structElemKid(root, i)), std::pair(0, i >= 2)) << i;
}

}  // namespace
}  // namespace osprevan::pdf

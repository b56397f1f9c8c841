// A tagged PDF from cairo and pango: its page content and structure tree.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "library_session.h"
#include "structured_pdf.h"

namespace ondrelkit::testing {
namespace {

namespace fs = std::filesystem;

class ContentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fs::create_directories(dir_);
    WriteStructuredPdf(Path());
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  static std::string Path() { return (dir_ / "structured.pdf").string(); }
  void SetUp() override {
    doc_ = lib_.Open(Path());
    page_ = lib_.pages->PdfAcquirePage(doc_, 0);
  }
  void TearDown() override {
    lib_.pages->PdfReleasePage(page_);
    lib_.docs->PdfCloseDoc(doc_);
    EXPECT_EQ(LibrarySession::BytesInUse(), 0u);
  }

  static inline const fs::path dir_ =
      fs::temp_directory_path() / ("ondrelkit_content_" + std::to_string(::getpid()));
  LibrarySession lib_;
  OkDoc* doc_ = nullptr;
  OkPage* page_ = nullptr;
};

// Page 0's text with its Unicode, in marked content whose MCID leads to its structure element.
TEST_F(ContentTest, TextLandsInItsMarkedContentWhoseMcidMapsToItsElement) {
  OkObj* pageObject = lib_.pages->PdfPageObject(page_);
  OkObj* roleMap = PdfStructRoleMap(doc_);
  ASSERT_NE(roleMap, nullptr);
  std::u16string all;
  std::map<int, std::string> textOfMcid, typeOfMcid;
  for (const TextPiece& piece : lib_.PageText(page_)) {
    all += piece.Text();
    if (piece.mcid < 0) continue;
    textOfMcid[piece.mcid] += lib_.Utf8(piece.Text());
    OkStructElem* element = PdfMarkedContentParent(pageObject, piece.mcid);
    ASSERT_NE(element, nullptr) << piece.mcid;
    EXPECT_EQ(PdfMarkedContentParent(pageObject, piece.mcid), element);  // one handle each
    typeOfMcid[piece.mcid] =
        lib_.core->PdfAtomName(PdfRoleMapDirect(roleMap, PdfStructElemType(element)));
    // The parent chain ends below the root, at the Document element.
    const OkStructElem* top = element;
    for (int depth = 0; depth < 10 && PdfStructElemParent(top); ++depth)
      top = PdfStructElemParent(top);
    EXPECT_STREQ(lib_.core->PdfAtomName(PdfStructElemType(top)), "Document");
    lib_.core->PdfRelease(element);  // leaves the document's handle alone
  }
  // Pango shapes "fi" as one ligature glyph, whose Unicode is the ligature.
  std::string text = lib_.Utf8(all);
  if (size_t at = text.find("\xEF\xAC\x81"); at != std::string::npos) text.replace(at, 3, "fi");
  EXPECT_EQ(text, std::string(kHeadingText) + kBeforeSpan + kSpanText + kAfterSpan);
  // cairo marks the heading and the span (the paragraph's own text it leaves unmarked).
  EXPECT_EQ(textOfMcid, (std::map<int, std::string>{{0, kHeadingText}, {1, kSpanText}}));
  EXPECT_EQ(typeOfMcid, (std::map<int, std::string>{{0, "H1"}, {1, "Span"}}));
  EXPECT_EQ(PdfMarkedContentParent(pageObject, 999), nullptr);
  EXPECT_EQ(PdfPageMarkedContentCount(pageObject), 2);
  EXPECT_EQ(PdfMarkedContentParent(pageObject, -1), nullptr);
  lib_.core->PdfRelease(roleMap);
  lib_.core->PdfRelease(pageObject);
}

}  // namespace
}  // namespace ondrelkit::testing

// A tagged PDF from cairo and pango: its page content, structure tree and character boxes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

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
    for (int i = 0; i < 2; ++i) pages_[i] = lib_.pages->PdfAcquirePage(doc_, i);
  }
  void TearDown() override {
    for (OkPage* page : pages_) lib_.pages->PdfReleasePage(page);
    lib_.docs->PdfCloseDoc(doc_);
    EXPECT_EQ(LibrarySession::BytesInUse(), 0u);
  }
  std::string Type(const OkStructElem* element) {
    return lib_.core->PdfAtomName(PdfStructElemType(element));
  }
  std::string Id(const OkStructElem* element) {
    char id[64];
    PdfStructElemId(element, id, sizeof id);
    return id;
  }

  static inline const fs::path dir_ =
      fs::temp_directory_path() / ("ondrelkit_content_" + std::to_string(::getpid()));
  LibrarySession lib_;
  OkDoc* doc_ = nullptr;
  OkPage* pages_[2] = {};
};

// Page 0's text with its Unicode, in marked content whose MCID leads to its structure element.
TEST_F(ContentTest, TextLandsInItsMarkedContentWhoseMcidMapsToItsElement) {
  OkObj* pageObject = lib_.pages->PdfPageObject(pages_[0]);
  OkObj* roleMap = PdfStructRoleMap(doc_);
  ASSERT_NE(roleMap, nullptr);
  std::u16string all;
  std::map<int, std::string> textOfMcid, typeOfMcid;
  for (const TextPiece& piece : lib_.PageText(pages_[0])) {
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
    for (int depth = 0; depth < 10 && PdfStructElemParent(top); ++depth) {
      top = PdfStructElemParent(top);
    }
    EXPECT_EQ(Type(top), "Document");
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
  EXPECT_EQ(PdfMarkedContentParent(pageObject, -1), nullptr);
  lib_.core->PdfRelease(roleMap);
  lib_.core->PdfRelease(pageObject);
}

// PyMuPDF reads the same file independently; every character it finds on the upright page must
// have a box of ours with the same character within a point on each edge.
TEST_F(ContentTest, CharacterBoxesAgreeWithPyMuPdf) {
  const std::string command = std::string(OSPREVAN_PYTHON) + " " + CHAR_BOXES_SCRIPT + " " + Path();
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, n);
  std::istringstream lines(output);
  std::vector<std::pair<char16_t, std::vector<float>>> theirs;
  int page = 0;
  unsigned code = 0;
  std::vector<float> box(4);
  while (lines >> page >> code >> box[0] >> box[1] >> box[2] >> box[3]) {
    if (code != ' ' && page == 0) theirs.emplace_back(static_cast<char16_t>(code), box);
  }
  ASSERT_GT(theirs.size(), 40u);
  std::vector<TextPiece::Char> ours;
  for (const TextPiece& piece : lib_.PageText(pages_[0])) {
    for (const TextPiece::Char& c : piece.chars) {
      if (c.unicode != u" ") ours.push_back(c);
    }
  }
  EXPECT_EQ(ours.size(), theirs.size());
  for (const auto& [character, edges] : theirs) {
    const TextPiece::Char* best = nullptr;
    float bestDistance = 1e9f;
    for (const TextPiece::Char& o : ours) {
      const float d = std::fabs(o.box[0] - edges[0]) + std::fabs(o.box[1] - edges[1]);
      if (!o.unicode.empty() && o.unicode[0] == character && d < bestDistance) {
        bestDistance = d;
        best = &o;
      }
    }
    ASSERT_NE(best, nullptr) << "no character " << static_cast<unsigned>(character);
    for (int e = 0; e < 4; ++e) {
      EXPECT_NEAR(best->box[e], edges[e], 1.0f) << "char " << static_cast<char>(character);
    }
  }
}

}  // namespace
}  // namespace ondrelkit::testing

#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "library_session.h"
#include "structured_pdf.h"

namespace ondrelkit::testing {
namespace {

namespace fs = std::filesystem;

struct Char {
  int page;
  char32_t code;
  float box[4];
};

struct TextPiece {
  std::u16string text;
  int mcid = -1;
  std::vector<Char> chars;
};

float ToFloat(PdfFixed v) {
  return static_cast<float>(v) / 65536.0f;
}

class ContentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("ondrelkit_content_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    WriteStructuredPdf((dir_ / "structured.pdf").string());
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  void SetUp() override { doc_ = lib_.Open((dir_ / "structured.pdf").string()); }
  void TearDown() override {
    lib_.docs->PdfCloseDoc(doc_);
    EXPECT_EQ(LibrarySession::BytesInUse(), 0u);
  }

  // Every text element of a page in content order, entering containers at any depth.
  void Collect(const OkContent* content, int page, std::vector<TextPiece>& out) {
    const auto* c = lib_.content;
    for (int i = 0; i < c->PdfContentCount(content); ++i) {
      const OkElement* element = c->PdfContentAt(content, i);
      if (c->PdfElementKind(element) == kPdfElementContainer) {
        Collect(c->PdfContainerContent(element), page, out);
        continue;
      }
      TextPiece piece;
      const OkElement* marked = c->PdfTextMarkedContent(element);
      piece.mcid = marked ? c->PdfContainerMcid(marked) : -1;
      for (int run = 0; run < c->PdfTextRunCount(element); ++run) {
        for (int k = 0; k < c->PdfRunCharCount(element, run); ++k) {
          char16_t units[8];
          const size_t n = c->PdfCharUnicode(element, run, k, units, 8);
          piece.text.append(units, n);
          PdfFixed box[4];
          c->PdfCharBox(element, run, k, box);
          Char ch{page, n ? static_cast<char32_t>(units[0]) : U'\0', {}};
          for (int e = 0; e < 4; ++e) ch.box[e] = ToFloat(box[e]);
          uint8_t codes[8];
          EXPECT_GE(c->PdfCharCodes(element, run, k, codes, sizeof codes), 1u);
          piece.chars.push_back(ch);
        }
      }
      out.push_back(std::move(piece));
    }
  }

  std::vector<TextPiece> PageText(int index) {
    OkPage* page = lib_.pages->PdfAcquirePage(doc_, index);
    std::vector<TextPiece> out;
    Collect(lib_.content->PdfPageContent(page), index, out);
    // A second request gives the same cached content.
    EXPECT_EQ(lib_.content->PdfPageContent(page), lib_.content->PdfPageContent(page));
    lib_.pages->PdfReleasePage(page);
    return out;
  }

  std::string Type(const OkStructElem* element) {
    return lib_.core->PdfAtomName(PdfStructElemType(element));
  }
  std::string Id(const OkStructElem* element) {
    char id[64];
    PdfStructElemId(element, id, sizeof id);
    return id;
  }

  static fs::path dir_;
  LibrarySession lib_;
  OkDoc* doc_ = nullptr;
};
fs::path ContentTest::dir_;

// Page 0's text with its Unicode, in marked content whose MCID leads to its structure element.
TEST_F(ContentTest, TextLandsInItsMarkedContentWhoseMcidMapsToItsElement) {
  OkPage* page = lib_.pages->PdfAcquirePage(doc_, 0);
  OkObj* pageObject = lib_.pages->PdfPageObject(page);
  OkObj* roleMap = PdfStructRoleMap(doc_);
  ASSERT_NE(roleMap, nullptr);
  std::u16string all;
  std::map<int, std::string> textOfMcid, typeOfMcid;
  for (const TextPiece& piece : PageText(0)) {
    all += piece.text;
    if (piece.mcid < 0) continue;
    textOfMcid[piece.mcid] += lib_.Utf8(piece.text);
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
  const std::string ligature = "\xEF\xAC\x81";
  if (size_t at = text.find(ligature); at != std::string::npos) text.replace(at, 3, "fi");
  EXPECT_EQ(text, std::string(kHeadingText) + kBeforeSpan + kSpanText + kAfterSpan);
  // cairo marks the heading and the span (the paragraph's own text it leaves unmarked).
  EXPECT_EQ(textOfMcid, (std::map<int, std::string>{{0, kHeadingText}, {1, kSpanText}}));
  EXPECT_EQ(typeOfMcid, (std::map<int, std::string>{{0, "H1"}, {1, "Span"}}));
  EXPECT_EQ(PdfMarkedContentParent(pageObject, 999), nullptr);
  EXPECT_EQ(PdfMarkedContentParent(pageObject, -1), nullptr);
  lib_.core->PdfRelease(roleMap);
  lib_.core->PdfRelease(pageObject);
  lib_.pages->PdfReleasePage(page);
}

TEST_F(ContentTest, TreeGivesIdsPagesAndRoleMappedTypes) {
  OkStructElem* document = PdfStructRootKid(doc_, 0);
  ASSERT_EQ(Type(document), "Document");
  EXPECT_EQ(PdfStructElemParent(document), nullptr);
  ASSERT_EQ(PdfStructElemKidCount(document), 3);
  OkStructElem* heading = PdfStructElemKid(document, 0);
  OkStructElem* body = PdfStructElemKid(document, 1);
  OkStructElem* quote = PdfStructElemKid(document, 2);
  ASSERT_TRUE(heading && body && quote);
  EXPECT_EQ(PdfStructElemParent(body), document);
  EXPECT_EQ(Id(heading), "P10#0#0#11#12");
  EXPECT_EQ(Id(body), "P11#0#10#12#0");
  EXPECT_EQ(Id(quote), "P12#10#11#0#0");
  EXPECT_EQ(PdfStructElemId(document, nullptr, 0), 0u);
  EXPECT_EQ(Type(body), "Body");
  EXPECT_EQ(Type(quote), "Quote");
  OkObj* roleMap = PdfStructRoleMap(doc_);
  const auto name = [&](PdfAtom a) { return std::string(lib_.core->PdfAtomName(a)); };
  EXPECT_EQ(name(PdfRoleMapDirect(roleMap, PdfStructElemType(quote))), "P");  // via Body
  EXPECT_EQ(name(PdfRoleMapDirect(roleMap, PdfStructElemType(heading))), "H1");
  EXPECT_EQ(name(PdfRoleMapDirect(nullptr, PdfStructElemType(quote))), "Quote");
  lib_.core->PdfRelease(roleMap);
  EXPECT_EQ(PdfStructElemFirstPage(heading), 0);
  EXPECT_EQ(PdfStructElemFirstPage(document), 0);
  EXPECT_EQ(PdfStructElemFirstPage(quote), 1);
  OkText* text = lib_.core->PdfTextNew();
  EXPECT_FALSE(PdfStructElemActualText(body, text));
  lib_.core->PdfRelease(text);
  EXPECT_THROW(PdfStructElemKid(document, 3), PdfError);
}

TEST_F(ContentTest, RotatedPageKeepsUnrotatedBoxes) {
  OkPage* page = lib_.pages->PdfAcquirePage(doc_, 1);
  EXPECT_EQ(lib_.pages->PdfPageRotation(page), 90);
  lib_.pages->PdfReleasePage(page);
  std::vector<TextPiece> pieces = PageText(1);
  ASSERT_FALSE(pieces.empty());
  // Its text's MCID leads to the paragraph's element (the Quote) through this page's entry.
  page = lib_.pages->PdfAcquirePage(doc_, 1);
  OkObj* object = lib_.pages->PdfPageObject(page);
  OkStructElem* element = PdfMarkedContentParent(object, pieces.front().mcid);
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(Id(element), "P12#10#11#0#0");
  lib_.core->PdfRelease(object);
  lib_.pages->PdfReleasePage(page);
  // Pango laid the paragraph out from x = 100, y = 200 (from the top) in a page 842 high,
  // before the page was rotated: the boxes stay in that unrotated space.
  const Char& first = pieces.front().chars.front();
  EXPECT_NEAR(first.box[0], 100.0f, 2.0f);
  EXPECT_GT(first.box[3], 842.0f - 200.0f - 20.0f);
  EXPECT_LT(first.box[3], 842.0f - 200.0f + 2.0f);
}

// PyMuPDF reads the same file independently; every character it finds must have a box of
// ours with the same character within a point on each edge.
TEST_F(ContentTest, CharacterBoxesAgreeWithPyMuPdf) {
  const std::string command = std::string(OSPREVAN_PYTHON) + " " + CHAR_BOXES_SCRIPT + " " +
                              (dir_ / "structured.pdf").string();
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, n);
  std::vector<Char> theirs;
  std::istringstream lines(output);
  Char c{};
  unsigned code = 0;
  while (lines >> c.page >> code >> c.box[0] >> c.box[1] >> c.box[2] >> c.box[3]) {
    c.code = code;
    // The unrotated page; the rotated one is checked against its layout above.
    if (code != ' ' && c.page == 0) theirs.push_back(c);
  }
  ASSERT_GT(theirs.size(), 40u);
  std::vector<Char> ours;
  for (const TextPiece& piece : PageText(0)) {
    for (const Char& ch : piece.chars) {
      if (ch.code != U' ') ours.push_back(ch);
    }
  }
  EXPECT_EQ(ours.size(), theirs.size());
  int checked = 0;
  for (const Char& t : theirs) {
    const Char* best = nullptr;
    float bestDistance = 1e9f;
    for (const Char& o : ours) {
      if (o.page != t.page || o.code != t.code) continue;
      const float d = std::fabs(o.box[0] - t.box[0]) + std::fabs(o.box[1] - t.box[1]);
      if (d < bestDistance) bestDistance = d, best = &o;
    }
    ASSERT_NE(best, nullptr) << "no character " << static_cast<unsigned>(t.code);
    for (int e = 0; e < 4; ++e) {
      EXPECT_NEAR(best->box[e], t.box[e], 1.0f)
          << "page " << t.page << " char " << static_cast<char>(t.code) << " edge " << e;
    }
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(theirs.size()));
}

}  // namespace
}  // namespace ondrelkit::testing

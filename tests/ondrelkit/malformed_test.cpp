#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hand_made_test.h"

namespace ondrelkit::testing {
namespace {

class MalformedTest : public HandMadeTest {
 protected:
  // The text of each text element with the MCID of its marked content.
  std::vector<std::pair<std::string, int>> Texts(OkPage* page) {
    std::vector<std::pair<std::string, int>> out;
    Walk(lib_.content->PdfPageContent(page), out);
    return out;
  }
  void Walk(const OkContent* content, std::vector<std::pair<std::string, int>>& out) {
    const auto* c = lib_.content;
    for (int i = 0; i < c->PdfContentCount(content); ++i) {
      const OkElement* e = c->PdfContentAt(content, i);
      if (c->PdfElementKind(e) == kPdfElementContainer) {
        Walk(c->PdfContainerContent(e), out);
        continue;
      }
      std::u16string text;
      for (int r = 0; r < c->PdfTextRunCount(e); ++r) {
        for (int k = 0; k < c->PdfRunCharCount(e, r); ++k) {
          char16_t u[8];
          text.append(u, c->PdfCharUnicode(e, r, k, u, 8));
        }
      }
      const OkElement* marked = c->PdfTextMarkedContent(e);
      out.emplace_back(lib_.Utf8(text), marked ? c->PdfContainerMcid(marked) : -1);
    }
  }
};

// Text drawn inside a form XObject and in nested or named-property marked content lands in
// the innermost marked content that has an MCID; an unbalanced EMC closes nothing it should not.
TEST_F(MalformedTest, FormsAndNestedMarkedContentKeepTheirContainers) {
  const std::string page =
      "/P <</MCID 0>> BDC /Fm0 Do EMC "
      "/P <</MCID 1>> BDC /Span BMC BT /F1 12 Tf 72 600 Td (Nested) Tj ET EMC EMC "
      "/Span /MC2 BDC BT /F1 12 Tf 72 500 Td (Named) Tj ET EMC "
      "EMC EMC BT /F1 12 Tf 72 400 Td (Loose) Tj ET";
  const std::string form =
      "<< /Type /XObject /Subtype /Form /BBox [0 0 595 842] /Resources << /Font << /F1 4 0 R "
      ">> >> /Length " +
      std::to_string(std::string("BT /F1 12 Tf 72 700 Td (Form) Tj ET").size()) +
      " >>\nstream\nBT /F1 12 Tf 72 700 Td (Form) Tj ET\nendstream";
  OkDoc* doc =
      Open({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 6 0 R "
            "/Resources << /Font << /F1 4 0 R >> /XObject << /Fm0 5 0 R >> "
            "/Properties << /MC2 << /MCID 2 >> >> >> /StructParents 0 >>",
            kHelvetica, form, Stream(page)});
  OkPage* p = lib_.pages->PdfAcquirePage(doc, 0);
  const auto texts = Texts(p);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], (std::pair<std::string, int>{"Form", 0}));
  EXPECT_EQ(texts[1], (std::pair<std::string, int>{"Nested", 1}));
  EXPECT_EQ(texts[2].first, "Named");
  EXPECT_EQ(texts[3], (std::pair<std::string, int>{"Loose", -1}));
  // No structure tree: no parent for any MCID, and no crash.
  OkObj* object = lib_.pages->PdfPageObject(p);
  EXPECT_EQ(PdfMarkedContentParent(object, 0), nullptr);
  lib_.core->PdfRelease(object);
  EXPECT_THROW(PdfStructRoleMap(doc), PdfError);
  lib_.pages->PdfReleasePage(p);
  lib_.docs->PdfCloseDoc(doc);
}

// A word spacing so large that the space's cell overflows: that character and the one after
// it, which starts beyond every number, keep their codes and text with empty boxes, and the
// character before them is untouched.
TEST_F(MalformedTest, CharactersWhoseBoxOverflowsKeepTheirCodes) {
  const std::string hugeSpacing = "1" + std::string(308, '0');  // 1e308, finite
  OkDoc* doc = Open({
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 5 0 R "
      "/Resources << /Font << /F1 4 0 R >> >> >>",
      kHelvetica,
      Stream("BT /F1 10 Tf " + hugeSpacing + " Tw 10 0 0 1 72 700 Tm (A BC) Tj ET"),
  });
  OkPage* page = lib_.pages->PdfAcquirePage(doc, 0);
  const auto* c = lib_.content;
  const OkContent* content = c->PdfPageContent(page);
  ASSERT_EQ(c->PdfContentCount(content), 1);
  const OkElement* text = c->PdfContentAt(content, 0);
  ASSERT_EQ(c->PdfTextRunCount(text), 1);
  ASSERT_EQ(c->PdfRunCharCount(text, 0), 4);
  std::string codes, unicode;
  for (int k = 0; k < 4; ++k) {
    uint8_t code[8];
    ASSERT_EQ(c->PdfCharCodes(text, 0, k, code, sizeof code), 1u);
    codes += static_cast<char>(code[0]);
    char16_t u[8];
    ASSERT_EQ(c->PdfCharUnicode(text, 0, k, u, 8), 1u);
    unicode += static_cast<char>(u[0]);
  }
  EXPECT_EQ(codes, "A BC");
  EXPECT_EQ(unicode, "A BC");
  PdfFixed a[4], space[4], b[4];
  c->PdfCharBox(text, 0, 0, a);
  c->PdfCharBox(text, 0, 1, space);
  c->PdfCharBox(text, 0, 2, b);
  EXPECT_EQ(a[0], 72 << 16);
  EXPECT_GT(a[2], a[0]);
  EXPECT_GT(a[3], a[1]);
  // The space starts where A ends, on the baseline.
  EXPECT_EQ(space[0], a[2]);
  EXPECT_EQ(space[2], a[2]);
  EXPECT_EQ(space[1], 700 << 16);
  EXPECT_EQ(space[3], 700 << 16);
  for (PdfFixed edge : b) EXPECT_EQ(edge, 0);
  lib_.pages->PdfReleasePage(page);
  lib_.docs->PdfCloseDoc(doc);
}

// A structure tree whose elements are each other's parent and kid, a parent tree whose kids
// point back at itself, and a role map that maps in a circle: every walk ends.
TEST_F(MalformedTest, CyclesInTheStructureEnd) {
  OkDoc* doc = Open({
      "<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 4 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /StructParents 0 /Contents 8 0 R "
      ">>",
      "<< /Type /StructTreeRoot /K [5 0 R] /ParentTree 7 0 R /RoleMap << /A /B /B /A >> >>",
      "<< /S /P /P 6 0 R /K [6 0 R] >>",
      "<< /S /Span /P 5 0 R /K [5 0 R 6 0 R] >>",
      "<< /Kids [7 0 R] >>",
      Stream("/P <</MCID 0>> BDC EMC"),
  });
  OkStructElem* a = PdfStructRootKid(doc, 0);
  OkStructElem* b = PdfStructElemParent(a);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(PdfStructElemParent(b), a);
  EXPECT_EQ(PdfStructElemKid(b, 0), a);
  EXPECT_EQ(PdfStructElemFirstPage(a), -1);
  OkObj* roleMap = PdfStructRoleMap(doc);
  const PdfAtom mapped = PdfRoleMapDirect(roleMap, lib_.core->PdfAtom("A"));
  EXPECT_TRUE(mapped == lib_.core->PdfAtom("A") || mapped == lib_.core->PdfAtom("B"));
  lib_.core->PdfRelease(roleMap);
  OkPage* page = lib_.pages->PdfAcquirePage(doc, 0);
  OkObj* object = lib_.pages->PdfPageObject(page);
  EXPECT_EQ(PdfMarkedContentParent(object, 0), nullptr);
  lib_.core->PdfRelease(object);
  lib_.pages->PdfReleasePage(page);
  lib_.docs->PdfCloseDoc(doc);
}

// A structure tree without a ParentTree still gives its elements and their marked-content
// kids; only the way back from an MCID to its element is missing.
TEST_F(MalformedTest, MissingParentTreeLeavesMcidsWithoutParent) {
  OkDoc* doc = Open({
      "<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 4 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /StructParents 0 /Contents 6 0 R "
      ">>",
      "<< /Type /StructTreeRoot /K [5 0 R] >>",
      "<< /S /P /P 4 0 R /Pg 3 0 R /K 0 /ID (P7#0#0#0#0) >>",
      Stream("/P <</MCID 0>> BDC EMC"),
  });
  OkStructElem* p = PdfStructRootKid(doc, 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(PdfStructElemKidCount(p), 1);
  EXPECT_EQ(PdfStructElemFirstPage(p), 0);
  OkPage* page = lib_.pages->PdfAcquirePage(doc, 0);
  OkObj* object = lib_.pages->PdfPageObject(page);
  EXPECT_EQ(PdfMarkedContentParent(object, 0), nullptr);
  lib_.core->PdfRelease(object);
  lib_.pages->PdfReleasePage(page);
  lib_.docs->PdfCloseDoc(doc);
}

// Wrong types where dictionaries and arrays belong, odd QuadPoints, a truncated stream and
// a broken cross-reference table give errors or null results.
TEST_F(MalformedTest, WrongTypesAndDamageGiveErrors) {
  OkDoc* doc = Open(
      {
          "<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 7 >>",
          "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
          "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 6 0 R "
          "/Annots [4 0 R 5 0 R] /Resources << /Font << /F1 8 0 R >> >> >>",
          "<< /Type /Annot /Subtype /Highlight /Rect [1 2] /QuadPoints [1 2 3 4 5 6 7 8 9] "
          "/M (D:2026) >>",
          "(not a dictionary)",
          "<< /Length 500 >>\nstream\nBT /F1 12 Tf 72 700 Td (Cut",
          "<< >>",
          kHelvetica,
      },
      true);
  EXPECT_FALSE(lib_.docs->PdfStructRoot(doc));
  EXPECT_THROW(PdfStructRootKid(doc, 0), PdfError);
  OkPage* page = lib_.pages->PdfAcquirePage(doc, 0);
  ASSERT_EQ(lib_.pages->PdfAnnotCount(page), 2);
  OkAnnot* annot = lib_.pages->PdfAnnotAt(page, 0);
  PdfFixed rect[4];
  EXPECT_THROW(lib_.pages->PdfAnnotRect(annot, rect), PdfError);
  OkObj* dict = lib_.pages->PdfAnnotDict(annot);
  OkObj* quads = lib_.objs->PdfDictGet(dict, lib_.core->PdfAtom("QuadPoints"));
  EXPECT_EQ(lib_.objs->PdfArrayLength(quads), 9);
  EXPECT_THROW(lib_.objs->PdfArrayGet(quads, 9), PdfError);
  EXPECT_THROW(lib_.objs->PdfArrayGet(dict, 0), PdfError);
  lib_.core->PdfRelease(quads);
  lib_.core->PdfRelease(dict);
  lib_.core->PdfRelease(annot);
  EXPECT_THROW(lib_.pages->PdfAnnotAt(page, 1), PdfError);
  EXPECT_EQ(lib_.core->PdfErrorCode(), 7);
  Texts(page);  // a truncated stream is read as far as it goes
  lib_.pages->PdfReleasePage(page);
  lib_.docs->PdfCloseDoc(doc);
}

}  // namespace
}  // namespace ondrelkit::testing

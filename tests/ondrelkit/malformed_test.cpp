// Hand-made PDFs no producer writes: every read ends with a defined result or the library's error.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "hand_made_test.h"

namespace ondrelkit::testing {
namespace {

using TextAndMcid = std::pair<std::string, int>;

const char* const kCatalogWithTree = "<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 4 0 R >>";
const char* const kPages = "<< /Type /Pages /Kids [3 0 R] /Count 1 >>";

class MalformedTest : public HandMadeTest {
 protected:
  void TearDown() override {
    if (page_) lib_.pages->PdfReleasePage(page_);
    if (doc_) lib_.docs->PdfCloseDoc(doc_);
    HandMadeTest::TearDown();
  }
  void OpenPage(const std::vector<std::string>& objects, bool breakXref = false) {
    doc_ = Open(objects, breakXref);
    page_ = lib_.pages->PdfAcquirePage(doc_, 0);
  }
  OkStructElem* McidParent(int mcid) {
    OkObj* object = lib_.pages->PdfPageObject(page_);
    OkStructElem* parent = PdfMarkedContentParent(object, mcid);
    lib_.core->PdfRelease(object);
    return parent;
  }
  std::string Id(const OkStructElem* element) {
    char buffer[64] = {};
    PdfStructElemId(element, buffer, sizeof buffer);
    return buffer;
  }

  void Release(std::initializer_list<void*> handles) {
    for (void* handle : handles) lib_.core->PdfRelease(handle);
  }

  OkDoc* doc_ = nullptr;
  OkPage* page_ = nullptr;
};

// Text in a form XObject and in nested or named-property marked content lands in the innermost
// marked content with an MCID; an unbalanced EMC closes nothing it should not.
TEST_F(MalformedTest, FormsAndNestedMarkedContentKeepTheirContainers) {
  const std::string form = "BT /F1 12 Tf 72 700 Td (Form) Tj ET";
  OpenPage({"<< /Type /Catalog /Pages 2 0 R >>", kPages,
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 6 0 R "
            "/Resources << /Font << /F1 4 0 R >> /XObject << /Fm0 5 0 R >> "
            "/Properties << /MC2 << /MCID 2 >> >> >> /StructParents 0 >>",
            kHelvetica,
            "<< /Type /XObject /Subtype /Form /BBox [0 0 595 842] /Resources << /Font << /F1 4 "
            "0 R >> >> /Length " +
                std::to_string(form.size()) + " >>\nstream\n" + form + "\nendstream",
            Stream("/P <</MCID 0>> BDC /Fm0 Do EMC "
                   "/P <</MCID 1>> BDC /Span BMC BT /F1 12 Tf 72 600 Td (Nested) Tj ET EMC EMC "
                   "/Span /MC2 BDC BT /F1 12 Tf 72 500 Td (Named) Tj ET EMC "
                   "EMC EMC BT /F1 12 Tf 72 400 Td (Loose) Tj ET")});
  std::vector<TextAndMcid> texts;
  for (const TextPiece& piece : lib_.PageText(page_)) {
    texts.emplace_back(lib_.Utf8(piece.Text()), piece.mcid);
  }
  // An MCID from the page's property list is not read.
  EXPECT_EQ(texts,
            (std::vector<TextAndMcid>{{"Form", 0}, {"Nested", 1}, {"Named", -1}, {"Loose", -1}}));
  EXPECT_EQ(McidParent(0), nullptr);  // no structure tree, no role map
  EXPECT_THROW(PdfStructRoleMap(doc_), PdfError);
}

// A word spacing so large that the space's cell overflows: that character and the one after it
// keep their codes and text with empty boxes; the character before them is untouched.
TEST_F(MalformedTest, CharactersWhoseBoxOverflowsKeepTheirCodes) {
  OpenPage({"<< /Type /Catalog /Pages 2 0 R >>", kPages,
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 5 0 R "
            "/Resources << /Font << /F1 4 0 R >> >> >>",
            kHelvetica,
            Stream("BT /F1 10 Tf 1" + std::string(308, '0') +  // 1e308, finite
                   " Tw 10 0 0 1 72 700 Tm (A BC) Tj ET")});
  const std::vector<TextPiece> pieces = lib_.PageText(page_);
  ASSERT_EQ(pieces.size(), 1u);
  ASSERT_EQ(lib_.Utf8(pieces[0].Text()), "A BC");
  const OkElement* text = lib_.content->PdfContentAt(lib_.content->PdfPageContent(page_), 0);
  std::string codes;
  for (int k = 0; k < 4; ++k) {
    uint8_t code[8];
    ASSERT_EQ(lib_.content->PdfCharCodes(text, 0, k, code, sizeof code), 1u);
    codes += static_cast<char>(code[0]);
  }
  EXPECT_EQ(codes, "A BC");
  const auto box = [&](size_t k) {
    return std::vector<float>(pieces[0].chars[k].box, pieces[0].chars[k].box + 4);
  };
  const float end = box(0)[2];
  EXPECT_EQ(box(0)[0], 72);
  EXPECT_GT(end, 72);
  EXPECT_GT(box(0)[3], box(0)[1]);
  EXPECT_EQ(box(1), (std::vector<float>{end, 700, end, 700}));  // where A ends, on the baseline
  EXPECT_EQ(box(2), std::vector<float>(4, 0));
}

// Elements that are each other's parent and kid, a parent tree whose kids point back at itself
// and a role map in a circle: every walk ends.
TEST_F(MalformedTest, CyclesInTheStructureEnd) {
  OpenPage({kCatalogWithTree, kPages,
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /StructParents 0 "
            "/Contents 8 0 R >>",
            "<< /Type /StructTreeRoot /K [5 0 R] /ParentTree 7 0 R /RoleMap << /A /B /B /A >> >>",
            "<< /S /P /P 6 0 R /K [6 0 R] >>", "<< /S /Span /P 5 0 R /K [5 0 R 6 0 R] >>",
            "<< /Kids [7 0 R] >>", Stream("/P <</MCID 0>> BDC EMC")});
  OkStructElem* a = PdfStructRootKid(doc_, 0);
  OkStructElem* b = PdfStructElemParent(a);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(PdfStructElemParent(b), a);
  EXPECT_EQ(PdfStructElemKid(b, 0), a);
  EXPECT_EQ(PdfStructElemFirstPage(a), -1);
  OkObj* roleMap = PdfStructRoleMap(doc_);
  const PdfAtom mapped = PdfRoleMapDirect(roleMap, Atom("A"));
  EXPECT_TRUE(mapped == Atom("A") || mapped == Atom("B"));
  lib_.core->PdfRelease(roleMap);
  EXPECT_EQ(McidParent(0), nullptr);
}

// A /K that names an array holding elements whose /K names that array again nests without end
// and without a reference among the kids: every element down the nesting still finds the page
// of the marked content after the loop, also when asked again.
TEST_F(MalformedTest, FirstPagesAreFoundThroughLoopsOfKidArrays) {
  OpenPage({kCatalogWithTree, kPages,
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /StructParents 0 "
            "/Contents 7 0 R >>",
            "<< /Type /StructTreeRoot /K [5 0 R] >>", "<< /S /Document /P 4 0 R /K 6 0 R >>",
            "[<< /S /P /K 6 0 R >> << /S /P /K 6 0 R >> << /Type /MCR /Pg 3 0 R /MCID 0 >>]",
            Stream("/P <</MCID 0>> BDC EMC")});
  OkStructElem* element = PdfStructRootKid(doc_, 0);
  for (int depth = 0; depth < 200 && element; ++depth) {
    SCOPED_TRACE(depth);
    ASSERT_EQ(PdfStructElemKidCount(element), 3);
    EXPECT_EQ(PdfStructElemFirstPage(element), 0);
    EXPECT_EQ(PdfStructElemFirstPage(element), 0);
    element = PdfStructElemKid(element, depth % 2);
  }
  EXPECT_NE(element, nullptr);
}

// Without a ParentTree the elements and their marked content are there; only the way back from
// an MCID to its element is missing.
TEST_F(MalformedTest, MissingParentTreeLeavesMcidsWithoutParent) {
  OpenPage({kCatalogWithTree, kPages,
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /StructParents 0 "
            "/Contents 6 0 R >>",
            "<< /Type /StructTreeRoot /K [5 0 R] >>", "<< /S /P /P 4 0 R /Pg 3 0 R /K 0 >>",
            Stream("/P <</MCID 0>> BDC EMC")});
  OkStructElem* p = PdfStructRootKid(doc_, 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(PdfStructElemKidCount(p), 1);
  EXPECT_EQ(PdfStructElemFirstPage(p), 0);
  EXPECT_EQ(McidParent(0), nullptr);
}

// Two direct Sect dictionaries, each with a direct P; the second P holds a kid of every kind
// (MCID, marked-content reference, object reference, string, negative number). Direct elements
// at the same place under two parents stay two elements, each keeping its handle; every kid
// kind is told apart, and PdfStructElemKid answers null for all but elements.
TEST_F(MalformedTest, DirectKidsStayApartAndEveryKidKindIsTold) {
  OpenPage({kCatalogWithTree, kPages,
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 6 0 R "
            "/Annots [7 0 R] /StructParents 0 >>",
            "<< /Type /StructTreeRoot /K [5 0 R] >>",
            "<< /S /Document /P 4 0 R /K ["
            " << /S /Sect /P 5 0 R /K [<< /S /P /P 5 0 R /Pg 3 0 R /ID (first) /K 0 >>] >>"
            " << /S /Sect /P 5 0 R /K [<< /S /P /P 5 0 R /ID (second) /K ["
            "   1 << /Type /MCR /Pg 3 0 R /MCID 2 >> << /Type /OBJR /Obj 7 0 R >> (junk) -4"
            " ] >>] >>"
            "] >>",
            Stream("/P <</MCID 0>> BDC EMC /P <</MCID 1>> BDC EMC /P <</MCID 2>> BDC EMC"),
            "<< /Type /Annot /Subtype /Text /Rect [10 10 30 30] >>"});
  OkStructElem* document = PdfStructRootKid(doc_, 0);
  ASSERT_EQ(PdfStructElemKidCount(document), 2);
  OkStructElem* firstSect = PdfStructElemKid(document, 0);
  OkStructElem* secondSect = PdfStructElemKid(document, 1);
  ASSERT_TRUE(firstSect && secondSect);
  OkStructElem* first = PdfStructElemKid(firstSect, 0);
  OkStructElem* second = PdfStructElemKid(secondSect, 0);
  ASSERT_TRUE(first && second);
  EXPECT_NE(firstSect, secondSect);
  EXPECT_EQ(Id(first) + " " + Id(second), "first second");
  EXPECT_EQ(PdfStructElemKid(secondSect, 0), second);
  EXPECT_EQ(PdfStructElemKid(firstSect, 0), first);
  EXPECT_EQ(PdfStructElemKid(PdfStructRootKid(doc_, 0), 1), secondSect);
  ASSERT_EQ(PdfStructElemKidCount(second), 5);
  const struct {
    OkStructElem* element;
    int kid, kind, mcid;
    int page;  // an MCID standing alone takes its element's page; the second P names none
  } cases[] = {
      {firstSect, 0, kPdfKidElement, -1, -1},   {first, 0, kPdfKidMarkedContent, 0, 0},
      {second, 0, kPdfKidMarkedContent, 1, -1}, {second, 1, kPdfKidMarkedContent, 2, 0},
      {second, 2, kPdfKidObject, -1, -1},       {second, 3, kPdfKidDamaged, -1, -1},
      {second, 4, kPdfKidDamaged, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Id(c.element) + " kid " + std::to_string(c.kid));
    EXPECT_EQ(PdfStructElemKidKind(c.element, c.kid), c.kind);
    int32_t page = 7;
    EXPECT_EQ(PdfStructElemKidMcid(c.element, c.kid, &page), c.mcid);
    EXPECT_EQ(page, c.page);
    if (c.element == second) {
      EXPECT_EQ(PdfStructElemKid(second, c.kid), nullptr);
    }
    if (c.kind != kPdfKidObject) {
      EXPECT_EQ(PdfStructElemKidObject(c.element, c.kid), nullptr);
    }
  }
  OkObj* named = PdfStructElemKidObject(second, 2);
  OkAnnot* annot = lib_.pages->PdfAnnotAt(page_, 0);
  OkObj* annotDict = lib_.pages->PdfAnnotDict(annot);
  EXPECT_TRUE(lib_.objs->PdfObjEqual(named, annotDict));
  Release({named, annotDict, annot});
  EXPECT_THROW(PdfStructElemKidKind(second, 5), PdfError);
  EXPECT_THROW(PdfStructElemKidKind(nullptr, 0), PdfError);
}

// Marked-content references of the usual shape and of every other: each reads with its own
// kind, MCID and page, none is an element, and the first page under an element looks past a
// reference that names no page.
TEST_F(MalformedTest, MarkedContentReferencesOfEveryShapeReadAlike) {
  OpenPage({kCatalogWithTree, kPages,
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 6 0 R >>",
            "<< /Type /StructTreeRoot /K [5 0 R 8 0 R 9 0 R 10 0 R] >>",
            "<< /S /P /P 4 0 R /K ["
            " << /Type /MCR /MCID 3 >> << /Type /MCR /MCID 0 /Pg 3 0 R >>"
            " << /Type /MCR /MCID -2 /Pg 3 0 R >> << /Type /MCR /MCID 4 /Pg 3 0 R /Stm 6 0 R >>"
            " << /Type /MCR /MCID 5 /Pg 9 >> << /Type /MCR /MCID 6 /Stm 6 0 R >> 7 0 R"
            " << /Type /MCR /MCID (8) /Pg 3 0 R >> << /Type /OBJR /MCID 9 >>"
            "] >>",
            Stream("/P <</MCID 0>> BDC EMC"), "<< /Type /MCR /MCID 7 /Pg 3 0 R >>",
            "<< /S /P /P 4 0 R /K [<< /Type /MCR /MCID 1 >> << /Type /MCR /MCID 2 /Pg 3 0 R >>] >>",
            "<< /S /P /P 4 0 R /K [<< /Type /MCR /MCID 1 >>] >>",
            "<< /S /P /P 4 0 R /Pg 3 0 R /K [<< /Type /MCR /MCID 1 >>] >>"});
  OkStructElem* element = PdfStructRootKid(doc_, 0);
  ASSERT_EQ(PdfStructElemKidCount(element), 9);
  const struct {
    int kind, mcid, page;
  } kids[] = {
      {kPdfKidMarkedContent, 3, -1}, {kPdfKidMarkedContent, 0, 0},  {kPdfKidDamaged, -1, -1},
      {kPdfKidMarkedContent, 4, 0},  {kPdfKidMarkedContent, 5, -1}, {kPdfKidMarkedContent, 6, -1},
      {kPdfKidMarkedContent, 7, 0},  {kPdfKidDamaged, -1, -1},      {kPdfKidDamaged, -1, -1},
  };
  for (int kid = 0; kid < 9; ++kid) {
    SCOPED_TRACE(kid);
    EXPECT_EQ(PdfStructElemKidKind(element, kid), kids[kid].kind);
    int32_t page = 7;
    EXPECT_EQ(PdfStructElemKidMcid(element, kid, &page), kids[kid].mcid);
    EXPECT_EQ(page, kids[kid].page);
    EXPECT_EQ(PdfStructElemKid(element, kid), nullptr);
    EXPECT_EQ(PdfStructElemKidObject(element, kid), nullptr);
  }
  // The first page: found past a reference without one, none at all, the element's own.
  EXPECT_EQ(PdfStructElemFirstPage(element), 0);
  EXPECT_EQ(PdfStructElemFirstPage(PdfStructRootKid(doc_, 1)), 0);
  EXPECT_EQ(PdfStructElemFirstPage(PdfStructRootKid(doc_, 2)), -1);
  EXPECT_EQ(PdfStructElemFirstPage(PdfStructRootKid(doc_, 3)), 0);
  EXPECT_THROW(PdfStructElemKidMcid(element, 9, nullptr), PdfError);
}

// Wrong types where dictionaries and arrays belong, numbers that do not fit, odd QuadPoints,
// an array far longer than any page needs, a truncated stream and a broken cross-reference
// table give errors or null results.
TEST_F(MalformedTest, WrongTypesAndDamageGiveErrors) {
  constexpr int kHuge = 80000;
  std::string huge = "[";
  for (int i = 0; i < kHuge; ++i) huge += std::to_string(i % 600) + " ";
  OpenPage({"<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 7 >>", kPages,
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 6 0 R "
            "/Annots [4 0 R 5 0 R] /Resources << /Font << /F1 8 0 R >> >> >>",
            "<< /Type /Annot /Subtype /Highlight /Rect [1 2] /QuadPoints [1 2 3 4 5 6 7 8 9] "
            "/M (D:2026) /Num -30.25 /Big 40000 /Bytes (a\\000b) /Huge " +
                huge + "] >>",
            "(not a dictionary)", "<< /Length 500 >>\nstream\nBT /F1 12 Tf 72 700 Td (Cut", "<< >>",
            kHelvetica},
           true);
  EXPECT_FALSE(lib_.docs->PdfStructRoot(doc_));
  EXPECT_THROW(PdfStructRootKid(doc_, 0), PdfError);
  ASSERT_EQ(lib_.pages->PdfAnnotCount(page_), 2);
  OkAnnot* annot = lib_.pages->PdfAnnotAt(page_, 0);
  PdfFixed rect[4];
  EXPECT_THROW(lib_.pages->PdfAnnotRect(annot, rect), PdfError);
  OkObj* dict = lib_.pages->PdfAnnotDict(annot);
  OkObj* quads = lib_.objs->PdfDictGet(dict, Atom("QuadPoints"));
  EXPECT_EQ(lib_.objs->PdfArrayLength(quads), 9);
  EXPECT_THROW(lib_.objs->PdfArrayGet(quads, 9), PdfError);
  EXPECT_THROW(lib_.objs->PdfArrayGet(dict, 0), PdfError);
  EXPECT_THROW(lib_.objs->PdfNameValue(dict), PdfError);  // a dictionary is no name
  // Numbers are 16.16 values and strings give every byte; anything else raises its error.
  std::vector<OkObj*> held;
  const auto get = [&](const char* key) {
    return held.emplace_back(lib_.objs->PdfDictGet(dict, Atom(key)));
  };
  EXPECT_EQ(lib_.objs->PdfFixedValue(get("Num")), -((30 << 16) + 0x4000));
  size_t length = 0;
  const char* bytes = lib_.objs->PdfStringValue(get("Bytes"), &length);
  EXPECT_EQ(std::string(bytes, length), std::string("a\0b", 3));
  EXPECT_THROW(lib_.objs->PdfStringValue(quads, &length), PdfError);
  const std::pair<const char*, int> fixedRefused[] = {{"Big", 2}, {"Bytes", 7}, {"Absent", 7}};
  for (const auto& [key, code] : fixedRefused) {
    EXPECT_THROW(lib_.objs->PdfFixedValue(get(key)), PdfError) << key;
    EXPECT_EQ(lib_.core->PdfErrorCode(), code) << key;
  }
  const OkObj* longArray = get("Huge");
  ASSERT_EQ(lib_.objs->PdfArrayLength(longArray), kHuge);
  held.push_back(lib_.objs->PdfArrayGet(longArray, kHuge - 1));
  EXPECT_EQ(lib_.objs->PdfFixedValue(held.back()), ((kHuge - 1) % 600) << 16);
  EXPECT_THROW(lib_.objs->PdfArrayGet(longArray, kHuge), PdfError);
  for (OkObj* object : held) lib_.core->PdfRelease(object);
  Release({quads, dict, annot});
  EXPECT_THROW(lib_.pages->PdfAnnotAt(page_, 1), PdfError);
  EXPECT_EQ(lib_.core->PdfErrorCode(), 7);
  lib_.PageText(page_);  // a truncated stream is read as far as it goes
}

}  // namespace
}  // namespace ondrelkit::testing

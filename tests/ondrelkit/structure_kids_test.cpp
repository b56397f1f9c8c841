#include <gtest/gtest.h>

#include <string>

#include "hand_made_test.h"

namespace ondrelkit::testing {
namespace {

class StructureKidsTest : public HandMadeTest {
 protected:
  std::string Id(const OkStructElem* element) {
    char buffer[64];
    PdfStructElemId(element, buffer, sizeof buffer);
    return buffer;
  }
  // A Document whose two kids are direct Sect dictionaries, each with a direct P as its first
  // kid; the second P holds one kid of every kind.
  OkDoc* OpenNestedDirectTree() {
    return Open({
        "<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 4 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
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
        "<< /Type /Annot /Subtype /Text /Rect [10 10 30 30] >>",
    });
  }
};

// Direct elements at the same place under two different direct parents are two elements,
// and each keeps its own handle on every later lookup.
TEST_F(StructureKidsTest, DirectKidsOfDirectParentsStayApart) {
  OkDoc* doc = OpenNestedDirectTree();
  OkStructElem* document = PdfStructRootKid(doc, 0);
  ASSERT_EQ(PdfStructElemKidCount(document), 2);
  OkStructElem* firstSect = PdfStructElemKid(document, 0);
  OkStructElem* secondSect = PdfStructElemKid(document, 1);
  ASSERT_NE(firstSect, nullptr);
  ASSERT_NE(secondSect, nullptr);
  EXPECT_NE(firstSect, secondSect);
  OkStructElem* first = PdfStructElemKid(firstSect, 0);
  OkStructElem* second = PdfStructElemKid(secondSect, 0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(Id(first), "first");
  EXPECT_EQ(Id(second), "second");
  EXPECT_EQ(PdfStructElemKid(secondSect, 0), second);
  EXPECT_EQ(PdfStructElemKid(firstSect, 0), first);
  EXPECT_EQ(PdfStructElemKid(PdfStructRootKid(doc, 0), 1), secondSect);
  lib_.docs->PdfCloseDoc(doc);
}

// Every kind of kid can be told apart, and marked content and object references give what
// they name; PdfStructElemKid still answers null for all but elements.
TEST_F(StructureKidsTest, KidKindsAreDistinguishable) {
  OkDoc* doc = OpenNestedDirectTree();
  OkStructElem* document = PdfStructRootKid(doc, 0);
  OkStructElem* firstSect = PdfStructElemKid(document, 0);
  OkStructElem* first = PdfStructElemKid(firstSect, 0);
  OkStructElem* second = PdfStructElemKid(PdfStructElemKid(document, 1), 0);
  EXPECT_EQ(PdfStructElemKidKind(firstSect, 0), kPdfKidElement);
  int32_t page = 7;
  EXPECT_EQ(PdfStructElemKidMcid(firstSect, 0, &page), -1);
  EXPECT_EQ(page, -1);
  EXPECT_EQ(PdfStructElemKidObject(firstSect, 0), nullptr);

  // An MCID standing alone takes the element's page; this element names none.
  ASSERT_EQ(PdfStructElemKidCount(second), 5);
  EXPECT_EQ(PdfStructElemKidKind(second, 0), kPdfKidMarkedContent);
  EXPECT_EQ(PdfStructElemKidMcid(second, 0, &page), 1);
  EXPECT_EQ(page, -1);
  EXPECT_EQ(PdfStructElemKidMcid(first, 0, &page), 0);
  EXPECT_EQ(page, 0);
  // A marked-content reference names its own page.
  EXPECT_EQ(PdfStructElemKidKind(second, 1), kPdfKidMarkedContent);
  EXPECT_EQ(PdfStructElemKidMcid(second, 1, &page), 2);
  EXPECT_EQ(page, 0);
  EXPECT_EQ(PdfStructElemKidMcid(second, 1, nullptr), 2);
  EXPECT_EQ(PdfStructElemKidObject(second, 1), nullptr);
  // An object reference gives the annotation it names.
  EXPECT_EQ(PdfStructElemKidKind(second, 2), kPdfKidObject);
  EXPECT_EQ(PdfStructElemKidMcid(second, 2, &page), -1);
  OkObj* named = PdfStructElemKidObject(second, 2);
  ASSERT_NE(named, nullptr);
  OkPage* p = lib_.pages->PdfAcquirePage(doc, 0);
  OkAnnot* annot = lib_.pages->PdfAnnotAt(p, 0);
  OkObj* annotDict = lib_.pages->PdfAnnotDict(annot);
  EXPECT_TRUE(lib_.objs->PdfObjEqual(named, annotDict));
  // A string and a negative MCID are neither.
  EXPECT_EQ(PdfStructElemKidKind(second, 3), kPdfKidDamaged);
  EXPECT_EQ(PdfStructElemKidKind(second, 4), kPdfKidDamaged);
  EXPECT_EQ(PdfStructElemKidMcid(second, 4, &page), -1);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(PdfStructElemKid(second, k), nullptr) << k;
  EXPECT_THROW(PdfStructElemKidKind(second, 5), PdfError);
  EXPECT_THROW(PdfStructElemKidKind(nullptr, 0), PdfError);
  for (void* handle :
       {static_cast<void*>(named), static_cast<void*>(annotDict), static_cast<void*>(annot)}) {
    lib_.core->PdfRelease(handle);
  }
  lib_.pages->PdfReleasePage(p);
  lib_.docs->PdfCloseDoc(doc);
}

}  // namespace
}  // namespace ondrelkit::testing

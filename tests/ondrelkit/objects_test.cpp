#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hand_made_test.h"

namespace ondrelkit::testing {
namespace {

constexpr int kHugeQuadCount = 80000;  // numbers, ten thousand quadrilaterals

class ObjectsTest : public HandMadeTest {
 protected:
  void SetUp() override {
    HandMadeTest::SetUp();
    std::string quads = "[";
    for (int i = 0; i < kHugeQuadCount; ++i) quads += std::to_string(i % 600) + " ";
    quads += "]";
    doc_ = Open({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Annots [4 0 R] >>",
        "<< /Type /Annot /Subtype /Highlight /Rect [10 20.5 -30.25 40] /Big 40000 "
        "/Bytes (a\\000b) /Hex <FEFF0041> /Inner << /A 1 >> /Other << /A 1 >> /IRT 5 0 R "
        "/QuadPoints " +
            quads + " >>",
        "<< /Type /Annot /Subtype /Text /Rect [0 0 1 1] >>",
    });
    page_ = lib_.pages->PdfAcquirePage(doc_, 0);
    annot_ = lib_.pages->PdfAnnotAt(page_, 0);
    dict_ = lib_.pages->PdfAnnotDict(annot_);
  }
  void TearDown() override {
    for (OkObj* object : held_) lib_.core->PdfRelease(object);
    lib_.core->PdfRelease(dict_);
    lib_.core->PdfRelease(annot_);
    lib_.pages->PdfReleasePage(page_);
    lib_.docs->PdfCloseDoc(doc_);
    HandMadeTest::TearDown();
  }
  OkObj* Get(const OkObj* dict, const char* key) {
    return held_.emplace_back(lib_.objs->PdfDictGet(dict, Atom(key)));
  }
  OkObj* At(const OkObj* array, int32_t index) {
    return held_.emplace_back(lib_.objs->PdfArrayGet(array, index));
  }

  OkDoc* doc_ = nullptr;
  OkPage* page_ = nullptr;
  OkAnnot* annot_ = nullptr;
  OkObj* dict_ = nullptr;
  std::vector<OkObj*> held_;
};

TEST_F(ObjectsTest, FixedValueConvertsNumbersAndRefusesTheRest) {
  const OkObj* rect = Get(dict_, "Rect");
  EXPECT_EQ(lib_.objs->PdfFixedValue(At(rect, 0)), 10 << 16);
  EXPECT_EQ(lib_.objs->PdfFixedValue(At(rect, 1)), (20 << 16) + 0x8000);
  EXPECT_EQ(lib_.objs->PdfFixedValue(At(rect, 2)), -((30 << 16) + 0x4000));
  EXPECT_THROW(lib_.objs->PdfFixedValue(Get(dict_, "Big")), PdfError);  // beyond 16.16
  EXPECT_EQ(lib_.core->PdfErrorCode(), 2);
  EXPECT_THROW(lib_.objs->PdfFixedValue(Get(dict_, "Bytes")), PdfError);
  EXPECT_EQ(lib_.core->PdfErrorCode(), 7);
  EXPECT_THROW(lib_.objs->PdfFixedValue(Get(dict_, "Absent")), PdfError);
  EXPECT_THROW(lib_.objs->PdfFixedValue(nullptr), PdfError);
}

TEST_F(ObjectsTest, StringValueGivesEveryByteAndItsCount) {
  size_t length = 0;
  const char* bytes = lib_.objs->PdfStringValue(Get(dict_, "Bytes"), &length);
  EXPECT_EQ(std::string(bytes, length), std::string("a\0b", 3));
  bytes = lib_.objs->PdfStringValue(Get(dict_, "Hex"), &length);
  EXPECT_EQ(std::string(bytes, length), std::string("\xFE\xFF\x00\x41", 4));
  EXPECT_NE(lib_.objs->PdfStringValue(Get(dict_, "Hex"), nullptr), nullptr);
  EXPECT_THROW(lib_.objs->PdfStringValue(Get(dict_, "Rect"), &length), PdfError);
  EXPECT_EQ(lib_.core->PdfErrorCode(), 7);
  EXPECT_THROW(lib_.objs->PdfStringValue(Get(dict_, "Absent"), &length), PdfError);
}

// Indirect objects are equal through any handle; equal direct values are equal; a direct
// dictionary only to its own handle. The order is total: antisymmetric and transitive.
TEST_F(ObjectsTest, EqualityAndOrderFollowTheirDocumentedRules) {
  const auto* o = lib_.objs;
  OkObj* irt = Get(dict_, "IRT");
  OkObj* irtAgain = Get(dict_, "IRT");
  EXPECT_TRUE(o->PdfObjEqual(irt, irtAgain));
  OkAnnot* target = lib_.pages->PdfAnnotAt(page_, 0);
  OkObj* annotDict = lib_.pages->PdfAnnotDict(target);
  lib_.core->PdfRelease(target);
  held_.push_back(annotDict);
  EXPECT_TRUE(o->PdfObjEqual(annotDict, dict_));
  EXPECT_FALSE(o->PdfObjEqual(irt, dict_));
  OkObj* ten = At(Get(dict_, "Rect"), 0);
  OkObj* tenAgain = At(Get(dict_, "Rect"), 0);
  EXPECT_TRUE(o->PdfObjEqual(ten, tenAgain));
  OkObj* inner = Get(dict_, "Inner");
  EXPECT_TRUE(o->PdfObjEqual(inner, inner));
  EXPECT_FALSE(o->PdfObjEqual(inner, Get(dict_, "Inner")));
  EXPECT_FALSE(o->PdfObjEqual(inner, Get(dict_, "Other")));

  const std::vector<OkObj*> all = {irt,
                                   dict_,
                                   ten,
                                   At(Get(dict_, "Rect"), 1),
                                   inner,
                                   Get(dict_, "Other"),
                                   Get(dict_, "Bytes"),
                                   Get(dict_, "Hex"),
                                   Get(dict_, "Subtype"),
                                   Get(dict_, "Absent"),
                                   Get(dict_, "QuadPoints")};
  for (const OkObj* a : all) {
    for (const OkObj* b : all) {
      const int32_t ab = o->PdfObjCompare(a, b);
      EXPECT_EQ(ab, -o->PdfObjCompare(b, a));
      EXPECT_EQ(ab == 0, o->PdfObjEqual(a, b));
      for (const OkObj* c : all) {
        if (ab < 0 && o->PdfObjCompare(b, c) < 0) {
          EXPECT_LT(o->PdfObjCompare(a, c), 0);
        }
      }
    }
  }
}

// QuadPoints far longer than any page needs read like any array: every number is there and
// nothing past the end can be read.
TEST_F(ObjectsTest, HugeQuadPointsReadToTheirEndAndNoFurther) {
  const OkObj* quads = Get(dict_, "QuadPoints");
  ASSERT_EQ(lib_.objs->PdfArrayLength(quads), kHugeQuadCount);
  for (int32_t i : {0, 7, 8, kHugeQuadCount / 2 + 3, kHugeQuadCount - 1}) {
    EXPECT_EQ(lib_.objs->PdfFixedValue(At(quads, i)), (i % 600) << 16) << i;
  }
  EXPECT_THROW(lib_.objs->PdfArrayGet(quads, kHugeQuadCount), PdfError);
  EXPECT_THROW(lib_.objs->PdfArrayGet(quads, -1), PdfError);
  PdfFixed rect[4];
  lib_.pages->PdfAnnotRect(annot_, rect);  // the rest of the annotation reads as usual
  EXPECT_EQ(rect[0], -((30 << 16) + 0x4000));
  EXPECT_EQ(rect[3], 40 << 16);
}

}  // namespace
}  // namespace ondrelkit::testing

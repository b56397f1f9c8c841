#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hand_made_test.h"

namespace ondrelkit::testing {
namespace {

constexpr int kHugeQuadCount = 80000;  // ten thousand quadrilaterals

class ObjectsTest : public HandMadeTest {
 protected:
  void SetUp() override {
    HandMadeTest::SetUp();
    std::string quads = "[";
    for (int i = 0; i < kHugeQuadCount; ++i) quads += std::to_string(i % 600) + " ";
    doc_ = Open({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Annots [4 0 R] >>",
        "<< /Type /Annot /Subtype /Highlight /Rect [10 20.5 -30.25 40] /Big 40000 "
        "/Bytes (a\\000b) /Hex <FEFF0041> /Inner << /A 1 >> /Other << /A 1 >> /IRT 5 0 R "
        "/QuadPoints " +
            quads + "] >>",
        "<< /Type /Annot /Subtype /Text /Rect [0 0 1 1] >>",
    });
    page_ = lib_.pages->PdfAcquirePage(doc_, 0);
    annot_ = lib_.pages->PdfAnnotAt(page_, 0);
    dict_ = Hold(lib_.pages->PdfAnnotDict(annot_));
  }
  void TearDown() override {
    for (OkObj* object : held_) lib_.core->PdfRelease(object);
    lib_.core->PdfRelease(annot_);
    lib_.pages->PdfReleasePage(page_);
    lib_.docs->PdfCloseDoc(doc_);
    HandMadeTest::TearDown();
  }
  OkObj* Hold(OkObj* object) { return held_.emplace_back(object); }
  OkObj* Get(const OkObj* dict, const char* key) {
    return Hold(lib_.objs->PdfDictGet(dict, Atom(key)));
  }
  OkObj* At(const OkObj* array, int32_t index) {
    return Hold(lib_.objs->PdfArrayGet(array, index));
  }

  OkDoc* doc_ = nullptr;
  OkPage* page_ = nullptr;
  OkAnnot* annot_ = nullptr;
  OkObj* dict_ = nullptr;
  std::vector<OkObj*> held_;
};

// Numbers become 16.16 values; strings give every byte; anything else raises its error code;
// QuadPoints far longer than any page needs read to their end and no further.
TEST_F(ObjectsTest, ValuesConvertOrRaiseTheirError) {
  const OkObj* rect = Get(dict_, "Rect");
  EXPECT_EQ(lib_.objs->PdfFixedValue(At(rect, 1)), (20 << 16) + 0x8000);
  EXPECT_EQ(lib_.objs->PdfFixedValue(At(rect, 2)), -((30 << 16) + 0x4000));
  size_t length = 0;
  const char* bytes = lib_.objs->PdfStringValue(Get(dict_, "Bytes"), &length);
  EXPECT_EQ(std::string(bytes, length), std::string("a\0b", 3));
  bytes = lib_.objs->PdfStringValue(Get(dict_, "Hex"), &length);
  EXPECT_EQ(std::string(bytes, length), std::string("\xFE\xFF\x00\x41", 4));
  const std::pair<const char*, int> fixedRefused[] = {{"Big", 2}, {"Bytes", 7}, {"Absent", 7}};
  for (const auto& [key, code] : fixedRefused) {
    EXPECT_THROW(lib_.objs->PdfFixedValue(Get(dict_, key)), PdfError) << key;
    EXPECT_EQ(lib_.core->PdfErrorCode(), code) << key;
  }
  EXPECT_THROW(lib_.objs->PdfStringValue(rect, &length), PdfError);
  const OkObj* quads = Get(dict_, "QuadPoints");
  ASSERT_EQ(lib_.objs->PdfArrayLength(quads), kHugeQuadCount);
  for (int32_t i : {7, kHugeQuadCount - 1}) {
    EXPECT_EQ(lib_.objs->PdfFixedValue(At(quads, i)), (i % 600) << 16) << i;
  }
  EXPECT_THROW(lib_.objs->PdfArrayGet(quads, kHugeQuadCount), PdfError);
  EXPECT_THROW(lib_.objs->PdfArrayGet(quads, -1), PdfError);
}

// Annotations are told apart and kept in maps by these: an indirect object is equal through any
// handle, equal direct values are equal, a direct dictionary only to its own handle; the order
// agrees with equality in both directions.
TEST_F(ObjectsTest, EqualityAndOrderAgreeForEveryKindOfObject) {
  const auto* o = lib_.objs;
  OkObj* irt = Get(dict_, "IRT");
  EXPECT_TRUE(o->PdfObjEqual(irt, Get(dict_, "IRT")));
  OkAnnot* again = lib_.pages->PdfAnnotAt(page_, 0);
  EXPECT_TRUE(o->PdfObjEqual(Hold(lib_.pages->PdfAnnotDict(again)), dict_));
  lib_.core->PdfRelease(again);
  EXPECT_FALSE(o->PdfObjEqual(irt, dict_));
  EXPECT_TRUE(o->PdfObjEqual(At(Get(dict_, "Rect"), 0), At(Get(dict_, "Rect"), 0)));
  OkObj* inner = Get(dict_, "Inner");
  EXPECT_TRUE(o->PdfObjEqual(inner, inner));
  EXPECT_FALSE(o->PdfObjEqual(inner, Get(dict_, "Inner")));
  EXPECT_FALSE(o->PdfObjEqual(inner, Get(dict_, "Other")));
  const std::vector<OkObj*> all = {irt,
                                   dict_,
                                   At(Get(dict_, "Rect"), 0),
                                   inner,
                                   Get(dict_, "Hex"),
                                   Get(dict_, "Subtype"),
                                   Get(dict_, "Absent")};
  for (const OkObj* a : all) {
    for (const OkObj* b : all) {
      EXPECT_EQ(o->PdfObjCompare(a, b), -o->PdfObjCompare(b, a));
      EXPECT_EQ(o->PdfObjCompare(a, b) == 0, o->PdfObjEqual(a, b));
    }
  }
}

}  // namespace
}  // namespace ondrelkit::testing

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fixture_pdfs.h"
#include "ondrelkit/ondrelkit.h"
#include "plain_memory.h"

namespace ondrelkit::testing {
namespace {

namespace fs = std::filesystem;

float ToFloat(PdfFixed v) {
  return static_cast<float>(v) / 65536.0f;
}

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OkInitialize("1", &kPlainMemory), 0);
    core_ = static_cast<const OkCoreTable*>(OkGetFunctionTable("OkCore", 1));
    docs_ = static_cast<const OkDocumentTable*>(OkGetFunctionTable("OkDocument", 1));
    objs_ = static_cast<const OkObjectsTable*>(OkGetFunctionTable("OkObjects", 1));
    pages_ = static_cast<const OkPagesTable*>(OkGetFunctionTable("OkPages", 1));
    ASSERT_TRUE(core_ && docs_ && objs_ && pages_);
    dir_ = fs::temp_directory_path() / ("ondrelkit_pages_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    const std::string plain = (dir_ / "plain.pdf").string();
    const std::string annotated = (dir_ / "annotated.pdf").string();
    WriteCairoPdf(plain, 2, "Hello world", true, "Tolvane 17.0");
    const std::string command =
        std::string(OSPREVAN_PYTHON) + " " + ANNOTATE_SCRIPT + " " + plain + " " + annotated;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::u16string wide(annotated.begin(), annotated.end());
    OkText* text = core_->PdfTextFromUtf16(wide.data(), wide.size());
    OkPath* path = docs_->PdfPathFromText(docs_->PdfDefaultFileSys(), text);
    doc_ = docs_->PdfOpenDoc(path, docs_->PdfDefaultFileSys());
    core_->PdfRelease(path);
    core_->PdfRelease(text);
  }
  void TearDown() override {
    if (doc_) docs_->PdfCloseDoc(doc_);
    OkTerminate();
    fs::remove_all(dir_);
  }
  std::string Utf8(OkText* text) {
    std::vector<char> buffer(core_->PdfTextBytes(text, nullptr, 0) + 1);
    core_->PdfTextBytes(text, buffer.data(), buffer.size());
    return buffer.data();
  }
  std::string Entry(OkAnnot* annot, bool title) {
    OkText* text = core_->PdfTextNew();
    (title ? pages_->PdfAnnotTitle : pages_->PdfAnnotContents)(annot, text);
    std::string out = Utf8(text);
    core_->PdfRelease(text);
    return out;
  }
  const OkCoreTable* core_ = nullptr;
  const OkDocumentTable* docs_ = nullptr;
  const OkObjectsTable* objs_ = nullptr;
  const OkPagesTable* pages_ = nullptr;
  OkDoc* doc_ = nullptr;
  fs::path dir_;
};

TEST_F(PagesTest, AnnotationsReadBackWithTheirEntries) {
  OkPage* page = pages_->PdfAcquirePage(doc_, 0);
  // Notes bring pop-up annotations of their own; the comments are the others, in order.
  const int count = pages_->PdfAnnotCount(page);
  std::vector<std::string> subtypes;
  std::vector<int> comments;
  for (int i = 0; i < count; ++i) {
    OkAnnot* annot = pages_->PdfAnnotAt(page, i);
    const std::string subtype = core_->PdfAtomName(pages_->PdfAnnotSubtype(annot));
    if (subtype != "Popup") {
      subtypes.push_back(subtype);
      comments.push_back(i);
    }
    core_->PdfRelease(annot);
  }
  ASSERT_EQ(subtypes, (std::vector<std::string>{"Highlight", "Text", "StrikeOut", "Text"}));

  OkAnnot* highlight = pages_->PdfAnnotAt(page, comments[0]);
  EXPECT_EQ(Entry(highlight, true), "注釈者");
  EXPECT_EQ(Entry(highlight, false), "ここを確認");
  PdfFixed rect[4];
  pages_->PdfAnnotRect(highlight, rect);
  EXPECT_LT(rect[0], rect[2]);
  EXPECT_LT(rect[1], rect[3]);
  // The highlight covers the word drawn at x = 72 in a page 842 high, text baseline at y 100
  // (the annotator pads its rectangles by a few points).
  EXPECT_NEAR(ToFloat(rect[0]), 72.0f, 5.0f);
  EXPECT_NEAR(ToFloat(rect[1]), 842.0f - 100.0f - 3.0f, 6.0f);
  OkObj* dict = pages_->PdfAnnotDict(highlight);
  OkObj* quads = objs_->PdfDictGet(dict, core_->PdfAtom("QuadPoints"));
  EXPECT_EQ(objs_->PdfObjType(quads), kPdfArray);
  EXPECT_EQ(objs_->PdfArrayLength(quads), 8);
  OkObj* missing = objs_->PdfDictGet(dict, core_->PdfAtom("IRT"));
  EXPECT_EQ(objs_->PdfObjType(missing), kPdfNull);
  for (OkObj* o : {dict, quads, missing}) core_->PdfRelease(o);
  core_->PdfRelease(highlight);

  // The reply names the strike-out through IRT, with RT /R.
  OkAnnot* strike = pages_->PdfAnnotAt(page, comments[2]);
  OkAnnot* reply = pages_->PdfAnnotAt(page, comments[3]);
  OkObj* strikeDict = pages_->PdfAnnotDict(strike);
  OkObj* replyDict = pages_->PdfAnnotDict(reply);
  OkObj* irt = objs_->PdfDictGet(replyDict, core_->PdfAtom("IRT"));
  OkObj* rt = objs_->PdfDictGet(replyDict, core_->PdfAtom("RT"));
  EXPECT_TRUE(objs_->PdfObjEqual(irt, strikeDict));
  EXPECT_EQ(objs_->PdfObjCompare(irt, strikeDict), 0);
  EXPECT_FALSE(objs_->PdfObjEqual(irt, replyDict));
  EXPECT_EQ(objs_->PdfObjCompare(strikeDict, replyDict),
            -objs_->PdfObjCompare(replyDict, strikeDict));
  EXPECT_STREQ(core_->PdfAtomName(objs_->PdfNameValue(rt)), "R");
  EXPECT_EQ(Entry(reply, true), "Second");
  EXPECT_EQ(Entry(reply, false), "I agree");
  EXPECT_THROW(objs_->PdfNameValue(irt), PdfError);  // a dictionary is no name
  for (OkObj* o : {strikeDict, replyDict, irt, rt}) core_->PdfRelease(o);
  core_->PdfRelease(strike);
  core_->PdfRelease(reply);
  // Modification dates carry their offset; the library gives UTC. The note has no date.
  const auto* dates = static_cast<const OkDatesTable*>(OkGetFunctionTable("OkDates", 1));
  OkAnnot* dated = pages_->PdfAnnotAt(page, comments[0]);
  OkAnnot* undated = pages_->PdfAnnotAt(page, comments[1]);
  OkDate* date = dates->PdfDateNew();
  dates->PdfAnnotDate(dated, date);
  char text[32];
  dates->PdfDateText(date, kPdfDateSortable, text, sizeof text);
  EXPECT_STREQ(text, "2026/12/06 00:30:00");
  EXPECT_THROW(dates->PdfAnnotDate(undated, date), PdfError);
  dates->PdfDateText(date, kPdfDateSortable, text, sizeof text);
  EXPECT_STREQ(text, "2026/12/06 00:30:00");  // a failed read leaves the date as it was
  dates->PdfDateFree(date);
  core_->PdfRelease(dated);
  core_->PdfRelease(undated);
  EXPECT_THROW(pages_->PdfAnnotAt(page, count), PdfError);
  pages_->PdfReleasePage(page);
}

TEST_F(PagesTest, PagesReportRotationAndBox) {
  OkPage* first = pages_->PdfAcquirePage(doc_, 0);
  OkPage* second = pages_->PdfAcquirePage(doc_, 1);
  EXPECT_EQ(pages_->PdfPageRotation(first), 0);
  EXPECT_EQ(pages_->PdfPageRotation(second), 90);
  PdfFixed box[4];
  pages_->PdfPageBox(second, box);
  EXPECT_FLOAT_EQ(ToFloat(box[2]), 595.0f);
  EXPECT_FLOAT_EQ(ToFloat(box[3]), 842.0f);
  EXPECT_GE(pages_->PdfAnnotCount(second), 1);
  OkObj* object = pages_->PdfPageObject(second);
  OkObj* type = objs_->PdfDictGet(object, core_->PdfAtom("Type"));
  EXPECT_STREQ(core_->PdfAtomName(objs_->PdfNameValue(type)), "Page");
  core_->PdfRelease(type);
  core_->PdfRelease(object);
  pages_->PdfReleasePage(first);
  pages_->PdfReleasePage(second);
  EXPECT_THROW(pages_->PdfAcquirePage(doc_, 2), PdfError);
  EXPECT_THROW(pages_->PdfAcquirePage(doc_, -1), PdfError);
}

}  // namespace
}  // namespace ondrelkit::testing

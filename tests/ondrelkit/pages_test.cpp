// Pages and the annotations a third-party library (PyMuPDF, annotate.py) wrote on them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fixture_pdfs.h"
#include "library_session.h"

namespace ondrelkit::testing {
namespace {

namespace fs = std::filesystem;

float ToFloat(PdfFixed v) {
  return static_cast<float>(v) / 65536.0f;
}

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_);
    const std::string plain = (dir_ / "plain.pdf").string();
    const std::string annotated = (dir_ / "annotated.pdf").string();
    WriteCairoPdf(plain, 2, "Hello world", true, "Tolvane 17.0");
    const std::string command =
        std::string(OSPREVAN_PYTHON) + " " + ANNOTATE_SCRIPT + " " + plain + " " + annotated;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    doc_ = lib_.Open(annotated);
  }
  void TearDown() override {
    for (void* handle : held_) lib_.core->PdfRelease(handle);
    for (OkPage* page : {page_, turned_}) {
      if (page) lib_.pages->PdfReleasePage(page);
    }
    if (doc_) lib_.docs->PdfCloseDoc(doc_);
    fs::remove_all(dir_);
    EXPECT_EQ(LibrarySession::BytesInUse(), 0u);
  }
  template <typename T>
  T* Hold(T* handle) {
    held_.push_back(handle);
    return handle;
  }
  std::string Entry(OkAnnot* annot, bool title) {
    OkText* text = Hold(lib_.core->PdfTextNew());
    (title ? lib_.pages->PdfAnnotTitle : lib_.pages->PdfAnnotContents)(annot, text);
    return lib_.Utf8(text);
  }
  OkObj* Get(const OkObj* dict, const char* key) {
    return Hold(lib_.objs->PdfDictGet(dict, lib_.core->PdfAtom(key)));
  }

  LibrarySession lib_;
  const fs::path dir_ =
      fs::temp_directory_path() / ("ondrelkit_pages_" + std::to_string(::getpid()));
  OkDoc* doc_ = nullptr;
  OkPage* page_ = nullptr;
  OkPage* turned_ = nullptr;
  std::vector<void*> held_;
};

TEST_F(PagesTest, AnnotationsReadBackWithTheirEntriesAndPagesWithTheirRotationAndBox) {
  page_ = lib_.pages->PdfAcquirePage(doc_, 0);
  turned_ = lib_.pages->PdfAcquirePage(doc_, 1);
  EXPECT_EQ(lib_.pages->PdfPageRotation(turned_), 90);
  PdfFixed box[4];
  lib_.pages->PdfPageBox(turned_, box);
  EXPECT_EQ(std::vector<float>({ToFloat(box[2]), ToFloat(box[3])}), std::vector<float>({595, 842}));
  EXPECT_THROW(lib_.pages->PdfAcquirePage(doc_, 2), PdfError);
  // Notes bring pop-up annotations of their own; the comments are the others, in order.
  const int count = lib_.pages->PdfAnnotCount(page_);
  std::vector<std::string> subtypes;
  std::vector<OkAnnot*> comments;
  for (int i = 0; i < count; ++i) {
    OkAnnot* annot = Hold(lib_.pages->PdfAnnotAt(page_, i));
    const std::string subtype = lib_.core->PdfAtomName(lib_.pages->PdfAnnotSubtype(annot));
    if (subtype == "Popup") continue;
    subtypes.push_back(subtype);
    comments.push_back(annot);
  }
  ASSERT_EQ(subtypes, (std::vector<std::string>{"Highlight", "Text", "StrikeOut", "Text"}));
  EXPECT_THROW(lib_.pages->PdfAnnotAt(page_, count), PdfError);

  OkAnnot* highlight = comments[0];
  EXPECT_EQ(Entry(highlight, true), "注釈者");
  EXPECT_EQ(Entry(highlight, false), "ここを確認");
  // The highlight covers the word drawn at x = 72, baseline 100 from the top of a page 842 high.
  PdfFixed rect[4];
  lib_.pages->PdfAnnotRect(highlight, rect);
  EXPECT_NEAR(ToFloat(rect[0]), 72.0f, 5.0f);
  EXPECT_NEAR(ToFloat(rect[1]), 842.0f - 100.0f - 3.0f, 6.0f);
  const OkObj* dict = Hold(lib_.pages->PdfAnnotDict(highlight));
  EXPECT_EQ(lib_.objs->PdfArrayLength(Get(dict, "QuadPoints")), 8);

  // The reply names the strike-out through IRT, with RT /R.
  const OkObj* strike = Hold(lib_.pages->PdfAnnotDict(comments[2]));
  const OkObj* reply = Hold(lib_.pages->PdfAnnotDict(comments[3]));
  const OkObj* irt = Get(reply, "IRT");
  EXPECT_TRUE(lib_.objs->PdfObjEqual(irt, strike));
  EXPECT_STREQ(lib_.core->PdfAtomName(lib_.objs->PdfNameValue(Get(reply, "RT"))), "R");
  EXPECT_THROW(lib_.objs->PdfNameValue(irt), PdfError);  // a dictionary is no name

  // Modification dates carry their offset; the library gives UTC. The note has no date, and
  // the failed read leaves the date as it was.
  const auto* dates = static_cast<const OkDatesTable*>(OkGetFunctionTable("OkDates", 1));
  OkDate* date = dates->PdfDateNew();
  char text[32];
  dates->PdfAnnotDate(highlight, date);
  EXPECT_THROW(dates->PdfAnnotDate(comments[1], date), PdfError);
  dates->PdfDateText(date, kPdfDateSortable, text, sizeof text);
  EXPECT_STREQ(text, "2026/12/06 00:30:00");
  dates->PdfDateFree(date);
}

}  // namespace
}  // namespace ondrelkit::testing

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "fixture_pdfs.h"
#include "pdf/comment_kind.h"
#include "pdf/pdf_comment.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

namespace fs = std::filesystem;

class PdfCommentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1"), 0) << PdfLibraryLastError();
    dir_ = fs::temp_directory_path() / ("osprevan_comments_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    PdfLibraryUnload();
    fs::remove_all(dir_);
  }
  OkDoc* AnnotatedPdf() {
    const std::string plain = (dir_ / "plain.pdf").string();
    const std::string annotated = (dir_ / "annotated.pdf").string();
    ondrelkit::testing::WriteCairoPdf(plain, 2, "Hello world", true, "Tolvane 17.0");
    const std::string command =
        std::string(OSPREVAN_PYTHON) + " " + ANNOTATE_SCRIPT + " " + plain + " " + annotated;
    EXPECT_EQ(std::system(command.c_str()), 0);
    return OpenPdfByPath(std::u16string(annotated.begin(), annotated.end()));
  }
  fs::path dir_;
};

// A record keeps its own copy of a date; a thread frees every record and date once.
TEST_F(PdfCommentTest, RecordsOwnTheirDatesAndThreads) {
  const OkDatesTable* dates = Tables().dates;
  OkDate* given = dates->PdfDateNew();
  dates->PdfDateFromTime(given, 1700000000);
  {
    PdfComment record;
    ASSERT_TRUE(record.SetDate(given));
    dates->PdfDateFromTime(given, 1);
    EXPECT_EQ(dates->PdfDateCompare(record.date(), given), 1);
  }
  dates->PdfDateFree(given);

  auto top = std::make_unique<PdfComment>();
  auto caret = std::make_unique<PdfComment>();
  auto caretReply = std::make_unique<PdfComment>();
  OkDate* date = Tables().dates->PdfDateNew();
  caretReply->SetDate(date);
  Tables().dates->PdfDateFree(date);
  caret->AddReply(std::move(caretReply));
  top->SetReplacement(std::move(caret));
  auto reply = std::make_unique<PdfComment>();
  reply->AddReply(std::make_unique<PdfComment>());
  top->AddReply(std::move(reply));
  top->AddBox(std::make_unique<CommentBox>());
  EXPECT_EQ(top->replies().size(), 1u);
  EXPECT_EQ(top->replacement()->replies().size(), 1u);
  top.reset();  // the sanitizer build checks that nothing is freed twice or lost
  EXPECT_EQ(PdfLibraryBytesInUse(), 0u);  // the dates went back to the library
}

TEST_F(PdfCommentTest, AnnotationsAreClassifiedBySubtypeAndGroup) {
  OkDoc* document = AnnotatedPdf();
  ASSERT_NE(document, nullptr);
  const PdfTables& t = Tables();
  std::multimap<std::string, CommentKind> kinds;
  for (int32_t p = 0; p < 2; ++p) {
    OkPage* page = t.pages->PdfAcquirePage(document, p);
    for (int32_t i = 0; i < t.pages->PdfAnnotCount(page); ++i) {
      OkAnnot* annot = t.pages->PdfAnnotAt(page, i);
      const ondrelkit::PdfAtom subtype = t.pages->PdfAnnotSubtype(annot);
      kinds.emplace(t.core->PdfAtomName(subtype), ClassifyComment(subtype, annot));
      t.core->PdfRelease(annot);
    }
    t.pages->PdfReleasePage(page);
  }
  auto only = [&](const std::string& subtype) {
    EXPECT_EQ(kinds.count(subtype), 1u) << subtype;
    return kinds.find(subtype)->second;
  };
  EXPECT_EQ(only("Highlight"), Highlight);
  EXPECT_EQ(only("Underline"), Underline);
  EXPECT_EQ(only("Squiggly"), Underline);
  EXPECT_EQ(only("FreeText"), Note);
  EXPECT_EQ(only("Caret"), Insert);
  auto strikes = kinds.equal_range("StrikeOut");
  std::multiset<CommentKind> strikeKinds;
  for (auto it = strikes.first; it != strikes.second; ++it) strikeKinds.insert(it->second);
  EXPECT_EQ(strikeKinds, (std::multiset<CommentKind>{Delete, Replace}));
  for (auto it = kinds.lower_bound("Popup"); it != kinds.upper_bound("Popup"); ++it) {
    EXPECT_EQ(it->second, NotImported);
  }
  auto notes = kinds.equal_range("Text");
  for (auto it = notes.first; it != notes.second; ++it) EXPECT_EQ(it->second, Note);
  ClosePdf(document);
}

}  // namespace
}  // namespace osprevan::pdf

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

TEST_F(PdfCommentTest, NewRecordHasItsDefaults) {
  PdfComment record;
  EXPECT_EQ(record.subtype(), ondrelkit::kNoAtom);
  EXPECT_EQ(record.page(), -1);
  EXPECT_EQ(record.markedState(), Unmarked);
  EXPECT_EQ(record.reviewState(), None);
  EXPECT_EQ(record.migrationState(), MigrationNone);
  EXPECT_EQ(record.placementConfirmed(), 1u);
  EXPECT_FALSE(record.hasRange() || record.pointMatched() || record.approximate());
  EXPECT_EQ(record.date(), nullptr);
  EXPECT_EQ(record.replacement(), nullptr);
  EXPECT_TRUE(record.author().empty() && record.contents().empty() && record.markedText().empty());
}

TEST_F(PdfCommentTest, SettersTakeTheirStringsAndCopyTheDate) {
  PdfComment record;
  std::string author = "Aiko";
  std::string contents = "typo";
  record.SetAuthor(author);
  record.SetContents(contents);
  EXPECT_TRUE(author.empty());
  EXPECT_TRUE(contents.empty());
  EXPECT_EQ(record.author(), "Aiko");
  const OkDatesTable* dates = Tables().dates;
  OkDate* date = dates->PdfDateNew();
  dates->PdfDateFromTime(date, 1700000000);
  ASSERT_TRUE(record.SetDate(date));
  dates->PdfDateFromTime(date, 1);  // the record keeps its own copy
  EXPECT_EQ(dates->PdfDateCompare(record.date(), date), 1);
  ASSERT_TRUE(record.SetDate(date));
  EXPECT_EQ(dates->PdfDateCompare(record.date(), date), 0);
  dates->PdfDateFree(date);
}

TEST_F(PdfCommentTest, DestroyingAThreadFreesEveryRecordOnce) {
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
  EXPECT_EQ(PdfLibraryBytesInUse(), 0u);  // the reply's date went back to the library
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

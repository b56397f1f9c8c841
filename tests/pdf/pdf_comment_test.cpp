#include "pdf/pdf_comment.h"

#include <gtest/gtest.h>

#include <memory>

#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

// A record keeps its own copy of a date; a thread frees every record and date once.
TEST(PdfCommentTest, RecordsOwnTheirDatesAndThreads) {
  ASSERT_EQ(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1"), 0) << PdfLibraryLastError();
  const OkDatesTable* dates = Tables().dates;
  OkDate* given = dates->PdfDateNew();
  dates->PdfDateFromTime(given, 1700000000);
  auto top = std::make_unique<PdfComment>();
  ASSERT_TRUE(top->SetDate(given));
  dates->PdfDateFromTime(given, 1);
  EXPECT_EQ(dates->PdfDateCompare(top->date(), given), 1);

  auto caret = std::make_unique<PdfComment>(), caretReply = std::make_unique<PdfComment>();
  ASSERT_TRUE(caretReply->SetDate(given));
  dates->PdfDateFree(given);
  caret->AddReply(std::move(caretReply));
  top->SetReplacement(std::move(caret));
  auto reply = std::make_unique<PdfComment>();
  reply->AddReply(std::make_unique<PdfComment>());
  top->AddReply(std::move(reply));
  top->AddBox(std::make_unique<CommentBox>());
  top.reset();  // the sanitizer build checks that nothing is freed twice or lost
  EXPECT_EQ(PdfLibraryBytesInUse(), 0u);  // the dates went back to the library
  PdfLibraryUnload();
}

}  // namespace
}  // namespace osprevan::pdf

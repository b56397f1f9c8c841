#include "pdf/pdf_comment.h"

#include <gtest/gtest.h>

#include <memory>

namespace osprevan::pdf {
namespace {

// A thread frees every record once, and a record read by hand holds nothing of the library's:
// its destruction asks nothing of it, loaded or not.
TEST(PdfCommentTest, RecordsOwnTheirThreads) {
  auto top = std::make_unique<PdfComment>();
  top->SetDate("2024/05/01 10:00:00", 1714557600);
  auto caret = std::make_unique<PdfComment>(), caretReply = std::make_unique<PdfComment>();
  caret->AddReply(std::move(caretReply));
  top->SetReplacement(std::move(caret));
  auto reply = std::make_unique<PdfComment>();
  reply->AddReply(std::make_unique<PdfComment>());
  top->AddReply(std::move(reply));
  top->AddBox(std::make_unique<CommentBox>());
  EXPECT_EQ(top->handles(), nullptr);
  top.reset();  // the sanitizer build checks that nothing is freed twice or lost
}

}  // namespace
}  // namespace osprevan::pdf

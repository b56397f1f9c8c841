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

// The date's text is kept in the record: a library's text as long as the record holds comes back
// whole, a longer one is cut at that length rather than written past it, and a later date
// replaces an earlier, longer one entirely.
TEST(PdfCommentTest, DateTextIsKeptWholeOrCutAtItsCapacity) {
  const struct {
    const char* text;
    const char* kept;
  } cases[] = {
      {"2024/05/01 10:00:00", "2024/05/01 10:00:00"},
      {"-0001/12/31 23:00:00", "-0001/12/31 23:00:00"},
      {"123456789/12/31 23:00:00", "123456789/12/31 23:00:"},
      {"", ""},
  };
  PdfComment reused;
  reused.SetDate("123456789/12/31 23:00:00", 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    PdfComment comment;
    comment.SetDate(c.text, 42);
    EXPECT_EQ(comment.dateText(), c.kept);
    EXPECT_EQ(comment.dateSeconds(), 42);
    EXPECT_TRUE(comment.hasDate());
    reused.SetDate(c.text, 42);
    EXPECT_EQ(reused.dateText(), c.kept);
  }
}

}  // namespace
}  // namespace osprevan::pdf

#include <gtest/gtest.h>

#include "hostlink/host_link.h"
#include "tests/apply/in_process_plugin.h"
#include "ui/default_pdf_path.h"

namespace osprevan::ui {
namespace {

using InProcessHost = apply::InProcessPluginTest;

// The extension itself is ReplaceLastExtension's (tests/support); here the target and the join.
TEST_F(InProcessHost, ProposalFollowsTheActiveDocumentThenTheBook) {
  EXPECT_EQ(DefaultPdfPath().path, "");
  // A network folder is joined with a slash even when written with backslashes.
  EXPECT_EQ(ProposePdfPath("\\\\server\\share\\ch1.tlv").path, "\\\\server\\share/ch1.pdf");
  const auto book = host_.engine().NewBook("/books/manual.tlb");
  host_.engine().session().activeBook = book;
  EXPECT_EQ(DefaultPdfPath().path, "/books/manual.pdf");
  const auto doc = host_.engine().NewDocument("/docs/ch1.tlv");
  host_.engine().session().activeDocument = doc;
  EXPECT_EQ(DefaultPdfPath().path, "/docs/ch1.pdf");
}

}  // namespace
}  // namespace osprevan::ui

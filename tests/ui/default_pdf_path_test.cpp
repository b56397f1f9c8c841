#include <gtest/gtest.h>

#include "host/link/client_connection.h"
#include "hostlink/host_link.h"
#include "platform/win/module.h"
#include "ui/default_pdf_path.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::ui {
namespace {

// The plug-in's code linked into this test, with the host in the same process.
class InProcessHost : public ::testing::Test {
 protected:
  void SetUp() override {
    const int index = host_.LinkClient(
        T_ApiClientInit, win::ModuleFromAddress(reinterpret_cast<void*>(&T_ApiClientInit)),
        "in-process");
    ASSERT_EQ(host_.client(index).initResult(), 0);
  }
  tlhost::Host host_;
};

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

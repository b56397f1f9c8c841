// The placing context of an import gives the user's view back when it ends.
#include <gtest/gtest.h>

#include "apply/import_context.h"
#include "apply/wysiwyg_view.h"
#include "host/link/client_connection.h"
#include "hostlink/host_link.h"
#include "pdf/pdf_library.h"
#include "platform/win/module.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::apply {
namespace {

class ImportContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const int index = host_.LinkClient(
        T_ApiClientInit, win::ModuleFromAddress(reinterpret_cast<void*>(&T_ApiClientInit)),
        "in-process");
    ASSERT_EQ(host_.client(index).initResult(), 0);
    ASSERT_TRUE(pdf::PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok())
        << pdf::PdfLibraryLastError();
  }
  void TearDown() override { pdf::PdfLibraryUnload(); }
  std::string& View() { return host_.engine().session().currentView; }

  tlhost::Host host_;
};

TEST_F(ImportContextTest, TheUsersViewComesBackWhenTheImportEnds) {
  View() = "Structure View";
  {
    ImportContext session;
    EXPECT_TRUE(EnsureWysiwygView(session));
    EXPECT_EQ(View(), "WYSIWYG View");
    // Once in the page view nothing more is kept.
    EXPECT_FALSE(EnsureWysiwygView(session));
    EXPECT_EQ(session.keptViewName, "Structure View");
  }
  EXPECT_EQ(View(), "Structure View");

  // Already in the page view: nothing to give back.
  View() = "WYSIWYG View";
  {
    ImportContext session;
    EXPECT_FALSE(EnsureWysiwygView(session));
    View() = "Outline View";  // the user's own change during the import stays
  }
  EXPECT_EQ(View(), "Outline View");
}

}  // namespace
}  // namespace osprevan::apply

// The placing context of an import gives the user's view back when it ends.
#include <gtest/gtest.h>

#include "apply/import_context.h"
#include "apply/wysiwyg_view.h"
#include "hostlink/host_link.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::apply {
namespace {

class ImportContextTest : public InProcessPluginTest {
 protected:
  std::string& View() { return host_.engine().session().currentView; }
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

// The import command up to the first-use warning: which document it works on, the map it
// refuses, and a PDF library that cannot be had.
#include <gtest/gtest.h>

#include "platform/tlruntime/tl_runtime.h"
#include "plugin_host_fixture.h"
#include "plugin_messages.h"

namespace osprevan::testing {
namespace {

using namespace tolvane;
using tlhost::Attribute;

class CommandTest : public PluginHostTest {
 protected:
  // Runs the command with a freshly loaded plug-in.
  void RunImport() {
    host().UnloadClients();
    host().ui() = tlhost::UiRegistry();
    host().recorder().Clear();
    LoadAndInitialize();
    ASSERT_TRUE(host().RunCommand("Osprevan"));
  }
  bool RefusedAsAMap() {
    const auto& alerts = host().recorder().alerts;
    return alerts.size() == 1 && alerts[0].text == fixtures::Message(support::MSG_DITA_MAP);
  }
  // The PDF library was loaded: the command went on to the first-use warning.
  bool WentOn() {
    return host().recorder().alerts.empty() &&
           host().recorder().dialogsOpened == std::vector<std::string>{"warningdialog"};
  }
};

// A map is told by the class value of its root (also the definition's default), else by the
// root's name; the active document is the target before the active book.
TEST_F(CommandTest, MapsAreRefusedAndTheActiveDocumentComesBeforeTheBook) {
  const struct {
    const char* root;
    std::vector<Attribute> attributes, defaults;
    bool bookIsAMap;  // a map book beside the document
    bool map;
  } cases[] = {
      {"topic", {{"class", {"- map/map "}}}, {}, false, true},
      {"topic", {{"class", {"- map/map"}}}, {}, false, true},        // at the end of the value
      {"topic", {{"class", {"- map/mapping "}}}, {}, false, false},  // no blank after it
      {"topic", {{"class", {"-map/map "}}}, {}, false, false},       // no blank before it
      {"topic", {{"class", {}}}, {{"class", {"- map/map "}}}, false, true},
      {"topic", {{"class", {"- topic/topic "}}}, {}, false, false},
      {"map", {{"id", {"x"}}}, {}, false, true},
      {"Map", {{"id", {"x"}}}, {}, false, false},
      {"submap", {{"id", {"x"}}}, {}, false, false},
      {"topic", {}, {}, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
    const ObjectId doc = host().engine().NewDocument("/tmp/chapter1.tlv");
    host().engine().session().activeDocument = doc;
    host().engine().SetStructureRoot(doc, c.root, c.attributes, c.defaults);
    if (c.bookIsAMap) {
      const ObjectId book = host().engine().NewBook("/tmp/manual.tlb");
      host().engine().session().activeBook = book;
      host().engine().SetStructureRoot(book, "bookmap", {});
    }
    RunImport();
    EXPECT_EQ(RefusedAsAMap(), c.map);
    EXPECT_EQ(WentOn(), !c.map);
  }
  // A book alone is the target.
  host().engine().session().activeDocument = 0;
  host().engine().SetStructureRoot(host().engine().session().activeBook, "map", {});
  RunImport();
  EXPECT_TRUE(RefusedAsAMap());
}

// A PDF library that is missing or refuses its initialisation ends the command without a word,
// and the host's memory services are stopped again.
TEST_F(CommandTest, AnUnusablePdfLibraryEndsTheCommandSilently) {
  host().engine().session().activeDocument = host().engine().NewDocument("/tmp/chapter1.tlv");
  for (const auto& [path, init] :
       {std::pair<const char*, const char*>{"/nonexistent/folder", nullptr},
        {nullptr, "not a number"}}) {
    SCOPED_TRACE(path ? path : init);
    if (path) host().engine().session().pdfLibraryPath = path;
    if (init) {
      host().engine().session().pdfLibraryPath.clear();
      host().engine().session().pdfLibraryInit = init;
    }
    const int64_t starts = TlMemStartupCount();
    RunImport();
    EXPECT_TRUE(host().recorder().alerts.empty());
    EXPECT_TRUE(host().recorder().console.empty());
    EXPECT_TRUE(host().recorder().dialogsOpened.empty());
    EXPECT_EQ(TlMemStartupCount(), starts + 1);
    EXPECT_EQ(TlMemActiveStarts(), 0);
  }
}

TEST_F(CommandTest, OtherCommandNumbersOnlyReadThePreferences) {
  host().engine().session().activeDocument = host().engine().NewDocument("/tmp/chapter1.tlv");
  EXPECT_EQ(LoadAndInitialize().Command(2), S_OK);
  EXPECT_TRUE(host().recorder().usage.empty());
  EXPECT_TRUE(host().recorder().alerts.empty());
}

}  // namespace
}  // namespace osprevan::testing

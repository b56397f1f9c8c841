#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/tlruntime/tl_runtime.h"
#include "plugin_host_fixture.h"

namespace osprevan::testing {
namespace {

using namespace tolvane;
using tlhost::Attribute;

constexpr const char* kMessage46 = "コメントは DITA マップに取り込めません。";

class CommandTest : public PluginHostTest {
 protected:
  ObjectId ActiveDocument(const std::string& path = "/tmp/chapter1.tlv") {
    const ObjectId doc = host().engine().NewDocument(path);
    host().engine().session().activeDocument = doc;
    return doc;
  }
  ObjectId ActiveBook(const std::string& path = "/tmp/manual.tlb") {
    const ObjectId book = host().engine().NewBook(path);
    host().engine().session().activeBook = book;
    return book;
  }
  void RunImport() {
    LoadAndInitialize();
    ASSERT_TRUE(host().RunCommand("Osprevan"));
  }
  bool Refused(const char* message) {
    const auto& alerts = host().recorder().alerts;
    return alerts.size() == 1 && alerts[0].text == message;
  }
  // The PDF library was loaded: the command went on to the first-use warning.
  bool WentOn() {
    const auto& opened = host().recorder().dialogsOpened;
    return opened.size() == 1 && opened[0] == "warningdialog";
  }
};

TEST_F(CommandTest, ActiveDocumentIsTheTargetBeforeTheBook) {
  const ObjectId doc = ActiveDocument();
  ActiveBook();
  // The book is a map; the document is not, so the command goes on.
  host().engine().SetStructureRoot(host().engine().session().activeBook, "bookmap", {});
  RunImport();
  EXPECT_TRUE(host().recorder().alerts.empty());
  EXPECT_TRUE(WentOn());
  (void)doc;
}

TEST_F(CommandTest, ABookAloneIsTheTarget) {
  const ObjectId book = ActiveBook();
  host().engine().SetStructureRoot(book, "map", {});
  RunImport();
  EXPECT_TRUE(Refused(kMessage46));
}

TEST_F(CommandTest, MapIsRecognisedByItsClassValue) {
  struct Case {
    std::vector<Attribute> attributes;
    std::vector<Attribute> defaults;
    bool map;
  };
  const std::vector<Case> cases = {
      {{{"class", {"- map/map "}}}, {}, true},
      {{{"class", {"- map/map bookmap/bookmap "}}}, {}, true},
      {{{"class", {"- map/map"}}}, {}, true},                // at the end of the value
      {{{"class", {"- map/mapping "}}}, {}, false},          // no blank after it
      {{{"class", {"-map/map "}}}, {}, false},               // no blank before it
      {{{"class", {}}}, {{"class", {"- map/map "}}}, true},  // the definition's default
      {{{"class", {"- topic/topic "}}}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes[0].values.empty() ? c.defaults[0].values[0]
                                                : c.attributes[0].values[0]);
    host().recorder().Clear();
    const ObjectId doc = ActiveDocument();
    host().engine().SetStructureRoot(doc, "topic", c.attributes, c.defaults);
    RunImport();
    EXPECT_EQ(Refused(kMessage46), c.map);
    host().UnloadClients();
    host().ui() = tlhost::UiRegistry();
  }
}

TEST_F(CommandTest, MapIsRecognisedByItsNameWithoutAClass) {
  for (const char* name : {"map", "bookmap", "Map", "submap"}) {
    SCOPED_TRACE(name);
    host().recorder().Clear();
    const ObjectId doc = ActiveDocument();
    host().engine().SetStructureRoot(doc, name, {{"id", {"x"}}});
    RunImport();
    const bool expected = std::string(name) == "map" || std::string(name) == "bookmap";
    EXPECT_EQ(Refused(kMessage46), expected);
    host().UnloadClients();
    host().ui() = tlhost::UiRegistry();
  }
}

TEST_F(CommandTest, MissingPdfLibraryEndsTheCommandSilently) {
  ActiveDocument();
  host().engine().session().pdfLibraryPath = "/nonexistent/folder";
  const int64_t starts = TlMemStartupCount();
  RunImport();
  EXPECT_TRUE(host().recorder().alerts.empty());
  EXPECT_TRUE(host().recorder().console.empty());
  EXPECT_TRUE(host().recorder().dialogsOpened.empty());
  EXPECT_EQ(TlMemStartupCount(), starts + 1);
  EXPECT_EQ(TlMemActiveStarts(), 0);
}

TEST_F(CommandTest, PdfLibraryBesideThePluginIsLoaded) {
  ActiveDocument();
  RunImport();
  EXPECT_TRUE(WentOn());
}

TEST_F(CommandTest, PreferenceFileSkipsTheWarning) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("osprevan_prefs_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "pdfcomments.ini") << "DontShowInitialWarning=Yes\r\n";
  host().engine().session().userDir = dir.string();
  ActiveDocument();
  RunImport();
  // Straight on to choosing the PDF.
  EXPECT_EQ(host().recorder().dialogsOpened, std::vector<std::string>{"inputfile"});
  EXPECT_TRUE(host().recorder().alerts.empty());
  fs::remove_all(dir);
}

TEST_F(CommandTest, OtherCommandNumbersOnlyReadThePreferences) {
  ActiveDocument();
  tlhost::ClientConnection& client = LoadAndInitialize();
  EXPECT_EQ(client.Command(2), S_OK);
  EXPECT_TRUE(host().recorder().usage.empty());
  EXPECT_TRUE(host().recorder().alerts.empty());
}

}  // namespace
}  // namespace osprevan::testing

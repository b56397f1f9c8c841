// The import command from choosing the PDF to the point where comments are placed, run by the
// stand-in host on PDFs made by its own export.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "host/dialogs/dialog_script.h"
#include "plugin_messages.h"
#include "reviewed_pdf.h"
#include "tests/client/plugin_host_fixture.h"

namespace osprevan::testing {
namespace {

using namespace tolvane;
namespace fs = std::filesystem;
using fixtures::Message;

class ImportSessionTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    // The first-use warning is answered for good, so every run goes straight to the PDF.
    userDir_ = UseAnsweredUserDir(fs::path(pdf_.directory()) / "user");
  }

  // Exports the bundled chapter with that Creator and opens its source as the active document.
  void Prepare(const std::optional<std::string>& creator) {
    ASSERT_TRUE(pdf_.ExportExample("chapter1.tlv", creator)) << pdf_.error();
    std::vector<tlhost::PropValue> returned;
    ASSERT_EQ(host().engine().OpenFile(pdf_.sourcePath(), {}, document_, returned), 0);
    host().engine().session().activeDocument = document_;
  }
  void SetDocumentFlag(int32_t property) {
    host().engine().SetProp(document_, document_, property, tlhost::Value::Int(1));
  }
  // The source written after the PDF was made.
  void TouchSourceLater() {
    fs::last_write_time(pdf_.sourcePath(),
                        fs::file_time_type::clock::now() + std::chrono::hours(1));
  }

  // Each run starts anew: no client loaded, nothing recorded, no dialog script.
  void Reset() {
    host().UnloadClients();
    host().ui() = tlhost::UiRegistry();
    host().recorder().Clear();
    script_ = {};
  }
  // Runs the command from the menu, choosing `pdfPath` in the input dialog with the radio
  // button `choice` (10, 11 or 12) and answering the alerts in order.
  void RunFromMenu(const std::string& pdfPath, const std::vector<std::string>& alertAnswers = {},
                   int choice = 10) {
    Reset();
    std::string error;
    const std::string text = "dialog inputfile\n  text 3 " + pdfPath + "\n  choose " +
                             std::to_string(choice) + "\n  press 1\nend\n";
    ASSERT_TRUE(tlhost::ParseDialogScript(text, script_, error)) << error;
    for (const std::string& answer : alertAnswers) host().responder().QueueAlertAnswer(answer);
    host().dialogs().UseScript(&script_);
    LoadAndInitialize();
    ASSERT_TRUE(host().RunCommand("Osprevan"));
  }
  // The same import as a call from another client: no dialogs.
  void RunAsClientCall(const std::string& pdfPath) {
    Reset();
    tlhost::ClientConnection& client = LoadAndInitialize();
    client.Notify(NOTE_CLIENT_CALL, 0, pdfPath, 0);
  }

  std::vector<std::string> AlertTexts() {
    std::vector<std::string> texts;
    for (const auto& alert : host().recorder().alerts) texts.push_back(alert.text);
    return texts;
  }
  // The usage event sent right before the comments are placed: the import ran.
  bool ImportRan() { return host().recorder().ImportRan(); }
  std::string UsageEvent() {
    return host().recorder().usage.empty() ? "" : host().recorder().usage.back().event;
  }

  fixtures::ReviewedPdf pdf_;
  fs::path userDir_;
  ObjectId document_ = 0;
  tlhost::DialogScript script_;
};

// A PDF of version 12 or later, or an old one of an unchanged source, imports without
// questions. An old PDF of a source written after it asks about the source, then about the
// changed document; answering no stops before anything is imported. Another client's call is
// asked nothing, so its source does not count as knowingly changed.
TEST_F(ImportSessionTest, OldPdfsAskAboutChangedSources) {
  const std::string changedSource = Message(support::MSG_SOURCE_DOC_CHANGED);
  const std::string changedDocument = Message(support::MSG_DOC_CHANGED_OLD_PDF);
  const struct {
    std::optional<std::string> creator;
    bool changed, fromClient;
    std::vector<std::string> answers, alerts;
    const char* event;  // the usage event of an import that ran; "" when it did not
  } cases[] = {
      {std::nullopt, true, false, {}, {}, "DocNotModifiedOrDirty"},
      {"Tolvane 11.0", false, false, {}, {}, "DocNotModifiedOrDirty"},
      {"Tolvane 11.0",
       true,
       false,
       {"yes", "yes"},
       {changedSource, changedDocument},
       "DocModifiedOrDirty"},
      {"Tolvane 11.0", true, false, {"no"}, {changedSource}, ""},
      {"Tolvane 11.0", true, false, {"yes", "no"}, {changedSource, changedDocument}, ""},
      {"Tolvane 11.0", true, true, {}, {}, "DocNotModifiedOrDirty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.creator.value_or("current") << " " << c.answers.size()
                                      << (c.fromClient ? " client" : ""));
    Prepare(c.creator);
    if (c.changed) {
      SetDocumentFlag(P_DOC_MODIFIED);
      TouchSourceLater();
    }
    if (c.fromClient) {
      RunAsClientCall(pdf_.exportedPdf());
      EXPECT_TRUE(host().recorder().dialogsOpened.empty());
    } else {
      RunFromMenu(pdf_.exportedPdf(), c.answers);
    }
    EXPECT_EQ(AlertTexts(), c.alerts);
    EXPECT_EQ(ImportRan(), *c.event != 0);
    if (*c.event) {
      EXPECT_EQ(UsageEvent(), c.event);
      EXPECT_EQ(host().recorder().usage.back().feature, "UnstructureDoc");
    }
    ASSERT_EQ(host().engine().Close(document_, CLOSE_DISCARD), 0);
  }
}

// Refusals before anything is imported, each with its message: an alert from the menu, and
// from another client on the console, except for a read-only document, which is alerted there
// too. (Refused PDFs, untagged or of a broken structure, are among the malformed inputs.)
TEST_F(ImportSessionTest, RefusedTargetsAndPdfsSayWhy) {
  const struct {
    const char* name;
    std::function<void()> prepare;
    int message;
    bool clientGetsAnAlert;
  } cases[] = {
      {"read-only document", [this] { SetDocumentFlag(P_DOC_READ_ONLY); }, support::MSG_READ_ONLY,
       true},
      // A book alone with a document's PDF.
      {"no active document",
       [this] {
         host().engine().session().activeDocument = 0;
         host().engine().session().activeBook =
             host().engine().NewBook(pdf_.directory() + "/b.tlb");
       },
       support::MSG_NO_ACTIVE_DOCUMENT, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Prepare(std::nullopt);  // a fresh export, and the source opened anew
    c.prepare();
    RunFromMenu(pdf_.exportedPdf());
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{Message(c.message)});
    EXPECT_FALSE(ImportRan());

    RunAsClientCall(pdf_.exportedPdf());
    EXPECT_EQ(AlertTexts(), c.clientGetsAnAlert ? std::vector<std::string>{Message(c.message)}
                                                : std::vector<std::string>{});
    // The message on a line of its own when it is not an alert; the caller is told why the
    // import stopped in the same words either way.
    const std::string& console = host().recorder().console;
    EXPECT_EQ(console.find("\n" + Message(c.message)) != std::string::npos, !c.clientGetsAnAlert);
    EXPECT_NE(console.find(Message(support::MSG_IMPORT_STOPPED) + " " + Message(c.message)),
              std::string::npos)
        << console;
    EXPECT_FALSE(ImportRan());
    host().engine().session().activeBook = 0;
    ASSERT_EQ(host().engine().Close(document_, CLOSE_DISCARD), 0);
  }
}

}  // namespace
}  // namespace osprevan::testing

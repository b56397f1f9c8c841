// The import command from choosing the PDF to the point where comments are placed, run by the
// stand-in host on PDFs made by its own export.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "host/dialogs/dialog_script.h"
#include "reviewed_pdf.h"
#include "tests/client/plugin_host_fixture.h"
#include "tests/support/expected_messages.h"

namespace osprevan::testing {
namespace {

using namespace tolvane;
namespace fs = std::filesystem;
using support::testing::kExpectedMessages;

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Rewrites a PDF with a few lines of the third-party library (`doc` is the open document).
bool EditPdf(const std::string& path, const std::string& edit) {
  const std::string script =
      "import fitz,sys\ndoc=fitz.open(sys.argv[1])\n" + edit + "\ndoc.save(sys.argv[1]+'.tmp')\n";
  const std::string command = std::string(OSPREVAN_PYTHON) + " -c " + Quoted(script) + " " +
                              Quoted(path) + " && mv " + Quoted(path + ".tmp") + " " + Quoted(path);
  const int status = std::system(command.c_str());
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

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

  // Runs the command from the menu, choosing `pdfPath` in the input dialog with the radio
  // button `choice` (10, 11 or 12) and answering the alerts in order.
  void RunFromMenu(const std::string& pdfPath, const std::vector<std::string>& alertAnswers = {},
                   int choice = 10) {
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

TEST_F(ImportSessionTest, HostPdfOfTheCurrentVersionImportsWithoutQuestions) {
  Prepare(std::nullopt);
  SetDocumentFlag(P_DOC_MODIFIED);  // no question for a PDF of version 12 or later
  TouchSourceLater();
  RunFromMenu(pdf_.exportedPdf());
  EXPECT_TRUE(AlertTexts().empty());
  ASSERT_TRUE(ImportRan());
  EXPECT_EQ(host().recorder().usage.back().feature, "UnstructureDoc");
  EXPECT_EQ(UsageEvent(), "DocNotModifiedOrDirty");
}

TEST_F(ImportSessionTest, CreatorDecidesWhetherThePdfIsAccepted) {
  struct Case {
    const char* creator;
    bool accepted;
  };
  for (const Case& c : {Case{"Tolvane 8.0", false}, Case{"Tolvane", false},
                        Case{"Another Writer 14.0", false}, Case{"Export from Tolvane 12.0", false},
                        Case{"Tolvane 11.0", true}, Case{"Tolvane 2019", true}}) {
    SCOPED_TRACE(c.creator);
    fixtures::ReviewedPdf pdf;
    ASSERT_TRUE(pdf.ExportExample("chapter1.tlv", std::string(c.creator))) << pdf.error();
    host().recorder().Clear();
    if (document_ == 0) {
      std::vector<tlhost::PropValue> returned;
      ASSERT_EQ(host().engine().OpenFile(pdf.sourcePath(), {}, document_, returned), 0);
      host().engine().session().activeDocument = document_;
    }
    script_ = {};
    RunFromMenu(pdf.exportedPdf());
    EXPECT_EQ(ImportRan(), c.accepted);
    if (c.accepted) {
      EXPECT_TRUE(AlertTexts().empty());
    } else {
      EXPECT_EQ(AlertTexts(), std::vector<std::string>{kExpectedMessages[16]});
    }
    host().UnloadClients();
    host().ui() = tlhost::UiRegistry();
  }
}

TEST_F(ImportSessionTest, OldPdfAsksAboutTheChangedSourceThenTheChangedDocument) {
  Prepare("Tolvane 11.0");
  TouchSourceLater();
  SetDocumentFlag(P_DOC_MODIFIED);
  RunFromMenu(pdf_.exportedPdf(), {"yes", "yes"});
  EXPECT_EQ(AlertTexts(), (std::vector<std::string>{kExpectedMessages[7], kExpectedMessages[9]}));
  ASSERT_TRUE(ImportRan());
  EXPECT_EQ(UsageEvent(), "DocModifiedOrDirty");
}

TEST_F(ImportSessionTest, OldPdfWithAnUnchangedSourceAsksNothing) {
  Prepare("Tolvane 11.0");
  RunFromMenu(pdf_.exportedPdf());
  EXPECT_TRUE(AlertTexts().empty());
  ASSERT_TRUE(ImportRan());
  EXPECT_EQ(UsageEvent(), "DocNotModifiedOrDirty");
}

TEST_F(ImportSessionTest, AnsweringNoStopsBeforeAnythingIsImported) {
  Prepare("Tolvane 11.0");
  TouchSourceLater();
  SetDocumentFlag(P_DOC_MODIFIED);
  RunFromMenu(pdf_.exportedPdf(), {"no"});
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{kExpectedMessages[7]});
  EXPECT_FALSE(ImportRan());

  host().UnloadClients();
  host().ui() = tlhost::UiRegistry();
  host().recorder().Clear();
  script_ = {};
  RunFromMenu(pdf_.exportedPdf(), {"yes", "no"});
  EXPECT_EQ(AlertTexts(), (std::vector<std::string>{kExpectedMessages[7], kExpectedMessages[9]}));
  EXPECT_FALSE(ImportRan());
}

TEST_F(ImportSessionTest, CallFromAnotherClientAsksNoQuestions) {
  Prepare("Tolvane 11.0");
  TouchSourceLater();
  SetDocumentFlag(P_DOC_MODIFIED);
  RunAsClientCall(pdf_.exportedPdf());
  EXPECT_TRUE(AlertTexts().empty());
  ASSERT_TRUE(ImportRan());
  // Nobody was asked, so the source does not count as knowingly changed.
  EXPECT_EQ(UsageEvent(), "DocNotModifiedOrDirty");
  EXPECT_TRUE(host().recorder().dialogsOpened.empty());
}

TEST_F(ImportSessionTest, ReadOnlyTargetIsRefusedWithAnAlertEvenForAnotherClient) {
  Prepare(std::nullopt);
  SetDocumentFlag(P_DOC_READ_ONLY);
  RunFromMenu(pdf_.exportedPdf());
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{kExpectedMessages[17]});
  EXPECT_FALSE(ImportRan());

  host().UnloadClients();
  host().ui() = tlhost::UiRegistry();
  host().recorder().Clear();
  RunAsClientCall(pdf_.exportedPdf());
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{kExpectedMessages[17]});
  EXPECT_EQ(host().recorder().console.find(kExpectedMessages[17]), std::string::npos);
  EXPECT_FALSE(ImportRan());
}

TEST_F(ImportSessionTest, UntaggedPdfIsRefused) {
  Prepare(std::nullopt);
  ASSERT_TRUE(EditPdf(pdf_.exportedPdf(),
                      "doc.xref_set_key(doc.pdf_catalog(), 'StructTreeRoot', 'null')\n"
                      "doc.xref_set_key(doc.pdf_catalog(), 'MarkInfo', 'null')"));
  RunFromMenu(pdf_.exportedPdf());
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{kExpectedMessages[11]});
  EXPECT_FALSE(ImportRan());

  // From another client the message goes to the console.
  host().UnloadClients();
  host().ui() = tlhost::UiRegistry();
  host().recorder().Clear();
  RunAsClientCall(pdf_.exportedPdf());
  EXPECT_TRUE(AlertTexts().empty());
  EXPECT_NE(host().recorder().console.find(kExpectedMessages[11]), std::string::npos);
}

TEST_F(ImportSessionTest, TopElementOtherThanDocumentOrBookIsRefused) {
  Prepare(std::nullopt);
  // The first kid of the structure root becomes a Part.
  ASSERT_TRUE(
      EditPdf(pdf_.exportedPdf(),
              "root=int(doc.xref_get_key(doc.pdf_catalog(),'StructTreeRoot')[1].split()[0])\n"
              "kind,kids=doc.xref_get_key(root,'K')\n"
              "top=int(kids.strip('[]').split()[0]) if kind=='array' else int(kids.split()[0])\n"
              "doc.xref_set_key(top,'S','/Part')"));
  RunFromMenu(pdf_.exportedPdf());
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{kExpectedMessages[12]});
  EXPECT_FALSE(ImportRan());
}

TEST_F(ImportSessionTest, NoActiveDocumentForADocumentPdf) {
  Prepare(std::nullopt);
  // The command needs an active document or book; a book alone with a document's PDF.
  host().engine().session().activeDocument = 0;
  host().engine().session().activeBook = host().engine().NewBook(pdf_.directory() + "/b.tlb");
  RunFromMenu(pdf_.exportedPdf());
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{kExpectedMessages[13]});
  EXPECT_FALSE(ImportRan());
}

TEST_F(ImportSessionTest, BadPathKeepsTheDialogOpenUntilCancelled) {
  Prepare(std::nullopt);
  const std::string notPdf = pdf_.directory() + "/plain.pdf";
  std::ofstream(notPdf) << "%pdf-1.7 in lower case\n";
  std::string error;
  ASSERT_TRUE(tlhost::ParseDialogScript("dialog inputfile\n  text 3 " + notPdf +
                                            "\n  press 1\n  text 3 " + pdf_.directory() +
                                            "/missing.pdf\n  press 1\n  press 2\nend\n",
                                        script_, error))
      << error;
  host().dialogs().UseScript(&script_);
  LoadAndInitialize();
  ASSERT_TRUE(host().RunCommand("Osprevan"));
  EXPECT_EQ(AlertTexts(), (std::vector<std::string>{kExpectedMessages[15], kExpectedMessages[14]}));
  EXPECT_EQ(host().dialogs().history().size(), 1u);
  EXPECT_FALSE(ImportRan());
}

TEST_F(ImportSessionTest, CustomFilterCancelledWithoutAUserEndsTheImport) {
  Prepare(std::nullopt);
  // No native dialog driver is installed: the filter dialog is cancelled at once.
  RunFromMenu(pdf_.exportedPdf(), {}, 12);
  EXPECT_TRUE(AlertTexts().empty());
  EXPECT_FALSE(ImportRan());
}

}  // namespace
}  // namespace osprevan::testing

// Choosing the PDF: the input-file dialog as the host runs it, with the plug-in's code in the
// test process and the PDF library loaded as the import command loads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/dialogs/dialog_script.h"
#include "host/link/client_connection.h"
#include "hostlink/call_refusal.h"
#include "hostlink/command_state.h"
#include "hostlink/host_link.h"
#include "pdf/comment_kind.h"
#include "pdf/filter_criteria.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "platform/win/dialog_input.h"
#include "platform/win/module.h"
#include "platform/win/native_dialog.h"
#include "reviewed_pdf.h"
#include "tests/support/expected_messages.h"
#include "ui/input_dialog.h"
#include "ui/input_dialog_items.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::ui {
namespace {

using support::testing::kExpectedMessages;

// Presses one button of whatever native dialog comes up, and notes the dialog's owner.
class PressingDriver : public win::DialogDriver {
 public:
  explicit PressingDriver(int button) : button_(button) {}
  bool Step(win::HWND dialog, const std::string& name) override {
    if (pressed_) return false;
    pressed_ = true;
    name_ = name;
    owner_ = win::GetWindow(dialog, win::GW_OWNER);
    return win::ClickButton(win::GetDlgItem(dialog, button_)) != 0;
  }
  std::string name_;
  win::HWND owner_ = nullptr;

 private:
  int button_;
  bool pressed_ = false;
};

class InputDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The built plug-in stands as the module, so that its string table and dialog templates
    // are found; the code that runs is the copy linked into this test.
    module_ = win::LoadLibrary(OSPREVAN_PLUGIN_PATH);
    ASSERT_NE(module_, nullptr) << win::LastLoaderError();
    const int index = host_.LinkClient(T_ApiClientInit, module_, OSPREVAN_PLUGIN_PATH);
    ASSERT_EQ(host_.client(index).initResult(), 0);
    ASSERT_EQ(pdf::PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1"), 0) << pdf::PdfLibraryLastError();
    ASSERT_TRUE(pdf_.ExportExample("chapter1.tlv")) << pdf_.error();
    ASSERT_TRUE(pdf_.Review(R"({"comments": [
        {"kind": "highlight", "find": "マニュアル", "author": "Mika"},
        {"kind": "note", "point": [72, 72], "page": 0}]})"))
        << pdf_.error();
    std::vector<tlhost::PropValue> returned;
    tolvane::ObjectId doc = 0;
    ASSERT_EQ(host_.engine().OpenFile(pdf_.sourcePath(), {}, doc, returned), 0);
    host_.engine().session().activeDocument = doc;
    // The library keeps the names it was asked for (atoms) until it is unloaded; one open
    // beforehand makes them, so that what is measured afterwards is only the open PDF.
    {
      pdf::FilterCriteria criteria;
      OkDoc* warmUp = pdf::OpenPdfByPath(Wide(pdf_.annotatedPdf()));
      ASSERT_NE(warmUp, nullptr);
      pdf::PrepareFilterCriteria(warmUp, Wide(pdf_.annotatedPdf()), criteria);
      pdf::ClosePdf(warmUp);
    }
    baseline_ = pdf::PdfLibraryBytesInUse();
  }
  void TearDown() override {
    win::SetDialogDriver(nullptr);
    pdf::PdfLibraryUnload();
    host_.UnloadClients();
    if (module_) win::FreeLibrary(module_);
  }
  static std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
  }

  // Scripts the next run of the input dialog.
  void Script(const std::string& actions) {
    std::string error;
    script_ = {};
    ASSERT_TRUE(tlhost::ParseDialogScript("dialog inputfile\n" + actions + "end\n", script_, error))
        << error;
    host_.dialogs().UseScript(&script_);
  }
  std::vector<std::string> AlertTexts() {
    std::vector<std::string> texts;
    for (const auto& alert : host_.recorder().alerts) texts.push_back(alert.text);
    return texts;
  }
  const tlhost::HostDialog& LastDialog() { return host_.dialogs().history().back(); }
  // A refusal answers no PDF and no path.
  static void ExpectNothingOpen(OkDoc* pdf, const std::u16string& path) {
    EXPECT_EQ(pdf, nullptr);
    EXPECT_TRUE(path.empty());
  }

  win::HMODULE module_ = nullptr;
  tlhost::Host host_;
  fixtures::ReviewedPdf pdf_;
  tlhost::DialogScript script_;
  size_t baseline_ = 0;
};

TEST_F(InputDialogTest, ProposesThePdfBesideTheSourceAndTakesAllComments) {
  const std::string proposed = pdf_.directory() + "/chapter1.pdf";
  std::filesystem::copy_file(pdf_.annotatedPdf(), proposed);
  Script("  press 1\n");
  pdf::FilterCriteria criteria;
  OkDoc* pdf = nullptr;
  std::u16string path;
  ASSERT_TRUE(ChooseInputPdf(pdf, path, criteria).ok());
  ASSERT_NE(pdf, nullptr);
  EXPECT_GT(pdf::PdfLibraryBytesInUse(), baseline_);
  EXPECT_EQ(LastDialog().items[kInputPathItem].text, proposed);
  EXPECT_EQ(LastDialog().items[kInputFirstChoiceItem].state, 1);
  EXPECT_EQ(std::string(path.begin(), path.end()), proposed);
  EXPECT_EQ(criteria.kindMask, pdf::kAllCommentKinds);
  pdf::ClosePdf(pdf);
}

TEST_F(InputDialogTest, RadioChoicesSetTheKindsAndTheFirstIsSelectedAtEveryRun) {
  {
    Script("  text 3 " + pdf_.annotatedPdf() + "\n  choose 11\n  press 1\n");
    pdf::FilterCriteria criteria;
    OkDoc* pdf = nullptr;
    std::u16string path;
    ASSERT_TRUE(ChooseInputPdf(pdf, path, criteria).ok());
    EXPECT_EQ(criteria.kindMask, pdf::Insert | pdf::Delete | pdf::Replace);
    EXPECT_EQ(criteria.kindMask, 7u);
    EXPECT_FALSE(criteria.dateFilterOn);
    EXPECT_EQ(std::string(path.begin(), path.end()), pdf_.annotatedPdf());
    EXPECT_EQ(criteria.acceptedAuthors, (pdf::AuthorSet{"<匿名>", "Mika"}));
    EXPECT_TRUE(criteria.knownAuthors.empty());  // emptied at the end of the step
    pdf::ClosePdf(pdf);
  }
  {
    // The next run starts again from the first choice.
    Script("  text 3 " + pdf_.annotatedPdf() + "\n  press 1\n");
    pdf::FilterCriteria criteria;
    OkDoc* pdf = nullptr;
    std::u16string path;
    ASSERT_TRUE(ChooseInputPdf(pdf, path, criteria).ok());
    EXPECT_EQ(LastDialog().items[kInputFirstChoiceItem].state, 1);
    EXPECT_EQ(LastDialog().items[kInputFirstChoiceItem + 1].state, 0);
    EXPECT_EQ(criteria.kindMask, pdf::kAllCommentKinds);
    EXPECT_FALSE(criteria.dateFilterOn);
    pdf::ClosePdf(pdf);
  }
}

TEST_F(InputDialogTest, BadPathsAreRefusedAndTheDialogStaysOpen) {
  const std::string lower = pdf_.directory() + "/lower.pdf";
  std::ofstream(lower) << "%pdf-1.7\n";
  Script("  text 3 " + lower + "\n  press 1\n  text 3 \n  press 1\n  text 3 " +
         pdf_.annotatedPdf() + "\n  confirm\n");
  pdf::FilterCriteria criteria;
  OkDoc* pdf = nullptr;
  std::u16string path;
  ASSERT_TRUE(ChooseInputPdf(pdf, path, criteria).ok());
  EXPECT_EQ(AlertTexts(), (std::vector<std::string>{kExpectedMessages[15], kExpectedMessages[14]}));
  EXPECT_EQ(host_.dialogs().history().size(), 1u);
  EXPECT_NE(pdf, nullptr);
  pdf::ClosePdf(pdf);
}

TEST_F(InputDialogTest, BrowseFillsThePathAndACancelledChooserKeepsIt) {
  host_.responder().QueueChosenFile("cancel");
  host_.responder().QueueChosenFile(pdf_.annotatedPdf());
  Script("  text 3 " + pdf_.exportedPdf() + "\n  press 4\n  press 4\n  press 1\n");
  pdf::FilterCriteria criteria;
  OkDoc* pdf = nullptr;
  std::u16string path;
  ASSERT_TRUE(ChooseInputPdf(pdf, path, criteria).ok());
  EXPECT_EQ(LastDialog().items[kInputPathItem].text, pdf_.annotatedPdf());
  EXPECT_EQ(std::string(path.begin(), path.end()), pdf_.annotatedPdf());
  pdf::ClosePdf(pdf);
}

TEST_F(InputDialogTest, CancelPathsOpenNothing) {
  for (const std::string actions :
       {"  press 2\n", "  close\n", "  text 3 PATH\n  choose 12\n  press 1\n"}) {
    SCOPED_TRACE(actions);
    std::string script = actions;
    const size_t at = script.find("PATH");
    if (at != std::string::npos) script.replace(at, 4, pdf_.annotatedPdf());
    Script(script);
    // Without anyone at the filter dialog it is cancelled, and the PDF closed again.
    {
      pdf::FilterCriteria criteria;
      OkDoc* pdf = nullptr;
      std::u16string path;
      EXPECT_FALSE(ChooseInputPdf(pdf, path, criteria).ok());
      ExpectNothingOpen(pdf, path);
    }
    // Nothing of the PDF or the criteria stays with the library.
    EXPECT_EQ(pdf::PdfLibraryBytesInUse(), baseline_);
  }
}

TEST_F(InputDialogTest, CustomFilterRunsTheNativeDialogWithTheDateTestOn) {
  Script("  text 3 " + pdf_.annotatedPdf() + "\n  choose 12\n  press 1\n");
  PressingDriver driver(100);
  win::SetDialogDriver(&driver);
  pdf::FilterCriteria criteria;
  OkDoc* pdf = nullptr;
  std::u16string path;
  ASSERT_TRUE(ChooseInputPdf(pdf, path, criteria).ok());
  EXPECT_EQ(driver.name_, "customfilterdialog");
  EXPECT_TRUE(criteria.dateFilterOn);
  pdf::ClosePdf(pdf);
}

TEST_F(InputDialogTest, CallerPdfOpensWithTheDefaults) {
  hostlink::Command().calledFromClient = 1;
  hostlink::Command().callerPdfPath = pdf_.annotatedPdf();
  {
    pdf::FilterCriteria criteria;
    OkDoc* pdf = nullptr;
    std::u16string path;
    ASSERT_TRUE(OpenCallerPdf(pdf, path, criteria).ok());
    EXPECT_EQ(criteria.kindMask, pdf::kAllCommentKinds);
    EXPECT_EQ(criteria.acceptedAuthors, (pdf::AuthorSet{"<匿名>", "Mika"}));
    pdf::ClosePdf(pdf);
  }
  hostlink::Command().callerPdfPath = pdf_.directory() + "/missing.pdf";
  {
    pdf::FilterCriteria criteria;
    OkDoc* pdf = nullptr;
    std::u16string path;
    EXPECT_FALSE(OpenCallerPdf(pdf, path, criteria).ok());
    ExpectNothingOpen(pdf, path);
    EXPECT_GT(pdf::PdfLibraryBytesInUse(), baseline_);  // the criteria's two dates
    // The caller is told why on a console line of its own, and gets the reason as the answer.
    EXPECT_TRUE(host_.recorder().alerts.empty());
    EXPECT_EQ(host_.recorder().console,
              std::string("\n") + support::testing::kExpectedMessages[14]);
    EXPECT_EQ(host_.client(0).returnValue(), hostlink::kRefusalNoSuchFile);
  }
  hostlink::Command().calledFromClient = 0;
  hostlink::Command().callerPdfPath.clear();
}

}  // namespace
}  // namespace osprevan::ui

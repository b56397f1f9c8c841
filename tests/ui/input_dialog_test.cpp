// Choosing the PDF: the input-file dialog as the host runs it, with the plug-in's code in the
// test process and the PDF library loaded as the import command loads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/dialogs/dialog_script.h"
#include "host/link/client_connection.h"
#include "hostlink/call_refusal.h"
#include "hostlink/command_state.h"
#include "pdf/comment_kind.h"
#include "pdf/filter_criteria.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "platform/win/dialog_input.h"
#include "platform/win/module.h"
#include "platform/win/native_dialog.h"
#include "reviewed_pdf.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "ui/input_dialog.h"
#include "ui/input_dialog_items.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::ui {
namespace {

using support::UiString;

// Presses the continue button of every native dialog that comes up, and notes its name.
class ContinuingUser : public win::DialogDriver {
 public:
  bool Step(win::HWND dialog, const std::string& name) override {
    names.push_back(name);
    return win::ClickButton(win::GetDlgItem(dialog, 100)) != 0;
  }
  std::vector<std::string> names;
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
      OkDoc* pdf = nullptr;
      std::u16string path;
      hostlink::Command().callerPdfPath = pdf_.annotatedPdf();
      ASSERT_TRUE(OpenCallerPdf(pdf, path, criteria).ok());
      pdf::ClosePdf(pdf);
      hostlink::Command() = {};
    }
    baseline_ = pdf::PdfLibraryBytesInUse();
  }
  void TearDown() override {
    win::SetDialogDriver(nullptr);
    hostlink::Command() = {};
    pdf::PdfLibraryUnload();
    host_.UnloadClients();
    if (module_) win::FreeLibrary(module_);
  }

  // Runs the input step with the dialog's actions; answers whether it went on, the criteria in
  // `criteria` and the chosen path in `path`, and closes the PDF again.
  bool Choose(const std::string& actions, pdf::FilterCriteria& criteria, std::string& path) {
    std::string error;
    script_ = {};
    EXPECT_TRUE(tlhost::ParseDialogScript("dialog inputfile\n" + actions + "end\n", script_, error))
        << error;
    host_.dialogs().UseScript(&script_);
    OkDoc* pdf = nullptr;
    std::u16string wide;
    const bool chosen = ChooseInputPdf(pdf, wide, criteria).ok();
    EXPECT_EQ(pdf == nullptr, !chosen);
    EXPECT_EQ(wide.empty(), !chosen);
    if (pdf) pdf::ClosePdf(pdf);
    path.assign(wide.begin(), wide.end());
    return chosen;
  }
  std::vector<std::string> AlertTexts() {
    std::vector<std::string> texts;
    for (const auto& alert : host_.recorder().alerts) texts.push_back(alert.text);
    return texts;
  }
  const tlhost::HostDialog& LastDialog() { return host_.dialogs().history().back(); }

  win::HMODULE module_ = nullptr;
  tlhost::Host host_;
  fixtures::ReviewedPdf pdf_;
  tlhost::DialogScript script_;
  size_t baseline_ = 0;
};

// The PDF beside the source is proposed; each choice of kinds reaches the criteria, the custom
// filter through its native dialog with the date test on; a cancelled file chooser keeps the
// path typed; every run starts again from the first choice.
TEST_F(InputDialogTest, ChoicesReachTheCriteria) {
  const std::string proposed = pdf_.directory() + "/chapter1.pdf";
  std::filesystem::copy_file(pdf_.annotatedPdf(), proposed);
  const std::string typed = "  text 3 " + pdf_.annotatedPdf() + "\n";
  const uint32_t changes = pdf::Insert | pdf::Delete | pdf::Replace;
  const struct {
    std::string actions;
    std::vector<std::string> chooser;  // the file chooser's answers to the browse button
    std::string path;
    uint32_t kinds;
    bool dates;
  } rows[] = {
      {"  press 1\n", {}, proposed, pdf::kAllCommentKinds, false},
      {typed + "  choose 11\n  press 1\n", {}, pdf_.annotatedPdf(), changes, false},
      {typed + "  choose 12\n  press 1\n", {}, pdf_.annotatedPdf(), pdf::kAllCommentKinds, true},
      {"  text 3 " + pdf_.exportedPdf() + "\n  press 4\n  press 4\n  press 1\n",
       {"cancel", pdf_.annotatedPdf()},
       pdf_.annotatedPdf(),
       pdf::kAllCommentKinds,
       false},
  };
  ContinuingUser user;
  win::SetDialogDriver(&user);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.actions);
    for (const std::string& answer : row.chooser) host_.responder().QueueChosenFile(answer);
    pdf::FilterCriteria criteria;
    std::string path;
    ASSERT_TRUE(Choose(row.actions, criteria, path));
    EXPECT_EQ(path, row.path);
    EXPECT_EQ(LastDialog().items[kInputPathItem].text, row.path);
    EXPECT_EQ(LastDialog().items[kInputFirstChoiceItem].state,
              row.actions.find("choose") == std::string::npos ? 1 : 0);
    EXPECT_EQ(criteria.kindMask, row.kinds);
    EXPECT_EQ(criteria.dateFilterOn, row.dates);
    EXPECT_EQ(criteria.acceptedAuthors, (pdf::AuthorSet{UiString(support::MSG_ANONYMOUS), "Mika"}));
    EXPECT_TRUE(criteria.knownAuthors.empty());  // the scan's authors stay with the import
  }
  EXPECT_EQ(user.names, std::vector<std::string>{"customfilterdialog"});
}

// A file that is no PDF, then no path: each is refused with its message and the dialog stays
// open until a good PDF is confirmed.
TEST_F(InputDialogTest, BadPathsAreRefusedAndTheDialogStaysOpen) {
  const std::string lower = pdf_.directory() + "/lower.pdf";
  std::ofstream(lower) << "%pdf-1.7\n";
  pdf::FilterCriteria criteria;
  std::string path;
  ASSERT_TRUE(Choose("  text 3 " + lower + "\n  press 1\n  text 3 \n  press 1\n  text 3 " +
                         pdf_.annotatedPdf() + "\n  confirm\n",
                     criteria, path));
  EXPECT_EQ(AlertTexts(), (std::vector<std::string>{UiString(support::MSG_NOT_PDF),
                                                    UiString(support::MSG_INVALID_PATH)}));
  EXPECT_EQ(host_.dialogs().history().size(), 1u);
  EXPECT_EQ(path, pdf_.annotatedPdf());
}

// Cancel, the close box, and a custom filter nobody answers: nothing is opened and nothing of
// the PDF or the criteria stays with the library.
TEST_F(InputDialogTest, CancelPathsOpenNothing) {
  for (const std::string& actions :
       std::vector<std::string>{"  press 2\n", "  close\n",
                                "  text 3 " + pdf_.annotatedPdf() + "\n  choose 12\n  press 1\n"}) {
    SCOPED_TRACE(actions);
    {
      pdf::FilterCriteria criteria;
      std::string path;
      EXPECT_FALSE(Choose(actions, criteria, path));
    }
    EXPECT_EQ(pdf::PdfLibraryBytesInUse(), baseline_);
  }
}

// Another client's PDF opens with the default criteria; a missing one is refused on the console
// with the reason as the call's answer.
TEST_F(InputDialogTest, CallerPdfOpensWithTheDefaultsOrIsRefused) {
  hostlink::Command().calledFromClient = 1;
  hostlink::Command().callerPdfPath = pdf_.annotatedPdf();
  pdf::FilterCriteria criteria;
  OkDoc* pdf = nullptr;
  std::u16string path;
  ASSERT_TRUE(OpenCallerPdf(pdf, path, criteria).ok());
  EXPECT_EQ(criteria.kindMask, pdf::kAllCommentKinds);
  EXPECT_EQ(criteria.acceptedAuthors, (pdf::AuthorSet{UiString(support::MSG_ANONYMOUS), "Mika"}));
  pdf::ClosePdf(pdf);

  hostlink::Command().callerPdfPath = pdf_.directory() + "/missing.pdf";
  EXPECT_FALSE(OpenCallerPdf(pdf, path, criteria).ok());
  EXPECT_EQ(pdf, nullptr);
  EXPECT_TRUE(path.empty());
  EXPECT_TRUE(host_.recorder().alerts.empty());
  EXPECT_EQ(host_.recorder().console, "\n" + UiString(support::MSG_INVALID_PATH));
  EXPECT_EQ(host_.client(0).returnValue(), hostlink::kRefusalNoSuchFile);
}

}  // namespace
}  // namespace osprevan::ui

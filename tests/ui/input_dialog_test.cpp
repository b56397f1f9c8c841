// Choosing the PDF: the input-file dialog as the host runs it, with the plug-in's code in the
// test process and the PDF library loaded as the import command loads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/dialogs/dialog_script.h"
#include "hostlink/call_refusal.h"
#include "hostlink/caller.h"
#include "pdf/comment_kind.h"
#include "pdf/filter_criteria.h"
#include "pdf/opened_pdf.h"
#include "pdf/pdf_checks.h"
#include "pdf/pdf_document.h"
#include "platform/win/dialog_input.h"
#include "platform/win/native_dialog.h"
#include "reviewed_pdf.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "tests/apply/in_process_plugin.h"
#include "ui/input_dialog.h"

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

// The built plug-in stands as the module, so that its string table and dialog templates are
// found; the code that runs is the copy linked into this test.
class InputDialogTest : public apply::InProcessPluginTest {
 protected:
  void SetUp() override {
    InProcessPluginTest::SetUp();
    ASSERT_TRUE(pdf_.ExportExample("chapter1.tlv")) << pdf_.error();
    ASSERT_TRUE(pdf_.Review(R"({"comments": [
        {"kind": "highlight", "find": "マニュアル", "author": "Mika"},
        {"kind": "note", "point": [72, 72], "page": 0}]})"))
        << pdf_.error();
    std::vector<tlhost::PropValue> returned;
    tolvane::ObjectId doc = 0;
    ASSERT_EQ(host_.engine().OpenFile(pdf_.sourcePath(), {}, doc, returned), 0);
    host_.engine().session().activeDocument = doc;
  }
  void TearDown() override {
    win::SetDialogDriver(nullptr);
    InProcessPluginTest::TearDown();
  }

  // Runs the input step as an import does, with the dialog's actions: the choice, the PDF opened,
  // the criteria narrowed. Answers whether it went on, the criteria in `criteria` and the chosen
  // path in `path`; the PDF closes again at the end.
  bool Choose(const std::string& actions, pdf::FilterCriteria& criteria, std::string& path) {
    std::string error;
    script_ = {};
    EXPECT_TRUE(tlhost::ParseDialogScript("dialog inputfile\n" + actions + "end\n", script_, error))
        << error;
    host_.dialogs().UseScript(&script_);
    InputChoice choice;
    if (!ChooseInputPdf(choice).ok()) return false;
    const pdf::OpenedPdf pdf(choice.path);
    EXPECT_TRUE(pdf.status().ok()) << pdf.status().reason();
    pdf::PrepareFilterCriteria(choice.path, criteria);
    if (!NarrowCriteria(choice, pdf, criteria).ok()) return false;
    path.assign(choice.path.begin(), choice.path.end());
    return true;
  }
  std::vector<std::string> AlertTexts() {
    std::vector<std::string> texts;
    for (const auto& alert : host_.recorder().alerts) texts.push_back(alert.text);
    return texts;
  }

  fixtures::ReviewedPdf pdf_;
  tlhost::DialogScript script_;
};

// What reaches the chosen path and the criteria. The PDF beside the source is proposed; each
// choice of kinds reaches the criteria, the custom filter through its native dialog with the
// date test on and the PDF's authors; a cancelled file chooser keeps the path typed; every run
// starts again from the first choice (the row after the custom filter would turn its dates on).
// A file that is no PDF, then no path, are each refused with their message while the dialog
// stays open. Cancel, the close box, and a custom filter nobody answers choose nothing. Whatever
// the outcome, nothing of the PDF or the criteria stays with the library.
TEST_F(InputDialogTest, WhatReachesThePathAndTheCriteria) {
  const std::string proposed = pdf_.directory() + "/chapter1.pdf";
  std::filesystem::copy_file(pdf_.annotatedPdf(), proposed);
  const std::string lower = pdf_.directory() + "/lower.pdf";
  std::ofstream(lower) << "%pdf-1.7\n";
  const std::string good = pdf_.annotatedPdf();
  const std::string typed = "  text 3 " + good + "\n";
  const std::string browse =
      "  text 3 " + pdf_.exportedPdf() + "\n  press 4\n  press 4\n  press 1\n";
  const std::string refused = "  text 3 " + lower + "\n  press 1\n  text 3 \n  press 1\n" + typed;
  const std::vector<std::string> none,
      refusals = {UiString(support::MSG_NOT_PDF), UiString(support::MSG_INVALID_PATH)};
  const uint32_t all = pdf::kAllCommentKinds, changes = pdf::Insert | pdf::Delete | pdf::Replace;
  const struct {
    std::string actions;
    std::vector<std::string> chooser;  // the file chooser's answers to the browse button
    bool filterAnswered;               // someone continues the custom filter's dialog
    std::string path;                  // empty: nothing chosen
    uint32_t kinds;
    bool dates;
    std::vector<std::string> alerts;
  } rows[] = {
      {"  press 1\n", {}, true, proposed, all, false, none},
      {typed + "  choose 11\n  press 1\n", {}, true, good, changes, false, none},
      {typed + "  choose 12\n  press 1\n", {}, true, good, all, true, none},
      {browse, {"cancel", good}, true, good, all, false, none},
      {refused + "  confirm\n", {}, true, good, all, false, refusals},
      {"  press 2\n", {}, true, "", 0, false, none},
      {"  close\n", {}, true, "", 0, false, none},
      {typed + "  choose 12\n  press 1\n", {}, false, "", 0, false, none},
  };
  // The library keeps the names it was asked for (atoms) until it is unloaded: the first
  // reading makes them, and what stays in use after it is the measure for the others.
  size_t baseline = 0;
  ContinuingUser user;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.actions);
    host_.recorder().Clear();
    for (const std::string& answer : row.chooser) host_.responder().QueueChosenFile(answer);
    win::SetDialogDriver(row.filterAnswered ? &user : nullptr);
    {
      pdf::FilterCriteria criteria;
      std::string path;
      EXPECT_EQ(Choose(row.actions, criteria, path), !row.path.empty());
      EXPECT_EQ(path, row.path);
      if (!row.path.empty()) {
        EXPECT_EQ(criteria.kindMask, row.kinds);
        EXPECT_EQ(criteria.dateFilterOn, row.dates);
        // Only the custom filter, which has dates, scans for the authors to choose among.
        EXPECT_EQ(criteria.everyAuthor, !row.dates);
        if (row.dates) {
          EXPECT_EQ(criteria.acceptedAuthors,
                    (pdf::AuthorSet{UiString(support::MSG_ANONYMOUS), "Mika"}));
        }
        EXPECT_TRUE(criteria.knownAuthors.empty());  // the scan's authors stay with the import
      }
    }
    EXPECT_EQ(AlertTexts(), row.alerts);
    if (&row == rows) baseline = pdf::PdfLibraryBytesInUse();
    EXPECT_EQ(pdf::PdfLibraryBytesInUse(), baseline);
  }
}

// Another client's missing PDF is refused on the console, with the reason as the call's answer;
// the menu's user gets an alert and the caller no answer.
TEST_F(InputDialogTest, AMissingPdfIsRefusedWhereTheCallerReads) {
  const std::string missing = pdf_.directory() + "/missing.pdf";
  EXPECT_EQ(pdf::ValidatePdfPath(hostlink::Caller{true}, missing, false).code(),
            support::StatusCode::kRefused);
  EXPECT_TRUE(host_.recorder().alerts.empty());
  EXPECT_EQ(host_.recorder().console, "\n" + UiString(support::MSG_INVALID_PATH));
  EXPECT_EQ(host_.client(0).returnValue(), hostlink::kRefusalNoSuchFile);

  host_.recorder().Clear();
  EXPECT_FALSE(pdf::ValidatePdfPath(hostlink::Caller{}, missing).ok());
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{UiString(support::MSG_INVALID_PATH)});
  EXPECT_EQ(host_.recorder().console, "");
}

}  // namespace
}  // namespace osprevan::ui

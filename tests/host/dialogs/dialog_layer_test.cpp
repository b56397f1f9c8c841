#include "host/dialogs/dialog_layer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "host/dialogs/native_dialog_driver.h"
#include "plugin_host_fixture.h"
#include "reviewed_pdf.h"
#include "tests/host/dialogs/code_wording.h"

namespace tlhost {
namespace {

using win::HWND;

// Plays the native driver and notes how each native dialog stands towards the main window.
class OwnerProbe : public win::DialogDriver {
 public:
  explicit OwnerProbe(win::DialogDriver& inner) : inner_(inner) {}
  bool Step(HWND dialog, const std::string& templateName) override {
    owners.push_back(win::GetWindow(dialog, win::GW_OWNER));
    ownerEnabled.push_back(win::IsWindowEnabled(owners.back()) != win::FALSE);
    return inner_.Step(dialog, templateName);
  }
  std::vector<HWND> owners;
  std::vector<bool> ownerEnabled;

 private:
  win::DialogDriver& inner_;
};

using PluginDialogs = osprevan::testing::PluginHostTest;

TEST_F(PluginDialogs, TheFilterDialogIsOwnedByTheMainWindowAndPlayedFromTheScript) {
  osprevan::fixtures::ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportExample("chapter1.tlv")) << pdf.error();
  host().engine().session().userDir = pdf.directory();
  std::vector<PropValue> returned;
  tolvane::ObjectId doc = 0;
  ASSERT_EQ(host().engine().OpenFile(pdf.sourcePath(), {}, doc, returned), 0);
  host().engine().SetProp(0, 0, tolvane::P_SESSION_ACTIVE_DOC, Value::Id(doc));
  DialogScript script;
  std::string error;
  ASSERT_TRUE(
      ParseDialogScript("dialog warningdialog\n  press 3\nend\n"
                        "dialog inputfile\n  text 3 " +
                            pdf.exportedPdf() +
                            "\n  choose 12\n  press 1\nend\n"
                            "dialog CUSTOMFILTERDIALOG\n  check 113\n  date 108 none\n"
                            "  press 100\nend\n",
                        script, error))
      << error;
  host().dialogs().UseScript(&script);
  std::ostringstream errors;
  const testing::CodeWording words;
  NativeDialogDriver native(host().recorder(), errors, words);
  native.UseScript(&script);
  OwnerProbe probe(native);
  win::DialogDriver* const previous = win::SetDialogDriver(&probe);
  LoadAndInitialize();
  const bool ran = host().RunCommand("Osprevan");
  win::SetDialogDriver(previous);
  ASSERT_TRUE(ran);

  EXPECT_EQ(host().recorder().nativeDialogs, std::vector<std::string>{"customfilterdialog"});
  ASSERT_EQ(probe.owners.size(), 3u);  // three actions
  for (size_t i = 0; i < probe.owners.size(); ++i) {
    EXPECT_EQ(probe.owners[i], host().mainWindow());
    EXPECT_FALSE(probe.ownerEnabled[i]);
  }
  EXPECT_TRUE(win::IsWindowEnabled(host().mainWindow()));
  EXPECT_EQ(errors.str(), "");
  EXPECT_TRUE(host().recorder().ImportRan()) << host().recorder().console;
}

}  // namespace
}  // namespace tlhost

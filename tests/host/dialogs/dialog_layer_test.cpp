#include "host/dialogs/dialog_layer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "host/dialogs/native_dialog_driver.h"
#include "platform/win/utf16.h"
#include "plugin_host_fixture.h"
#include "reviewed_pdf.h"

namespace tlhost {
namespace {

namespace fs = std::filesystem;
using win::HWND;

TEST(HostWindows, TheMainWindowLivesAsLongAsTheHost) {
  HWND main = nullptr;
  {
    Host host;
    main = host.mainWindow();
    ASSERT_TRUE(win::IsWindow(main));
    EXPECT_EQ(win::GetForegroundWindow(), main);
    EXPECT_EQ(win::GetWindow(main, win::GW_OWNER), nullptr);
    char16_t title[16] = {};
    win::GetWindowText(main, title, 16);
    EXPECT_EQ(std::u16string(title), u"Tolvane");
  }
  EXPECT_FALSE(win::IsWindow(main));
}

// Serves one line at a time and notes which window was in the foreground when the host asked
// for it: the host asks while the dialog it shows is running.
class ForegroundProbe : public std::streambuf {
 public:
  struct Seen {
    HWND window;
    HWND owner;
    std::string title;
  };
  explicit ForegroundProbe(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::vector<Seen> seen;

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (next_ == lines_.size()) return traits_type::eof();
    const HWND window = win::GetForegroundWindow();
    std::vector<char16_t> title(static_cast<size_t>(win::GetWindowTextLength(window)) + 1);
    win::GetWindowText(window, title.data(), static_cast<int>(title.size()));
    seen.push_back({window, win::GetWindow(window, win::GW_OWNER), win::WideToUtf8(title.data())});
    current_ = lines_[next_++] + "\n";
    setg(current_.data(), current_.data(), current_.data() + current_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::vector<std::string> lines_;
  size_t next_ = 0;
  std::string current_;
};

class PluginDialogs : public osprevan::testing::PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    dir_ = fs::temp_directory_path() / ("tolvane_host_dialogs_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    host().engine().session().userDir = dir_.string();
  }
  void TearDown() override {
    win::SetDialogDriver(previousDriver_);
    PluginHostTest::TearDown();
    fs::remove_all(dir_);
  }
  void OpenActive(const std::string& path) {
    std::vector<PropValue> returned;
    tolvane::ObjectId id = 0;
    ASSERT_EQ(host().engine().OpenFile(path, {}, id, returned), 0);
    host().engine().SetProp(0, 0, tolvane::P_SESSION_ACTIVE_DOC, Value::Id(id));
  }
  bool ImportRan() { return host().recorder().ImportRan(); }
  std::string Recorded() {
    std::string text = host().recorder().console;
    for (const AlertRecord& a : host().recorder().alerts) text += "\nalert: " + a.text;
    for (const UsageRecord& u : host().recorder().usage) text += "\nusage: " + u.feature;
    return text;
  }
  fs::path dir_;
  win::DialogDriver* previousDriver_ = nullptr;
};

TEST_F(PluginDialogs, EachHostDialogRunsInItsOwnForegroundWindowOwnedByTheMainWindow) {
  host().engine().session().activeDocument = host().engine().NewDocument("/tmp/ch1.tlv");
  ForegroundProbe probe({"press 3", "close"});
  std::istream in(&probe);
  std::ostringstream out;
  host().dialogs().UseTerminal(&in, &out);
  LoadAndInitialize();
  ASSERT_TRUE(host().RunCommand("Osprevan"));

  const auto& history = host().dialogs().history();
  ASSERT_EQ(history.size(), 2u);
  ASSERT_EQ(probe.seen.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_NE(probe.seen[i].window, host().mainWindow());
    EXPECT_EQ(probe.seen[i].owner, host().mainWindow());
    EXPECT_EQ(probe.seen[i].title, history[i].layout.title);
    EXPECT_FALSE(win::IsWindow(probe.seen[i].window));
  }
  EXPECT_NE(probe.seen[0].window, probe.seen[1].window);
  EXPECT_EQ(win::GetForegroundWindow(), host().mainWindow());
}

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

TEST_F(PluginDialogs, TheFilterDialogIsOwnedByTheMainWindowAndPlayedFromTheScript) {
  osprevan::fixtures::ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportExample("chapter1.tlv")) << pdf.error();
  OpenActive(pdf.sourcePath());
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
  NativeDialogDriver native(host().recorder(), errors);
  native.UseScript(&script);
  OwnerProbe probe(native);
  previousDriver_ = win::SetDialogDriver(&probe);
  LoadAndInitialize();
  ASSERT_TRUE(host().RunCommand("Osprevan"));

  EXPECT_EQ(host().recorder().nativeDialogs, std::vector<std::string>{"customfilterdialog"});
  ASSERT_EQ(probe.owners.size(), 3u);  // three actions
  for (size_t i = 0; i < probe.owners.size(); ++i) {
    EXPECT_EQ(probe.owners[i], host().mainWindow());
    EXPECT_FALSE(probe.ownerEnabled[i]);
  }
  EXPECT_TRUE(win::IsWindowEnabled(host().mainWindow()));
  EXPECT_EQ(errors.str(), "");
  EXPECT_TRUE(ImportRan()) << Recorded();
}

TEST_F(PluginDialogs, AFailedScriptActionCancelsTheFilterDialogAndTheImport) {
  osprevan::fixtures::ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportExample("chapter1.tlv")) << pdf.error();
  OpenActive(pdf.sourcePath());
  DialogScript script;
  std::string error;
  ASSERT_TRUE(
      ParseDialogScript("dialog warningdialog\n  press 3\nend\n"
                        "dialog inputfile\n  text 3 " +
                            pdf.exportedPdf() +
                            "\n  choose 12\n  press 1\nend\n"
                            "dialog customfilterdialog\n  only 104 Nobody\n"
                            "  press 100\nend\n",
                        script, error))
      << error;
  host().dialogs().UseScript(&script);
  std::ostringstream errors;
  NativeDialogDriver native(host().recorder(), errors);
  native.UseScript(&script);
  previousDriver_ = win::SetDialogDriver(&native);
  LoadAndInitialize();
  ASSERT_TRUE(host().RunCommand("Osprevan"));

  EXPECT_EQ(host().recorder().nativeDialogs, std::vector<std::string>{"customfilterdialog"});
  EXPECT_EQ(errors.str(), "tolvane: dialog customfilterdialog: no entry \"Nobody\" in list 104\n");
  EXPECT_FALSE(ImportRan());
}

}  // namespace
}  // namespace tlhost

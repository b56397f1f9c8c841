#include <gtest/gtest.h>

#include <unicode/putil.h>

#include <cstdio>
#include <memory>
#include <sstream>

#include "platform/tlruntime/tl_runtime.h"
#include "platform/win/task_allocator.h"
#include "plugin_host_fixture.h"

namespace osprevan::testing {
namespace {

using namespace tolvane;

TEST_F(PluginHostTest, HandshakeWithEveryInterfaceRegistersTheClient) {
  tlhost::ClientConnection& client = Load();
  EXPECT_EQ(client.initResult(), 0);
  ASSERT_TRUE(client.registered());
  EXPECT_EQ(client.registeredVersion(), CLIENT_INTERFACE_VERSION);
  EXPECT_NE(client.moduleHandedBack(), nullptr);  // interface 16 received the module handle
  EXPECT_EQ(client.keepAliveReferences(), 1);
  // The client read its own version resource.
  ASSERT_TRUE(client.registeredInfo().has_value());
  const auto& info = *client.registeredInfo();
  ASSERT_FALSE(info.empty());
  EXPECT_EQ(info.front().first, 2);
  EXPECT_EQ(info.front().second, "Osprevan");
  for (size_t i = 1; i < info.size(); ++i) EXPECT_LT(info[i - 1].first, info[i].first);
}

TEST_F(PluginHostTest, WithoutProviderOrMainInterfaceTheClientStaysUnlinked) {
  host().handshake().passProvider = false;
  EXPECT_EQ(Load().initResult(), -1);
  host().handshake().passProvider = true;
  host().handshake().supplied.reset(HOST_IF_MAIN);
  tlhost::ClientConnection& client = Load();
  EXPECT_EQ(client.initResult(), -1);
  EXPECT_FALSE(client.registered());
  EXPECT_EQ(client.keepAliveReferences(), 0);
}

TEST_F(PluginHostTest, MainInterfaceAloneIsEnoughAndOptionalOnesFailSoftly) {
  host().handshake().supplied.reset();
  host().handshake().supplied.set(HOST_IF_MAIN);
  tlhost::ClientConnection& client = Load();
  ASSERT_EQ(client.initResult(), 0);
  EXPECT_EQ(client.moduleHandedBack(), nullptr);  // no interface 16
  client.Initialize(INIT_STARTUP);
  EXPECT_NE(host().ui().FindCommandByTag("Osprevan"), nullptr);
  // The usage event needs interface 11: it is lost, the command still runs and reports.
  EXPECT_TRUE(host().RunCommand("Osprevan"));
  EXPECT_TRUE(host().recorder().usage.empty());
  ASSERT_EQ(host().recorder().alerts.size(), 1u);  // no active document
}

TEST_F(PluginHostTest, NullModuleHandleRegistersWithoutClientInformation) {
  host().handshake().passModuleHandle = false;
  tlhost::ClientConnection& client = Load();
  ASSERT_EQ(client.initResult(), 0);
  EXPECT_FALSE(client.registeredInfo().has_value());
  std::vector<uint8_t> bytes;
  EXPECT_EQ(client.GetResource(0, "", bytes), E_FAIL);  // no module, no path
}

TEST_F(PluginHostTest, HostSuppliedClientInformationIsPassedOnUnread) {
  host().handshake().clientInfo = std::vector<std::pair<int32_t, std::string>>{{2, "FromHost"}};
  tlhost::ClientConnection& client = Load();
  ASSERT_TRUE(client.registeredInfo().has_value());
  ASSERT_EQ(client.registeredInfo()->size(), 1u);
  EXPECT_EQ(client.registeredInfo()->front().second, "FromHost");
}

TEST_F(PluginHostTest, GetResourceOfTypeZeroAnswersThePathWithItsZero) {
  tlhost::ClientConnection& client = Load();
  std::vector<uint8_t> bytes;
  ASSERT_EQ(client.GetResource(0, "", bytes), S_OK);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), 0);
  const std::string path(reinterpret_cast<const char*>(bytes.data()));
  EXPECT_EQ(path.size() + 1, bytes.size());
  EXPECT_NE(path.find("libosprevan.so"), std::string::npos);
  EXPECT_EQ(client.GetResource(5, "nosuchdialog", bytes), E_FAIL);
}

TEST_F(PluginHostTest, CmsCommandAnswersAnEmptySuccess) {
  tlhost::ClientConnection& client = Load();
  TCmsResult result{7, reinterpret_cast<char*>(1), {3, nullptr}};
  EXPECT_EQ(client.CmsCommand(result), S_OK);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.text, nullptr);
  EXPECT_EQ(result.values.len, 0u);
}

TEST_F(PluginHostTest, ImportCommandSitsAtTheSeparatorOfBothMenus) {
  LoadAndInitialize();
  const tlhost::CommandRecord* command = host().ui().FindCommandByTag("Osprevan");
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->number, 1);
  EXPECT_EQ(command->label, "PDF 注釈...");
  EXPECT_EQ(command->shortcut, "\\!pdf");
  EXPECT_EQ(command->attribute1, 28);
  EXPECT_EQ(command->attribute2, 1);
  for (const char* menu : {"ImportMenu", "BookImportMenu"}) {
    const auto contents = host().ui().MenuContents(menu);
    const auto separator = std::find(contents.begin(), contents.end(), "Separator1");
    ASSERT_NE(separator, contents.end()) << menu;
    ASSERT_NE(separator + 1, contents.end()) << menu;
    EXPECT_EQ(*(separator + 1), "Osprevan") << menu;
  }
}

TEST_F(PluginHostTest, QuickMenusGiveTheSecondAttributeThree) {
  host().engine().SetProp(0, 0, P_SESSION_STANDARD_MENUS, tlhost::Value::Int(0));
  LoadAndInitialize();
  ASSERT_NE(host().ui().FindCommandByTag("Osprevan"), nullptr);
  EXPECT_EQ(host().ui().FindCommandByTag("Osprevan")->attribute2, 3);
}

TEST_F(PluginHostTest, HostVersionEightDefinesNothing) {
  SetSession(8, "Tolvane");
  LoadAndInitialize();
  EXPECT_EQ(host().ui().FindCommandByTag("Osprevan"), nullptr);
}

TEST_F(PluginHostTest, LaterInitialisationDefinesNoCommandAndAsksNoNotification) {
  tlhost::ClientConnection& client = LoadAndInitialize(INIT_LATER);
  EXPECT_EQ(host().ui().FindCommandByTag("Osprevan"), nullptr);
  // The call from another client is not delivered: the client never asked for it.
  EXPECT_EQ(client.Notify(NOTE_CLIENT_CALL, 0, "/tmp/x.pdf", 0), S_FALSE);
  EXPECT_TRUE(host().recorder().console.empty());
}

TEST_F(PluginHostTest, NoActiveDocumentShowsMessageThirteenAndPairsMemoryServices) {
  LoadAndInitialize();
  const int64_t starts = TlMemStartupCount();
  const int64_t stops = TlMemShutdownCount();
  ASSERT_TRUE(host().RunCommand("Osprevan"));
  ASSERT_EQ(host().recorder().usage.size(), 1u);
  EXPECT_EQ(host().recorder().usage[0].category, "TolvaneCore");
  EXPECT_EQ(host().recorder().usage[0].feature, "ReviewWorkflow");
  EXPECT_EQ(host().recorder().usage[0].event, "Osprevan");
  ASSERT_EQ(host().recorder().alerts.size(), 1u);
  EXPECT_EQ(
      host().recorder().alerts[0].text,
      "アクティブな文書またはブックがありません。文書またはブックを開いて注釈を読み込みます。");
  EXPECT_EQ(TlMemStartupCount(), starts + 1);
  EXPECT_EQ(TlMemShutdownCount(), stops + 1);
  EXPECT_EQ(TlMemActiveStarts(), 0);
}

TEST_F(PluginHostTest, CallFromAnotherClientWritesMessagesToTheConsole) {
  tlhost::ClientConnection& client = LoadAndInitialize();
  EXPECT_EQ(client.Notify(NOTE_CLIENT_CALL, 0, "/tmp/review.pdf", 0), S_OK);
  EXPECT_TRUE(host().recorder().alerts.empty());
  EXPECT_EQ(
      host().recorder().console,
      "\nCalled from client\n"
      "アクティブな文書またはブックがありません。文書またはブックを開いて注釈を読み込みます。");
  // Afterwards messages are alerts again.
  host().RunCommand("Osprevan");
  EXPECT_EQ(host().recorder().alerts.size(), 1u);
}

TEST_F(PluginHostTest, DroppingTheClientReleasesEveryInterfaceInOrder) {
  {
    tlhost::ClientConnection& client = LoadAndInitialize();
    client.Quit();
    // Callbacks after Quit are answered and harmless.
    EXPECT_EQ(client.Command(1), S_OK);
    EXPECT_EQ(client.Initialize(INIT_STARTUP), S_OK);
    client.Drop();
    std::vector<int> expected;
    for (int i = 0; i < HOST_IF_COUNT; ++i) expected.push_back(i);
    EXPECT_EQ(client.releaseOrder(), expected);
    EXPECT_EQ(client.keepAliveReferences(), 0);
    EXPECT_EQ(client.Command(1), E_FAIL);  // no longer linked
  }
}

TEST_F(PluginHostTest, ReturnedBlocksAreFreedOnceWhoeverOwnsThem) {
  for (bool hostOwns : {false, true}) {
    SCOPED_TRACE(hostOwns ? "host owns returned memory" : "client frees returned memory");
    host().handshake().hostOwnsMemory = hostOwns;
    const int64_t before = CoTaskMemOutstanding();
    tlhost::ClientConnection& client = LoadAndInitialize();
    client.Command(1);
    EXPECT_EQ(CoTaskMemOutstanding(), before);
    host().UnloadClients();
  }
}

TEST_F(PluginHostTest, BusyHostLeavesTheClientStanding) {
  LoadAndInitialize();
  host().faults().Fail("GetId", ERR_BUSY);
  EXPECT_TRUE(host().RunCommand("Osprevan"));
  EXPECT_EQ(host().recorder().alerts.size(), 1u);  // no target could be read: message 13
}

TEST(PluginExports, OnlyTheEntryPointIsExported) {
  const std::string command = "nm -D --defined-only " + PluginPath() + " | awk '{print $3}'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string output;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  EXPECT_EQ(output, "T_ApiClientInit\n");
}

}  // namespace
}  // namespace osprevan::testing

namespace osprevan::testing {
namespace {

// ICU is one library in the process, shared by the test and the plug-in. Each test runs in a
// process of its own under ctest; run alone, a test skips when another already set the folder.
class IcuDataTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    const char* current = u_getDataDirectory();
    if (current && *current) GTEST_SKIP() << "ICU's data folder is already set";
  }
};

TEST_F(IcuDataTest, HostDirectoryGivesIcuItsDataFolder) {
  host().engine().session().hostDir = "/opt/tolvane";
  Load();
  EXPECT_STREQ(u_getDataDirectory(), "/opt/tolvane/icu_data");
}

TEST_F(IcuDataTest, FailingHostCallLeavesItUnset) {
  host().faults().Fail("GetString", ERR_BUSY, 1);
  host().engine().session().hostDir = "/opt/tolvane";
  Load();
  EXPECT_STREQ(u_getDataDirectory(), "");
}

TEST_F(IcuDataTest, EmptyHostDirectoryLeavesItUnset) {
  host().engine().session().hostDir = "";
  LoadAndInitialize();
  EXPECT_STREQ(u_getDataDirectory(), "");
}

}  // namespace
}  // namespace osprevan::testing

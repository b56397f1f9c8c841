// The handshake and the callbacks as a host drives them, with the real plug-in library.
#include <gtest/gtest.h>

#include <unicode/putil.h>

#include <cstdio>
#include <memory>

#include "platform/tlruntime/tl_runtime.h"
#include "platform/win/task_allocator.h"
#include "plugin_host_fixture.h"
#include "plugin_messages.h"

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
  EXPECT_EQ(info.front(), (std::pair<int32_t, std::string>{2, "Osprevan"}));
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
  // The usage event needs interface 11: it is lost, the command still runs and reports.
  EXPECT_TRUE(host().RunCommand("Osprevan"));
  EXPECT_TRUE(host().recorder().usage.empty());
  EXPECT_EQ(host().recorder().alerts.size(), 1u);  // no active document
}

// Without a module handle the client registers without information and has no path to give;
// with one, resource type zero is the module's path with its terminating zero.
TEST_F(PluginHostTest, ModulePathAndClientInformation) {
  std::vector<uint8_t> bytes;
  tlhost::ClientConnection& client = Load();
  ASSERT_EQ(client.GetResource(0, "", bytes), S_OK);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), 0);
  const std::string path(reinterpret_cast<const char*>(bytes.data()));
  EXPECT_EQ(path.size() + 1, bytes.size());
  EXPECT_NE(path.find("libosprevan.so"), std::string::npos);
  EXPECT_EQ(client.GetResource(5, "nosuchdialog", bytes), E_FAIL);

  host().handshake().passModuleHandle = false;
  tlhost::ClientConnection& bare = Load();
  ASSERT_EQ(bare.initResult(), 0);
  EXPECT_FALSE(bare.registeredInfo().has_value());
  EXPECT_EQ(bare.GetResource(0, "", bytes), E_FAIL);

  // Information the host supplies is passed on unread.
  host().handshake().clientInfo = std::vector<std::pair<int32_t, std::string>>{{2, "FromHost"}};
  tlhost::ClientConnection& given = Load();
  ASSERT_TRUE(given.registeredInfo().has_value());
  EXPECT_EQ(*given.registeredInfo(),
            (std::vector<std::pair<int32_t, std::string>>{{2, "FromHost"}}));
}

TEST_F(PluginHostTest, CmsCommandAnswersAnEmptySuccess) {
  TCmsResult result{7, reinterpret_cast<char*>(1), {3, nullptr}};
  EXPECT_EQ(Load().CmsCommand(result), S_OK);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.text, nullptr);
  EXPECT_EQ(result.values.len, 0u);
}

// The command stands after the separator of both import menus, its second attribute following
// the host's menu set; hosts before version 9, and a later initialisation, get none.
TEST_F(PluginHostTest, ImportCommandFollowsTheHostsVersionAndMenus) {
  const struct {
    int version, standardMenus, kind, attribute2;  // 0: no command
  } cases[] = {{17, 1, INIT_STARTUP, 1},
               {17, 0, INIT_STARTUP, 3},
               {8, 1, INIT_STARTUP, 0},
               {17, 1, INIT_LATER, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.version << " " << c.standardMenus << " " << c.kind);
    host().UnloadClients();
    host().ui() = tlhost::UiRegistry();
    SetSession(c.version, "Tolvane");
    host().engine().SetProp(0, 0, P_SESSION_STANDARD_MENUS, tlhost::Value::Int(c.standardMenus));
    LoadAndInitialize(c.kind);
    const tlhost::CommandRecord* command = host().ui().FindCommandByTag("Osprevan");
    ASSERT_EQ(command != nullptr, c.attribute2 != 0);
    if (!command) continue;
    EXPECT_EQ(command->attribute2, c.attribute2);
    for (const char* menu : {"ImportMenu", "BookImportMenu"}) {
      const auto contents = host().ui().MenuContents(menu);
      const auto separator = std::find(contents.begin(), contents.end(), "Separator1");
      ASSERT_NE(separator, contents.end()) << menu;
      ASSERT_NE(separator + 1, contents.end()) << menu;
      EXPECT_EQ(*(separator + 1), "Osprevan") << menu;
    }
  }
  // After a later initialisation the call from another client is not delivered: the client
  // never asked for it.
  EXPECT_EQ(host().client(0).Notify(NOTE_CLIENT_CALL, 0, "/tmp/x.pdf", 0), S_FALSE);
  EXPECT_TRUE(host().recorder().console.empty());
}

// Without an active document the menu's user gets an alert, another client a console line
// (and afterwards messages are alerts again); a busy host reads no target either. The usage
// event is sent and the host's memory services are started and stopped once.
TEST_F(PluginHostTest, NoActiveDocumentIsSaidWhereTheCallerLooks) {
  const std::string message = fixtures::Message(support::MSG_NO_ACTIVE_DOCUMENT);
  tlhost::ClientConnection& client = LoadAndInitialize();
  const int64_t starts = TlMemStartupCount(), stops = TlMemShutdownCount();
  ASSERT_TRUE(host().RunCommand("Osprevan"));
  ASSERT_EQ(host().recorder().usage.size(), 1u);
  EXPECT_EQ(host().recorder().usage[0].category, "TolvaneCore");
  EXPECT_EQ(host().recorder().usage[0].feature, "ReviewWorkflow");
  EXPECT_EQ(host().recorder().usage[0].event, "Osprevan");
  EXPECT_EQ(host().recorder().alerts.at(0).text, message);
  EXPECT_EQ(TlMemStartupCount(), starts + 1);
  EXPECT_EQ(TlMemShutdownCount(), stops + 1);
  EXPECT_EQ(TlMemActiveStarts(), 0);

  EXPECT_EQ(client.Notify(NOTE_CLIENT_CALL, 0, "/tmp/review.pdf", 0), S_OK);
  EXPECT_EQ(host().recorder().alerts.size(), 1u);
  EXPECT_EQ(host().recorder().console, "\nCalled from client\n" + message);
  host().RunCommand("Osprevan");
  EXPECT_EQ(host().recorder().alerts.size(), 2u);

  host().faults().Fail("GetId", ERR_BUSY);
  EXPECT_TRUE(host().RunCommand("Osprevan"));
  EXPECT_EQ(host().recorder().alerts.size(), 3u);
}

TEST_F(PluginHostTest, DroppingTheClientReleasesEveryInterfaceInOrder) {
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

TEST_F(PluginHostTest, ReturnedBlocksAreFreedOnceWhoeverOwnsThem) {
  for (bool hostOwns : {false, true}) {
    SCOPED_TRACE(hostOwns ? "host owns returned memory" : "client frees returned memory");
    host().handshake().hostOwnsMemory = hostOwns;
    const int64_t before = CoTaskMemOutstanding();
    LoadAndInitialize().Command(1);
    EXPECT_EQ(CoTaskMemOutstanding(), before);
    host().UnloadClients();
  }
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

// ICU is one library in the process, shared by the test and the plug-in: the host's directory
// gives it its data folder, unless the host cannot say it. Each case runs in a process of its
// own under ctest; run alone, a case skips when another already set the folder.
class IcuDataTest
    : public PluginHostTest,
      public ::testing::WithParamInterface<std::tuple<const char*, bool, const char*>> {};

TEST_P(IcuDataTest, FollowsTheHostDirectory) {
  const auto& [hostDir, hostFails, expected] = GetParam();
  if (const char* current = u_getDataDirectory(); current && *current)
    GTEST_SKIP() << "ICU's data folder is already set";
  if (hostFails) host().faults().Fail("GetString", ERR_BUSY, 1);
  host().engine().session().hostDir = hostDir;
  tlhost::ClientConnection& client = Load();
  // Initialised, the plug-in asks again; the failing call is only the handshake's.
  if (!hostFails) client.Initialize(INIT_STARTUP);
  EXPECT_STREQ(u_getDataDirectory(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, IcuDataTest,
    ::testing::Values(std::tuple("/opt/tolvane", false, "/opt/tolvane/icu_data"),
                      std::tuple("/opt/tolvane", true, ""), std::tuple("", false, "")));

}  // namespace
}  // namespace osprevan::testing

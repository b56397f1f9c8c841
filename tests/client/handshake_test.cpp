// The handshake and a call from another client as a host drives them, with the real plug-in
// library.
#include <gtest/gtest.h>

#include <algorithm>

#include "plugin_host_fixture.h"
#include "plugin_messages.h"

namespace osprevan::testing {
namespace {

using namespace tolvane;

// Linked and initialised, the plug-in registers itself and puts its command after the
// separator of both import menus.
TEST_F(PluginHostTest, InitialisesAndRegistersItsCommand) {
  tlhost::ClientConnection& client = LoadAndInitialize();
  ASSERT_TRUE(client.registered());
  EXPECT_EQ(client.registeredVersion(), CLIENT_INTERFACE_VERSION);
  ASSERT_NE(host().ui().FindCommandByTag("Osprevan"), nullptr);
  for (const char* menu : {"ImportMenu", "BookImportMenu"}) {
    const auto contents = host().ui().MenuContents(menu);
    const auto at = std::find(contents.begin(), contents.end(), "Separator1");
    EXPECT_TRUE(at != contents.end() && at + 1 != contents.end() && at[1] == "Osprevan") << menu;
  }
}

// Another client's call is answered on the console, where the caller looks; the menu's user
// gets the same message as an alert afterwards.
TEST_F(PluginHostTest, AnswersACallFromAnotherClient) {
  const std::string message = fixtures::Message(support::MSG_NO_ACTIVE_DOCUMENT);
  tlhost::ClientConnection& client = LoadAndInitialize();
  EXPECT_EQ(client.Notify(NOTE_CLIENT_CALL, 0, "/tmp/review.pdf", 0), S_OK);
  EXPECT_TRUE(host().recorder().alerts.empty());
  EXPECT_EQ(host().recorder().console,
            "\n" + fixtures::Message(support::MSG_CALLED_FROM_CLIENT) + "\n" + message);
  ASSERT_TRUE(host().RunCommand("Osprevan"));
  ASSERT_EQ(host().recorder().alerts.size(), 1u);
  EXPECT_EQ(host().recorder().alerts[0].text, message);
}

}  // namespace
}  // namespace osprevan::testing

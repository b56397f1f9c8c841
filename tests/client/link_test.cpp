#include <gtest/gtest.h>

#include <algorithm>

#include "client/handlers.h"
#include "client/notifications.h"
#include "hostlink/host_link.h"

namespace osprevan::client {
namespace {

std::vector<std::string> g_fields;
std::string g_text;
int g_calls = 0;

void RecordNotify(int32_t, tolvane::ObjectId, const NotifyArgument& argument, int32_t) {
  ++g_calls;
  g_fields = argument.fields ? *argument.fields : std::vector<std::string>{};
  g_text = argument.text ? argument.text : "";
}

class NotifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CallbackHandlers();
    CallbackHandlers().notify = RecordNotify;
    g_calls = 0;
  }
  void TearDown() override { CallbackHandlers() = saved_; }
  Handlers saved_;
};

// Separator-joined fields, written with "|" for the separator.
std::string Joined(std::string text) {
  std::replace(text.begin(), text.end(), '|', '\x1E');
  return text;
}

TEST_F(NotifyTest, FieldListNotificationReachesTheHandlerAsFields) {
  auto* object = new TolvaneNotificationsC();
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"a|b", {"a", "b"}}, {"", {""}}, {"1||3|4|5|6|7", {"1", "", "3", "4", "5", "6", "7"}}};
  for (const auto& [text, fields] : cases) {
    object->Notify(tolvane::NOTE_FIELD_LIST, 0, Joined(text).c_str(), 0);
    EXPECT_EQ(g_fields, fields) << text;
  }
  // Every other notification passes its text unchanged.
  object->Notify(tolvane::NOTE_CLIENT_CALL, 0, Joined("a|b").c_str(), 0);
  EXPECT_TRUE(g_fields.empty());
  EXPECT_EQ(g_text, Joined("a|b"));
  EXPECT_EQ(g_calls, 4);
  object->Release();
}

}  // namespace
}  // namespace osprevan::client

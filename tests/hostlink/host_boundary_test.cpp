// What can go wrong where the plug-in calls the host: calls the host refuses, values of the
// wrong type, properties and texts out of range, and refusals told where the caller reads them.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "hostlink/call_refusal.h"
#include "hostlink/dialog_events.h"
#include "hostlink/held_text.h"
#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::hostlink {
namespace {

using support::StatusCode;

// The plug-in linked into the stand-in host, its module loaded for the string table.
class HostBoundaryTest : public apply::InProcessPluginTest {
 protected:
  void SetUp() override {
    InProcessPluginTest::SetUp();
    host_.recorder().Clear();
  }
  void TearDown() override {
    host_.faults().ClearAll();
    InProcessPluginTest::TearDown();
  }
};

// A read the host refuses answers the empty value, and its outcome says what kind of failure
// it was, with the host's number for the developer. The next call that goes through replaces
// the outcome: no refusal is taken for a later call's.
TEST_F(HostBoundaryTest, RefusedReadsAnswerEmptyAndSayWhy) {
  using tolvane::P_SESSION_ACTIVE_DOC, tolvane::P_SESSION_PRODUCT_NAME,
      tolvane::P_SESSION_VERSION_MAJOR;
  const struct {
    const char* operation;
    int32_t error;
    StatusCode code;
    std::function<bool()> answersEmpty;  // makes the read
  } cases[] = {
      {"GetInt", tolvane::ERR_BUSY, StatusCode::kRefused,
       [] { return HostGetInt(0, 0, P_SESSION_VERSION_MAJOR) == 0; }},
      {"GetString", tolvane::ERR_NOT_FOUND, StatusCode::kNotFound,
       [] { return HostGetString(0, 0, P_SESSION_PRODUCT_NAME).empty(); }},
      {"GetId", tolvane::ERR_FAILED, StatusCode::kFailed,
       [] { return HostGetId(0, 0, P_SESSION_ACTIVE_DOC) == 0; }},
      {"GetPropVal", tolvane::ERR_READ_ONLY, StatusCode::kRefused,
       [] { return HostGetPropVal(0, 0, P_SESSION_VERSION_MAJOR).type == tolvane::VT_NONE; }},
      {"GetId", tolvane::ERR_BAD_OBJECT, StatusCode::kNotFound,
       [] { return HostGetId(0, 0, P_SESSION_ACTIVE_DOC) == 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.operation + std::string(" ") + std::to_string(c.error));
    host_.faults().Fail(c.operation, c.error, 1);
    EXPECT_TRUE(c.answersEmpty());
    const support::Status outcome = LastCallStatus("the read");
    EXPECT_EQ(outcome.code(), c.code);
    EXPECT_NE(outcome.reason().find("the read (host error " + std::to_string(c.error) + ")"),
              std::string::npos)
        << outcome.reason();
    EXPECT_NE(HostGetInt(0, 0, tolvane::P_SESSION_VERSION_MAJOR), 0);
    EXPECT_TRUE(LastCallStatus("the next read").ok());
  }
}

// A property read as another type than it has, or a property or object that does not exist,
// answers the empty value and fails: the caller never gets a value of the wrong kind.
TEST_F(HostBoundaryTest, WrongTypesAndUnknownPropertiesAnswerNothing) {
  const struct {
    const char* what;
    bool asString;  // read with HostGetString, else with HostGetInt
    tolvane::ObjectId object;
    int32_t property;
    StatusCode code;
  } cases[] = {
      {"a text read as a number", false, 0, tolvane::P_SESSION_PRODUCT_NAME, StatusCode::kFailed},
      {"a number read as a text", true, 0, tolvane::P_SESSION_VERSION_MAJOR, StatusCode::kFailed},
      {"a property out of range", false, 0, 987654, StatusCode::kNotFound},
      {"a negative property", true, 0, -3, StatusCode::kNotFound},
      {"an object that is not there", false, 424242, tolvane::P_DOC_MODIFIED,
       StatusCode::kNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.asString) {
      EXPECT_EQ(HostGetString(c.object, c.object, c.property), "");
    } else {
      EXPECT_EQ(HostGetInt(c.object, c.object, c.property), 0);
    }
    EXPECT_EQ(LastCallStatus(c.what).code(), c.code);
  }
}

// Whatever a reviewer typed, the text given to the host is one it takes: every byte from 0 to
// 0x7F and characters of several lengths go in, and each control character the host refuses
// comes back as U+FFFD in its place, the others as they were.
TEST_F(HostBoundaryTest, HeldTextIsTakenByTheHostWithNothingLost) {
  tolvane::ObjectId doc = 0;
  ASSERT_EQ(host_.engine().LoadDocumentText(
                R"(<document version="1" next-unique="2"><page name="1" kind="body"/>)"
                R"(<flow name="A" main="yes" page="1"><p unique="1"></p></flow></document>)",
                "/virtual/held.tlv", doc),  // read from the text, never written
            0);
  tolvane::ObjectId paragraph = 0;
  ASSERT_EQ(host_.engine().GetObjectByUniqueId(doc, tolvane::OBJ_PARAGRAPH, 1, paragraph), 0);
  std::string typed;
  for (int byte = 0; byte < 0x80; ++byte) typed += static_cast<char>(byte);
  typed += "é→😀";
  const std::string held = HostHeldText(typed);
  (void)HostAddText(doc, {paragraph, 0}, held);
  ASSERT_TRUE(LastCallStatus("adding the text").ok());
  std::string read;
  for (const HostTextItem& item : HostGetText(doc, paragraph, tolvane::TI_STRING))
    read += item.text;
  EXPECT_EQ(read, held);
  std::string expected;
  for (int byte = 0; byte < 0x20; ++byte) {
    const bool kept = byte == '\t' || byte == '\n' || byte == '\r';
    expected += kept ? std::string(1, static_cast<char>(byte)) : "\xEF\xBF\xBD";
  }
  expected += typed.substr(0x20);
  EXPECT_EQ(held, expected);
}

// A refusal is told where the caller reads it: an alert for the person at the host, the console
// and the call's answer for another client; a read-only document is an alert for both. Each
// refuses the run with the reason given.
TEST_F(HostBoundaryTest, RefusalsReachTheCallerWhereItReads) {
  const std::string text = support::UiString(support::MSG_NOT_TAGGED);
  const struct {
    const char* what;
    bool otherClient;
    bool alwaysAlert;
    bool alerted;
    std::string console;
    int32_t answer;
  } cases[] = {
      {"a person", false, false, true, "", 0},
      {"another client", true, false, false, "\n" + text, kRefusalNotTagged},
      {"a person, alert", false, true, true, "", 0},
      {"another client, alert", true, true, true, "", kRefusalNotTagged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host_.recorder().Clear();
    host_.client(0).SetReturnValue(0);
    const Caller caller{c.otherClient};
    const support::Status refused =
        c.alwaysAlert ? RefuseWithAlert(caller, support::MSG_NOT_TAGGED, kRefusalNotTagged, "why")
                      : Refuse(caller, support::MSG_NOT_TAGGED, kRefusalNotTagged, "why");
    EXPECT_EQ(refused.code(), StatusCode::kRefused);
    EXPECT_EQ(refused.reason(), "why");
    ASSERT_EQ(host_.recorder().alerts.size(), c.alerted ? 1u : 0u);
    if (c.alerted) {
      EXPECT_EQ(host_.recorder().alerts[0].text, text);
    }
    EXPECT_EQ(host_.recorder().console, c.console);
    EXPECT_EQ(host_.client(0).returnValue(), c.answer);
  }
}

// A dialog's events reach its handler only while its run lasts; an event for a dialog that is
// not up, or after its run, goes nowhere.
TEST_F(HostBoundaryTest, DialogEventsReachOnlyTheRunningDialog) {
  int delivered = 0;
  DispatchDialogEvent(kInputDialogNumber, 1, 0);
  {
    const ScopedDialogEventHandler events(
        kInputDialogNumber, [&delivered](int32_t item, int32_t) { delivered += item; });
    DispatchDialogEvent(kInputDialogNumber, 3, 0);
    DispatchDialogEvent(kSummaryDialogNumber, 5, 0);
  }
  DispatchDialogEvent(kInputDialogNumber, 7, 0);
  EXPECT_EQ(delivered, 3);
}

}  // namespace
}  // namespace osprevan::hostlink

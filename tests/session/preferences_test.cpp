#include "session/preferences.h"

#include <gtest/gtest.h>

namespace osprevan::session {
namespace {

// Comments, blank lines and loose spelling are accepted; lines without key or value are
// ignored; a later line wins, and any other value means no.
TEST(Preferences, TheWarningKeyIsReadLeniently) {
  const std::pair<const char*, int> cases[] = {
      {";DontShowInitialWarning=Yes\r\n\r\n  dontshowinitialwarning  =  yes and more\r\n", 1},
      {"DontShowInitialWarning=YES", 1},
      {"DontShowInitialWarning=\n", 0},
      {"=Yes\n", 0},
      {"DontShowInitialWarning\n", 0},
      {"DontShowInitialWarning=Yes\nDontShowInitialWarning=\n", 1},
      {"DontShowInitialWarning=Yes\nDontShowInitialWarning=No\n", 0},
      {"DontShowInitialWarning=No\nDontShowInitialWarning=Yes\n", 1},
      {"DontShowInitialWarning=Yess\n", 0},
      {"OtherKey=Yes\n", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParsePreferences(text), value) << text;
}

TEST(Preferences, TheReportKeyIsReadByTheSameRules) {
  const std::string text = "DontShowInitialWarning=No\r\n writereport = yes\r\n";
  EXPECT_EQ(PreferenceValue(text, kReportKey), 1);
  EXPECT_EQ(PreferenceValue(text, kWarningKey), 0);
  EXPECT_EQ(PreferenceValue("WriteReport=No\n", kReportKey), 0);
}

}  // namespace
}  // namespace osprevan::session

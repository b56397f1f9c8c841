#include <gtest/gtest.h>

#include "session/preferences.h"

namespace osprevan::session {
namespace {

TEST(Preferences, CommentsBlankLinesAndLooseSpellingAreAccepted) {
  EXPECT_EQ(ParsePreferences(
                ";DontShowInitialWarning=Yes\r\n\r\n  dontshowinitialwarning  =  yes and more\r\n"),
            1);
  EXPECT_EQ(ParsePreferences("DontShowInitialWarning=YES"), 1);
}

TEST(Preferences, LinesWithoutKeyOrValueAreIgnored) {
  EXPECT_EQ(ParsePreferences("DontShowInitialWarning=\n"), 0);
  EXPECT_EQ(ParsePreferences("=Yes\n"), 0);
  EXPECT_EQ(ParsePreferences("DontShowInitialWarning\n"), 0);
  EXPECT_EQ(ParsePreferences("DontShowInitialWarning=Yes\nDontShowInitialWarning=\n"), 1);
}

TEST(Preferences, LaterLineWinsAndOtherValuesMeanNo) {
  EXPECT_EQ(ParsePreferences("DontShowInitialWarning=Yes\nDontShowInitialWarning=No\n"), 0);
  EXPECT_EQ(ParsePreferences("DontShowInitialWarning=No\nDontShowInitialWarning=Yes\n"), 1);
  EXPECT_EQ(ParsePreferences("DontShowInitialWarning=Yess\n"), 0);
  EXPECT_EQ(ParsePreferences("OtherKey=Yes\n"), 0);
}

TEST(Preferences, TheReportKeyIsReadByTheSameRules) {
  const std::string text = "DontShowInitialWarning=No\r\n writereport = yes\r\n";
  EXPECT_EQ(PreferenceValue(text, kReportKey), 1);
  EXPECT_EQ(PreferenceValue(text, kWarningKey), 0);
  EXPECT_EQ(PreferenceValue("WriteReport=No\n", kReportKey), 0);
}

}  // namespace
}  // namespace osprevan::session

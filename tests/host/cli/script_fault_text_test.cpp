// A dialog script's faults in words: every code in every language, and the values the script
// reader gives each fault are the very places its text fills.
#include "host/cli/script_fault_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/host/cli/every_language.h"
#include "text_places.h"

namespace tlhost {
namespace {

using osprevan::fixtures::PlacesOf;

TEST(ScriptFaultTextTest, EveryCodeHasATextInEveryLanguageWithTheSamePlaces) {
  testing::ExpectEveryKeyInEveryLanguage(ScriptFaultTextOf, ScriptFaultCode::Count);
}

TEST(ScriptFaultTextTest, EveryMalformedLineIsSaidWithItsLineAndValues) {
  const struct {
    std::string script;
    int line;
    std::string english, japanese;
  } cases[] = {
      {"alert maybe\n", 1, "line 1: alert needs yes, no or ok",
       "1 行目 : alert には yes、no、ok のいずれかを指定してください"},
      {"# answers\nfile\n", 2, "line 2: file needs a path or cancel",
       "2 行目 : file にはパスか cancel を指定してください"},
      {"dialog\n", 1, "line 1: dialog needs a name", "1 行目 : dialog には名前を指定してください"},
      {"end\n", 1, "line 1: end without dialog", "1 行目 : dialog のない end です"},
      {"press 3\n", 1, "line 1: \"press\" outside a dialog",
       "1 行目 : \"press\" が dialog の外にあります"},
      {"dialog d\n  check x\nend\n", 2, "line 2: check needs an item number",
       "2 行目 : check には項目番号を指定してください"},
      {"dialog d\n  select x\nend\n", 2, "line 2: select needs a list id",
       "2 行目 : select にはリストの ID を指定してください"},
      {"dialog d\n  only 4\nend\n", 2, "line 2: only needs an entry text",
       "2 行目 : only には項目のテキストを指定してください"},
      {"dialog d\n  date 5\nend\n", 2, "line 2: date needs a picker id and YYYY-MM-DD or none",
       "2 行目 : date には日付ピッカーの ID と YYYY-MM-DD または none を指定してください"},
      {"dialog d\n  date 5 2025-02-30\nend\n", 2, "line 2: no such date 2025-02-30",
       "2 行目 : 2025-02-30 という日付はありません"},
      {"dialog d\n  escape now\nend\n", 2, "line 2: escape takes nothing after it",
       "2 行目 : escape の後には何も指定できません"},
      {"dialog d\n  wave 3\nend\n", 2, "line 2: unknown action wave", "2 行目 : 不明な操作 wave"},
      {"dialog d\n  press 3\n", 2, "line 2: dialog d has no end",
       "2 行目 : dialog d に end がありません"},
  };
  std::set<ScriptFaultCode> seen;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    DialogScript script;
    ScriptFault fault;
    ASSERT_FALSE(ParseDialogScript(c.script, script, fault));
    EXPECT_EQ(fault.line, c.line);
    std::set<std::string> names;
    for (const auto& [name, value] : fault.values) names.insert(name);
    EXPECT_EQ(names, PlacesOf(ScriptFaultTextOf(UiLanguage::English, fault.code)));
    EXPECT_EQ(ScriptFaultText(UiLanguage::English, fault), c.english);
    EXPECT_EQ(ScriptFaultText(UiLanguage::Japanese, fault), c.japanese);
    seen.insert(fault.code);
  }
  // Every fault but None is among the cases.
  EXPECT_EQ(seen.size(), static_cast<size_t>(ScriptFaultCode::Count) - 1);
}

}  // namespace
}  // namespace tlhost

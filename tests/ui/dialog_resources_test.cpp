#include <gtest/gtest.h>

#include "platform/win/dialog_template.h"
#include "platform/win/resources.h"
#include "tests/support/plugin_module.h"

namespace osprevan::ui::testing {
namespace {

class DialogResources : public support::testing::PluginResources {
 protected:
  win::DialogTemplate Template(const std::string& name) {
    win::ResourceData data;
    EXPECT_TRUE(win::FindResource(module_, win::RT_DIALOG, name, win::LANG_JA_JP, data)) << name;
    win::DialogTemplate out;
    std::string error;
    EXPECT_TRUE(win::ParseDialogTemplate(data.bytes, data.size, out, error)) << error;
    return out;
  }
  win::CompanionRecord Record(const std::string& name) {
    win::ResourceData data;
    EXPECT_TRUE(win::FindResource(module_, uint16_t{500}, name, win::LANG_JA_JP, data)) << name;
    win::CompanionRecord out;
    std::string error;
    EXPECT_TRUE(win::ParseCompanionRecord(data.bytes, data.size, out, error)) << error;
    return out;
  }
};

TEST_F(DialogResources, InputFileTemplateHoldsItsControlsInOrder) {
  const win::DialogTemplate t = Template("inputfile");  // names compare without case
  EXPECT_FALSE(t.extended);
  EXPECT_EQ(t.title, "PDF から注釈を読み込む");
  EXPECT_EQ(t.width, 244);
  EXPECT_EQ(t.height, 152);
  EXPECT_EQ(t.fontPoints, 8);
  EXPECT_EQ(t.fontFace, "Microsoft Sans Serif");
  ASSERT_EQ(t.controls.size(), 13u);
  for (size_t i = 0; i < t.controls.size(); ++i) EXPECT_EQ(t.controls[i].id, 100 + i);
  EXPECT_EQ(t.controls[1].caption, "続行(&U)");
  EXPECT_EQ(t.controls[1].classAtom, win::kClassButton);
  EXPECT_EQ(t.controls[3].classAtom, win::kClassEdit);
  EXPECT_EQ(t.controls[3].x, 11);
  EXPECT_EQ(t.controls[3].width, 200);
  EXPECT_EQ(t.controls[11].caption, "挿入、削除、置換タイプの注釈のみ(&I)");
  EXPECT_EQ(t.controls[11].y, 89);
}

TEST_F(DialogResources, FilterTemplateIsExtendedWithNamedPickerClass) {
  const win::DialogTemplate t = Template("CUSTOMFILTERDIALOG");
  EXPECT_TRUE(t.extended);
  EXPECT_EQ(t.fontPoints, 9);
  EXPECT_EQ(t.fontFace, "ＭＳ Ｐゴシック");
  ASSERT_EQ(t.controls.size(), 28u);
  EXPECT_EQ(t.controls[3].id, 104u);
  EXPECT_EQ(t.controls[3].classAtom, win::kClassListBox);
  EXPECT_EQ(t.controls[19].id, 103u);
  EXPECT_EQ(t.controls[19].className, "SysDateTimePick32");
  EXPECT_EQ(t.controls[27].caption, "作成者が設定したステータス :");
}

TEST_F(DialogResources, SummaryKeepsItsDuplicateIdentifiers) {
  const win::DialogTemplate t = Template("smry");
  ASSERT_EQ(t.controls.size(), 34u);
  EXPECT_EQ(t.controls[0].id, 100u);
  EXPECT_EQ(t.controls[31].id, 100u);
  EXPECT_EQ(t.controls[14].id, 115u);
  EXPECT_EQ(t.controls[32].id, 115u);
  EXPECT_NE(t.controls[31].caption.find("\n"), std::string::npos);
  // The notices' line, below the counts' box and above the note.
  EXPECT_EQ(t.controls[33].id, 131u);
  EXPECT_GT(t.controls[33].y, t.controls[1].y + t.controls[1].height);
  EXPECT_LT(t.controls[33].y + t.controls[33].height, t.controls[31].y);
  const win::CompanionRecord r = Record("smry");
  ASSERT_EQ(r.items.size(), 33u);
  EXPECT_EQ(r.items[31].controlId, 131);
  EXPECT_EQ(r.items[31].kind, 4);
  EXPECT_EQ(r.items[32].controlId, 132);
  EXPECT_EQ(r.items[32].kind, 1);
  EXPECT_EQ(r.items[3].helpKey, "clnthelp:button");
}

TEST_F(DialogResources, CompanionRecordsCarryTheirHeaders) {
  struct Expected {
    const char* name;
    int16_t header[11];
    size_t items;
  };
  const Expected expected[] = {
      {"INPUTFILE", {1, 2, 1, 13, 3, 1, 3, -1, -1, -1, 0}, 13},
      {"CUSTOMFILTERDIALOG", {0, 1, 14, 23, 2, -1, -1, -1, -1, -1, 0}, 28},
      {"WARNINGDIALOG", {3, 4, 3, 21, 3, -1, -1, -1, -1, -1, 0}, 21},
      {"SMRY", {3, 3, 3, 33, -1, -1, -1, -1, -1, -1, -1}, 33},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    const win::CompanionRecord r = Record(e.name);
    EXPECT_EQ(r.helpTag, e.name);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(r.header[i], e.header[i]) << i;
    ASSERT_EQ(r.items.size(), e.items);
    for (size_t i = 0; i < r.items.size(); ++i) EXPECT_EQ(r.items[i].controlId, 100 + i);
  }
  const win::CompanionRecord input = Record("INPUTFILE");
  EXPECT_EQ(input.items[3].kind, 9);
  EXPECT_EQ(input.items[3].helpKey, "clnthelp:edit box");
  EXPECT_EQ(input.items[10].kind, 10);
  EXPECT_EQ(input.items[10].helpKey, "clnthelp:radio");
  EXPECT_EQ(input.items[0].helpKey, "-1");
  const win::CompanionRecord warning = Record("WARNINGDIALOG");
  EXPECT_EQ(warning.items[2].kind, 5);
  EXPECT_EQ(warning.items[2].helpKey, "clnthelp:checkbox3");
}

TEST(DialogTemplateParser, TruncatedBlobsAreRejected) {
  const uint8_t tiny[] = {1, 0, 0xFF, 0xFF, 0};
  win::DialogTemplate t;
  std::string error;
  EXPECT_FALSE(win::ParseDialogTemplate(tiny, sizeof tiny, t, error));
  EXPECT_FALSE(error.empty());
  win::CompanionRecord r;
  const uint8_t header[22] = {};
  EXPECT_FALSE(win::ParseCompanionRecord(header, sizeof header, r, error));
  EXPECT_FALSE(win::ParseCompanionRecord(header, 5, r, error));
}

}  // namespace
}  // namespace osprevan::ui::testing

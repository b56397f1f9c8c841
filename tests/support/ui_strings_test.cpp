// The string table as the built plug-in holds it: cuts, UTF-16 and byte escapes. The texts
// themselves are the table's to say; tests compare with UiString.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win/dialog_template.h"
#include "platform/win/elf_section.h"
#include "platform/win/module.h"
#include "platform/win/resource_blob.h"
#include "platform/win/resources.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "support/unicode_text.h"

namespace osprevan::support {
namespace {

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = win::LoadLibrary(OSPREVAN_PLUGIN_PATH);
    ASSERT_NE(module_, nullptr) << win::LastLoaderError();
    SetResourceModule(module_);
    SetResourceLanguage("Kestrelan", "japanese");
    SetEditionFlag(0);
  }
  void TearDown() override {
    SetResourceModule(nullptr);
    if (module_) win::FreeLibrary(module_);
  }
  win::HMODULE module_ = nullptr;
};

TEST_F(Messages, EveryNumberHasATextAndNothingLiesBeyond) {
  for (int id = 0; id < kMessageCount; ++id) EXPECT_NE(UiString(id, 4096), "") << id;
  EXPECT_EQ(UiString(kMessageCount), "");
  EXPECT_EQ(UiString(-1), "");
  char16_t wide[kWideCapacity];
  EXPECT_EQ(LoadUiStringWide(999, wide), 0u);
  EXPECT_EQ(wide[0], u'\0');
  const size_t length = LoadUiStringWide(MSG_STATE_ACCEPTED, wide);
  EXPECT_EQ(Utf16ToUtf8(std::u16string(wide, length)), UiString(MSG_STATE_ACCEPTED));
}

// What a user reads of a failure: the message named where it was found, in the interface
// language; the developer's reason only when no message (or an unknown one) was named.
TEST_F(Messages, AFailureIsToldByItsMessageElseByItsReason) {
  const Status plain = Status::Failed("the PDF is not tagged");
  const struct {
    const char* name;
    Status status;
    std::string shown;
  } cases[] = {
      {"named", plain.Telling(MSG_NOT_TAGGED), UiString(MSG_NOT_TAGGED)},
      {"none named", plain, "the PDF is not tagged"},
      {"unknown number", plain.Telling(kMessageCount), "the PDF is not tagged"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UiReason(c.status), c.shown) << c.name;
    // The reason stays for the report, whatever the user is told.
    EXPECT_EQ(c.status.reason(), plain.reason()) << c.name;
    EXPECT_EQ(c.status.code(), StatusCode::kFailed) << c.name;
  }
  // The message follows the interface language, whichever it was when the failure was found.
  const Status told = plain.Telling(MSG_NOT_TAGGED);
  const std::string japanese = UiReason(told);
  SetResourceLanguage("Kestrelan", "english");
  EXPECT_NE(UiReason(told), japanese);
  EXPECT_EQ(UiReason(told), UiString(MSG_NOT_TAGGED));
}

TEST_F(Messages, CutsNeverSplitACharacter) {
  for (size_t capacity : {1u, 2u, 5u, 6u, 7u, 8u, 12u}) {
    SCOPED_TRACE(capacity);
    char buffer[16];
    const size_t length = LoadUiString(MSG_KIND_HIGHLIGHT, buffer, capacity);
    EXPECT_LT(length, capacity);
    EXPECT_EQ(buffer[length], '\0');
    EXPECT_EQ(length % 3, 0u);  // whole three-byte characters only
    EXPECT_TRUE(Utf8ToUtf16(std::string(buffer, length)).has_value());
  }
  char none[1];
  EXPECT_EQ(LoadUiString(MSG_TITLE, none, 0), 0u);
}

constexpr uint16_t kLanguages[] = {win::LANG_EN_US, win::LANG_JA_JP};

// Message `id` from the table of exactly `language`; "" when that table lacks it.
std::string TableText(win::HMODULE module, int id, uint16_t language) {
  std::u16string wide;
  if (!win::LoadString(module, static_cast<uint32_t>(id), wide, language)) return "";
  return Utf16ToUtf8(wide).value_or("");
}

// What a translation must carry over unchanged: placeholders, escapes and the line breaks a
// layout counts on, in order.
std::vector<std::string> Placeholders(const std::string& text) {
  static const std::regex token(R"(%[BLM][0-9A-Fa-f]{2}|%[p%]|\n|\t)");
  std::vector<std::string> out;
  for (std::sregex_iterator i(text.begin(), text.end(), token), end; i != end; ++i)
    out.push_back(i->str());
  return out;
}

TEST_F(Messages, EveryNumberHasATextInEachLanguageWithTheSamePlaceholders) {
  for (int id = 0; id < kMessageCount; ++id) {
    SCOPED_TRACE(id);
    const std::string english = TableText(module_, id, win::LANG_EN_US);
    const std::string japanese = TableText(module_, id, win::LANG_JA_JP);
    EXPECT_NE(english, "");
    EXPECT_NE(japanese, "");
    EXPECT_EQ(Placeholders(english), Placeholders(japanese)) << english << "\n" << japanese;
    // An English text left untranslated would carry kana or kanji.
    const std::u16string wide = Utf8ToUtf16(english).value_or(u"");
    EXPECT_TRUE(std::none_of(wide.begin(), wide.end(), [](char16_t c) { return c >= 0x3000; }))
        << english;
  }
  for (const uint16_t language : kLanguages)
    EXPECT_EQ(TableText(module_, kMessageCount, language), "") << language;
}

// The host names its interface language; a language without tables of its own reads English.
TEST_F(Messages, TheHostsLanguageChoosesTheTable) {
  const struct {
    const char* host;
    uint16_t table;
  } cases[] = {{"english", win::LANG_EN_US},
               {"japanese", win::LANG_JA_JP},
               {"german", win::LANG_EN_US},
               {"korean", win::LANG_EN_US}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host);
    SetResourceLanguage("Kestrelan", c.host);
    EXPECT_EQ(ResourceLanguage(), c.table);
    for (const int id : {MSG_TITLE, MSG_SUMMARY_HEADER, MSG_LABEL_PAGE, MSG_UNREAD_KINDS})
      EXPECT_EQ(UiString(id, 4096), TableText(module_, id, c.table)) << id;
  }
}

// Every dialog exists in each language with the same controls at the same places; only the
// words differ. A language without templates gets the English ones.
TEST_F(Messages, EveryDialogHasATemplateInEachLanguageWithTheSameControls) {
  std::vector<uint8_t> blob;
  std::vector<win::ResourceEntry> entries;
  std::string error;
  ASSERT_TRUE(win::ReadElfSection(OSPREVAN_PLUGIN_PATH, win::kResourceSection, blob, error))
      << error;
  ASSERT_TRUE(win::ParseResourceBlob(blob, entries, error)) << error;
  std::map<std::string, std::map<uint16_t, win::DialogTemplate>> dialogs;
  for (const win::ResourceEntry& entry : entries) {
    if (entry.typeIsName || entry.typeId != win::RT_DIALOG) continue;
    win::DialogTemplate layout;
    ASSERT_TRUE(win::ParseDialogTemplate(entry.data.data(), entry.data.size(), layout, error))
        << entry.name << ": " << error;
    dialogs[entry.name][entry.language] = layout;
  }
  EXPECT_EQ(dialogs.size(), 4u);
  for (const auto& [name, byLanguage] : dialogs) {
    SCOPED_TRACE(name);
    ASSERT_EQ(byLanguage.size(), std::size(kLanguages));
    const win::DialogTemplate& english = byLanguage.at(win::LANG_EN_US);
    const win::DialogTemplate& japanese = byLanguage.at(win::LANG_JA_JP);
    EXPECT_NE(english.title, japanese.title);
    ASSERT_EQ(english.controls.size(), japanese.controls.size());
    for (size_t i = 0; i < english.controls.size(); ++i) {
      const win::DialogControl& a = english.controls[i];
      const win::DialogControl& b = japanese.controls[i];
      EXPECT_EQ(std::tie(a.id, a.classAtom, a.className, a.style, a.x, a.y, a.width, a.height),
                std::tie(b.id, b.classAtom, b.className, b.style, b.x, b.y, b.width, b.height))
          << "control " << a.id;
    }
    win::ResourceData chosen, exact;
    ASSERT_TRUE(win::FindResourceForLanguage(module_, win::RT_DIALOG, name, 1036, chosen));
    ASSERT_TRUE(win::FindResource(module_, win::RT_DIALOG, name, win::LANG_EN_US, exact));
    EXPECT_EQ(chosen.bytes, exact.bytes);
  }
}

TEST(ByteEscapes, FollowTheInterfaceLanguageAndOtherPercentSignsStay) {
  SetResourceLanguage("Kestrelan", "korean");
  EXPECT_EQ(ByteEscapeCharset(), 6);
  SetResourceLanguage("Kestrelan", "japanese");
  EXPECT_EQ(ByteEscapeCharset(), 6);
  EXPECT_EQ(DecodeByteEscapes("%BB1"), "ｱ");  // a half-width katakana byte of the East Asian set
  SetResourceLanguage("Kestrelan", "english");
  EXPECT_EQ(ByteEscapeCharset(), 0);
  EXPECT_EQ(DecodeByteEscapes("a%L41b"), "aAb");
  EXPECT_EQ(DecodeByteEscapes("%MA9 2026"), "© 2026");  // windows-1252 for western hosts
  EXPECT_EQ(DecodeByteEscapes("100% sure, %p, %L4"), "100% sure, %p, %L4");
  EXPECT_EQ(DecodeByteEscapes("%X41%LZZ"), "%X41%LZZ");
}

}  // namespace
}  // namespace osprevan::support

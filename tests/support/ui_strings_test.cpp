#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/message_ids.h"
#include "support/unicode_text.h"
#include "tests/support/expected_messages.h"
#include "tests/support/plugin_module.h"

namespace osprevan::support::testing {
namespace {

using Messages = PluginResources;

TEST_F(Messages, EveryMessageMatchesItsExpectedTextByteForByte) {
  for (int id = 0; id < kMessageCount; ++id) {
    SCOPED_TRACE(id);
    EXPECT_EQ(UiString(id, 4096), std::string(kExpectedMessages[id]));
  }
  EXPECT_EQ(UiString(kMessageCount), "");  // nothing beyond the table
  EXPECT_EQ(UiString(-1), "");
}

TEST_F(Messages, LayoutCharactersAreKept) {
  const std::string header = UiString(MSG_SUMMARY_HEADER);
  EXPECT_EQ(std::count(header.begin(), header.end(), '\t'), 1);
  EXPECT_EQ(header.find('\t'), std::string("概要 :").size());
  EXPECT_EQ(header.back(), '\n');
  for (int id = MSG_SOURCE_DOC_CHANGED; id <= MSG_BOOK_CHANGED_OLD_PDF; ++id) {
    const std::string text = UiString(id, 4096);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << id;
  }
}

TEST_F(Messages, CutsNeverSplitACharacter) {
  for (size_t capacity : {1u, 2u, 5u, 6u, 7u, 8u, 12u}) {
    SCOPED_TRACE(capacity);
    char buffer[16];
    const size_t length = LoadUiString(MSG_KIND_HIGHLIGHT, buffer, capacity);
    EXPECT_LT(length, capacity);
    EXPECT_EQ(buffer[length], '\0');
    EXPECT_EQ(length % 3, 0u);  // whole three-byte characters only
    EXPECT_TRUE(support::Utf8ToUtf16(std::string(buffer, length)).has_value());
  }
  char none[1];
  EXPECT_EQ(LoadUiString(MSG_TITLE, none, 0), 0u);
}

TEST_F(Messages, ProductPlaceholderFollowsTheEdition) {
  char buffer[1024];
  FormatUiString(MSG_WARNING_STANDARD, buffer, 1023);
  std::string text = buffer;
  EXPECT_NE(text.find("Tolvane で検索"), std::string::npos);
  EXPECT_EQ(text.find("%p"), std::string::npos);
  SetEditionFlag(1);
  FormatUiString(MSG_WARNING_BREVIS, buffer, 1023);
  text = buffer;
  EXPECT_NE(text.find("Tolvane Brevis で検索"), std::string::npos);
  FormatUiString(MSG_WARNING_SOURCE_CHANGES, buffer, 1023);
  EXPECT_NE(std::string(buffer).find("Tolvane Brevis では"), std::string::npos);
  // Loading without formatting keeps the placeholder.
  EXPECT_NE(UiString(MSG_WARNING_STANDARD).find("%p"), std::string::npos);
}

TEST_F(Messages, WideTextsAreTheSameMessages) {
  char16_t wide[kWideCapacity];
  const size_t length = LoadUiStringWide(MSG_STATE_ACCEPTED, wide);
  EXPECT_EQ(std::u16string(wide, length), u"承認されました");
  EXPECT_EQ(LoadUiStringWide(999, wide), 0u);
  EXPECT_EQ(wide[0], u'\0');
}

TEST(MessagesWithoutModule, AnUnloadedTableGivesEmptyTexts) {
  SetResourceModule(nullptr);
  EXPECT_EQ(UiString(MSG_COMMAND_LABEL), "");
}

TEST(ByteEscapes, CharsetFollowsTheInterfaceLanguage) {
  SetResourceLanguage("Kestrelan", "japanese");
  EXPECT_EQ(ByteEscapeCharset(), 6);
  SetResourceLanguage("Kestrelan", "korean");
  EXPECT_EQ(ByteEscapeCharset(), 6);
  SetResourceLanguage("Kestrelan", "english");
  EXPECT_EQ(ByteEscapeCharset(), 0);
}

}  // namespace
}  // namespace osprevan::support::testing

namespace osprevan::support::testing {
namespace {

TEST(ByteEscapes, AreDecodedAndOtherPercentSignsKept) {
  SetResourceLanguage("Kestrelan", "english");
  EXPECT_EQ(DecodeByteEscapes("a%L41b"), "aAb");
  EXPECT_EQ(DecodeByteEscapes("%MA9 2026"), "© 2026");  // windows-1252 for western hosts
  EXPECT_EQ(DecodeByteEscapes("100% sure, %p, %L4"), "100% sure, %p, %L4");
  EXPECT_EQ(DecodeByteEscapes("%X41%LZZ"), "%X41%LZZ");
  SetResourceLanguage("Kestrelan", "japanese");
  EXPECT_EQ(DecodeByteEscapes("%BB1"), "ｱ");  // a half-width katakana byte of the East Asian set
  SetResourceLanguage("Kestrelan", "english");
}

}  // namespace
}  // namespace osprevan::support::testing

// The string table as the built plug-in holds it: cuts, UTF-16 and byte escapes. The texts
// themselves are the table's to say; tests compare with UiString.
#include <gtest/gtest.h>

#include <string>

#include "platform/win/module.h"
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

// The review page tool's sentences: every one in every language, with the same values to fill.
#include "tools/review_page/tool_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "text_places.h"

namespace osprevan::review {
namespace {

using tlhost::UiLanguage;

using osprevan::fixtures::PlacesOf;

TEST(ToolTextsTest, EveryTextExistsInEveryLanguageTranslatedWithTheSamePlaces) {
  for (int key = 0; key < static_cast<int>(ToolText::Count); ++key) {
    const char* english = ToolTextOf(UiLanguage::English, static_cast<ToolText>(key));
    const char* japanese = ToolTextOf(UiLanguage::Japanese, static_cast<ToolText>(key));
    ASSERT_NE(english, nullptr) << "text " << key << " has no English";
    ASSERT_NE(japanese, nullptr) << "text " << key << " has no Japanese";
    EXPECT_STRNE(english, "") << "text " << key;
    EXPECT_STRNE(japanese, english) << "text " << key << " is not translated";
    EXPECT_EQ(PlacesOf(japanese), PlacesOf(english)) << "text " << key << ": " << japanese;
  }
}

}  // namespace
}  // namespace osprevan::review

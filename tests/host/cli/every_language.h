// A check shared by the tests of the command line's tables of texts: every key of a table, from
// its first up to `count`, has a text in every language, translated, with English's places.
#pragma once

#include <gtest/gtest.h>

#include "host/cli/ui_language.h"
#include "text_places.h"

namespace tlhost::testing {

template <typename Key>
void ExpectEveryKeyInEveryLanguage(const char* (*textOf)(UiLanguage, Key), Key count) {
  for (int key = 0; key < static_cast<int>(count); ++key) {
    const char* english = textOf(UiLanguage::English, static_cast<Key>(key));
    const char* japanese = textOf(UiLanguage::Japanese, static_cast<Key>(key));
    ASSERT_NE(english, nullptr) << "key " << key << " has no English";
    ASSERT_NE(japanese, nullptr) << "key " << key << " has no Japanese";
    EXPECT_STRNE(english, japanese) << "key " << key;
    EXPECT_EQ(osprevan::fixtures::PlacesOf(japanese), osprevan::fixtures::PlacesOf(english))
        << "key " << key << ": " << japanese;
  }
}

}  // namespace tlhost::testing

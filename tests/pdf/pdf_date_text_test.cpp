// The PDF date syntax as read for creation dates: every part after the year optional, offsets
// from UTC, and dates that name no day refused.
#include "pdf/pdf_date_text.h"

#include <gtest/gtest.h>

#include <optional>

namespace osprevan::pdf {
namespace {

TEST(PdfDateSeconds, ReadsWhatTheSyntaxAllowsAndRefusesTheRest) {
  const std::pair<const char*, std::optional<int64_t>> cases[] = {
      {"D:20260101120000Z", 1767268800},
      {"20260101120000", 1767268800},  // without its prefix
      {"D:2026", 1767225600},
      {"D:202601", 1767225600},
      {"D:20250505140505+09'00'", 1746421505},
      {"D:20260101120000-05'30'", 1767288600},
      {"D:20260101120000-0530", 1767288600},
      {"D:20240229235959", 1709251199},
      {"D:00010101", -62135596800},
      {"", std::nullopt},
      {"D:", std::nullopt},
      {"D:20260", std::nullopt},  // half a month
      {"D:20261301", std::nullopt},
      {"D:20250229", std::nullopt},
      {"D:2026010124", std::nullopt},
      {"D:20260101120000+24'00'", std::nullopt},
      {"yesterday", std::nullopt},
  };
  for (const auto& [text, seconds] : cases) EXPECT_EQ(PdfDateSeconds(text), seconds) << text;
}

}  // namespace
}  // namespace osprevan::pdf

#include "tools/review_page/pdf_annotations.h"

#include <gtest/gtest.h>

#include "tools/review_page/annotation_match.h"

namespace osprevan::review {
namespace {

TEST(UtcDateText, TurnsEveryZoneToUtc) {
  struct Case {
    const char* in;
    const char* expected;
  };
  const Case cases[] = {
      {"D:20261201093000Z", "2026/12/01 09:30:00"},
      {"D:20261201093000+09'00'", "2026/12/01 00:30:00"},
      {"D:20260101003000+01'30'", "2025/12/31 23:00:00"},  // back over a year's end
      {"D:20261231233000-05'00'", "2027/01/01 04:30:00"},
      {"D:2026", "2026/01/01 00:00:00"},
      {"yesterday", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(UtcDateText(c.in), c.expected) << c.in;
}

TEST(TextStringToUtf8, ReadsEachEncodingAndReplacesWhatCannotBe) {
  struct Case {
    const char* name;
    std::string in;
    std::string expected;
  };
  const Case cases[] = {
      {"PDFDocEncoding bullet",
       "a\x80"
       "b",
       "a\xE2\x80\xA2"
       "b"},
      {"UTF-16BE", std::string("\xFE\xFF\x30\x42\x00<", 6), "\xE3\x81\x82<"},
      {"UTF-16BE pair", std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), "\xF0\x9F\x98\x80"},
      {"UTF-16BE lone surrogate",
       std::string("\xFE\xFF\xD8\x3D\x00"
                   "a",
                   6),
       "\xEF\xBF\xBD"
       "a"},
      {"UTF-16BE odd byte",
       std::string("\xFE\xFF\x00"
                   "a\x00",
                   5),
       "a\xEF\xBF\xBD"},
      {"UTF-8 with its mark", "\xEF\xBB\xBF\xE7\x94\xA8\xFF", "\xE7\x94\xA8\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextStringToUtf8(c.in), c.expected) << c.name;
}

PageAnnotation Annotation(const std::string& author, const std::string& contents,
                          const std::string& subtype) {
  PageAnnotation a;
  a.page = 1;
  a.author = author;
  a.contents = {contents};
  a.subtypes = {subtype};
  a.dates = {"2026/01/01 00:00:00"};
  return a;
}

ReportComment Comment(const std::string& author, const std::string& contents,
                      const std::string& subtype, int page = 1) {
  ReportComment c;
  c.page = page;
  c.author = author;
  c.contents = contents;
  c.subtype = subtype;
  c.date = "2026/01/01 00:00:00";
  return c;
}

// The report lists comments in the order they were applied, not the page's; each annotation
// goes to the comment it fits best, once.
TEST(MatchAnnotations, TakesTheClosestFitOnTheCommentsPage) {
  AnnotationsByPage pages;
  pages[1] = {Annotation("Kim", "first", "Highlight"), Annotation("Kim", "second", "Highlight"),
              Annotation("Sato", "", "Caret")};
  const std::vector<ReportComment> comments = {
      Comment("Kim", "second", "Highlight"),
      Comment("Sato", "", "Caret"),
      Comment("Kim", "first", "Highlight"),
      Comment("Kim", "first", "Highlight", 2),  // no annotation on page 2
      Comment("Ann", "nothing alike", "Text"),  // nothing fits
  };
  const auto matched = MatchAnnotations(comments, pages);
  ASSERT_EQ(matched.size(), comments.size());
  EXPECT_EQ(matched[0], &pages[1][1]);
  EXPECT_EQ(matched[1], &pages[1][2]);
  EXPECT_EQ(matched[2], &pages[1][0]);
  EXPECT_EQ(matched[3], nullptr);
  EXPECT_EQ(matched[4], nullptr);
}

TEST(MatchAnnotations, GivesEachAnnotationOnce) {
  AnnotationsByPage pages;
  pages[1] = {Annotation("Kim", "same", "Highlight")};
  const auto matched = MatchAnnotations(
      {Comment("Kim", "same", "Highlight"), Comment("Kim", "same", "Highlight")}, pages);
  EXPECT_EQ(matched[0], &pages[1][0]);
  EXPECT_EQ(matched[1], nullptr);
}

}  // namespace
}  // namespace osprevan::review

#include "tools/review_page/html_text.h"

#include <gtest/gtest.h>

#include <string>

namespace osprevan::review {
namespace {

// Nothing of a hostile text may be read as markup: no raw < > " ' and no stray & is left,
// and the output is valid UTF-8 whatever came in.
TEST(HtmlEscaped, LeavesNothingThatOpensMarkup) {
  struct Case {
    const char* name;
    std::string in;
    std::string expected;
  };
  const Case cases[] = {
      {"script", "<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"attribute break-out", "\" onload=\"x' y", "&quot; onload=&quot;x&#39; y"},
      {"entity", "&amp; &#60;", "&amp;amp; &amp;#60;"},
      {"controls become pictures", std::string("a\0b\x1b", 4) + "\x7f",
       "a\xE2\x90\x80"
       "b\xE2\x90\x9B\xE2\x90\xA1"},
      {"line feed kept", "a\nb", "a\nb"},
      {"Japanese kept", "\xE7\x94\xA8\xE8\xAA\x9E", "\xE7\x94\xA8\xE8\xAA\x9E"},
      {"astral kept", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"stray continuation", "a\x80<", "a\xEF\xBF\xBD&lt;"},
      {"cut sequence at the end", "ok\xE7\x94", "ok\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"overlong slash", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"encoded surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      // A lead byte whose continuation is a markup character must not swallow it.
      {"lead before <", "\xE7<b>", "\xEF\xBF\xBD&lt;b&gt;"},
  };
  for (const Case& c : cases) EXPECT_EQ(HtmlEscaped(c.in), c.expected) << c.name;
}

TEST(DataUri, EncodesEveryTailLength) {
  // Standard base64 test vectors, one for each remainder of three.
  EXPECT_EQ(DataUri("image/png", ""), "data:image/png;base64,");
  EXPECT_EQ(DataUri("x/y", "f"), "data:x/y;base64,Zg==");
  EXPECT_EQ(DataUri("x/y", "fo"), "data:x/y;base64,Zm8=");
  EXPECT_EQ(DataUri("x/y", "foobar"), "data:x/y;base64,Zm9vYmFy");
  EXPECT_EQ(DataUri("x/y", std::string("\xFF\xFE\x00", 3)), "data:x/y;base64,//4A");
}

}  // namespace
}  // namespace osprevan::review

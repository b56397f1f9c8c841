#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

#include "support/formatted.h"
#include "support/json_text.h"
#include "support/paths.h"
#include "support/phase_times.h"
#include "support/text_encoding.h"
#include "support/unicode_text.h"

namespace osprevan::support {
namespace {

TEST(Paths, LastExtensionOnlyIsReplaced) {
  EXPECT_EQ(ReplaceLastExtension("my.book.draft", ".pdf"), "my.book.pdf");
  EXPECT_EQ(ReplaceLastExtension("noextension", ".pdf"), "noextension.pdf");
  // The last dot anywhere counts, also one in a folder name.
  EXPECT_EQ(ReplaceLastExtension("/rev.2/review", ".smry"), "/rev.smry");
}

TEST(Paths, SplitAndJoin) {
  std::string dir, name;
  for (const auto& [path, expectedDir, expectedName] :
       {std::tuple{"/a/b/c.tlv", "/a/b", "c.tlv"},
        {"c.tlv", "", "c.tlv"},
        {"D:\\review\\ch1.pdf", "D:\\review", "ch1.pdf"}}) {
    SplitPath(path, dir, name);
    EXPECT_EQ(dir, expectedDir) << path;
    EXPECT_EQ(name, expectedName) << path;
  }
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("", "b"), "b");
}

TEST(UnicodeText, RoundTripsAndRejectsMalformedInput) {
  const std::string japanese = "注釈の読み込み";
  auto wide = Utf8ToUtf16(japanese);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->size(), 7u);
  EXPECT_EQ(Utf16ToUtf8(*wide), japanese);
  EXPECT_FALSE(Utf8ToUtf16("\xE6\xB3"));                 // truncated sequence
  EXPECT_FALSE(Utf16ToUtf8(std::u16string(1, 0xD800)));  // lone surrogate
  // Each length of UTF-8 at its edges, and a pair, which takes another way through.
  const std::u16string edges = {0x0, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0xD83D, 0xDE00};
  EXPECT_EQ(Utf16ToUtf8(edges.substr(0, 6)),
            std::string("\0\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", 12));
  EXPECT_EQ(Utf16ToUtf8(edges.substr(5)), "\xEF\xBF\xBF\xF0\x9F\x98\x80");
}

TEST(UnicodeText, PrefixNeverSplitsACharacter) {
  const std::string text = "aあい";  // 1 + 3 + 3 bytes
  EXPECT_EQ(Utf8PrefixLength(text, 7), 7u);
  EXPECT_EQ(Utf8PrefixLength(text, 6), 4u);
  EXPECT_EQ(Utf8PrefixLength(text, 3), 1u);
  EXPECT_EQ(Utf8PrefixLength(text, 0), 0u);
}

TEST(TextEncoding, SelectionByName) {
  SetUpEncodings();
  ASSERT_TRUE(SelectEncoding("TolvRoman"));
  EXPECT_EQ(ToUtf8("caf\xE9"), "café");
  EXPECT_EQ(FromUtf8("café"), "caf\xE9");
  ASSERT_TRUE(SelectEncoding("UTF-8"));
  EXPECT_STREQ(CurrentEncodingName(), "UTF-8");
  EXPECT_EQ(ToUtf8("café"), "café");
  EXPECT_FALSE(SelectEncoding("Latin9"));
  EXPECT_EQ(CurrentEncoding(), TextEncoding::Utf8);  // an unknown name changes nothing
}

TEST(Formatted, GrowsBeyondAnyFixedBuffer) {
  const std::string long_text(5000, 'x');
  EXPECT_EQ(Format("%s%d", long_text.c_str(), 7), long_text + "7");
  EXPECT_EQ(Format("%11s%9d", "ab", 12), "         ab       12");
}

TEST(JsonText, EscapesWhatJsonNeedsAndRepairsBrokenUtf8) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"plain", "\"plain\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"line\nnext\ttab\x01", "\"line\\nnext\\ttab\\u0001\""},
      {"注釈", "\"注釈\""},
      {"cut\xE6\xB3", "\"cut\xEF\xBF\xBD\""},
      {"\xFF", "\"\xEF\xBF\xBD\""},
  };
  for (const auto& c : cases) EXPECT_EQ(support::JsonQuoted(c.in), c.out) << c.in;
}

// A phase timed inside another is taken out of the outer one, which goes on after it: the
// phases add up to the time measured, none counted twice.
TEST(PhaseTimes, AnInnerPhaseIsTakenOutOfTheOuterOne) {
  using namespace std::chrono_literals;
  PhaseTimes times;
  const auto start = PhaseTimes::Clock::now();
  {
    const PhaseTimer content(times, Phase::Content);
    std::this_thread::sleep_for(20ms);
    {
      const PhaseTimer structure(times, Phase::Structure);
      std::this_thread::sleep_for(30ms);
    }
    std::this_thread::sleep_for(20ms);
  }
  const double total = std::chrono::duration<double>(PhaseTimes::Clock::now() - start).count();
  EXPECT_GE(times.Seconds(Phase::Structure), 0.030);
  EXPECT_GE(times.Seconds(Phase::Content), 0.040);
  EXPECT_LE(times.Seconds(Phase::Content) + times.Seconds(Phase::Structure), total);
  EXPECT_EQ(times.Seconds(Phase::Place), 0);
  PhaseTimes sum;
  sum += times;
  sum += times;
  EXPECT_DOUBLE_EQ(sum.Seconds(Phase::Structure), 2 * times.Seconds(Phase::Structure));
}

}  // namespace
}  // namespace osprevan::support

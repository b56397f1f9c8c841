// Carrying comment offsets into a changed paragraph text, and the character difference below it.
#include "apply/remap_offsets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "apply/text_difference.h"

namespace osprevan::apply {
namespace {

struct RemapCase {
  const char* name;
  std::string pdf;
  std::string host;
  std::vector<uint32_t> specials;
  uint32_t start, end;
  RemapResult expected;
};

TEST(RemapOffsets, CarriesTheRangeOrDoubtsIt) {
  const std::string fox = "The quick brown fox";     // "brown" is [10, 15)
  const std::string footnote = "Text\x05\x05 more";  // a footnote number of two characters
  const std::string special = "abc\uF020def";        // a special character at 3
  const RemapCase cases[] = {
      {"equal texts", fox, fox, {}, 10, 15, {10, 15, true}},
      {"insertion before", fox, "The very quick brown fox", {}, 10, 15, {15, 20, true}},
      {"insertion at the start", fox, "The quick dark brown fox", {}, 10, 15, {15, 20, true}},
      {"insertion at the end", fox, "The quick brownish fox", {}, 10, 15, {10, 15, true}},
      {"insertion inside", fox, "The quick broXwn fox", {}, 10, 15, {10, 16, false}},
      {"deletion before", fox, "The brown fox", {}, 10, 15, {4, 9, true}},
      {"deletion of the range", fox, "The quick fox", {}, 10, 15, {10, 10, false}},
      {"replacement before", fox, "The slow brown fox", {}, 10, 15, {9, 14, true}},
      {"replacement around", fox, "The quick pale fox", {}, 10, 15, {10, 10, false}},
      {"replacement at the end", fox, "The quick browN fox", {}, 10, 15, {10, 14, false}},
      {"same-length rewrite inside", fox, "The quick brawn fox", {}, 10, 15, {10, 15, false}},
      // The last "b" pairs with the host's last one, but the new start is still followed by "ab".
      {"text intact from the new start", "ab", "babb", {}, 0, 2, {1, 3, true}},
      // A point holds while 8 characters on each side, or all up to the edge, are as they were.
      {"point in a replacement", "abcd", "aXYd", {}, 2, 2, {1, 1, false}},
      {"point beside a rewrite",
       "One two three. Four five six.",
       "Uno dos tres. Four five six.",
       {},
       24,
       24,
       {23, 23, true}},
      {"point 8 from a change",
       "abcdefgh12345678ijklmnop",
       "abcdefgX12345678ijklmnop",
       {},
       16,
       16,
       {16, 16, true}},
      {"point 7 from a change",
       "abcdefgh12345678ijklmnop",
       "abcdefgh1234567Xijklmnop",
       {},
       8,
       8,
       {8, 8, false}},
      {"point near the edge, text added at the edge", "ab cd", "X ab cd", {}, 1, 1, {3, 3, false}},
      {"point after an unchanged start",
       "ab cd efghijklmnop",
       "ab cd efghijklmnoXp",
       {},
       1,
       1,
       {1, 1, true}},
      {"footnote number as stand-ins", "Text12 more", footnote, {}, 4, 11, {4, 11, true}},
      {"footnote number grew", "Text9 more", footnote, {}, 6, 10, {7, 11, true}},
      {"special before the range", "abcdef", special, {3}, 3, 5, {3, 5, true}},
      {"special right after the range", "abcdef", special, {3}, 1, 3, {1, 3, true}},
      {"special inside: untrusted, kept", "abcdef", "abc-def", {3}, 2, 4, {2, 5, false}},
      {"Japanese", "猫である。名前は無い。", "犬である。名前は無い。", {}, 5, 7, {5, 7, true}},
      {"beyond U+FFFF counts once", "𠮷野家で食べた", "𠮷𠮷野屋で食べた", {}, 4, 6, {5, 7, true}},
      {"end beyond the text", "abc", "abc", {}, 1, 10, {1, 3, false}},
      {"end before the start", "abcd", "abxd", {}, 2, 1, {2, 2, false}},
      {"not UTF-8", "ab\xFF", "abc", {}, 1, 2, {1, 2, false}},
      {"paragraph emptied", "abc", "", {}, 1, 2, {0, 0, false}},
  };
  for (const RemapCase& c : cases) {
    SCOPED_TRACE(c.name);
    const RemapResult got = RemapOffsets(c.pdf, c.host, c.specials, c.start, c.end);
    EXPECT_EQ(got.start, c.expected.start);
    EXPECT_EQ(got.end, c.expected.end);
    EXPECT_EQ(got.trusted, c.expected.trusted);
  }
}

std::string RandomWords(std::mt19937& random, size_t length) {
  std::string text;
  while (text.size() < length)
    text += static_cast<char>(random() % 5 == 0 ? ' ' : 'a' + random() % 26);
  return text;
}

// A long paragraph with a few edits is compared fast and in linear memory; one far from every
// match gives up within the work limit instead of hanging.
TEST(RemapOffsets, LongTexts) {
  std::mt19937 random(7);
  const std::string pdf = RandomWords(random, 200'000);
  std::string host = pdf;
  host.erase(150'000, 40);
  host.insert(90'000, "an inserted sentence. ");
  host.replace(1'000, 5, "edit");
  host.insert(199'000, "late addition");
  const RemapResult moved = RemapOffsets(pdf, host, {}, 120'000, 120'300);
  EXPECT_EQ(moved.start, 120'000u + 22 - 1);
  EXPECT_EQ(moved.end, 120'300u + 22 - 1);
  EXPECT_TRUE(moved.trusted);

  const std::string other(200'000, 'z');
  const RemapResult farApart = RemapOffsets(pdf, other, {}, 10, 20);
  EXPECT_EQ(farApart.start, 10u);
  EXPECT_EQ(farApart.end, 20u);
  EXPECT_FALSE(farApart.trusted);
}

size_t ReferenceDistance(const std::u32string& a, const std::u32string& b) {
  std::vector<size_t> row(b.size() + 1, 0);  // longest common subsequence, one row at a time
  for (char32_t ca : a) {
    size_t diagonal = 0;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t up = row[j];
      row[j] = CharactersMatch(ca, b[j - 1]) ? diagonal + 1 : std::max(row[j], row[j - 1]);
      diagonal = up;
    }
  }
  return a.size() + b.size() - 2 * row[b.size()];
}

// On small random pairs: the changed characters are as few as the reference's, and the kept ones
// pair up in order and match. Every remapped range stays inside the new text, and a trusted one
// keeps its length.
TEST(RemapOffsets, MinimalDifferenceOnRandomPairs) {
  std::mt19937 random(11);
  for (int round = 0; round < 3000; ++round) {
    std::u32string a, b;
    for (size_t i = random() % 10; i > 0; --i) a.push_back(U'a' + random() % 3);
    for (size_t i = random() % 10; i > 0; --i)
      b.push_back(random() % 8 == 0 ? kAnyCharacter : U'a' + random() % 3);
    SCOPED_TRACE(std::string(a.begin(), a.end()) + " / " + std::string(b.begin(), b.end()));
    const auto diff = DiffTexts(a, b);
    ASSERT_TRUE(diff.has_value());
    std::u32string keptA, keptB;
    for (size_t i = 0; i < a.size(); ++i)
      if (!diff->removed[i]) keptA.push_back(a[i]);
    for (size_t j = 0; j < b.size(); ++j)
      if (!diff->added[j]) keptB.push_back(b[j]);
    EXPECT_EQ(a.size() - keptA.size() + b.size() - keptB.size(), ReferenceDistance(a, b));
    ASSERT_EQ(keptA.size(), keptB.size());
    for (size_t i = 0; i < keptA.size(); ++i) EXPECT_TRUE(CharactersMatch(keptA[i], keptB[i]));

    const std::string pdf(a.begin(), a.end()), host(b.begin(), b.end());
    const uint32_t start = random() % (a.size() + 1);
    const uint32_t end = start + random() % (a.size() - start + 1);
    const RemapResult got = RemapOffsets(pdf, host, {}, start, end);
    EXPECT_LE(got.start, got.end);
    EXPECT_LE(got.end, b.size());
    if (!got.trusted) continue;
    // Trusted: the range's characters are there between the new ends; a point has its
    // neighbours (up to 8, or to the edge at the same distance).
    EXPECT_EQ(got.end - got.start, end - start);
    const size_t left = std::min<size_t>(start, 8), right = std::min<size_t>(a.size() - end, 8);
    const bool point = start == end;
    const size_t from = point ? start - left : start, to = point ? end + right : end;
    ASSERT_GE(got.start + from, start);
    ASSERT_LE(got.start + to, b.size() + start);
    for (size_t i = from; i < to; ++i)
      EXPECT_TRUE(CharactersMatch(a[i], b[size_t{got.start} + i - start])) << i;
    if (point && left < 8) {
      EXPECT_EQ(got.start, left);
    }
    if (point && right < 8) {
      EXPECT_EQ(b.size() - got.end, right);
    }
  }
}

}  // namespace
}  // namespace osprevan::apply

// Which characters differ between the text a paragraph had and the text it has now: a shortest
// edit script by Myers' O(ND) difference in linear space.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace osprevan::apply {

// In the new text, the stand-in for one character of a footnote number: the old text shows the
// number itself, which may have changed since, so the stand-in matches any character.
inline constexpr char32_t kAnyCharacter = U'\u0005';

// Whether a character of the old text and one of the new count as the same.
inline bool CharactersMatch(char32_t before, char32_t after) {
  return after == kAnyCharacter || before == after;
}

// Every character of either text is either changed (removed from the old, added in the new) or
// kept; the kept ones pair up in order and match.
struct TextDifference {
  std::vector<bool> removed;  // per character of the old text
  std::vector<bool> added;    // per character of the new text
};

// A minimal difference, so that the number of changed characters is the edit distance by
// insertions and deletions. Null when the texts are too long or too far apart to compare within
// a bounded time; the caller then has no mapping between them.
std::optional<TextDifference> DiffTexts(const std::u32string& before, const std::u32string& after);

}  // namespace osprevan::apply

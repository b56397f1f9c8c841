// What the host keeps for every character position, and the table that keeps each distinct
// set of them once per document, so that a paragraph needs only a small number per run.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tolvane/numbers.h"

namespace tlhost {

// Conditions in effect, in order, and the tracked-change author and time (seconds since
// 1970, 0 for none).
struct CharProps {
  std::vector<tolvane::ObjectId> conditions;
  std::string author;
  int64_t time = 0;
  bool operator==(const CharProps&) const = default;
};

// An index into a document's CharPropsTable.
using PropsId = uint32_t;
constexpr PropsId kPlainProps = 0;  // no conditions, no author, no time

// Equal CharProps get the same id, so ids compare as the properties do. Entries are never
// removed: a document holds few distinct ones, even after many edits.
class CharPropsTable {
 public:
  CharPropsTable();

  PropsId Intern(const CharProps& props);
  // Valid until the next Intern.
  const CharProps& operator[](PropsId id) const { return entries_[id]; }
  size_t size() const { return entries_.size(); }

 private:
  static size_t Hash(const CharProps& props);

  std::vector<CharProps> entries_;                   // entries_[kPlainProps] is plain
  std::unordered_multimap<size_t, PropsId> byHash_;  // hashes of entries_ to their ids
};

}  // namespace tlhost

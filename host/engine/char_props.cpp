#include "host/engine/char_props.h"

#include <functional>

namespace tlhost {

CharPropsTable::CharPropsTable() : entries_(1) {
  byHash_.emplace(Hash(entries_[kPlainProps]), kPlainProps);
}

size_t CharPropsTable::Hash(const CharProps& props) {
  size_t hash = std::hash<std::string>()(props.author) ^ std::hash<int64_t>()(props.time);
  for (tolvane::ObjectId c : props.conditions) hash = hash * 31 + c;
  return hash;
}

PropsId CharPropsTable::Intern(const CharProps& props) {
  const size_t hash = Hash(props);
  const auto [first, last] = byHash_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    if (entries_[it->second] == props) return it->second;
  }
  const auto id = static_cast<PropsId>(entries_.size());
  entries_.push_back(props);
  byHash_.emplace(hash, id);
  return id;
}

}  // namespace tlhost

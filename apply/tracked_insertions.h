// Who inserted text during one placing, and when: the stamps of the tracked insertions it made.
// A deletion that covers such text keeps it an insertion as well as marking it deleted, so that
// the reviewer's new text, struck by another of the reviewer's comments, stays out whether the
// changes are accepted or rejected, rather than reading as the writer's struck text.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "apply/change_stamp.h"

namespace osprevan::apply {

class TrackedInsertions {
 public:
  void Note(const ChangeStamp& stamp) { stamps_.emplace(stamp.author, stamp.time); }
  bool Holds(const std::string& author, int32_t time) const {
    return stamps_.count({author, time}) > 0;
  }

 private:
  std::set<std::pair<std::string, int32_t>> stamps_;
};

}  // namespace osprevan::apply

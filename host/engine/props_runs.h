// The properties of a paragraph's positions as runs: each run gives its first position and
// the properties of every position up to the next run. Text mostly has long stretches of one
// set of properties, so this costs a few bytes per change rather than per character.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host/engine/char_props.h"

namespace tlhost {

class PropsRuns {
 public:
  // One plain position: a paragraph's end.
  PropsRuns();

  int32_t length() const { return length_; }
  PropsId at(int32_t position) const { return runs_[RunAt(position)].props; }
  // The first position after `position` whose properties differ from it (or the length).
  // Neighbouring runs always differ, so this is where the run holding `position` ends.
  int32_t RunEnd(int32_t position) const;

  // Adds `count` positions with `props` before `position`; later positions move up.
  void Insert(int32_t position, int32_t count, PropsId props);
  // Positions [from, to) get the properties `change` makes of theirs.
  void Change(int32_t from, int32_t to, const std::function<PropsId(PropsId)>& change);
  void ShrinkToFit() { runs_.shrink_to_fit(); }

 private:
  struct Run {
    int32_t start;
    PropsId props;
  };
  size_t RunAt(int32_t position) const;
  // Makes a run begin at `position` (inside the positions), splitting the one holding it.
  void Split(int32_t position);
  // Joins neighbouring runs with the same properties.
  void Merge();

  std::vector<Run> runs_;  // by start; the first starts at 0; never empty
  int32_t length_;
};

}  // namespace tlhost

#include "host/engine/props_runs.h"

#include <algorithm>
#include <cstddef>

namespace tlhost {

PropsRuns::PropsRuns() : runs_{{0, kPlainProps}}, length_(1) {}

size_t PropsRuns::RunAt(int32_t position) const {
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), position,
                                      [](int32_t p, const Run& r) { return p < r.start; });
  return static_cast<size_t>(after - runs_.begin()) - 1;
}

int32_t PropsRuns::RunEnd(int32_t position) const {
  const size_t next = RunAt(position) + 1;
  return next < runs_.size() ? runs_[next].start : length_;
}

void PropsRuns::Split(int32_t position) {
  if (position <= 0 || position >= length_) return;
  const size_t holding = RunAt(position);
  if (runs_[holding].start == position) return;
  runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(holding) + 1,
               Run{position, runs_[holding].props});
}

void PropsRuns::Merge() {
  auto kept = std::unique(runs_.begin(), runs_.end(),
                          [](const Run& a, const Run& b) { return a.props == b.props; });
  runs_.erase(kept, runs_.end());
}

void PropsRuns::Insert(int32_t position, int32_t count, PropsId props) {
  if (count <= 0) return;
  Split(position);
  auto at = std::lower_bound(runs_.begin(), runs_.end(), position,
                             [](const Run& r, int32_t p) { return r.start < p; });
  for (auto moved = at; moved != runs_.end(); ++moved) moved->start += count;
  runs_.insert(at, Run{position, props});
  length_ += count;
  Merge();
}

void PropsRuns::Change(int32_t from, int32_t to, const std::function<PropsId(PropsId)>& change) {
  from = std::max(from, 0);
  to = std::min(to, length_);
  if (from >= to) return;
  Split(from);
  Split(to);
  for (size_t i = RunAt(from); i < runs_.size() && runs_[i].start < to; ++i) {
    runs_[i].props = change(runs_[i].props);
  }
  Merge();
}

}  // namespace tlhost

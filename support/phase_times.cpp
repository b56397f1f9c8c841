#include "support/phase_times.h"

#include <cstdio>
#include <iterator>

namespace osprevan::support {
namespace {

constexpr const char* kPhaseNames[] = {"open",      "annotations", "content",
                                       "structure", "place",       "apply"};
static_assert(std::size(kPhaseNames) == static_cast<size_t>(Phase::Count));

// Charges the time since the last switch to the phase running, and starts `next`.
void SwitchTo(PhaseTimes::Clock::time_point now, Phase& current,
              PhaseTimes::Clock::time_point& since, PhaseTimes::Clock::duration* spent,
              Phase next) {
  if (current != Phase::Count) spent[static_cast<size_t>(current)] += now - since;
  current = next;
  since = now;
}

}  // namespace

const char* PhaseName(Phase phase) {
  return phase < Phase::Count ? kPhaseNames[static_cast<size_t>(phase)] : "";
}

double PhaseTimes::Seconds(Phase phase) const {
  if (phase >= Phase::Count) return 0;
  return std::chrono::duration<double>(spent_[static_cast<size_t>(phase)]).count();
}

PhaseTimes& PhaseTimes::operator+=(const PhaseTimes& other) {
  for (size_t i = 0; i < spent_.size(); ++i) spent_[i] += other.spent_[i];
  return *this;
}

std::string PhaseTimes::Text() const {
  std::string text;
  for (size_t i = 0; i < spent_.size(); ++i) {
    char figure[48];
    std::snprintf(figure, sizeof figure, "%s%s %.3f", text.empty() ? "" : " ", kPhaseNames[i],
                  Seconds(static_cast<Phase>(i)));
    text += figure;
  }
  return text;
}

PhaseTimer::PhaseTimer(PhaseTimes& times, Phase phase) : times_(times), outer_(times.current_) {
  SwitchTo(PhaseTimes::Clock::now(), times_.current_, times_.since_, times_.spent_.data(), phase);
}

PhaseTimer::~PhaseTimer() {
  SwitchTo(PhaseTimes::Clock::now(), times_.current_, times_.since_, times_.spent_.data(), outer_);
}

}  // namespace osprevan::support

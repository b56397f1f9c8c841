// Where the time of one import goes, phase by phase, measured with a monotonic clock. The
// import only keeps the figures; the caller asks for them (the host's command line, for the
// benchmark), so an import run by a person behaves as it does without them.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <string>

namespace osprevan::support {

enum class Phase : size_t {
  Open,         // opening the PDF and checking what made it
  Annotations,  // reading the annotations into records
  Content,      // walking the pages' content and matching characters
  Structure,    // climbing the structure tree from marked content to elements
  Place,        // making and checking each comment's placement
  Apply,        // changing the document
  Count
};

// The phase's name as the figures print it ("open", "annotations", ...).
const char* PhaseName(Phase phase);

// Time per phase. A phase timed inside another one is taken out of the outer one, so that the
// phases add up to the time measured and none is counted twice.
class PhaseTimes {
 public:
  using Clock = std::chrono::steady_clock;

  double Seconds(Phase phase) const;
  PhaseTimes& operator+=(const PhaseTimes& other);
  // "open 0.012 annotations 0.345 ..." in seconds, in the order of the phases.
  std::string Text() const;

 private:
  friend class PhaseTimer;
  std::array<Clock::duration, static_cast<size_t>(Phase::Count)> spent_{};
  Phase current_ = Phase::Count;  // none running
  Clock::time_point since_{};
};

// Times its phase for as long as it lives.
class PhaseTimer {
 public:
  PhaseTimer(PhaseTimes& times, Phase phase);
  ~PhaseTimer();
  PhaseTimer(const PhaseTimer&) = delete;
  PhaseTimer& operator=(const PhaseTimer&) = delete;

 private:
  PhaseTimes& times_;
  Phase outer_;
};

}  // namespace osprevan::support

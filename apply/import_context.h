// What placing keeps over one import, across all the documents it places into: the outcome
// counters, the user's view to give back and the time spent.
#pragma once

#include <optional>
#include <string>

#include "apply/outcome_counters.h"
#include "support/phase_times.h"

namespace osprevan::apply {

// Its destruction gives the user's view back.
class ImportContext {
 public:
  ImportContext();
  ~ImportContext();
  ImportContext(const ImportContext&) = delete;
  ImportContext& operator=(const ImportContext&) = delete;

  OutcomeCounters counters;
  // The view the user had before placing switched to the page view; none when it did not.
  std::optional<std::string> keptViewName;
  // How long placing took, by phase, and reading too once the session adds it in.
  support::PhaseTimes phases;
};

}  // namespace osprevan::apply

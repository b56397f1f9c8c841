// The one routine for messages and the one for yes/no questions. Messages are alerts, or console
// lines when another client started the import; questions answer 1 for stop and 2 for continue.
#pragma once

#include <cstdint>
#include <string>

#include "hostlink/answer.h"
#include "hostlink/caller.h"
#include "tolvane/numbers.h"

namespace osprevan::hostlink {

// Capacity for loading the texts of alerts and questions.
constexpr size_t kAlertTextCapacity = 4096;

// `alertKind` is the host alert used when a person is there (tolvane::ALERT_...).
void ShowMessage(const Caller& caller, const std::string& text,
                 int32_t alertKind = tolvane::ALERT_MESSAGE);
void ShowMessage(const Caller& caller, int messageId, int32_t alertKind = tolvane::ALERT_MESSAGE);

// Asks with a yes/no alert: yes continues, no stops.
int32_t AskQuestion(const std::string& text);
int32_t AskQuestion(int messageId);

}  // namespace osprevan::hostlink

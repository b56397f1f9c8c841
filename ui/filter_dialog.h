// The comment filter dialog: a native modal dialog where the user narrows the criteria by
// author, kind, review and marked state and a period of days.
#pragma once

#include <cstdint>

#include "hostlink/answer.h"
#include "pdf/filter_criteria.h"
#include "platform/win/window.h"

namespace osprevan::ui {

// Runs the dialog owned by `owner` (disabled while it is up) and answers hostlink::kAnswerStop or
// hostlink::kAnswerContinue, the values of the import's dialog outcome. The criteria change only on
// continue. When the dialog cannot be created the answer is hostlink::kAnswerContinue and the
// criteria stay as they were.
int32_t RunFilterDialog(pdf::FilterCriteria& criteria, win::HWND owner);

}  // namespace osprevan::ui

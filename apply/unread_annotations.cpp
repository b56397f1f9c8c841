#include "apply/unread_annotations.h"

#include <string>

#include "support/message_ids.h"
#include "support/ui_strings.h"

namespace osprevan::apply {

std::optional<ImportNotice> UnreadAnnotationsNotice(
    const std::vector<pdf::UnreadAnnotation>& unread) {
  if (unread.empty()) return std::nullopt;
  std::string each;
  for (const pdf::UnreadAnnotation& annotation : unread) {
    each += (each.empty() ? "" : "; ") + std::string("page ") +
            std::to_string(annotation.page + 1) + ": " + annotation.reason;
  }
  ImportNotice notice;
  notice.shown =
      support::UiString(support::MSG_UNREADABLE_ANNOTS) + " " + std::to_string(unread.size());
  notice.reported =
      "annotations that could not be read: " + std::to_string(unread.size()) + " (" + each + ")";
  return notice;
}

}  // namespace osprevan::apply

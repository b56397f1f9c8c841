#include "apply/unreadable_pages.h"

#include <iterator>

#include "support/message_ids.h"
#include "support/ui_strings.h"

namespace osprevan::apply {

std::string PageList(const std::set<int32_t>& pages) {
  std::string list;
  for (auto at = pages.begin(); at != pages.end();) {
    // The run of consecutive pages that starts here.
    auto last = at;
    while (std::next(last) != pages.end() && *std::next(last) == *last + 1) ++last;
    if (!list.empty()) list += ", ";
    list += std::to_string(*at + 1);
    if (*last - *at >= 2) {
      list += "-" + std::to_string(*last + 1);
      at = std::next(last);
    } else {
      ++at;
    }
  }
  return list;
}

std::optional<ImportNotice> UnreadablePagesNotice(const UnreadablePages& pages) {
  if (pages.empty()) return std::nullopt;
  std::set<int32_t> all = pages.textUnread;
  all.insert(pages.notHad.begin(), pages.notHad.end());
  ImportNotice notice;
  notice.shown = support::UiString(support::MSG_UNREADABLE_PAGES) + " " + PageList(all);
  notice.reported = "pages that could not be read: " + PageList(all);
  if (!pages.notHad.empty())
    notice.reported += " (annotations unread: " + PageList(pages.notHad) + ")";
  return notice;
}

std::optional<ImportNotice> UnreadKindsNotice(const std::map<std::string, int32_t>& kinds) {
  int32_t total = 0;
  std::string each;
  for (const auto& [kind, count] : kinds) {
    total += count;
    each += (each.empty() ? "" : ", ") + kind + " " + std::to_string(count);
  }
  if (total == 0) return std::nullopt;
  ImportNotice notice;
  notice.shown = support::UiString(support::MSG_UNREAD_KINDS) + " " + std::to_string(total);
  notice.reported =
      "comments of kinds the import does not take: " + std::to_string(total) + " (" + each + ")";
  return notice;
}

}  // namespace osprevan::apply
